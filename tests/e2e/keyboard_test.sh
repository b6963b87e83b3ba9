#!/usr/bin/env bash
# The keyboard alone, in a real window (Xvfb): Tab to the first swatch, Right
# to the next, Space opens its menu, Down four times and Enter choose "窗口背景",
# an Enter typed at once after closes the box; the same keys in a script and the same choice by taps
# write the same value. Then Tab on to the studio's "恢复默认", Enter asks,
# and Esc closes the question without restoring anything; Ctrl+Z undoes the
# colour and Ctrl+Y redoes it.
# Usage: keyboard_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 1280x900

value() {  # the window background in registry file $1
  [ -s "$1" ] && iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r' | grep -i '"SYSCLR_WINDOW_BG"='
}
look() { import -window "$win" -crop "$1" +repage rgb:- 2>/dev/null | md5sum; }
# Waits until region $1 looks other than $2 and has settled.
changes() {
  local last="" now
  for _ in $(seq 60); do
    now=$(look "$1")
    [ "$now" != "$2" ] && [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.1
  done
  return 1
}
keys() { xdotool key --window "$win" --delay 80 "$@"; }

# The same choice by taps (swatch 103, the second of the first row) and by
# keys, in headless runs.
printf 'tap 183 235\nwait 500\nkey down\nkey down\nkey down\nkey down\nkey enter\nkey enter\n' >"$work/taps"
printf 'key tab\nkey right\nkey space\nkey down\nkey down\nkey down\nkey down\nkey enter\nkey enter\n' >"$work/keys"
for run in taps keys; do
  TINTOR_REGISTRY=$work/$run.reg "$tintor" --script "$work/$run" >"$work/$run.log" 2>&1 ||
    fail "the $run script: $(cat "$work/$run.log")"
done
[ -n "$(value "$work/taps.reg")" ] || fail "the taps wrote no window background"
[ "$(value "$work/keys.reg")" = "$(value "$work/taps.reg")" ] ||
  fail "script keys wrote '$(value "$work/keys.reg")', taps '$(value "$work/taps.reg")'"

"$tintor" >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1)
[ -n "$win" ] || fail "no window from tintor: $(cat "$work/tintor.log")"
xdotool windowfocus --sync "$win"
phone=480x685+0+35
panel=520x720+480+0
changes "$phone" "" || fail "the window never settled"
rest=$(look "$phone")
keys Tab Right space
changes "$phone" "$rest" || fail "Tab, Right and Space opened no menu"
menu=$(look "$phone")
# The second Enter comes while the menu slides out or the box slides in: it
# is kept for the box, which it closes (else the Tabs below stay in the box).
keys Down Down Down Down Return Return
for _ in $(seq 50); do [ -n "$(value "$TINTOR_REGISTRY")" ] && break; sleep 0.1; done
[ "$(value "$TINTOR_REGISTRY")" = "$(value "$work/taps.reg")" ] ||
  fail "the window's keys wrote '$(value "$TINTOR_REGISTRY")', taps '$(value "$work/taps.reg")'"
changes "$phone" "$menu" || fail "the phone never settled after the choice"

studio=$(look "$panel")
keys Tab Tab Tab Tab Tab Tab Return  # past the toolbar's three buttons, 撤销 (the colour can be undone) and 主题 to 恢复默认
changes "$panel" "$studio" || fail "Enter on 恢复默认 asked nothing"
asking=$(look "$panel")
keys Escape
changes "$panel" "$asking" || fail "Esc did not close the studio's question"
[ "$(value "$TINTOR_REGISTRY")" = "$(value "$work/taps.reg")" ] || fail "Esc restored the defaults"

# The window's Ctrl+Z undoes the colour (its value is removed again, as it was
# not there before), Ctrl+Y brings it back.
chosen=$(value "$TINTOR_REGISTRY")
keys ctrl+z
for _ in $(seq 50); do [ -z "$(value "$TINTOR_REGISTRY")" ] && break; sleep 0.1; done
[ -z "$(value "$TINTOR_REGISTRY")" ] || fail "Ctrl+Z left '$(value "$TINTOR_REGISTRY")'"
keys ctrl+y
for _ in $(seq 50); do [ -n "$(value "$TINTOR_REGISTRY")" ] && break; sleep 0.1; done
[ "$(value "$TINTOR_REGISTRY")" = "$chosen" ] || fail "Ctrl+Y wrote '$(value "$TINTOR_REGISTRY")', not '$chosen'"
kill "$app_pid"; wait "$app_pid"; app_pid=""
echo "PASS: swatch, item and box by keys alone, in the window and in a script; Esc out of the studio's question; Ctrl+Z and Ctrl+Y"
