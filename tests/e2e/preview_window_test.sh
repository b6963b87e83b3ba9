#!/usr/bin/env bash
# The theme preview beside the phone in a real window (Xvfb): the window is
# wider with it, the phone's pixels are those of a window without it, a
# second tintor's write shows in the panel while the phone keeps its colours,
# F2 and the panel's "隐藏" button hide it, leaving a narrow tab that brings it
# back.
# Usage: preview_window_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 1280x900

start_tintor() {  # sets $app_pid and $win
  "$tintor" "$@" >"$work/tintor.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
  [ -n "$win" ] || fail "no window from tintor $*: $(cat "$work/tintor.log")"
  sleep 1
}
stop_tintor() { kill "$app_pid"; wait "$app_pid"; app_pid=""; }
width() { xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p'; }
shot() {  # shot NAME GEOMETRY: that part of the window once it has settled
  local last=""
  for _ in $(seq 30); do
    import -window "$win" -crop "$2" +repage "$work/$1.png" 2>/dev/null
    [ "$(md5sum <"$work/$1.png")" = "$last" ] && return 0
    last=$(md5sum <"$work/$1.png")
    sleep 0.3
  done
  fail "the window did not settle"
}
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --window "$win" "$1"; sleep 0.5; }
phone=480x685+0+35  # below the status bar, whose clock may turn
panel=520x720+480+0

start_tintor --no-preview
[ "$(width)" = 516 ] || fail "--no-preview: the window is $(width) wide, not 516 (the phone and the tab)"
shot alone "$phone"
key F2  # the window, centred for the phone alone, grows and stays on the screen
eval "$(xdotool getwindowgeometry --shell "$win")"
[ $((X + WIDTH)) -le 1280 ] || fail "F2 took the window past the screen's edge (x $X, $WIDTH wide)"
stop_tintor
start_tintor
[ "$(width)" = 1000 ] || fail "with the preview the window is $(width) wide, not 1000"
shot beside "$phone"
same alone beside || fail "the phone's pixels differ with the preview beside it"
shot panel_before "$panel"

# A second tintor writes black into the window background (item 4).
printf 'tap 60 200\nwait 500\nkey down\nkey down\nkey down\nkey down\nkey enter\n' >"$work/black"
"$tintor" --script "$work/black" >"$work/writer.log" 2>&1 || fail "writer: $(cat "$work/writer.log")"
shot panel_after "$panel"
same panel_before panel_after && fail "the panel did not follow the other process's write"
shot beside "$phone"
same alone beside || fail "the phone changed its colours before a restart"

key F2
[ "$(width)" = 516 ] || fail "F2 left the window $(width) wide"
key F2
[ "$(width)" = 1000 ] || fail "a second F2 did not bring the panel back"
xdotool mousemove --window "$win" 956 21 click 1  # "隐藏"
sleep 0.5
[ "$(width)" = 516 ] || fail "the panel's hide button left the window $(width) wide"
xdotool mousemove --window "$win" 497 300 click 1  # the tab beside the phone
sleep 0.5
[ "$(width)" = 1000 ] || fail "a click on the tab did not bring the panel back"
stop_tintor
echo "PASS: the preview beside the phone, live, hidden by F2 and by its button, back by its tab"
