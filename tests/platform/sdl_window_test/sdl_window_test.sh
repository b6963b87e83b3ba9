#!/usr/bin/env bash
# The SDL host in a real X window (Xvfb on a display of its own): the probe
# program shows a proof screen; xdotool clicks on an image button and on the
# toolbar must reach OnControlCommand (the probe writes the ids to a file);
# the X screenshot of the window must match the headless screenshot of the
# same screen, channel by channel, below the status bar (whose clock shows
# the real time in the window and 12:00 headless); the toolbar's left button
# quits with exit code 7. Then the same at --scale 2: a window twice the
# size whose clicks land on the same controls.
# Usage: sdl_window_test.sh PATH/TO/platform_window_probe
set -u
probe=$1
tolerance=8
work=$(mktemp -d)
export TINTOR_REGISTRY=$work/registry.reg
export TINTOR_PROBE_LOG=$work/commands.txt
export XDG_CONFIG_HOME=$work/config  # the window keeps its settings here
export XDG_STATE_HOME=$work/state  # the theme history the window keeps
xvfb_pid=""
probe_pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Waits up to $1 tenths of a second for the command in the rest of the line.
wait_for() {
  local tries=$1; shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# ---- The same screen headless: the reference picture. ----
printf 'wait 100\nshot headless.png\n' >"$work/script.txt"
"$probe" --headless --script "$work/script.txt" --screenshot-dir "$work" >"$work/headless.log" 2>&1
[ -s "$work/headless.png" ] || fail "no headless screenshot: $(cat "$work/headless.log")"

# ---- Xvfb picks a free display and tells us its number. ----
Xvfb -displayfd 3 -screen 0 1100x1500x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

# Starts the probe with the given options; sets $probe_pid and $win.
start_probe() {
  "$probe" --no-preview "$@" >"$work/probe.log" 2>&1 &
  probe_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$probe_pid" 2>/dev/null | head -n1)
  [ -n "$win" ] || fail "no window from the probe $*: $(cat "$work/probe.log")"
}
# The first frame is there once the window is no longer black where the
# window background is (the pane's left margin at window pixel $1, $2).
shot() { import -window "$win" "$work/$1" 2>>"$work/import.log"; }
painted() {
  shot x11.png &&
    [ "$(convert "$work/x11.png" -format "%[fx:int(255*p{$1,$2}.r)]" info:)" != 0 ]
}
# Waits up to 10 s for the probe to end and checks its exit code.
expect_exit() {
  wait_for 100 bash -c "! kill -0 $probe_pid 2>/dev/null" || fail "the probe did not quit"
  wait "$probe_pid"
  status=$?
  probe_pid=""
  [ "$status" -eq "$1" ] || fail "the probe exited with $status, expected $1: $(cat "$work/probe.log")"
}

start_probe
wait_for 100 painted 2 400 || fail "the window was never painted: $(cat "$work/import.log")"
sleep 0.3
shot x11.png || fail "import failed: $(cat "$work/import.log")"

# ---- Compare below the status bar, channel by channel. ----
size=$(identify -format '%wx%h' "$work/x11.png")
# The phone, and beside it the hidden studio's tab (36 pixels).
[ "$size" = 516x720 ] || fail "the X window is $size, expected 516x720"
convert "$work/x11.png" "$work/headless.png" -alpha off -crop 480x685+0+35 +repage \
  -compose difference -composite -separate -evaluate-sequence max "$work/diff.png" ||
  fail "cannot compare the screenshots"
worst=$(convert "$work/diff.png" -format '%[fx:round(255*maxima)]' info:)
if [ "$worst" -gt "$tolerance" ]; then
  where=$(convert "$work/diff.png" -threshold "$((tolerance * 100 / 255))%" \
    -format '%[fx:round(mean*w*h)] pixels, bounding box %@' info:)
  keep=${TINTOR_PROBE_KEEP:-/tmp}
  cp "$work/x11.png" "$keep/sdl_window_x11.png"
  cp "$work/headless.png" "$keep/sdl_window_headless.png"
  fail "X and headless screenshots differ by up to $worst in a channel ($where);" \
    "kept in $keep/sdl_window_x11.png and $keep/sdl_window_headless.png"
fi

# ---- Clicks reach OnControlCommand. ----
# Button 7 (row 1, column 2 of the pane) and the toolbar's middle button.
xdotool mousemove --window "$win" 240 374 click 1
wait_for 50 grep -qx '1007 0' "$TINTOR_PROBE_LOG" ||
  fail "the click on button 1007 did not arrive: $(cat "$TINTOR_PROBE_LOG" 2>/dev/null)"
xdotool mousemove --window "$win" 240 690 click 1
wait_for 50 grep -qx '2000 1' "$TINTOR_PROBE_LOG" ||
  fail "the click on the toolbar did not arrive: $(cat "$TINTOR_PROBE_LOG" 2>/dev/null)"
[ "$(wc -l <"$TINTOR_PROBE_LOG")" -eq 2 ] || fail "unexpected commands: $(cat "$TINTOR_PROBE_LOG")"

# ---- The toolbar's left button quits with the quit message's code. ----
xdotool mousemove --window "$win" 60 690 click 1
expect_exit 7
commands=$(tr '\n' ';' <"$TINTOR_PROBE_LOG")

# ---- Twice the size: the window grows, a click lands on the same button. ----
rm -f "$TINTOR_PROBE_LOG"
start_probe --scale 2
wait_for 100 painted 4 800 || fail "the scaled window was never painted"
size=$(identify -format '%wx%h' "$work/x11.png")
[ "$size" = 1032x1440 ] || fail "the window at --scale 2 is $size, expected 1032x1440"
xdotool mousemove --window "$win" 480 748 click 1
wait_for 50 grep -qx '1007 0' "$TINTOR_PROBE_LOG" ||
  fail "the click at --scale 2 did not reach button 1007: $(cat "$TINTOR_PROBE_LOG" 2>/dev/null)"
xdotool mousemove --window "$win" 120 1380 click 1
expect_exit 7
echo "PASS: window painted like headless (worst channel difference $worst)," \
  "clicks reached OnControlCommand: $commands exit code 7; at --scale 2: 1032x1440," \
  "clicks reached $(tr '\n' ';' <"$TINTOR_PROBE_LOG")"
