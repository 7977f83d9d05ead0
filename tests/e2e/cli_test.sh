#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and --version answer on
# standard output with status 0; an unknown option is named on standard error, with the usage,
# and gives status 2. --version prints the project's version.
#   cli_test.sh PROGRAM VERSION
set -uo pipefail
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "cli test: $*" >&2; status=1; }

# check STATUS OPTION: runs the program with OPTION and expects STATUS.
check() {
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" timeout 20 \
        "$program" "$2" >"$work/out" 2>"$work/err"
    local code=$?
    [[ $code -eq $1 ]] || fail "$2: status $code, not $1"
}

check 0 --help
grep -q -- --window "$work/out" && grep -q F11 "$work/out" || fail "--help: no options or keys"
for word in Ctrl+Y Ctrl+C Ctrl+V Speed; do
    grep -q -- "$word" "$work/out" || fail "--help does not mention $word"
done
[[ -s "$work/err" ]] && fail "--help wrote to standard error"
check 0 --version
[[ $(cat "$work/out") == "Octavane $version" ]] || fail "--version printed $(cat "$work/out"), not Octavane $version"
check 2 --bogus
[[ $(head -n 1 "$work/err") == "Octavane: unknown option: --bogus" ]] || fail "--bogus: $(head -n 1 "$work/err")"
grep -q -- --version "$work/err" || fail "--bogus: no usage on standard error"
[[ -s "$work/out" || -e "$work/config" ]] && fail "--bogus wrote output or settings"
[[ $status -eq 0 ]] && echo "cli test: passed"
exit $status
