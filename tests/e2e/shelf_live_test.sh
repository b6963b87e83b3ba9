#!/usr/bin/env bash
# The theme shelf stays live in a real window (Xvfb): with the shelf open,
# a theme saved by another process (tintor --save-theme from a shell) shows
# in its list and one deleted goes; 应用 on a theme that another process
# deletes while its question is open writes nothing, and the list is read
# again. The rows are told by their buttons and by the first colour of their
# strips. With a folder as second argument, the screenshots are kept there.
# Usage: shelf_live_test.sh PATH/TO/tintor [SCREENSHOT-FOLDER]
set -u
tintor=$1
shots=${2:-}
. "$(dirname "$0")/xvfb_session.sh" 1280x900

shot() { [ -n "$shots" ] && import -window "$win" "$shots/$1.png"; true; }
# Item 1 (the first colour of a strip) set from another process.
item1() {
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\APP]\r\n"MUSIC_LYRIC_SHADOW_COLOR"=dword:%s\r\n' \
    "$1" >"$work/item1.reg"
  "$tintor" --import-theme "$work/item1.reg" >/dev/null || fail "cannot import item 1 = $1"
}
stored1() { "$tintor" --theme-report | awk '$1 == 1 { print $3 }'; }

# The rows after the four presets: the fifth at y 477, the sixth at 537; a
# saved row has a 删除 button, its strip starts at x 492.
row5_strip=(497 504) row6_apply=(790 552) row5_delete=(950 492)
button="#454A52" desk="#2B2E33" magenta="#FF00FF"

"$tintor" --save-theme 第十 >/dev/null || fail "cannot save 第十"
"$tintor" >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
[ -n "$win" ] || fail "no window: $(cat "$work/tintor.log")"
until_pixel 996 300 "#2B2E33" || fail "the panel is not there: $(pixel 996 300)"
xdotool mousemove --window "$win" 828 18 click 1  # 主题
until_pixel "${row5_delete[@]}" "$button" || fail "the shelf does not list 第十"
until_pixel "${row6_apply[@]}" "$desk" || fail "a sixth row before anything was saved"
shot 1-shelf-open

# Saved from a shell: 外部新存 (first colour magenta) sorts before 第十.
item1 00ff00ff
"$tintor" --save-theme 外部新存 >/dev/null || fail "cannot save 外部新存"
until_pixel "${row6_apply[@]}" "$button" || fail "the theme saved elsewhere does not show"
until_pixel "${row5_strip[@]}" "$magenta" || fail "the fifth row is not 外部新存: $(pixel "${row5_strip[@]}")"
shot 2-saved-elsewhere

# Deleted from a shell: its row goes.
"$tintor" --delete-theme 第十 >/dev/null || fail "cannot delete 第十"
until_pixel "${row6_apply[@]}" "$desk" || fail "the theme deleted elsewhere stays listed"
[ "$(pixel "${row5_strip[@]}")" = "$magenta" ] || fail "外部新存 went with 第十"
shot 3-deleted-elsewhere

# 应用 on 外部新存, deleted by another process while the question is open:
# 确定 writes nothing, and the row goes.
item1 0000ff00
xdotool mousemove --window "$win" 790 492 click 1  # 应用
until_pixel 740 285 "#FFFFFF" || fail "no question before applying"
"$tintor" --delete-theme 外部新存 >/dev/null || fail "cannot delete 外部新存"
shot 4-gone-under-the-question
xdotool mousemove --window "$win" 628 407 click 1  # 确定
until_pixel 740 285 "#FFFFFF" not || fail "the question stayed"
until_pixel "${row5_delete[@]}" "$desk" || fail "the theme that is gone stays listed"
shot 5-said-gone
# The status line says it in the failure's colour (its antialiased ink is
# no colour of the desk).
import -window "$win" -crop 480x16+492+164 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | grep -q '^#[C-F][0-9A-F]7' ||
  fail "nothing is said in the status line"
[ "$(stored1)" = 0x0000FF00 ] || fail "a theme that is gone was applied: item 1 is $(stored1)"
grep -q "tintor:" "$work/tintor.log" && fail "something went to standard error: $(cat "$work/tintor.log")"
echo "PASS: the shelf shows a theme saved elsewhere, drops one deleted elsewhere, and applies none that is gone"
