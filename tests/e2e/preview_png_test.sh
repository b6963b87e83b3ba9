#!/usr/bin/env bash
# The theme preview as a picture, with no display: `--preview-png FILE` and
# the script command `preview NAME.png` draw the panel for the registry as it
# is then; a file that cannot be written: exit code 1, one line on stderr.
# Usage: preview_png_test.sh PATH/TO/tintor
set -u
tintor=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TINTOR_REGISTRY=$work/registry.reg
unset DISPLAY WAYLAND_DISPLAY
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0  # stderr is checked
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tintor" --preview-png "$work/first.png" --scale 2 || fail "--preview-png exited with $?"
[ "$(identify -format '%m %wx%h' "$work/first.png")" = "PNG 1040x1440" ] ||
  fail "--preview-png --scale 2 wrote $(identify "$work/first.png" 2>&1)"

# Window background (item 4) set to black between two pictures of one run.
printf 'preview before.png\ntap 60 200\nwait 500\nkey down\nkey down\nkey down\nkey down
key enter\npreview after.png\n' >"$work/black"
"$tintor" --script "$work/black" --screenshot-dir "$work/shots" 2>"$work/err" ||
  fail "the script failed: $(cat "$work/err")"
cmp -s "$work/shots/before.png" "$work/shots/after.png" && fail "the change is not in the picture"
"$tintor" --preview-png "$work/later.png" || fail "--preview-png failed after the change"
cmp -s "$work/later.png" "$work/shots/after.png" || fail "--preview-png and 'preview' differ"

"$tintor" --preview-png "$work/no/such/folder/p.png" 2>"$work/err"
[ $? = 1 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "no/such/folder/p.png" "$work/err" ||
  fail "an unwritable picture: stderr '$(cat "$work/err")'"
echo precious >"$work/victim" && ln -s "$work/victim" "$work/shots/link.png" && echo 'shot link.png' >"$work/link"
"$tintor" --script "$work/link" --screenshot-dir "$work/shots" 2>/dev/null
[ $? = 1 ] && [ "$(cat "$work/victim")" = precious ] || fail "a shot wrote through a link planted in its place"
echo 'preview ../out.png' >"$work/climb"
"$tintor" --script "$work/climb" --screenshot-dir "$work/shots" 2>"$work/err"
[ $? = 2 ] && [ ! -e "$work/out.png" ] && grep -q "climb:1: " "$work/err" ||
  fail "a preview outside the screenshot folder: stderr '$(cat "$work/err")'"
printf 'not a registry file' >"$TINTOR_REGISTRY"
"$tintor" --preview-png "$work/broken.png" 2>"$work/err" && grep -q "$TINTOR_REGISTRY" "$work/err" ||
  fail "a picture of an unreadable registry file: stderr '$(cat "$work/err")'"
echo "PASS: --preview-png and 'preview' write the panel as the registry holds it"
