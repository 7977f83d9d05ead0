#!/usr/bin/env bash
# The real program in a real X window (Xvfb), driven with xdotool as a person would: the title,
# the menu, a two-player game with one move, Escape back to the title and Escape to quit.
# Screenshots go to OUT_DIR; the settings file must be written at exit.
#   xwindow_test.sh PROGRAM ASSETS_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
in_xvfb 1024x768 "$@"
shift
program=$1
setup "xwindow test" $3

cd "$2"
start "$program"
xdotool mousemove 512 384
sleep 1 # the camera's first steps round the board
lit title
two_player_game
key Up space        # Black to (3, 2)
sleep 3.0           # the disc falls, one disc turns, the counts change
lit after-move
key Escape
sleep 0.5
lit back-at-title
key Escape
ends "Escape on the title"

settings=$config/Bellwick/Octavane/settings.reg
[[ -f "$settings" ]] || fail "no settings file at exit"
grep -q '"BoardG"=dword:00000007' "$settings" || fail "settings file lacks BoardG: $(cat "$settings")"
difference=$(compare -metric AE "$out/title.png" "$out/after-move.png" null: 2>&1 || true)
echo "title vs after-move: $difference pixels differ"
echo "xwindow test: passed"
