#!/usr/bin/env bash
# The theme preview as a picture, with no display: `--preview-png FILE` and
# the script command `preview NAME.png` write the panel for the registry as it
# is then (a change shows in the next picture), and a file that cannot be
# written ends the run with exit code 1 and one line on stderr.
# Usage: preview_png_test.sh PATH/TO/tintor
set -u
tintor=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TINTOR_REGISTRY=$work/registry.reg
unset DISPLAY WAYLAND_DISPLAY
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tintor" --preview-png "$work/first.png" || fail "--preview-png exited with $?"
[ "$(identify -format '%m %wx%h' "$work/first.png")" = "PNG 520x720" ] ||
  fail "--preview-png wrote $(identify "$work/first.png" 2>&1)"
"$tintor" --preview-png "$work/double.png" --scale 2 || fail "--preview-png --scale 2 failed"
[ "$(identify -format '%wx%h' "$work/double.png")" = 1040x1440 ] || fail "--scale 2 is ignored"

# Window background (item 4) set to black between two pictures of one run.
cat >"$work/black.script" <<'SCRIPT'
preview before.png
tap 60 200
wait 500
key down
key down
key down
key down
key enter
wait 500
preview after.png
SCRIPT
"$tintor" --script "$work/black.script" --screenshot-dir "$work/shots" 2>"$work/err" ||
  fail "the script failed: $(cat "$work/err")"
cmp -s "$work/first.png" "$work/shots/before.png" || fail "the script's first picture is not the panel"
cmp -s "$work/shots/before.png" "$work/shots/after.png" && fail "the change did not reach the picture"
"$tintor" --preview-png "$work/later.png" || fail "--preview-png failed after the change"
cmp -s "$work/later.png" "$work/shots/after.png" || fail "--preview-png differs from the script's picture"

"$tintor" --preview-png "$work/no/such/folder/p.png" 2>"$work/err"
status=$?
[ "$status" = 1 ] || fail "an unwritable picture gave exit code $status, not 1"
[ "$(wc -l <"$work/err")" = 1 ] && grep -q "no/such/folder/p.png" "$work/err" ||
  fail "unwritable picture: stderr was '$(cat "$work/err")'"
echo "PASS: --preview-png and 'preview' write the panel as the registry holds it"
