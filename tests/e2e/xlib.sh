# What the X scripts share; sourced after `set -euo pipefail`.

# setup NAME OUT [TOOL...]: fails naming any missing tool; then $out emptied of screenshots, the
# program's errors in $log, and a settings folder of the script's own ($config).
setup() {
    name=$1 out=$2 log=$2/stderr.txt capture=root
    local tool
    for tool in xvfb-run xdotool import compare convert "${@:3}"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is missing (scripts/install-deps)" >&2; exit 1; }
    done
    mkdir -p "$out"
    rm -f "$out"/*.png
    config=$(mktemp -d)
    trap finish EXIT
    export XDG_CONFIG_HOME=$config
}

# in_xvfb WxH ARGS...: runs the calling script again inside an Xvfb server of its own, with
# auto-repeat off so that a held key never comes back as a second press; it shifts off "--inner".
in_xvfb() {
    local size=$1
    shift
    if [[ "${1:-}" != "--inner" ]]; then
        command -v xvfb-run >/dev/null || { echo "$0: xvfb-run is missing (scripts/install-deps)" >&2; exit 1; }
        # The server's own words go to a file that a failure shows. A run that failed because
        # its server stopped answering leaves the file $XVFB_GONE, and is run once more with a
        # new server (xvfb-run itself then fails whatever the script's status).
        export XVFB_LOG XVFB_GONE
        XVFB_GONE=$(mktemp -u)
        local attempt status
        for attempt in 1 2; do
            XVFB_LOG=$(mktemp)
            status=0
            xvfb-run -a -n $((100 + RANDOM % 800)) -e "$XVFB_LOG" \
                -s "-screen 0 ${size}x24 -ardelay 10000" "$0" --inner "$@" || status=$?
            [[ -e "$XVFB_GONE" && $attempt == 1 ]] || break
            rm -f "$XVFB_GONE"
            echo "$0: the X server stopped answering; the test runs once more" >&2
        done
        rm -f "$XVFB_GONE"
        exit "$status"
    fi
}

# xdotool and import as the scripts use them, but asked again for up to three seconds when they
# cannot reach the X server: on a loaded machine a connection now and then fails while the
# server goes on answering everyone else. A refused connection does nothing, so asking again
# never presses a key twice.
xdotool() { x_again "Can't open display" xdotool "$@"; }
import() { x_again "unable to open X server" import "$@"; }
x_again() {
    local refused=$1 status err
    shift
    for _ in $(seq 1 15); do
        status=0
        { err=$(command "$@" 2>&1 1>&3 3>&-); } 3>&1 || status=$?
        [[ $err == *"$refused"* ]] || break
        sleep 0.2
    done
    [[ -z "$err" ]] || printf '%s\n' "$err" >&2
    return "$status"
}

# What a failure shows beside its own words: the program's end, if it has ended, and its last
# words; whether the X server is still there, and the server's own words.
report() {
    if [[ -n "${pid:-}" ]] && ! kill -0 "$pid" 2>/dev/null; then
        local status=0
        wait "$pid" || status=$?
        echo "the program had ended with status $status; its last words:" >&2
    fi
    grep -v '^OK 2$' "$log" 2>/dev/null | tail -n 20 >&2 || true
    if [[ -n "${XVFB_LOG:-}" ]]; then
        [[ -S /tmp/.X11-unix/X${DISPLAY#:} ]] || echo "the X server's socket is gone" >&2
        tail -n 20 "$XVFB_LOG" >&2 || true
    fi
}

fail() {
    echo "$name: $*" >&2
    report
    failed=1
    exit 1
}

# At the end: a command that failed outside `fail` is reported as `fail` reports, and a failed
# run whose X server no longer answers says so to in_xvfb, which runs it once more.
finish() {
    local status=$?
    if ((status != 0)) && [[ -z "${failed:-}" ]]; then
        echo "$name: a command failed (status $status)" >&2
        report
    fi
    if ((status != 0)) && [[ -n "${XVFB_GONE:-}" ]] && ! xdotool getmouselocation >/dev/null 2>&1; then
        echo "$name: the X server no longer answers" >&2
        touch "$XVFB_GONE"
    fi
    rm -rf "$config" "${XVFB_LOG:-}"
}

# mean FILE [CONVERT OPTIONS...]: mean brightness 0..1; yellow: the share of yellow points;
# above M T: M > T.
mean() { convert "$1" "${@:2}" -colorspace Gray -format "%[fx:mean]" info:; }
yellow() { convert "$1" "${@:2}" -fx "(r>0.6&&g>0.6&&b<0.4)?1:0" -format "%[fx:mean]" info:; }
above() { awk -v m="$1" -v t="$2" 'BEGIN { exit !(m > t) }'; }

# start PROGRAM ARGS...: starts it with its errors in $log and waits for its window ($window)
# and its first lit frame (the software renderer can be slow to start on a busy machine).
start() {
    "$@" 2>"$log" &
    pid=$!
    # Asked again and again rather than with --sync: a window that goes while xdotool reads it
    # (Wine makes and drops helper windows as it starts) ends xdotool with BadWindow.
    window=
    for _ in $(seq 1 100); do
        window=$(xdotool search --name '^Octavane$' 2>/dev/null | head -n 1) || true
        [[ -n "$window" ]] && break
        sleep 0.2
    done
    [[ -n "$window" ]] || fail "no window appeared"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    lit first 30
}

# lit NAME [SECONDS]: a screenshot $out/NAME.png of the window (or of $capture) that must not be
# black, taken again until it is lit for at most SECONDS (5): a frame can be late under load.
lit() {
    local m=0
    for _ in $(seq 1 $((${2:-5} * 2))); do
        import -window "${capture:-$window}" "$out/$1.png"
        m=$(mean "$out/$1.png")
        above "$m" 0.02 && break
        sleep 0.5
    done
    echo "$1: mean brightness $m"
    above "$m" 0.02 || fail "$1 is a black screen"
}

# key KEYS...: each pressed briefly, as a finger taps, then a pause; a long hold would risk the
# game's own auto-repeat on a loaded machine where the release comes through late.
key() {
    for k in "$@"; do
        xdotool keydown "$k"
        sleep 0.05
        xdotool keyup "$k"
        sleep 0.45
    done
}

# two_player_game: from the title, "2 Players Game" by keys, to the game's first turn.
two_player_game() {
    key space
    sleep 0.5
    lit menu
    key Down Down space # "2 Players Game"
    sleep 2.5           # the game's opening wait, with time to spare on a loaded machine
    lit game
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

# The window pixel of a world or logical point of a $width x $height window, from the
# screen-point helper $point_program (run through $point_runner, if set: Wine for the exe).
point() { ${point_runner:-} "$point_program" "$width" "$height" "$@" | tr -d '\r'; }
logical() { point logical "$1" "$2"; }
world() { point world "$1" "$2" "$3"; }

# ends WHAT [any]: the program ends by itself within ten seconds, with status 0 (or any status:
# Xlib ends a program whose display is gone with its own).
ends() {
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "$1 did not quit"
    fi
    wait "$pid" || [[ ${2:-} == any ]] || fail "the program ended with an error"
    pid=
}
