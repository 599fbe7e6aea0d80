#!/usr/bin/env bash
# Makes the Debian package with CPack, checks its control data and contents,
# unpacks it into a temporary root and runs the program from there.
# Usage: deb-test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package") \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb="$work/package/orvane_1.0.0_amd64.deb"
[ -f "$deb" ] || { ls "$work/package"; fail "no orvane_1.0.0_amd64.deb"; }

dpkg-deb --info "$deb" >"$work/info"
cat "$work/info"
grep -q '^ Package: orvane$' "$work/info" || fail "package name"
grep -q '^ Version: 1.0.0$' "$work/info" || fail "package version"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
# The libraries come from dpkg-shlibdeps, with the versions it found.
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libqt6svg6 libc6 fonts-dejavu-core; do
  echo "$depends" | grep -q "\b$lib\b" || fail "Depends lacks $lib: $depends"
done
echo "$depends" | grep -q 'libqscintilla2-qt6' || fail "Depends lacks QScintilla: $depends"

dpkg-deb --contents "$deb" >"$work/contents"
for f in ./usr/bin/orvane ./usr/share/orvane/Coder.ini ./usr/share/orvane/examples/lamp.fsm \
         ./usr/share/applications/org.orvane.Orvane.desktop \
         ./usr/share/metainfo/org.orvane.Orvane.metainfo.xml \
         ./usr/share/mime/packages/org.orvane.Orvane.xml \
         ./usr/share/icons/hicolor/48x48/apps/org.orvane.Orvane.png \
         ./usr/share/icons/hicolor/scalable/mimetypes/application-x-orvane-diagram.svg \
         ./usr/share/man/man1/orvane.1.gz; do
  grep -q " $f\$" "$work/contents" || fail "the package lacks $f"
done
echo "ok: control data and contents"

dpkg-deb -x "$deb" "$work/root"
version=$("$work/root/usr/bin/orvane" --version)
[ "$version" = "orvane 1.0.0" ] || fail "the unpacked program answered '$version'"
echo "ok: unpacked program says $version"
