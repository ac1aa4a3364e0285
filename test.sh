#!/usr/bin/env bash
# Installs what the tests need, makes a debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-test/ and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DVENTRIX_SANITIZE=ON >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
exec ctest --output-on-failure -j"$(nproc)"
