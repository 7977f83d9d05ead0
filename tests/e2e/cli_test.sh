#!/usr/bin/env bash
# The real program's command line: --help and --version answer on standard output and exit 0
# without a display; an unknown option is named on standard error with the usage, and exits 2.
#   cli_test.sh PROGRAM
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

fail() {
    echo "cli test: $*" >&2
    status=1
}

# run ARGS...: the program with no display at all, so that nothing can open a window.
run() {
    (
        unset DISPLAY WAYLAND_DISPLAY
        export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
        exec timeout 20 "$program" "$@"
    ) >"$work/out" 2>"$work/err"
    code=$?
}

for option in --help -h; do
    run "$option"
    [[ $code -eq 0 ]] || fail "$option: status $code"
    [[ ! -s "$work/err" ]] || fail "$option wrote to standard error: $(cat "$work/err")"
    for word in --window --help --version Escape F11; do
        grep -q -- "$word" "$work/out" || fail "$option: the usage does not mention $word"
    done
done

run --version
[[ $code -eq 0 ]] || fail "--version: status $code"
[[ $(wc -l <"$work/out") -eq 1 ]] || fail "--version: not one line: $(cat "$work/out")"
grep -Eq '^Octavane [0-9]+(\.[0-9]+)+$' "$work/out" || fail "--version printed $(cat "$work/out")"
echo "--version: $(cat "$work/out")"

run --window --bogus
[[ $code -eq 2 ]] || fail "--bogus: status $code"
[[ ! -s "$work/out" ]] || fail "--bogus wrote to standard output"
[[ $(head -n 1 "$work/err") == "Octavane: unknown option: --bogus" ]] ||
    fail "--bogus: first line $(head -n 1 "$work/err")"
grep -q -- "--version" "$work/err" || fail "--bogus: no usage on standard error"

[[ ! -e "$work/config" ]] || fail "a settings file was written"
[[ $status -eq 0 ]] && echo "cli test: passed"
exit $status
