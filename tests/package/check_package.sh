#!/usr/bin/env bash
# Builds the Debian package (or takes DEB when given), unpacks it into a
# scratch root and checks that the desktop finds what it needs, that the
# programs print the project's version, that dpkg-shlibdeps filled in the
# dependencies, and that lintian finds no error or warning not overridden.
#   check_package.sh SOURCE_DIR BUILD_DIR VERSION [DEB]
set -euo pipefail
source_dir=$1 build_dir=$2 version=$3
deb=${4:-$("$source_dir/scripts/build-package.sh" "$build_dir" | tail -n 1)}
app_id=org.ventrix.Ventrix
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(basename "$deb")" = "ventrix_${version}_amd64.deb" ] || fail "package named $(basename "$deb")"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

expected=(usr/bin/ventrix usr/bin/ventrix-decode usr/bin/ventrix-synth
          usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml
          usr/share/icons/hicolor/scalable/apps/$app_id.svg
          usr/share/doc/ventrix/copyright usr/share/doc/ventrix/changelog.gz)
for size in 16 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for page in ventrix ventrix-decode ventrix-synth; do
  expected+=("usr/share/man/man1/$page.1.gz")
done
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "not in the package: /$file"
done

# The menu entry starts a program and shows an icon that the package holds.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/$app_id.desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, which is not in /usr/bin"
grep -qx "Icon=$app_id" "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry names another icon"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$app_id.metainfo.xml" \
  || fail "the AppStream metadata has no release $version"

for program in ventrix ventrix-decode ventrix-synth; do
  printed=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/$program" --version)
  [ "$printed" = "$program $version" ] || fail "$program --version printed '$printed'"
done

depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libqt6core6 libportaudio2 libsndfile1 libsoxr0; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

echo "lintian:"
lintian --fail-on error,warning --display-level '>=warning' --show-overrides "$deb" || fail "lintian found errors or warnings"
echo "package $(basename "$deb") is fine"
