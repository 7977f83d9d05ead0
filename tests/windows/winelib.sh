# What the Wine scripts share, in run-tests' private WINEPREFIX: ../e2e/xlib.sh and more.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/xlib.sh"
export WINEDEBUG=${WINEDEBUG:--all}

readonly settings_key='HKCU\Software\Bellwick\Octavane'

# wine_setup NAME OUT [TOOL...]: xlib.sh's setup, then a Wine server of the script's own, so
# that Wine's desktop opens on the script's X server.
wine_setup() {
    [[ -n "${WINEPREFIX:-}" && -f "$WINEPREFIX/system.reg" ]] ||
        { echo "$1: run through tests/windows/run-tests (no Wine prefix)" >&2; exit 1; }
    setup "$@" wine wineserver
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    trap 'rm -rf "$config" "${XVFB_LOG:-}"; wineserver -k 2>/dev/null || true' EXIT
}

# reg_value NAME: "REG_DWORD 0xa" for a value of the game's key, empty when there is none.
reg_value() {
    wine reg query "$settings_key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v n="$1" 'tolower($1) == tolower(n) { print $2, $3 }'
}

# The screen-point helper is an exe too (xlib.sh's point).
point_runner=wine

# The mean red round a pixel: the seeded magenta board is as bright as a black disc's grey top.
red() { convert "$1" -crop "5x5+$(($2 - 2))+$(($3 - 2))" -format "%[fx:mean.r]" info:; }

# two_player_move: "2 Players Game", then a click on square (2, 3), at world (-210, -70) as the
# screen-point helper sees it: probes round the disc's top, clear of the pointer, lose the red.
two_player_move() {
    two_player_game
    local probes=("$(world -180 -70 20)" "$(world -210 -40 20)" "$(world -185 -45 20)"
        "$(world -235 -50 20)")
    click $(world -210 -70 0)
    sleep 3.5 # the disc falls, one disc turns, the counts change
    lit after-move
    local p x y before after
    for p in "${probes[@]}"; do
        read -r x y <<<"$p"
        before=$(red "$out/game.png" "$x" "$y")
        after=$(red "$out/after-move.png" "$x" "$y")
        echo "square (2, 3) at $x,$y: red $before before, $after after"
        awk -v b="$before" -v a="$after" 'BEGIN { exit !(a < b - 0.15) }' ||
            fail "no black disc on square (2, 3)"
    done
}
