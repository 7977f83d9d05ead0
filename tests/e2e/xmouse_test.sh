#!/usr/bin/env bash
# The real program in a real X window (Xvfb) on a wide screen, played with the mouse alone
# through xdotool: a click on the title, a click on "2 Players Game", a click on square (2, 3),
# which must then show a black disc, and after Escape back to the title, clicks on the menu's
# "[ EXIT ]". Screenshots go to OUT_DIR.
#   xmouse_test.sh PROGRAM SCREEN_POINT ASSETS_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
width=1280
height=720
in_xvfb ${width}x${height} "$@"
shift
program=$1
point_program=$2
setup "xmouse test" $4

# The mean brightness of a 5 x 5 block round a pixel.
block() { mean "$1" -crop "5x5+$(($2 - 2))+$(($3 - 2))"; }

cd "$3"
start "$program"
lit title
click $(logical 320 330) # anywhere on the title: the menu
click $(logical 320 356) # "2 Players Game"
sleep 1.6                # the game's opening wait
lit game
# Square (2, 3), centred at (-210, -70): probes round the top of a disc there, clear of the
# pointer that stands over its middle once the cursor is on it.
probes=("$(world -240 -70 20)" "$(world -180 -70 20)" "$(world -210 -100 20)" "$(world -210 -40 20)")
click $(world -210 -70 0)
sleep 3.5 # the disc falls, one disc turns, the counts change
lit after-click
for p in "${probes[@]}"; do
    read -r x y <<<"$p"
    before=$(block "$out/game.png" "$x" "$y")
    after=$(block "$out/after-click.png" "$x" "$y")
    echo "square (2, 3) at $x,$y: $before before, $after after"
    awk -v b="$before" -v a="$after" 'BEGIN { exit !(a < b - 0.08) }' ||
        fail "no black disc on square (2, 3)"
done

xdotool key Escape
sleep 0.6
click $(logical 320 330) # the title again: the menu
lit menu
click $(logical 320 412) # "[ EXIT ]"
ends "a click on [ EXIT ]"
echo "xmouse test: passed"
