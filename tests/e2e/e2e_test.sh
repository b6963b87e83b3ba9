#!/usr/bin/env bash
# End to end: the real tintor binary in a real X window (Xvfb), driven by
# xdotool like a user: scroll to swatch 167, tap it, choose "4 窗口背景",
# confirm the box; check the registry file; start again and read the window
# background off the X screen; quit with "退出" and check the exit code.
# Usage: e2e_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 640x800

# Starts tintor and sets $app_pid and $win (its X window).
start_tintor() {
  "$tintor" --no-preview >"$work/tintor.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
  [ -n "$win" ] || fail "no window from tintor: $(cat "$work/tintor.log")"
  # Let the window settle (first frame, window slide).
  sleep 1
}

# A fingerprint of what the window shows now.
screen_sum() { import -window "$win" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
# Waits (up to 10 s) until the window shows something other than $1 and has
# stopped moving (two equal looks in a row): a menu or box has slid in or out.
wait_changed_from() {
  local before=$1 last="" now
  for _ in $(seq 50); do
    now=$(screen_sum)
    if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then return 0; fi
    last=$now
    sleep 0.2
  done
  fail "the window did not change"
}
# Waits until two looks 0.3 s apart agree, and prints that fingerprint.
stable_sum() {
  local last="" now
  for _ in $(seq 30); do
    now=$(screen_sum)
    if [ "$now" = "$last" ]; then echo "$now"; return 0; fi
    last=$now
    sleep 0.3
  done
  fail "the window did not settle"
}
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --window "$win" "$1"; sleep 0.1; }

# Waits up to 10 s for the process to end; sets $status.
wait_exit() {
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "tintor did not exit"
  wait "$app_pid"; status=$?
  app_pid=""
}

# The registry file as UTF-8 text.
registry_text() { iconv -f UTF-16LE -t UTF-8 "$TINTOR_REGISTRY" 2>/dev/null | tr -d '\r\357\273\277'; }

# ---- First run: set swatch 167 as the window background. ----
start_tintor
# Scroll the swatch pane to its end; 167 then sits in row 15, column 1.
xdotool mousemove --window "$win" 240 400
at_rest=$(screen_sum)
for _ in $(seq 40); do xdotool click 5; done
wait_changed_from "$at_rest"
# Pane top at screen y 185, content scrolled by 1919 - 470 = 1449:
# swatch 167 (138, 1715) shows at x 138..228, y 451..541.
scrolled=$(stable_sum)
click 183 496
wait_changed_from "$scrolled"          # the target menu is up
key Down; key Down; key Down; key Down
menu=$(stable_sum)
key Return
wait_changed_from "$menu"              # the menu left, the box came
for _ in $(seq 50); do registry_text | grep -qi '"SYSCLR_WINDOW_BG"=dword:0338faa2' && break; sleep 0.1; done
registry_text | grep -qi '"SYSCLR_WINDOW_BG"=dword:0338faa2' ||
  fail "registry does not hold SYSCLR_WINDOW_BG = 0x0338FAA2: $(registry_text)"
registry_text | grep -qi '^\[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\]' ||
  fail "value not under HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors: $(registry_text)"
# Confirm the box, then quit with "退出".
box=$(stable_sum)
key Return
wait_changed_from "$box"
click 80 690
wait_exit
[ "$status" -eq 0 ] || fail "first run exited with $status"

# ---- Second run: the shell now draws the window background in that colour. ----
start_tintor
import -window "$win" "$work/shot.png" || fail "import failed"
# Left margin of the swatch pane (x 0..23) shows the window background.
pixel=$(convert "$work/shot.png" -format '%[fx:int(255*p{10,400}.r)],%[fx:int(255*p{10,400}.g)],%[fx:int(255*p{10,400}.b)]' info:)
[ "$pixel" = "162,250,56" ] || fail "window background is $pixel, expected 162,250,56 (#A2FA38)"
click 80 690
wait_exit
[ "$status" -eq 0 ] || fail "second run exited with $status"
echo "PASS: SYSCLR_WINDOW_BG = 0x0338FAA2 written, shown after restart, exit code 0"
