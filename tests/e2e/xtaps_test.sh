#!/usr/bin/env bash
# The real program in Xvfb, at the Fast speed, in a two-player game typed at quickly: taps 15 ms
# apart (faster than the software renderer's frames) must all move the cursor, chords sent whole
# undo, redo and copy the record, and the window destroyed by another client (`xdotool
# windowkill`) must end the program with its settings saved. Screenshots go to OUT_DIR.
#   xtaps_test.sh PROGRAM ASSETS_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
width=1024
height=768
in_xvfb ${width}x${height} "$@"
shift
program=$1
setup "xtaps test" "$3" xclip
settings=$config/Bellwick/Octavane/settings.reg
mkdir -p "$(dirname "$settings")"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Bellwick\\Octavane]\n"AnimationSpeed"=dword:00000001\n' \
    >"$settings"

# turn SHOT: the side whose name alone is yellow at the top of the screenshot, Black or White.
turn() {
    local half=$((width / 2))x$((height / 8)) left right
    left=$(yellow "$out/$1.png" -crop "$half+0+0")
    right=$(yellow "$out/$1.png" -crop "$half+$((width / 2))+0")
    echo "$1: yellow at the top: $left left (Black), $right right (White)" >&2
    above "$right" 0.01 && ! above "$left" 0.002 && echo White
    above "$left" 0.01 && ! above "$right" 0.002 && echo Black || true
}

cd "$2"
start "$program"
xdotool mousemove 512 384
sleep 1 # the camera's first steps round the board
lit title
two_player_game
sleep 1
key Right Right Right Right Right Right # from (3, 3) to the edge, (7, 3), and two to spare
xdotool key --delay 15 Left Left Left Left Left Left Left
key Right Right space
sleep 3.5 # the disc falls, one disc turns, the counts change
lit after-taps
# On row 3 Black may play on (2, 3) alone: the move was made when White is to move.
[[ $(turn after-taps) == White ]] ||
    fail "Black did not play on (2, 3): quick taps were lost"
# Backspace takes the move back, and Shift+Backspace plays it again, each chord typed whole
# between two frames (xdotool sends Shift down, Backspace down and up, Shift up at once).
xdotool key --delay 0 BackSpace
sleep 2 # the disc rises and goes, the other turns back
lit undone
[[ $(turn undone) == Black ]] || fail "Backspace took nothing back"
xdotool key --delay 0 shift+BackSpace
sleep 3.5
lit redone
[[ $(turn redone) == White ]] ||
    fail "Shift+Backspace typed at once did not play the move again"
xdotool keydown ctrl
sleep 0.2
key c
xdotool keyup ctrl
record=$(timeout 5 xclip -o -selection clipboard) || fail "nothing on the clipboard"
[[ "$record" == "c4" ]] || fail "the clipboard holds \"$record\", not \"c4\""
echo "clipboard: $record"

xdotool key Escape
sleep 0.6
lit back-at-title
grep -q '"BoardG"' "$settings" && fail "the settings were written before the end"
xdotool windowkill "$window"
ends "the program without its display" any
for line in '"BoardG"=dword:00000007' '"AnimationSpeed"=dword:00000001'; do
    grep -q "$line" "$settings" || fail "$line not saved when the display went: $(cat "$settings")"
done
echo "xtaps test: passed"
