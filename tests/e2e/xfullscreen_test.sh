#!/usr/bin/env bash
# The real program installed into a folder of its own and started elsewhere, in Xvfb: --window,
# F11 and Alt+Enter give their sizes with the 4:3 picture letterboxed, the mouse alone plays a
# disc, and the installed sounds are found. The screen-point helper tells where things show.
#   xfullscreen_test.sh BUILD_DIR SCREEN_POINT OUT_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
width=1280
height=800
in_xvfb ${width}x${height} "$@"
point_program=$3
setup "xfullscreen test" "$4" cmake
capture= # the window itself
work=$config/install # removed with the settings folder
export OCTAVANE_SOUND_DEBUG=1
mkdir -p "$work/elsewhere"
cmake --install "$2" --prefix "$work" >/dev/null

# size WxH: the window reaches that size within a few seconds.
size() {
    for _ in $(seq 1 30); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [[ ${WIDTH}x${HEIGHT} == "$1" ]] && return 0
        sleep 0.2
    done
    fail "the window is ${WIDTH}x${HEIGHT}, not $1"
}
# shot NAME W H: the window's picture, letterboxed into W x H: black bars, and the 4:3 area lit
# showing the menu (its chosen line alone is yellow; an Enter would have gone back to the title).
shot() {
    sleep 1
    import -window "$window" "$out/$1.png"
    local w=$(($3 * 4 / 3 < $2 ? $3 * 4 / 3 : $2)) h=$(($2 * 3 / 4 < $3 ? $2 * 3 / 4 : $3))
    local x=$((($2 - w) / 2)) y=$((($3 - h) / 2))
    local picture bars yellow
    picture=$(mean "$out/$1.png" -crop "${w}x${h}+${x}+${y}")
    bars=$(mean "$out/$1.png" -fill black -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    yellow=$(yellow "$out/$1.png" -scale 50%)
    echo "$1: picture $picture, bars $bars, yellow $yellow"
    above "$picture" 0.02 || fail "$1: the picture is black"
    above "$bars" 0.001 && fail "$1: the bars are not black"
    above "$yellow" 0.0001 || fail "$1 does not show the menu"
}

cd "$work/elsewhere"
start "$work/bin/octavane" --window
size 960x720
key space # the menu, with a sound
shot windowed 960 720
key F11
size ${width}x${height}
shot fullscreen $width $height

click $(logical 320 356) # "2 Players Game"
sleep 1.6                # the game's opening wait
lit game
# Square (2, 3), centred at (-210, -70): 5 x 5 probes round the top of a disc there, clear of
# the pointer that stands over its middle once the cursor is on it.
probes=("$(world -240 -70 20)" "$(world -180 -70 20)" "$(world -210 -100 20)" "$(world -210 -40 20)")
click $(world -210 -70 0)
sleep 3.5 # the disc falls, one disc turns, the counts change
lit after-click
for p in "${probes[@]}"; do
    read -r x y <<<"$p"
    before=$(mean "$out/game.png" -crop "5x5+$((x - 2))+$((y - 2))")
    after=$(mean "$out/after-click.png" -crop "5x5+$((x - 2))+$((y - 2))")
    echo "square (2, 3) at $x,$y: $before before, $after after"
    awk -v b="$before" -v a="$after" 'BEGIN { exit !(a < b - 0.08) }' ||
        fail "no black disc on square (2, 3)"
done
key Escape
click $(logical 320 330) # anywhere on the title: the menu
key alt+Return
size 960x720

key Return # back to the title
key Escape
ends "Escape on the title"
grep -q '^OK 2$' "$out/stderr.txt" || fail "no sound played: the installed sounds were not found"
echo "xfullscreen test: passed"
