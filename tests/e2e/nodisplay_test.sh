#!/usr/bin/env bash
# The real program where no display server answers, as a person starting it over ssh or from a
# service would: it must say so in one line and end with status 1, neither hang nor run unseen,
# and leave no settings file behind.
#   nodisplay_test.sh PROGRAM ASSETS_DIR
set -uo pipefail
program=$(realpath "$1")
assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"

status=0
# No display variable at all, then an X display number nothing listens on; each with a runtime
# folder and without one (as under su), where a Wayland library left to try would complain.
for display in "" ":$((200 + RANDOM % 500))" "-" ":$((200 + RANDOM % 500))-"; do
    (
        cd "$assets" || exit 99
        unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER XDG_RUNTIME_DIR
        [[ "$display" != *- ]] && export XDG_RUNTIME_DIR=$work/runtime
        [[ -n "${display%-}" ]] && export DISPLAY=${display%-}
        export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
        exec timeout 30 "$program"
    ) >"$work/out" 2>"$work/err"
    code=$?
    lines=$(wc -l <"$work/err")
    label="DISPLAY='${display%-}'"
    [[ "$display" == *- ]] && label+=" without XDG_RUNTIME_DIR"
    echo "$label: status $code, $lines line(s) on standard error:"
    cat "$work/err"
    if [[ $code -eq 124 ]]; then
        echo "nodisplay test: the program was still running after 30 s" >&2
        status=1
    elif [[ $code -ne 1 || $lines -ne 1 ]]; then
        echo "nodisplay test: expected status 1 and one line" >&2
        status=1
    fi
    if [[ -e "$work/config" ]]; then
        echo "nodisplay test: a settings file was written" >&2
        status=1
    fi
done
exit $status
