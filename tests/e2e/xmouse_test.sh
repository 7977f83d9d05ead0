#!/usr/bin/env bash
# The real program in a real X window (Xvfb) on a wide screen, played with the mouse alone
# through xdotool: a click on the title, a click on "2 Players Game", a click on square (2, 3),
# which must then show a black disc, and after Escape back to the title, clicks on the menu's
# "[ EXIT ]". Screenshots go to OUT_DIR.
#   xmouse_test.sh PROGRAM SCREEN_POINT ASSETS_DIR OUT_DIR
set -euo pipefail

width=1280
height=720
if [[ "${1:-}" != "--inner" ]]; then
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 ${width}x${height}x24 -ardelay 10000" "$0" --inner "$@"
fi
shift
program=$1
point=$2
assets=$3
out=$4
mkdir -p "$out"
rm -f "$out"/*.png

config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config

fail() {
    echo "xmouse test: $*" >&2
    grep -v '^OK 2$' "$out/stderr.txt" | tail -n 20 >&2 || true
    exit 1
}

# Mean brightness 0..1 of a screenshot, or of a 5 x 5 block round a pixel.
brightness() { convert "$1" -colorspace Gray -format "%[fx:mean]" info:; }
block() { convert "$1" -crop "5x5+$(($2 - 2))+$(($3 - 2))" -colorspace Gray -format "%[fx:mean]" info:; }

shot() {
    import -window root "$out/$1.png"
    local mean
    mean=$(brightness "$out/$1.png")
    echo "$1: mean brightness $mean"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }' || fail "$1 is a black screen"
}

# A click as a hand makes it: move there, rest, press and let go.
click() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep 0.4
}
logical() { "$point" "$width" "$height" logical "$1" "$2"; }
world() { "$point" "$width" "$height" world "$1" "$2" "$3"; }

cd "$assets"
"$program" 2>"$out/stderr.txt" &
pid=$!

window=$(timeout 20 xdotool search --sync --name '^Octavane$' | head -n 1) ||
    fail "no window appeared"
xdotool windowfocus --sync "$window" 2>/dev/null || true
for _ in $(seq 1 60); do
    import -window root "$out/first.png"
    awk -v m="$(brightness "$out/first.png")" 'BEGIN { exit !(m > 0.02) }' && break
    sleep 0.5
done

shot title
click $(logical 320 330)               # anywhere on the title: the menu
click $(logical 320 356)               # "2 Players Game"
sleep 1.6                              # the game's opening wait
shot game
# Square (2, 3), centred at (-210, -70): probes round the top of a disc there, clear of the
# pointer that stands over its middle once the cursor is on it.
probes=("$(world -240 -70 20)" "$(world -180 -70 20)" "$(world -210 -100 20)" "$(world -210 -40 20)")
click $(world -210 -70 0)
sleep 3.5                              # the disc falls, one disc turns, the counts change
shot after-click
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
click $(logical 320 330)               # the title again: the menu
shot menu
click $(logical 320 412)               # "[ EXIT ]"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "a click on [ EXIT ] did not quit"
fi
wait "$pid" || fail "the program ended with an error"
echo "xmouse test: passed"
