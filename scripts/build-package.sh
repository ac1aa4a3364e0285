#!/usr/bin/env bash
# Builds the Debian package ventrix_<version>_amd64.deb from a release build
# with Debian's hardening flags, and prints the package's path last.
#   scripts/build-package.sh [BUILD_DIR]     (default: build-package/)
# Install it with:  sudo apt install ./build-package/ventrix_*_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
source "$root/scripts/packages.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# CMake reads no CPPFLAGS: the preprocessor's hardening goes with the compiler's.
export CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVENTRIX_BUILD_TESTS=OFF \
  -DVENTRIX_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
echo "$build/ventrix_${version}_$(dpkg --print-architecture).deb"
