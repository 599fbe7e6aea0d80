#!/usr/bin/env bash
# Every tool and data file the build, the tests and the packaging use at run
# time must come from a Debian package that scripts/setup installs. A tool
# that is only on this machine because someone installed it by hand (or as a
# recommendation of another package) fails here with the package's name,
# instead of failing a test later with the tool's own cryptic message.
# Usage: check-packages.sh SOURCE_DIR
set -euo pipefail
setup="$1/scripts/setup"
# The packages scripts/setup installs: its packages=( ... ) list.
listed=" $(sed -n '/^packages=(/,/^)/p' "$setup" | sed 's/packages=(//; s/)//' | tr -s ' \n' ' ') "

# what is needed (a command, or an absolute path of a file) -> Debian package
needs=(
  "gcc gcc"
  "cmake cmake"
  "ninja ninja-build"
  "cpack cmake"
  "clang-format clang-format"
  "wmf2svg libwmf-bin"
  "/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1 fonts-urw-base35"
  "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf fonts-dejavu-core"
  "fc-match fontconfig"
  "desktop-file-validate desktop-file-utils"
  "appstreamcli appstream"
  "xmllint libxml2-utils"
  "update-mime-database shared-mime-info"
  "xdg-mime xdg-utils"
  "mimetype libfile-mimeinfo-perl"
  "groff groff-base"
  "file file"
  "dpkg-deb dpkg"
  "dpkg-shlibdeps dpkg-dev"
  "rsvg-convert librsvg2-bin"
  "/usr/include/x86_64-linux-gnu/qt6/QtScxml/QScxmlStateMachine qt6-scxml-dev"
  "Xvfb xvfb"
  "openbox openbox"
  "xdotool xdotool"
  "import imagemagick"
  "/usr/lib/x86_64-linux-gnu/pkgconfig/jemalloc.pc libjemalloc-dev"
)
failures=0
for need in "${needs[@]}"; do
  what=${need% *}
  package=${need##* }
  if [[ "$listed" != *" $package "* ]] && ! dpkg-query -W -f='${Essential}' "$package" 2>/dev/null | grep -q yes; then
    echo "FAIL: $what comes from the Debian package $package, which scripts/setup does not install"
    failures=$((failures + 1))
  fi
  if [[ "$what" == /* ]]; then
    present=$([ -e "$what" ] && echo yes || echo no)
  else
    present=$(command -v "$what" >/dev/null && echo yes || echo no)
  fi
  if [ "$present" = no ]; then
    echo "FAIL: $what is missing: install the Debian package $package (run scripts/setup)"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "ok: ${#needs[@]} tools and files, each from a package scripts/setup installs"
