#!/usr/bin/env bash
# Checks an installed tree as a desktop and the program read it: the menu entry's Exec and Icon
# lead to the program and to an icon at every size, the metadata names the same entry, the
# sounds are where the program looks for them from its own folder, and nothing else is there.
#   check_tree.sh ROOT PREFIX      (the files are under ROOT/PREFIX, as in DESTDIR=ROOT)
set -uo pipefail
root=$1
prefix=$2
top=$root$prefix
app_id=com.bellwick.Octavane
failures=0
fail() {
    echo "check_tree: $*" >&2
    failures=$((failures + 1))
}
# `file` says what a file holds; the name alone would pass a truncated or mistaken copy.
holds() { # PATH PATTERN
    [[ -f $1 ]] || { fail "missing $1"; return; }
    file -b "$1" | grep -Eq "$2" || fail "$1 is not $2: $(file -b "$1")"
}

desktop=$top/share/applications/$app_id.desktop
[[ -f $desktop ]] || { fail "no desktop entry at $desktop"; exit 1; }
entry() { sed -n "s/^$1=//p" "$desktop"; }

# Exec: a program name, found in bin/ of the prefix (the folder a package or a local install
# puts on PATH), and a real executable.
exec_name=$(entry Exec | awk '{print $1}')
[[ $exec_name == */* ]] && fail "Exec names a path ($exec_name): it would not follow the prefix"
program=$top/bin/$exec_name
holds "$program" 'ELF .*executable'
[[ -x $program ]] || fail "$program is not executable"

icon=$(entry Icon)
for size in 48 128 256; do
    holds "$top/share/icons/hicolor/${size}x$size/apps/$icon.png" "PNG image data, $size x $size"
done
holds "$top/share/icons/hicolor/scalable/apps/$icon.svg" 'SVG'

# The metadata: named by the same id, launching this entry, providing this program.
metainfo=$top/share/metainfo/$app_id.metainfo.xml
tag() { sed -n "s:.*<$1[^>]*>\(.*\)</$1>.*:\1:p" "$metainfo" | head -n 1; }
if [[ -f $metainfo ]]; then
    [[ $(tag id) == "$app_id" ]] || fail "metadata id '$(tag id)' is not $app_id"
    [[ $(tag launchable) == "$app_id.desktop" ]] || fail "metadata launches '$(tag launchable)'"
    [[ $(tag binary) == "$exec_name" ]] || fail "metadata provides '$(tag binary)'"
else
    fail "no metadata at $metainfo"
fi

# The sounds, looked up as ../share/octavane/Sound from the program's folder.
sounds=$(dirname "$program")/../share/octavane/Sound
for name in Drop Tern Fall Down Leady Move Win Lose; do
    holds "$sounds/$name.wav" 'WAVE audio'
done

holds "$top/share/man/man6/octavane.6" 'troff'

# Nothing besides: no library, header or test program strays into the install.
expected=$(
    cat <<LIST
bin/octavane
share/applications/$app_id.desktop
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man6/octavane.6
share/metainfo/$app_id.metainfo.xml
LIST
    for name in Down Drop Fall Leady Lose Move Tern Win; do
        echo "share/octavane/Sound/$name.wav"
    done
)
found=$(cd "$top" && find . \( -type f -o -type l \) | sed 's:^\./::' | LC_ALL=C sort)
if [[ $found != "$(LC_ALL=C sort <<<"$expected")" ]]; then
    fail "the installed files differ from the expected ones:"
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$found") >&2
fi
stray=$(cd "$root" && find . -mindepth 1 \( -type f -o -type l \) | grep -v "^\.$prefix/")
[[ -z $stray ]] || fail "files outside $prefix: $stray"

[[ $failures -eq 0 ]] && echo "check_tree: $top holds what the desktop entry and the program need"
exit $((failures > 0))
