#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and --version answer on
# standard output with status 0; an unknown option is named on standard error, with the usage,
# and gives status 2. --version prints the project's version. --solve answers positions from a
# file or standard input, names each bad line on standard error and then gives status 1.
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
for word in Ctrl+Y Ctrl+C Ctrl+V Speed --solve; do
    grep -q -- "$word" "$work/out" || fail "--help does not mention $word"
done
[[ -s "$work/err" ]] && fail "--help wrote to standard error"
check 0 --version
[[ $(cat "$work/out") == "Octavane $version" ]] || fail "--version printed $(cat "$work/out"), not Octavane $version"
check 2 --bogus
[[ $(head -n 1 "$work/err") == "Octavane: unknown option: --bogus" ]] || fail "--bogus: $(head -n 1 "$work/err")"
grep -q -- --version "$work/err" || fail "--bogus: no usage on standard error"
[[ -s "$work/out" || -e "$work/config" ]] && fail "--bogus wrote output or settings"
check 2 --solve
[[ $(head -n 1 "$work/err") == "Octavane: --solve needs a file of positions, or - for standard input" ]] ||
    fail "--solve alone: $(head -n 1 "$work/err")"

# solve STATUS ARGS...: runs --solve with ARGS, standard input from $work/in, and expects STATUS.
solve() {
    local expected=$1
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 \
        "$program" --solve "$@" <"$work/in" >"$work/out" 2>"$work/err"
    local code=$?
    [[ $code -eq $expected ]] || fail "--solve $*: status $code, not $expected"
}
empty62=$(printf -- '-%.0s' {1..62})
{
    echo "XO$empty62 X ; Black takes the last white disc"
    echo "XO${empty62:1} X"
    echo
    echo "XO$empty62 O"
    echo "Xo$empty62 X"
    echo "XO$empty62 Z"
    echo "XO$empty62"
    echo "X${empty62}O X"
} >"$work/in"
solve 1 -
expected=$'c1 +64\npass -64\n-- 0'
[[ $(cut -d ' ' -f 1,2 "$work/out") == "$expected" ]] || fail "--solve -: answered $(cat "$work/out")"
grep -Eqv '^\S+ [+-]?[0-9]+ [0-9]+ [0-9]+\.[0-9]{3}$' "$work/out" && fail "--solve -: a line not in four fields"
for n in 2 5 6 7; do
    grep -q "^Octavane: line $n: " "$work/err" || fail "--solve -: line $n not named: $(cat "$work/err")"
done
[[ $(wc -l <"$work/err") -eq 4 ]] || fail "--solve -: other errors: $(cat "$work/err")"
head -n 1 "$work/in" >"$work/good"
solve 0 "$work/good"
[[ $(cut -d ' ' -f 1,2 "$work/out") == "c1 +64" ]] || fail "--solve FILE: answered $(cat "$work/out")"
solve 1 "$work/missing"
grep -q "cannot read" "$work/err" || fail "--solve of a missing file: $(cat "$work/err")"
[[ -e "$work/config" ]] && fail "--solve wrote settings"

[[ $status -eq 0 ]] && echo "cli test: passed"
exit $status
