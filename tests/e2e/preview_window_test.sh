#!/usr/bin/env bash
# The theme preview beside the phone in a real window (Xvfb): the window is
# wider with it, the phone's pixels are those of a window without it, a
# second tintor's write shows in the panel while the phone keeps its colours,
# F2 and the panel's "隐藏" button hide it, leaving a narrow tab that brings it
# back; the window keeps its settings (a kept scale too small is not used),
# resizes and zooms, and carries the icon; without a file
# watch the panel says so and still catches up.
# Usage: preview_window_test.sh PATH/TO/tintor PATH/TO/icon-128.png
set -u
tintor=$1
icon_png=$2
. "$(dirname "$0")/xvfb_session.sh" 1280x900

launch=()  # what runs tintor: nothing, or a command that then runs it
start_tintor() {  # sets $app_pid and $win
  "${launch[@]}" "$tintor" "$@" >"$work/tintor.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
  [ -n "$win" ] || fail "no window from tintor $*: $(cat "$work/tintor.log")"
  sleep 1
}
stop_tintor() { kill "$app_pid"; wait "$app_pid"; app_pid=""; }
width() { xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p'; }
until_width() { for _ in $(seq 100); do [ "$(width)" = "$1" ] && return 0; sleep 0.1; done; false; }
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

# The window keeps the panel as the user left it and the scale last asked
# for; --no-preview is for one run; an odd settings file is ignored with one
# line on stderr and left as it is.
settings=$XDG_CONFIG_HOME/tintor/settings
start_tintor
xdotool mousemove --window "$win" 956 21 click 1  # "隐藏"
until_width 516 || fail "the panel's hide button left the window $(width) wide"
stop_tintor
start_tintor
[ "$(width)" = 516 ] || fail "the panel hidden by its button was back at the next start"
key F2
until_width 1000 || fail "F2 left the window $(width) wide"
stop_tintor
start_tintor --scale 0.5
stop_tintor
start_tintor --no-preview
[ "$(width)" = 258 ] || fail "the kept --scale 0.5 was not used: $(width) wide"
stop_tintor
start_tintor
[ "$(width)" = 500 ] || fail "the panel shown by F2 or the scale was not kept: $(width) wide"
stop_tintor
echo panel=sideways >"$settings"
start_tintor
[ "$(width)" = 1000 ] || fail "an odd settings file was not ignored: $(width) wide"
key F2
until_width 516 || fail "F2 left the window $(width) wide"
stop_tintor
[ "$(grep -c settings "$work/tintor.log")" = 1 ] || fail "odd settings: $(cat "$work/tintor.log")"
[ "$(cat "$settings")" = panel=sideways ] || fail "an odd settings file was written over"
rm "$settings"

# A kept scale too small to use is not used; the window resizes with its
# frame (sharp, at the scale that fits), zooms by key, and keeps its size and
# place over a restart.
printf 'scale=0.25\nx=40\ny=30\n' >"$settings"
start_tintor
[ "$(width)" = 1000 ] || fail "the kept scale 0.25 was used: the window is $(width) wide"
key ctrl+minus
until_width 900 || fail "Ctrl+minus left the window $(width) wide"
xdotool windowsize "$win" 600 2000
for _ in $(seq 100); do
  eval "$(xdotool getwindowgeometry --shell "$win")"
  [ "$WIDTH x $HEIGHT" = "600 x 432" ] && break
  sleep 0.1
done
[ "$WIDTH x $HEIGHT" = "600 x 432" ] ||
  fail "a window resized to 600 x 2000 is $WIDTH x $HEIGHT, not its frame's 600 x 432"
xdotool windowmove "$win" 70 50
sleep 0.5
stop_tintor
grep -qx 'scale=0.6' "$settings" || fail "the resized window's scale was not kept: $(cat "$settings")"
start_tintor
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH x $HEIGHT at $X,$Y" = "600 x 432 at 70,50" ] ||
  fail "the window came back $WIDTH x $HEIGHT at $X,$Y, not 600 x 432 at 70,50"
key ctrl+0
until_width 1000 || fail "Ctrl+0 left the window $(width) wide"
stop_tintor
rm "$settings"

# The window carries the installed icon's pixels (their colours where the
# icon is not almost transparent: the window system takes them unmultiplied).
start_tintor
xprop -id "$win" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= //; s/, /\n/g' \
  >"$work/icon"
bad=$(convert "$icon_png" -depth 8 RGBA:- | od -An -v -tu1 -w4 | awk -v list="$work/icon" '
  function off(a, b) { return a > b + 3 || b > a + 3 }
  BEGIN { while ((getline v < list) > 0) got[++n] = v }
  { v = got[NR + 2]; a = int(v / 16777216)
    if (off(a, $4) || ($4 > 64 && (off(int(v / 65536) % 256, $1) || off(int(v / 256) % 256, $2) ||
                                    off(v % 256, $3)))) ++bad }
  END { print (got[1] == 128 && got[2] == 128 && n == NR + 2) ? bad + 0 : "size" }')
[ "$bad" = 0 ] || fail "the window's icon is not the installed one ($bad pixels off)"
stop_tintor

# Without an inotify instance (none left in a user namespace of its own): one
# line on stderr, one in the panel, and the panel still shows Tintor's own
# write and, once the window is back in front, another program's.
if unshare -Ur sh -c 'echo 0 >/proc/sys/user/max_inotify_instances' 2>/dev/null; then
  launch=(unshare -Ur sh -c 'echo 0 >/proc/sys/user/max_inotify_instances && exec "$0" "$@"')
  start_tintor
  [ "$(grep -c 'does not follow' "$work/tintor.log")" = 1 ] || fail "$(cat "$work/tintor.log")"
  shot unwatched "$panel"
  same panel_after unwatched && fail "no line in the panel says it does not follow the file"
  xdotool mousemove --window "$win" 183 349 click 1  # swatch 108, then item 4
  for _ in $(seq 50); do  # the menu's title bar where the banner was
    import -window "$win" -crop 1x1+470+130 txt:- | grep -q '(245,246,247)' && break
    sleep 0.1
  done
  for k in Down Down Down Down Return; do key "$k"; done
  shot own "$panel"
  same unwatched own && fail "the unwatched panel did not show Tintor's own write"
  key Return
  xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id:/ { print $4 }')"
  "$tintor" --script "$work/black" >"$work/writer.log" 2>&1 || fail "writer: $(cat "$work/writer.log")"
  xdotool windowfocus --sync "$win"
  shot other "$panel"
  same own other && fail "the unwatched panel did not show another's write once in front"
  stop_tintor
else
  echo "note: no user namespace here; the unwatched panel is not tried"
fi
echo "PASS: the preview beside the phone, live, hidden by F2 and by its button, back by its tab"
