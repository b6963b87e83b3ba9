#!/usr/bin/env bash
# Draws the README's pictures of the real window under Xvfb, into OUTDIR:
#   11-theme-shelf.png    the theme shelf with a saved theme ("夜读", the dark
#                         preset), just exported into the documents folder,
#                         whose path the shelf shows;
#   12-picture.jpg        a picture of a meadow under a sky (drawn here);
#   12-colour-maker.png   the window opened on that picture (`tintor
#                         PICTURE`): the shelf's 配色 place with the four
#                         themes made from it, soft and vivid, light and
#                         dark, of any colours ("可用任意颜色").
# Everything it writes but the pictures stays in a scratch folder (the window
# tests' session, tests/e2e/xvfb_session.sh).
# Usage: scripts/window-pictures.sh PATH/TO/tintor OUTDIR
set -euo pipefail
tintor=$1
outdir=$(cd "$2" && pwd)
# The window tests' session: a scratch folder for every file, an Xvfb
# screen, both gone at exit; the documents folder named as user-dirs.dirs does.
. "$(dirname "$0")/../tests/e2e/xvfb_session.sh" 1280x800
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME/文档" "$XDG_CONFIG_HOME"
echo 'XDG_DOCUMENTS_DIR="$HOME/文档"' >"$XDG_CONFIG_HOME/user-dirs.dirs"

# Starts the window (at scale 1, with these arguments) and waits for it.
win=""
start() {
  "$tintor" --scale 1 "$@" >"$work/log" 2>&1 &
  app_pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1)
  [ -n "$win" ] || { echo "no window: $(cat "$work/log")" >&2; exit 1; }
}
stop() {
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}
look() { import -window "$win" rgb:- 2>/dev/null | md5sum; }
# Until the window holds still, and differs from $1 when given.
settle() {
  local last="" now
  for _ in $(seq 50); do
    now=$(look)
    [ "$now" != "${1:-}" ] && [ "$now" = "$last" ] && return 0
    last=$now
    sleep 0.2
  done
  echo "the window did not settle" >&2
  exit 1
}

# The theme shelf: until the panel is drawn, then "主题" in its header, then
# "导出" on the saved theme's row (the fifth, under the four presets),
# waiting each time for what it makes.
"$tintor" --apply-theme 深色 >/dev/null
"$tintor" --save-theme 夜读 >/dev/null
"$tintor" --apply-theme 默认 >/dev/null
start
settle
before=$(look)
xdotool mousemove --window "$win" 812 22 click 1
settle "$before"
xdotool mousemove --window "$win" 870 492 click 1
for _ in $(seq 50); do [ -s "$HOME/文档/夜读.reg" ] && break; sleep 0.1; done
[ -s "$HOME/文档/夜读.reg" ] || { echo "nothing exported" >&2; exit 1; }
settle  # the path shows once the window holds still
import -window "$win" "$outdir/11-theme-shelf.png"
stop

# The 配色 place on a picture: a sky over a green meadow with two hills.
convert -size 640x400 gradient:'#8EC5E8'-'#D8ECF5' \
  \( -size 640x170 gradient:'#5E9E4A'-'#2F5E2A' \) -gravity south -composite \
  \( -size 640x60 xc:'#3F7F3A' -fill '#2F6A35' -draw 'ellipse 120,60 180,50 180,360' \
     -draw 'ellipse 480,60 220,45 180,360' \) -gravity south -geometry +0+170 -composite \
  -strip -quality 88 "$outdir/12-picture.jpg"
start "$outdir/12-picture.jpg"
settle
before=$(look)
xdotool mousemove --window "$win" 815 226 click 1   # 只用65个色板颜色 -> 可用任意颜色
settle "$before"
import -window "$win" "$outdir/12-colour-maker.png"
stop
echo "wrote $outdir/11-theme-shelf.png $outdir/12-picture.jpg $outdir/12-colour-maker.png"
