#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses the installed program
# the way a user would: --version, a batch run over an installed example, and
# the editor's first start, which must find the installed Coder.ini. Then
# validates the desktop entry, the AppStream metainfo and the MIME type, and
# asks xdg-mime which type an example diagram has.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source_dir=$2
work=$(mktemp -d)
editor_pid=
trap '[ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install"; }
usr="$root/usr"
app_id=org.orvane.Orvane
for f in bin/orvane lib/orvane/liborvane_gui.so lib/orvane/liborvane_export.so share/orvane/Coder.ini share/orvane/examples/lamp.fsm \
         share/orvane/examples/washer/Washer.fsm share/orvane/examples/washer/Washer/Drum.fsm \
         share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
         share/mime/packages/$app_id.xml share/icons/hicolor/scalable/apps/$app_id.svg \
         share/icons/hicolor/scalable/mimetypes/application-x-orvane-diagram.svg \
         share/man/man1/orvane.1.gz share/doc/orvane/copyright; do
  [ -f "$usr/$f" ] || fail "the install has no $f"
done
for size in 16 22 24 32 48 64 128 256; do
  for png in apps/$app_id.png mimetypes/application-x-orvane-diagram.png; do
    f="$usr/share/icons/hicolor/${size}x$size/$png"
    [ -f "$f" ] || fail "the install has no ${size}x$size/$png"
    file "$f" | grep -q "PNG image data, $size x $size" || fail "$f is not a $size px PNG"
  done
done
echo "ok: installed files"

export ORVANE_LOG_DIR="$work/log" ORVANE_SETTINGS_DIR="$work/settings" TMPDIR="$work"
version=$("$usr/bin/orvane" --version)
[ "$version" = "orvane 1.0.0" ] || fail "--version answered '$version'"
echo "ok: $version"

mkdir -p "$work/out"
"$usr/bin/orvane" "$usr/share/orvane/examples/lamp.fsm" /CS "/O$work/out" ||
  fail "batch /CS of the installed example"
gcc -std=c99 -Wall -Wextra -pedantic -Werror -I"$usr/share/orvane/examples" \
  -c "$work/out/lamp.c" -o "$work/out/lamp.o" || fail "the installed example's code does not compile"
echo "ok: batch /CS of an installed example compiles"

# The editor's first start: the installed program finds its Coder.ini in the
# data folder and gives the user a copy (a program copied on its own would
# start from the built-in one), with the C keywords the editors colour.
export ORVANE_INSTANCE_CHANNEL="orvane-install-test-$$"
QT_QPA_PLATFORM=offscreen "$usr/bin/orvane" >"$work/editor.log" 2>&1 &
editor_pid=$!
for _ in $(seq 150); do
  [ -s "$ORVANE_SETTINGS_DIR/Coder.ini" ] && break
  kill -0 "$editor_pid" 2>/dev/null || { cat "$work/editor.log"; fail "the installed editor ended"; }
  sleep 0.2
done
[ -s "$ORVANE_SETTINGS_DIR/Coder.ini" ] || fail "the installed editor made no Coder.ini"
grep -q '^\[keywords\]' "$ORVANE_SETTINGS_DIR/Coder.ini" || fail "the user's Coder.ini has no keywords"
sed -n '/^\[keywords\]/,/^\[/p' "$usr/share/orvane/Coder.ini" >"$work/installed-keywords"
sed -n '/^\[keywords\]/,/^\[/p' "$ORVANE_SETTINGS_DIR/Coder.ini" >"$work/user-keywords"
cmp -s "$work/installed-keywords" "$work/user-keywords" ||
  fail "the user's Coder.ini is not the installed one"
kill -0 "$editor_pid" 2>/dev/null || { cat "$work/editor.log"; fail "the installed editor ended"; }
kill "$editor_pid"; wait "$editor_pid" 2>/dev/null || true; editor_pid=
echo "ok: the installed editor starts with the installed Coder.ini"

desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli validate"
xmllint --noout "$usr/share/mime/packages/$app_id.xml" || fail "xmllint of the MIME type"
man_warnings=$(zcat "$usr/share/man/man1/orvane.1.gz" | LC_ALL=C.UTF-8 groff -man -ww -z 2>&1)
[ -z "$man_warnings" ] || fail "the manual page: $man_warnings"
echo "ok: desktop entry, metainfo, MIME type and manual page validate"

# File managers ask the shared MIME database: install the type into a private
# XDG_DATA_HOME and ask as they do, by name and by content.
data_home="$work/data-home"
mkdir -p "$data_home/mime/packages"
cp "$usr/share/mime/packages/$app_id.xml" "$data_home/mime/packages/"
XDG_DATA_HOME="$data_home" update-mime-database "$data_home/mime" >"$work/mime.log" 2>&1 || { cat "$work/mime.log"; fail "update-mime-database"; }
[ -s "$work/mime.log" ] && { cat "$work/mime.log"; fail "update-mime-database warned"; }
cp "$source_dir/examples/traffic_light.fsm" "$work/no-extension"
for f in "$source_dir/examples/traffic_light.fsm" "$work/no-extension"; do
  type=$(XDG_DATA_HOME="$data_home" xdg-mime query filetype "$f")
  [ "$type" = application/x-orvane-diagram ] || fail "xdg-mime says $f is $type"
done
echo "ok: xdg-mime knows .fsm diagrams by name and by content"
