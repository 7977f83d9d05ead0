#!/usr/bin/env bash
# The real program installed into a folder of its own (cmake --install) and started from a folder
# without Sound/, in Xvfb, driven with xdotool: --window opens a 960x720 window, F11
# takes the whole screen, Alt+Enter gives the window back, any size keeps the 4:3 picture
# letterboxed, Escape still quits, and the sounds are found. Screenshots go to OUT_DIR.
#   xfullscreen_test.sh BUILD_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
width=1280
height=800
in_xvfb ${width}x${height} "$@"
out=$3
setup "xfullscreen test" "$out" cmake
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
    yellow=$(convert "$out/$1.png" -scale 50% -fx "(r>0.6&&g>0.6&&b<0.4)?1:0" \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "$1: picture $picture, bars $bars, $yellow yellow points"
    above "$picture" 0.02 || fail "$1: the picture is black"
    above "$bars" 0.001 && fail "$1: the bars are not black"
    [[ $yellow -gt 20 ]] || fail "$1 does not show the menu"
}

cd "$work/elsewhere"
start "$work/bin/octavane" --window
size 960x720
key space # the menu, with a sound
shot windowed 960 720
key F11
size ${width}x${height}
shot fullscreen $width $height
key alt+Return
size 960x720
shot windowed-again 960 720
xdotool windowsize "$window" 1000 500
size 1000x500
shot wide 1000 500

key Return # back to the title
key Escape
ends "Escape on the title"
grep -q '^OK 2$' "$out/stderr.txt" || fail "no sound played: the installed sounds were not found"
echo "xfullscreen test: passed"
