# The common start of the window tests, sourced by each: a scratch folder
# ($work) holding the registry file, the window's settings, the theme's
# history and saved themes, fail(), pixel() and until_pixel() to read the
# window $win, and an Xvfb screen of the size given (WIDTHxHEIGHT) on a
# display number it picks itself. At exit it stops the program under test
# ($app_pid, when set) and the X server, and removes the scratch folder.
# Usage: . "$(dirname "$0")/xvfb_session.sh" 1280x800
work=$(mktemp -d)
export TINTOR_REGISTRY=$work/registry.reg
export XDG_CONFIG_HOME=$work/config  # the window keeps its settings here
export XDG_STATE_HOME=$work/state
export XDG_DATA_HOME=$work/data  # saved themes
xvfb_pid=""
app_pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }
end_session() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap end_session EXIT

Xvfb -displayfd 3 -screen 0 "${1:?screen size}x24" -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

# The colour of the pixel X Y of the window $win, as #RRGGBB.
pixel() { import -window "$win" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n1; }
until_pixel() {  # until_pixel X Y COLOUR [not]: wait for the pixel to be (or stop being) COLOUR
  for _ in $(seq 100); do
    if [ "${4:-}" = not ]; then [ "$(pixel "$1" "$2")" != "$3" ] && return 0
    else [ "$(pixel "$1" "$2")" = "$3" ] && return 0; fi
    sleep 0.1
  done
  false
}
