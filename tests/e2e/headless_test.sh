#!/usr/bin/env bash
# The real program with no display server, as over ssh: the options, --solve, and one line
# about the missing display, none of them writing settings. Then an ordinary run on SDL's
# headless driver with relative XDG folders (to be ignored): only the program's own lines on
# standard error, nothing made in the working directory, the settings in $HOME/.config.
#   headless_test.sh PROGRAM VERSION ASSETS_DIR
set -uo pipefail
program=$(realpath "$1")
version=$2
assets=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
status=0
fail() { echo "headless test: $*" >&2; status=1; }

# run STATUS ARGS...: runs the program with ARGS, standard input from $work/in, and expects
# STATUS; $display (unset: none) and $runtime (unset: none, as under su) are its environment.
run() {
    local expected=$1 code
    shift
    (
        cd "$assets" || exit 99
        unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER XDG_RUNTIME_DIR
        [[ -n "${runtime:-}" ]] && export XDG_RUNTIME_DIR=$runtime
        [[ -n "${display:-}" ]] && export DISPLAY=$display
        export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
        exec timeout 30 "$program" "$@"
    ) <"$work/in" >"$work/out" 2>"$work/err"
    code=$?
    [[ $code -eq $expected ]] || fail "$*: status $code, not $expected: $(cat "$work/err")"
    [[ -e "$work/config" ]] && fail "$*: a settings file was written"
}

: >"$work/in"
run 0 --help
for word in --window F11 Ctrl+Y Ctrl+C Ctrl+V Speed --solve; do
    grep -q -- "$word" "$work/out" || fail "--help does not mention $word"
done
[[ -s "$work/err" ]] && fail "--help wrote to standard error"
run 0 --version
[[ $(cat "$work/out") == "Octavane $version" ]] || fail "--version printed $(cat "$work/out")"
run 2 --bogus
[[ $(head -n 1 "$work/err") == "Octavane: unknown option: --bogus" ]] || fail "--bogus: $(cat "$work/err")"
grep -q -- --version "$work/err" || fail "--bogus: no usage on standard error"
[[ -s "$work/out" ]] && fail "--bogus wrote to standard output"
empty62=$(printf -- '-%.0s' {1..62})
printf '%s\n' "XO$empty62 X ; Black takes the last white disc" "Xo$empty62 X" >"$work/in"
for file in - "$work/in"; do
    run 1 --solve "$file"
    [[ $(cut -d ' ' -f 1,2 "$work/out") == "c1 +64" ]] || fail "--solve $file: $(cat "$work/out")"
    [[ $(cat "$work/err") == "Octavane: line 2: "* ]] || fail "--solve $file: $(cat "$work/err")"
done
run 1 --solve "$work/none"
[[ $(cat "$work/err") == *"cannot read"*"$work/none" ]] || fail "--solve none: $(cat "$work/err")"

# No display variable at all, then an X display number nothing listens on; each with a runtime
# folder and without one, where a Wayland library left to try would complain.
: >"$work/in"
for display in "" ":$((200 + RANDOM % 500))"; do
    for runtime in "$work/runtime" ""; do
        run 1
        echo "DISPLAY='$display' XDG_RUNTIME_DIR='$runtime': $(cat "$work/err")"
        [[ $(wc -l <"$work/err") -eq 1 ]] || fail "no display: not one line on standard error"
    done
done

mkdir -p "$work/run" "$work/home"
cp -r "$assets/Sound" "$work/run/"
(
    cd "$work/run" || exit 99
    unset SDL_AUDIODRIVER
    export SDL_VIDEODRIVER=offscreen HOME=$work/home XDG_CONFIG_HOME=config XDG_CACHE_HOME=cache \
        XDG_DATA_HOME=data XDG_STATE_HOME=state
    exec timeout 6 "$program"
) 2>"$work/err"
echo "an ordinary run's standard error: $(cat "$work/err")"
grep -v '^Octavane: ' "$work/err" && fail "lines that are not the program's own"
runtime=${XDG_RUNTIME_DIR:-/nonexistent}
if ! compgen -G "/dev/snd/pcmC*" >/dev/null && [[ ! -S $runtime/pulse/native ]] &&
    [[ ! -S $runtime/pipewire-0 ]]; then
    [[ $(grep -c '^Octavane: no sound: ' "$work/err") -eq 1 ]] ||
        fail "no sound card here, and no line of the program's own that says so"
fi
extra=$(cd "$work/run" && ls -A | grep -vx Sound)
[[ -z "$extra" ]] || fail "made in the working directory: $extra"
[[ -f "$work/home/.config/Bellwick/Octavane/settings.reg" ]] ||
    fail "the settings did not go to \$HOME/.config"

[[ $status -eq 0 ]] && echo "headless test: passed"
exit $status
