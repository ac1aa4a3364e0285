#!/usr/bin/env bash
# Installs what Ventrix needs, makes a release build in build/ and starts the application.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVENTRIX_BUILD_TESTS=OFF -DVENTRIX_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/bin/ventrix ]; then
  exec build/bin/ventrix "$@"
fi
echo "The desktop window is not built yet. Decode a recording with:"
echo "  build/bin/ventrix-decode --json RECORDING.wav"
