#!/usr/bin/env bash
# The real program as it is ordinarily started, on SDL's headless video driver, with the audio
# left to SDL to find, and the XDG folder variables set to relative paths (which the XDG rules
# say to ignore): nothing but the program's own lines may reach standard error, on a machine
# without a sound card exactly its one line about the sound, and no library may make folders
# under the working directory.
#   quiet_test.sh PROGRAM ASSETS_DIR
set -uo pipefail
program=$(realpath "$1")
assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run" "$work/home"
cp -r "$assets/Sound" "$work/run/"

status=0
fail() { echo "quiet test: $*" >&2; status=1; }

(
    cd "$work/run" || exit 99
    unset SDL_AUDIODRIVER
    export SDL_VIDEODRIVER=offscreen HOME=$work/home XDG_CONFIG_HOME=config XDG_CACHE_HOME=cache \
        XDG_DATA_HOME=data XDG_STATE_HOME=state
    exec timeout 6 "$program"
) 2>"$work/err"
echo "standard error:"
cat "$work/err"
grep -v '^Octavane: ' "$work/err" && fail "lines that are not the program's own"
runtime=${XDG_RUNTIME_DIR:-/nonexistent}
if ! compgen -G "/dev/snd/pcmC*" >/dev/null && [[ ! -S $runtime/pulse/native ]] &&
    [[ ! -S $runtime/pipewire-0 ]]; then
    [[ $(grep -c '^Octavane: no sound: ' "$work/err") -eq 1 ]] ||
        fail "no sound card here, and no line of the program's own that says so"
fi
extra=$(cd "$work/run" && ls -A | grep -vx Sound)
[[ -z "$extra" ]] && echo "the working directory holds only Sound" ||
    fail "made in the working directory: $extra"
[[ -f "$work/home/.config/Bellwick/Octavane/settings.reg" ]] ||
    fail "the settings did not go to \$HOME/.config"
[[ $status -eq 0 ]] && echo "quiet test: passed"
exit $status
