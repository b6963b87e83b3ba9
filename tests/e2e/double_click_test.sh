#!/usr/bin/env bash
# End to end in a real window (Xvfb, xdotool): the second click of a slow
# double click (up to 450 ms, even when read late) and the rest of 15 fast
# clicks act on nothing the first click opened or uncovered: on a swatch they
# leave the menu open and write nothing; on "返回" they do not quit; on "取消" they open no help; on
# "确定" no menu. Usage: double_click_test.sh PATH/TO/tintor
set -u
. "$(dirname "$0")/xvfb_session.sh" 640x800
"$1" --no-preview >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1)
[ -n "$win" ] || fail "no window from tintor: $(cat "$work/tintor.log")"

# Waits until two looks 0.3 s apart at the window below its status bar (whose
# clock moves on) agree, and prints that look.
settled() {
  local last="" now
  for _ in $(seq 30); do
    now=$(import -window "$win" -crop 480x685+0+35 +repage rgb:- 2>/dev/null | md5sum)
    [ "$now" = "$last" ] && { echo "$now"; return 0; }
    last=$now
    sleep 0.3
  done
  fail "the window did not settle"
}
twice() { sleep 0.6; xdotool mousemove --window "$win" "$1" "$2" click 1 sleep 0.3 click 1; }
key() { xdotool windowfocus --sync "$win"; xdotool key --window "$win" "$1"; }
values() { [ -s "$TINTOR_REGISTRY" ] && iconv -f UTF-16LE -t UTF-8 "$TINTOR_REGISTRY" | grep -c =dword:; }
# The sheet's title bar shows its own colour where the banner was.
menu_open() {
  settled >/dev/null
  import -window "$win" -crop 1x1+470+130 txt:- | grep -q '(245,246,247)' || fail "$1"
}
rest=$(settled)
back_at_rest() { sleep 0.5; [ "$(settled)" = "$rest" ] || fail "$1"; }

twice 183 235                  # swatch 103; the open menu has an item there
menu_open "a slow double click on a swatch did not leave the menu open"
key Escape
back_at_rest "the menu did not close"
xdotool mousemove --window "$win" 183 235 click --repeat 15 --delay 60 1
menu_open "15 fast clicks on a swatch did not leave the menu open"
key Escape
back_at_rest "the menu did not close"
[ -z "$(values)" ] || fail "a colour was written that nobody chose"
# Double clicks on swatch 108 whose presses are 300, 400 and 450 ms apart
# (xdotool sleeps 100 ms after a click unless told --delay 0), and one whose
# second press the program reads late, stopped between the two: the time
# that counts is when the press happened. The open menu has an item there.
quick() {
  xdotool mousemove --window "$win" 183 349 click --delay 0 1 sleep "$1" click --delay 0 1
}
for gap in 0.3 0.4 0.45; do
  quick "$gap"
  menu_open "a double click on a swatch $gap s apart did not leave the menu open"
  key Escape
  back_at_rest "the menu did not close"
done
quick 0.45 &
clicks=$!
for _ in $(seq 40); do   # holds the program as soon as its menu shows
  import -window "$win" -crop 1x1+470+130 txt:- | grep -q '(245,246,247)' && break
done
kill -STOP "$app_pid"
wait "$clicks"
kill -CONT "$app_pid"
menu_open "a second press read late acted on the menu"
key Escape
back_at_rest "the menu did not close"
[ -z "$(values)" ] || fail "a double click wrote a colour nobody chose"
twice 240 687                  # "先看说明" (its second click is "返回"'s)
twice 80 687                   # "返回", over "退出"
back_at_rest "a double click on 返回 quit or left something open"
twice 183 235
twice 240 678                  # "取消", over "先看说明"
back_at_rest "a double click on 取消 opened something"
twice 183 235
xdotool mousemove --window "$win" 240 201 click 1   # the first item
settled >/dev/null
twice 297 438                  # "确定", over swatch 113
back_at_rest "a double click on 确定 opened the menu under it"
[ "$(values)" = 1 ] || fail "not exactly the one chosen colour was written"
xdotool mousemove --window "$win" 80 687 click 1    # "退出"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "tintor did not quit"
wait "$app_pid" || fail "tintor exited with $?"
echo "PASS: no second click acted on what the first one opened or uncovered"
