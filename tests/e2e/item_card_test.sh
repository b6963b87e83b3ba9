#!/usr/bin/env bash
# Pointing at an item in the studio and setting it there, in a real window
# (Xvfb): a click on item 5's place outlines it and opens its card; a click
# on a swatch in the card writes the colour that swatch shows into item 5's
# registry value, the panel shows it at once, the theme history has it as a
# step (Ctrl+Z in the card brings the old value back, --redo the new one);
# Esc closes the card.
# Usage: item_card_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 1280x900

item5() { "$tintor" --theme-report | awk '$1 == 5 { print $3 }'; }

"$tintor" >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
[ -n "$win" ] || fail "no window: $(cat "$work/tintor.log")"
until_pixel 996 300 "#2B2E33" || fail "the panel is not there: $(pixel 996 300)"
before=$(item5)

# Item 5's word "设置" in the small settings window.
xdotool mousemove --window "$win" 520 349 click 1
until_pixel 740 706 "#F7F8FA" || fail "no card opened over the panel's lower part"
import -window "$win" -crop 12x40+497+330 -depth 8 txt:- | grep -q '#00E5FF' || fail "item 5 is not outlined"

# The sixth swatch of the card's third row: its face is the colour it writes.
x=$((480 + 8 + 18 + 5 * 36 + 18)); y=$((540 + 2 * 28 + 14))
face=$(pixel $x $y)
xdotool mousemove --window "$win" $x $y click 1
want=$(echo "$face" | sed 's/#\(..\)\(..\)\(..\)/0x00\3\2\1/')
for _ in $(seq 100); do [ "$(item5)" = "$want" ] && break; sleep 0.1; done
[ "$(item5)" = "$want" ] || fail "item 5 holds $(item5), not the swatch's $want ($face)"
# The panel shows it at once: "设置" is drawn in the new colour.
import -window "$win" -crop 80x34+504+332 -depth 8 txt:- | grep -q "$face" || fail "the panel does not show $face"

# Ctrl+Z in the open card takes the step back; the history keeps it for a redo.
xdotool key --window "$win" ctrl+z
for _ in $(seq 100); do [ "$(item5)" = "$before" ] && break; sleep 0.1; done
[ "$(item5)" = "$before" ] || fail "Ctrl+Z in the card left item 5 at $(item5), not $before"
xdotool key --window "$win" Escape
until_pixel 740 706 "#F7F8FA" not || fail "Esc did not close the card"
kill "$app_pid"; wait "$app_pid"; app_pid=""
"$tintor" --redo >/dev/null || fail "nothing to redo: the write is not in the history"
[ "$(item5)" = "$want" ] || fail "redo left item 5 at $(item5), not $want"
echo "PASS: a click points at an item, a swatch in its card sets it, Ctrl+Z there undoes it, Esc closes the card"
