#!/usr/bin/env bash
# The real program in a real X window (Xvfb), driven with xdotool as a person would: the title,
# the menu, a two-player game with one move, Escape back to the title and Escape to quit.
# Screenshots go to OUT_DIR; the settings file must be written at exit.
#   xwindow_test.sh PROGRAM ASSETS_DIR OUT_DIR
set -euo pipefail

if [[ "${1:-}" != "--inner" ]]; then
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24 -ardelay 10000" "$0" --inner "$@"
fi
shift
program=$1
assets=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png

config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config

fail() {
    echo "xwindow test: $*" >&2
    if [[ -n "${pid:-}" ]] && ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        echo "the program had ended with status $?; its last words:" >&2
    fi
    grep -v '^OK 2$' "$out/stderr.txt" | tail -n 20 >&2 || true
    exit 1
}

# Mean brightness 0..1 of a screenshot.
brightness() { convert "$1" -colorspace Gray -format "%[fx:mean]" info:; }

# A screenshot that must be lit. On a loaded machine a frame can be late in coming, so it is
# taken again for up to five seconds before the screen counts as black.
shot() {
    local mean
    for _ in $(seq 1 10); do
        import -window root "$out/$1.png"
        mean=$(brightness "$out/$1.png")
        awk -v m="$mean" 'BEGIN { exit !(m > 0.03) }' && break
        sleep 0.5
    done
    echo "$1: mean brightness $mean"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.03) }' || fail "$1 is a black screen"
}

# Each key held for a moment, as a finger does: the program reads which keys are down once a
# frame, and a software-rendered frame can take longer than an instant tap.
key() {
    for k in "$@"; do
        xdotool keydown "$k"
        sleep 0.25
        xdotool keyup "$k"
        sleep 0.35
    done
}

cd "$assets"
"$program" 2>"$out/stderr.txt" &
pid=$!

window=$(timeout 20 xdotool search --sync --name '^Octavane$' | head -n 1) ||
    fail "no window appeared"
xdotool mousemove 512 384
xdotool windowfocus --sync "$window" 2>/dev/null || true

# The first frames can be slow in coming on a busy machine (the software renderer starts up).
for _ in $(seq 1 60); do
    import -window root "$out/first.png"
    awk -v m="$(brightness "$out/first.png")" 'BEGIN { exit !(m > 0.03) }' && break
    sleep 0.5
done
sleep 1 # the camera's first steps round the board

shot title
key space
sleep 0.5
shot menu
key Down Down space # "2 Players Game"
sleep 1.6           # the game's opening wait
shot game
key Up space        # Black to (3, 2)
sleep 3.0           # the disc falls, one disc turns, the counts change
shot after-move
key Escape
sleep 0.5
shot back-at-title
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

settings=$config/Bellwick/Octavane/settings.reg
[[ -f "$settings" ]] || fail "no settings file at exit"
grep -q '"BoardG"=dword:00000007' "$settings" || fail "settings file lacks BoardG: $(cat "$settings")"

# The move changed the picture: the title and the game after the move differ.
difference=$(compare -metric AE "$out/title.png" "$out/after-move.png" null: 2>&1 || true)
echo "title vs after-move: $difference pixels differ"
echo "xwindow test: passed"
