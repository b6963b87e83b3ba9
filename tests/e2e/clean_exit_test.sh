#!/usr/bin/env bash
# Every way out of a real window ends tintor with exit code 0 and the registry
# file whole: the window destroyed from outside (xdotool windowclose), SIGTERM,
# SIGINT and the window manager's close request (WM_DELETE_WINDOW), with the
# theme preview beside the phone. Each run first saves a colour, then ends
# while the "设置成功" box (a nested modal loop) is up; the file must hold that
# colour, byte for byte as saved.
# Usage: clean_exit_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 1280x800

registry_text() { iconv -f UTF-16LE -t UTF-8 "$TINTOR_REGISTRY" 2>/dev/null | tr -d '\r\357\273\277'; }
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --window "$win" "$1"; sleep 0.2; }

# Asks the window to close as a window manager would.
close_request() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
w = int(sys.argv[1])
ev = (ctypes.c_long * 24)()  # XClientMessageEvent: type, serial, send_event, display, window, ...
ev[0], ev[4], ev[5], ev[6] = 33, w, x.XInternAtom(d, b"WM_PROTOCOLS", 0), 32
ev[7] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, w, 0, 0, ev)
x.XFlush(d)
PY
}

# What a tintor that does not end is doing: each thread's state and the
# kernel function it waits in, and what it said.
still_running() {
  local t
  for t in /proc/"$1"/task/*; do
    echo "thread $(basename "$t") $(cut -d' ' -f3 "$t/stat" 2>/dev/null) $(cat "$t/wchan" 2>/dev/null);"
  done
  echo "load $(cut -d' ' -f1-3 /proc/loadavg); said: $(cat "$work/tintor.log")"
}

# One run: save target item $2 from swatch (183, 268), then end the run by $1.
round=0
for way in windowclose TERM INT close-request; do
  round=$((round + 1))
  # A job started in the background ignores SIGINT; the user's tintor does not.
  env --default-signal=INT "$tintor" >"$work/tintor.log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
  [ -n "$win" ] || fail "$way: no window from tintor: $(cat "$work/tintor.log")"
  sleep 1
  before=$(registry_text | grep -c '=dword:')
  xdotool mousemove --window "$win" 183 268 click 1
  sleep 1
  for _ in $(seq "$round"); do key Down; done
  key Return
  for _ in $(seq 50); do
    [ "$(registry_text | grep -c '=dword:')" -gt "$before" ] && break
    sleep 0.1
  done
  [ "$(registry_text | grep -c '=dword:')" -gt "$before" ] || fail "$way: the colour was not saved"
  sleep 0.5
  cp "$TINTOR_REGISTRY" "$work/saved.reg"
  case $way in
    windowclose) xdotool windowclose "$win" ;;
    TERM | INT) kill -"$way" "$app_pid" ;;
    close-request) close_request "$win" ;;
  esac
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "$way: tintor did not end: $(still_running "$app_pid")"
  wait "$app_pid"
  status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "$way: exit code $status: $(cat "$work/tintor.log")"
  [ -s "$work/tintor.log" ] && fail "$way: tintor said: $(cat "$work/tintor.log")"
  cmp -s "$TINTOR_REGISTRY" "$work/saved.reg" || fail "$way: the registry file changed at the end"
  registry_text | head -n1 | grep -qx 'Windows Registry Editor Version 5.00' ||
    fail "$way: the registry file is not whole: $(registry_text)"
  # The window's settings are written as it ends, whole, with nothing beside them.
  [ "$(find "$work" -mindepth 1 -maxdepth 1 -newer "$work/saved.reg" ! -path "$XDG_CONFIG_HOME" | wc -l)" -eq 0 ] ||
    fail "$way: files left behind: $(find "$work" -maxdepth 1 -newer "$work/saved.reg")"
  [ "$(ls -A "$XDG_CONFIG_HOME/tintor")" = settings ] && grep -q '^scale=1$' "$XDG_CONFIG_HOME/tintor/settings" ||
    fail "$way: the window's settings: $(ls -A "$XDG_CONFIG_HOME/tintor"): $(cat "$XDG_CONFIG_HOME/tintor/settings")"
done
[ "$(registry_text | grep -c '=dword:')" -eq 4 ] || fail "not four colours saved: $(registry_text)"
echo "PASS: windowclose, SIGTERM, SIGINT and the close request each ended tintor with exit code 0," \
  "the registry file whole with all four colours"
