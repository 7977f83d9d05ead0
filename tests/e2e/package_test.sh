#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a scratch root as dpkg would install it,
# and checks that every file is where the desktop entry and the program look for it, and that
# the package asks for the libraries and the fonts the game opens.
#   package_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    exit 1
fi
deb=$work/out/octavane_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    echo "no $(basename "$deb"); CPack made:" >&2
    ls "$work/out" >&2
    exit 1
fi

status=0
dpkg-deb -x "$deb" "$work/root" || exit 1
"$here/check_tree.sh" "$work/root" /usr || status=1

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == octavane ]] || { echo "Package: $(field Package)" >&2; status=1; }
[[ $(field Version) == "$version" ]] || { echo "Version: $(field Version)" >&2; status=1; }
[[ $(field Section) == games ]] || { echo "Section: $(field Section)" >&2; status=1; }
depends=$(field Depends)
echo "Depends: $depends"
# One name per dependency, without its version.
names=$(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/ //g')
for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libepoxy0 libfontconfig1 \
    fonts-liberation2 fonts-ipafont-gothic; do
    grep -qx "$needed" <<<"$names" || { echo "Depends lacks $needed" >&2; status=1; }
done
# What dpkg installs belongs to root, and only the program is executable.
if dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep -q .; then
    echo "files not owned by root:" >&2
    dpkg-deb -c "$deb" | awk '$2 != "root/root"' >&2
    status=1
fi
executables=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-..x/ {print $6}')
[[ $executables == ./usr/bin/octavane ]] || { echo "executables: $executables" >&2; status=1; }
exit $status
