#!/usr/bin/env bash
# Installs the built program into a scratch folder, as a package would, and
# checks what a desktop gets from it: a menu entry and software-centre file
# that pass their validators and point at each other, icons of every size, a
# manual page that renders cleanly, describes every option `tintor --help`
# names and carries the project's version.
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tintor-install-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

# The metainfo file, and the menu entry it names as its launchable.
appstreamcli validate-tree --no-net "$prefix"
grep -q "<release version=\"$version\"" "$prefix"/share/metainfo/*.metainfo.xml ||
  fail "the metainfo has no release $version"
desktop=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop"
# A registry file opened from the file manager opens in Tintor.
grep -qx 'MimeType=.*text/x-ms-regedit;.*' "$desktop" || fail "the entry does not open registry files"
grep -qx 'Exec=[^ ]* %f' "$desktop" || fail "the entry's Exec takes no file"

# The entry starts the installed program and shows the installed icon.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$program" ] || fail "Exec=$program is not in $prefix/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png
  [ -f "$png" ] || fail "no $size px icon"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$icon.svg
file -b "$svg" | grep -q "^SVG" || fail "$svg: $(file -b "$svg")"

# The manual page: no roff warnings on a terminal (it names the presets in
# Chinese), and the options the program knows.
page=$prefix/share/man/man1/$program.1.gz
warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff: $warnings"
text=$(MANWIDTH=80 man -l "$page")
grep -q "^$program $version " <<<"$text" || fail "the manual page is not for version $version"
options=$("$prefix/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "$program --help names no option"
for option in $options; do
  grep -q -- "$option" <<<"$text" || fail "the manual page does not describe $option"
done
echo "installed: $(find "$prefix" -type f | wc -l) files; the page describes $(wc -w <<<"$options") options"
