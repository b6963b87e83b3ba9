#!/usr/bin/env bash
# Draws the README's picture of the theme shelf: the real window under Xvfb,
# with a saved theme ("夜读", the dark preset) on the shelf and that theme
# just exported into the documents folder, whose path the shelf shows.
# Everything it writes but the picture stays in a scratch folder.
# Usage: scripts/theme-shelf-picture.sh PATH/TO/tintor OUT.png
set -euo pipefail
tintor=$1
out=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
xvfb=""
app=""
finish() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state TINTOR_REGISTRY=$work/registry.reg
mkdir -p "$HOME/文档" "$XDG_CONFIG_HOME"
echo 'XDG_DOCUMENTS_DIR="$HOME/文档"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
"$tintor" --apply-theme 深色 >/dev/null
"$tintor" --save-theme 夜读 >/dev/null
"$tintor" --apply-theme 默认 >/dev/null

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
"$tintor" --scale 1 >"$work/log" 2>&1 &
app=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n1)
[ -n "$win" ] || { echo "no window: $(cat "$work/log")" >&2; exit 1; }
# Until the panel is drawn, then "主题" in its header, then "导出" on the
# saved theme's row (the fourth), waiting each time for what it makes.
look() { import -window "$win" rgb:- 2>/dev/null | md5sum; }
settle() {
  local last="" now
  for _ in $(seq 50); do
    now=$(look)
    [ "$now" != "${1:-}" ] && [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.2
  done
  echo "the window did not change" >&2
  exit 1
}
settle
before=$(look)
xdotool mousemove --window "$win" 812 22 click 1
settle "$before"
xdotool mousemove --window "$win" 870 432 click 1
for _ in $(seq 50); do [ -s "$HOME/文档/夜读.reg" ] && break; sleep 0.1; done
[ -s "$HOME/文档/夜读.reg" ] || { echo "nothing exported" >&2; exit 1; }
# The path shows once the window holds still.
last=""
for _ in $(seq 50); do
  now=$(look)
  [ "$now" = "$last" ] && break
  last=$now
  sleep 0.2
done
import -window "$win" "$out"
echo "wrote $out"
