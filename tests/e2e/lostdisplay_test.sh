#!/usr/bin/env bash
# The real program in a real X window (Xvfb) whose window another client destroys, as
# `xdotool windowkill` or `xkill` do: the X connection is lost, and the settings must still be
# saved before the program ends.
#   lostdisplay_test.sh PROGRAM ASSETS_DIR
set -euo pipefail
source "$(dirname "$0")/xlib.sh"
in_xvfb 800x600 "$@"
shift
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name="lost display test" log=$work/stderr out=$work
export XDG_CONFIG_HOME=$work/config
settings=$XDG_CONFIG_HOME/Bellwick/Octavane/settings.reg

cd "$2"
start "$program" # the settings are read once the window exists, before the first frame
kill -0 "$pid" 2>/dev/null || fail "the program ended before its window was killed"
[[ ! -e "$settings" ]] || fail "the settings were written before the end"

xdotool windowkill "$window"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the program kept running without its display"
fi
status=0
wait "$pid" || status=$?
pid=
echo "the program ended with status $status"
[[ -f "$settings" ]] || fail "the settings were not saved when the display went"
grep -q '"BoardG"=dword:00000007' "$settings" || fail "settings file: $(cat "$settings")"
echo "lost display test: passed"
