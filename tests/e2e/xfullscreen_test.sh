#!/usr/bin/env bash
# The real program, laid out as an install puts it (bin/octavane beside share/octavane/Sound) and
# started from a folder without Sound/, in a real X window (Xvfb) driven with xdotool: --window
# opens a 960x720 window, F11 takes the whole screen, Alt+Enter gives the window back, a resize
# keeps the 4:3 picture letterboxed, and Escape still quits. The sounds must be found and played.
# Screenshots go to OUT_DIR.
#   xfullscreen_test.sh PROGRAM ASSETS_DIR OUT_DIR
set -euo pipefail

width=1280
height=800
if [[ "${1:-}" != "--inner" ]]; then
    # Auto-repeat off: a held key must not come back as a second toggle.
    exec xvfb-run -a -s "-screen 0 ${width}x${height}x24 -ardelay 10000" "$0" --inner "$@"
fi
shift
program=$1
assets=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config OCTAVANE_SOUND_DEBUG=1
mkdir -p "$work/prefix/bin" "$work/prefix/share/octavane" "$work/elsewhere"
cp "$program" "$work/prefix/bin/octavane"
cp -r "$assets/Sound" "$work/prefix/share/octavane/Sound"

fail() {
    echo "xfullscreen test: $*" >&2
    grep -v '^OK 2$' "$out/stderr.txt" | tail -n 20 >&2 || true
    exit 1
}

brightness() { convert "$1" "${@:2}" -colorspace Gray -format "%[fx:mean]" info:; }
above() { awk -v m="$1" -v t="$2" 'BEGIN { exit !(m > t) }'; }

# shot NAME: the screen, which must not be black.
shot() {
    import -window root "$out/$1.png"
    local mean
    mean=$(brightness "$out/$1.png")
    echo "$1: mean brightness $mean"
    above "$mean" 0.02 || fail "$1 is a black screen"
}

# menu NAME: the shot shows the menu, whose chosen line alone is yellow; Enter would have gone
# back to the title.
menu() {
    local yellow
    yellow=$(convert "$out/$1.png" -scale 25% -fx "(r>0.7&&g>0.7&&b<0.35)?1:0" \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "$1: $yellow yellow points"
    [[ $yellow -gt 5 ]] || fail "$1 does not show the menu"
}

# size WIDTHxHEIGHT: the window reaches that size within a few seconds.
size() {
    local geometry=""
    for _ in $(seq 1 30); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        geometry=${WIDTH}x${HEIGHT}
        [[ $geometry == "$1" ]] && return 0
        sleep 0.2
    done
    fail "the window is $geometry, not $1"
}

key() {
    xdotool keydown "$1"
    sleep 0.25
    xdotool keyup "$1"
    sleep 0.5
}

cd "$work/elsewhere"
"$work/prefix/bin/octavane" --window 2>"$out/stderr.txt" &
pid=$!

window=$(timeout 20 xdotool search --sync --name '^Octavane$' | head -n 1) ||
    fail "no window appeared"
xdotool windowfocus --sync "$window" 2>/dev/null || true
size 960x720
for _ in $(seq 1 60); do
    import -window root "$out/first.png"
    above "$(brightness "$out/first.png")" 0.01 && break
    sleep 0.5
done
sleep 1
shot windowed
import -window "$window" "$out/window.png"
[[ $(identify -format %wx%h "$out/window.png") == 960x720 ]] || fail "the window's picture is not 960x720"
key space # the menu, with a sound
sleep 0.5

key F11
size ${width}x${height}
sleep 1
shot fullscreen
# The 4:3 picture fills the height; the bars either side are black.
bar=$(((width - height * 4 / 3) / 2))
left=$(brightness "$out/fullscreen.png" -crop "$((bar - 4))x${height}+0+0")
middle=$(brightness "$out/fullscreen.png" -crop "$((height * 4 / 3))x${height}+${bar}+0")
echo "fullscreen: left bar $left, picture $middle"
above "$left" 0.001 && fail "the bar left of the picture is not black"
above "$middle" 0.02 || fail "the picture is black"
menu fullscreen

xdotool keydown alt
key Return
xdotool keyup alt
size 960x720
sleep 1
shot windowed-again
menu windowed-again

# Any size the window is given keeps the whole picture, letterboxed.
xdotool windowsize "$window" 1000 500
size 1000x500
sleep 1
import -window "$window" "$out/wide-window.png"
side=$(brightness "$out/wide-window.png" -crop "150x500+0+0")
inner=$(brightness "$out/wide-window.png" -crop "666x500+167+0")
echo "wide window: left bar $side, picture $inner"
above "$side" 0.001 && fail "the wide window's left bar is not black"
above "$inner" 0.02 || fail "the wide window's picture is black"

kill -0 "$pid" 2>/dev/null || fail "the program ended during the switches"
xdotool windowfocus --sync "$window" 2>/dev/null || true
key Return # back to the title
sleep 0.5
key Escape
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "Escape on the title did not quit"
fi
wait "$pid" || fail "the program ended with an error"
grep -q '^OK 2$' "$out/stderr.txt" || fail "no sound played"
grep -q 'no sounds' "$out/stderr.txt" && fail "the installed sounds were not found"
echo "xfullscreen test: passed"
