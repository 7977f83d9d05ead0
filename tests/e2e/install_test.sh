#!/usr/bin/env bash
# The install into a scratch root, or with VERSION the Debian package, unpacked: the desktop
# entry, metadata, icons, manual page and sounds are valid, where they are looked for, and all
# there is; the package also names itself, belongs to root and asks for what the game opens.
#   install_test.sh BUILD_DIR [VERSION]
set -uo pipefail
build=$1
version=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
top=$root/usr
app_id=com.bellwick.Octavane
failures=0
fail() { echo "install test: $*" >&2; failures=$((failures + 1)); }
for tool in desktop-file-validate appstreamcli man file ${version:+dpkg-deb dpkg-shlibdeps}; do
    command -v "$tool" >/dev/null || { fail "$tool is missing (scripts/install-deps)"; exit 1; }
done

if [[ -z $version ]]; then
    DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/log" 2>&1 ||
        { cat "$work/log" >&2; exit 1; }
else
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/log" 2>&1 ||
        { cat "$work/log" >&2; exit 1; }
    deb=$work/out/octavane_${version}_$(dpkg --print-architecture).deb
    [[ -f $deb ]] || { fail "no $(basename "$deb"); CPack made: $(ls "$work/out")"; exit 1; }
    dpkg-deb -x "$deb" "$root" || exit 1
    field() { dpkg-deb -f "$deb" "$1"; }
    [[ "$(field Package) $(field Version) $(field Section)" == "octavane $version games" ]] ||
        fail "Package, Version, Section: $(field Package) $(field Version) $(field Section)"
    echo "Depends: $(field Depends)"
    names=$(field Depends | tr ',' '\n' | sed 's/(.*)//; s/ //g') # without the versions
    for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libepoxy0 libfontconfig1 \
        fonts-liberation2 fonts-ipafont-gothic; do
        grep -qx "$needed" <<<"$names" || fail "Depends lacks $needed"
    done
    others=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
    [[ -z $others ]] || fail "files not owned by root: $others"
    executables=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-..x/ {print $6}')
    [[ $executables == ./usr/bin/octavane ]] || fail "executables: $executables"
fi

# `file` says what a file holds; the name alone would pass a truncated or mistaken copy. Every
# file checked is listed, and at the end the install must hold these and nothing else.
checked=()
holds() { # PATH PATTERN
    checked+=("$(realpath -m --relative-to="$root" "$1")")
    [[ -f $1 ]] || { fail "missing $1"; return; }
    file -b "$1" | grep -Eq "$2" || fail "$1 is not $2: $(file -b "$1")"
}
desktop=$top/share/applications/$app_id.desktop
holds "$desktop" text
[[ -f $desktop ]] || exit 1
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
entry() { sed -n "s/^$1=//p" "$desktop"; }

# Exec: the program's name (a path would not follow the prefix), in bin/ of the prefix, on PATH.
exec_name=$(entry Exec | awk '{print $1}')
[[ $exec_name == octavane ]] || fail "Exec starts $exec_name, not octavane"
program=$top/bin/$exec_name
holds "$program" 'ELF .*executable'
[[ -x $program ]] || fail "$program is not executable"
[[ $(entry Icon) == "$app_id" ]] || fail "Icon is $(entry Icon), not $app_id"
for size in 48 128 256; do
    holds "$top/share/icons/hicolor/${size}x$size/apps/$app_id.png" "PNG image data, $size x $size"
done
holds "$top/share/icons/hicolor/scalable/apps/$app_id.svg" 'SVG'

# The metadata: named by the same id, launching this entry, providing this program.
metainfo=$top/share/metainfo/$app_id.metainfo.xml
tag() { sed -n "s:.*<$1[^>]*>\(.*\)</$1>.*:\1:p" "$metainfo" | head -n 1; }
holds "$metainfo" XML
appstreamcli validate --no-net --no-color "$metainfo" || fail "the metadata is not valid"
[[ "$(tag id) $(tag launchable) $(tag binary)" == "$app_id $app_id.desktop $exec_name" ]] ||
    fail "the metadata's id, launchable and binary: $(tag id) $(tag launchable) $(tag binary)"

# The sounds, looked up as ../share/octavane/Sound from the program's folder.
sounds=$(dirname "$program")/../share/octavane/Sound
for name in Drop Tern Fall Down Leady Move Win Lose; do
    holds "$sounds/$name.wav" 'WAVE audio'
done
manual=$top/share/man/man6/octavane.6
holds "$manual" 'troff'
# man prints groff's warnings (a bad request, a line too long to break) on standard error.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page has warnings: $warnings"

# Nothing besides: no library, header or test program strays into the install, nor out of /usr.
expected=$(printf '%s\n' "${checked[@]}" | LC_ALL=C sort)
found=$(cd "$root" && find . \( -type f -o -type l \) | sed 's:^\./::' | LC_ALL=C sort)
[[ $found == "$expected" ]] || fail "the installed files differ:" "$(diff <(echo "$expected") <(echo "$found"))"

[[ $failures -eq 0 ]] && echo "install test: $top holds what the desktop entry and the program need"
exit $((failures > 0))
