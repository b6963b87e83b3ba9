#!/usr/bin/env bash
# The theme report and the colour-vision pictures, as a script uses them:
# exit 1 while any item reads badly (the defaults have two), 0 once all read
# well, 2 with one line on stderr for an unreadable registry file; the JSON
# says the same and parses; --simulate changes the picture and checks its word.
# Usage: theme_report_test.sh PATH/TO/tintor
set -u
tintor=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TINTOR_REGISTRY=$work/registry.reg
unset DISPLAY WAYLAND_DISPLAY
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0  # stderr is checked
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tintor" --theme-report >"$work/out"; code=$?
[ $code = 1 ] || fail "the defaults: exit $code"
[ "$(wc -l <"$work/out")" = 20 ] || fail "not one line per item: $(cat "$work/out")"
grep -q '^12 SYSCLR_LIST_DESCRIPTION 0x00707070 default on window-bg .* fail; its default colour fails too; nearest swatch that passes: [0-9]*$' "$work/out" ||
  fail "item 12's line: $(grep '^12' "$work/out")"
grep -q '^13 .*pass (a disabled' "$work/out" || fail "item 13 is exempt: $(grep '^13' "$work/out")"
"$tintor" --theme-report --json >"$work/json"; code=$?
python3 - "$work/json" <<'PY' || fail "the JSON (exit $code): $(head -c 400 "$work/json")"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["pass"] is False and len(d["items"]) == 20
failing = [i["number"] for i in d["items"] if not i["pass"]]
assert failing == [1, 12], failing
# A fresh registry holds no value: every item is the default, none custom.
assert all(i["swatch"] == "default" and i["stored"] is False for i in d["items"])
PY
[ $code = 1 ] || fail "--json exit $code"

# Items 1 and 12 given swatches that read well (white 163, dark grey 119).
python3 - "$TINTOR_REGISTRY" <<'PY'
import sys
text = ("Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
        '"SYSCLR_LIST_DESCRIPTION"=dword:00545454\r\n\r\n'
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\App]\r\n"
        '"MUSIC_LYRIC_SHADOW_COLOR"=dword:00ffffff\r\n\r\n')
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
"$tintor" --theme-report >"$work/out"; code=$?
[ $code = 0 ] || fail "all read well: exit $code: $(grep fail "$work/out")"
grep -q '^ 1 MUSIC_LYRIC_SHADOW_COLOR 0x00FFFFFF 163 ' "$work/out" || fail "item 1: $(head -1 "$work/out")"

"$tintor" --preview-png "$work/plain.png" || fail "--preview-png"
for kind in protan deutan tritan; do
  "$tintor" --preview-png "$work/$kind.png" --simulate $kind || fail "--simulate $kind"
  cmp -s "$work/plain.png" "$work/$kind.png" && fail "--simulate $kind draws the plain picture"
done
"$tintor" --preview-png "$work/x.png" --simulate red 2>/dev/null; [ $? = 2 ] || fail "--simulate red"

printf 'not a registry file' >"$TINTOR_REGISTRY"
"$tintor" --theme-report >"$work/out" 2>"$work/err"; code=$?
[ $code = 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] &&
  grep -q "$TINTOR_REGISTRY" "$work/err" || fail "unreadable: exit $code, stderr '$(cat "$work/err")'"
echo "PASS: the theme report's lines, JSON and exit codes; the colour-vision pictures"
