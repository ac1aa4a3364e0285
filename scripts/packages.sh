# Debian packages the build and the tests need, and a way to install what is missing.
# Sourced by run.sh and test.sh.

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
                qt6-tools-dev qt6-l10n-tools portaudio19-dev libsoxr-dev libsndfile1-dev scdoc)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev pulseaudio pulseaudio-utils
               libasound2-plugins python3 gpsbabel libxml2-utils nodejs
               desktop-file-utils appstream lintian dpkg-dev file qt6-translations-l10n)
# What scripts/build-package.sh needs beyond the build.
PACKAGE_PACKAGES=(dpkg-dev file)
# A Node.js build that brings its own npm conflicts with Debian's npm package.
command -v npm >/dev/null 2>&1 || TEST_PACKAGES+=(npm)

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
