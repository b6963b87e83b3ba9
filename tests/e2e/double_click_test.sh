#!/usr/bin/env bash
# End to end: clicks that come faster than what they open, in a real window
# (Xvfb) driven by xdotool. The second click of a slow double click (300 ms)
# and the rest of 15 fast clicks land on whatever the first click opened or
# uncovered, and must act on none of it: on a swatch they leave the menu open
# and write nothing; on the help window's "返回" they do not quit; on the
# menu's "取消" they open no help window; on a box's "确定" no menu.
# Usage: double_click_test.sh PATH/TO/tintor
set -u
tintor=$1
work=$(mktemp -d)
export TINTOR_REGISTRY=$work/registry.reg
xvfb_pid=""
app_pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 640x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

"$tintor" >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
[ -n "$win" ] || fail "no window from tintor: $(cat "$work/tintor.log")"

# A fingerprint of the window below the status bar (whose clock moves on).
screen_sum() { import -window "$win" -crop 480x685+0+35 +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
# Waits until two looks 0.3 s apart agree (nothing slides), and prints that look.
settled() {
  local last="" now
  for _ in $(seq 30); do
    now=$(screen_sum)
    if [ "$now" = "$last" ]; then echo "$now"; return 0; fi
    last=$now
    sleep 0.3
  done
  fail "the window did not settle"
}
# The colour of one window pixel as R,G,B.
pixel() {
  import -window "$win" -crop "1x1+$1+$2" +repage txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p' | head -n1
}
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
double_click() { xdotool mousemove --window "$win" "$1" "$2" click 1 sleep 0.3 click 1; }
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --window "$win" "$1"; }
alive() { kill -0 "$app_pid" 2>/dev/null || fail "tintor ended $1: $(cat "$work/tintor.log")"; }
values() { [ -s "$TINTOR_REGISTRY" ] && iconv -f UTF-16LE -t UTF-8 "$TINTOR_REGISTRY" | grep -c '=dword:'; }
# The menu sheet's title bar, right of the title, has the sheet's own colour.
menu_open() { [ "$(pixel 470 130)" = "245,246,247" ]; }

swatch_x=183 swatch_y=235      # swatch 103; the open menu has an item there
rest=$(settled)

double_click $swatch_x $swatch_y
settled >/dev/null
menu_open || fail "a slow double click on a swatch did not leave the menu open"
key Escape
[ "$(settled)" = "$rest" ] || fail "the menu did not close"
[ -z "$(values)" ] || fail "a slow double click on a swatch wrote a colour"

sleep 0.6
xdotool mousemove --window "$win" $swatch_x $swatch_y click --repeat 15 --delay 60 1
settled >/dev/null
menu_open || fail "15 fast clicks on a swatch did not leave the menu open"
key Escape
[ "$(settled)" = "$rest" ] || fail "the menu did not close"
[ -z "$(values)" ] || fail "15 fast clicks on a swatch wrote a colour"

click 240 687                  # "先看说明"
help=$(settled)
[ "$help" != "$rest" ] || fail "the help window did not open"
double_click 80 687            # "返回", over the main window's "退出"
sleep 1
alive "after a double click on 返回"
[ "$(settled)" = "$rest" ] || fail "a double click on 返回 left something open"

click $swatch_x $swatch_y
settled >/dev/null
menu_open || fail "the menu did not open"
double_click 240 678           # "取消", over the main window's "先看说明"
sleep 1
alive "after a double click on 取消"
[ "$(settled)" = "$rest" ] || fail "a double click on 取消 opened something"

click $swatch_x $swatch_y
settled >/dev/null
click 240 201                  # the menu's first item
settled >/dev/null
[ "$(values)" = 1 ] || fail "choosing an item did not write one colour"
double_click 297 438           # "确定", over swatch 113
sleep 1
[ "$(settled)" = "$rest" ] || fail "a double click on 确定 opened the menu under it"
[ "$(values)" = 1 ] || fail "a double click on 确定 wrote another colour"

click 80 687                   # "退出"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "tintor did not quit"
wait "$app_pid"; status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "tintor exited with $status"
echo "PASS: no second click acted on what the first one opened or uncovered"
