#!/usr/bin/env bash
# The 配色 place in a real window (Xvfb) follows the holding rule: opened on
# a picture (`tintor PICTURE`), a click on the phone closes it, as it closes
# the shelf and the card, and does nothing else there (no menu opens, nothing
# is written). With TINTOR_E2E_SHOTS=DIR the two screens are kept in DIR.
# Usage: colour_maker_test.sh PATH/TO/tintor
set -u
tintor=$1
. "$(dirname "$0")/xvfb_session.sh" 1280x900

phone() { import -window "$win" -crop 480x600+0+60 rgb:- 2>/dev/null | md5sum; }
shot() { [ -n "${TINTOR_E2E_SHOTS:-}" ] && import -window "$win" "$TINTOR_E2E_SHOTS/$1"; true; }

convert -size 60x40 xc:'#427938' "$work/meadow.png" || fail "no picture drawn"
"$tintor" --scale 1 "$work/meadow.png" >"$work/tintor.log" 2>&1 &
app_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -n1)
[ -n "$win" ] || fail "no window: $(cat "$work/tintor.log")"
# The place's first swatch (black) stands where the shelf has its name box.
until_pixel 510 104 "#000000" || fail "the 配色 place did not open on the picture: $(pixel 510 104)"
sleep 0.5
before=$(phone)
shot colour-maker-open.png

# A click on the phone's first swatch: the place closes, the shelf it stood on is there.
xdotool mousemove --window "$win" 68 232 click 1
until_pixel 510 104 "#000000" not || fail "a click on the phone left the 配色 place open"
sleep 0.5
shot colour-maker-closed.png
[ "$(phone)" = "$before" ] || fail "the click acted on the phone too (its screen changed)"
[ ! -e "$TINTOR_REGISTRY" ] || fail "something was written: $(ls -l "$TINTOR_REGISTRY")"
echo "PASS: a click on the phone closes the 配色 place and does nothing else"
