#!/usr/bin/env bash
# `cmake --install` into a scratch root, as a package build does: the desktop entry and the
# AppStream metadata pass their validators, the manual page formats without warnings, and every
# file is where it is looked for.
#   install_test.sh BUILD_DIR
set -uo pipefail
build=$1
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
prefix=/usr
app_id=com.bellwick.Octavane

if ! DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    exit 1
fi

status=0
"$here/check_tree.sh" "$root" "$prefix" || status=1
top=$root$prefix
desktop-file-validate "$top/share/applications/$app_id.desktop" || status=1
appstreamcli validate --no-net --no-color "$top/share/metainfo/$app_id.metainfo.xml" || status=1
# man prints groff's warnings (a bad request, a line too long to break) on standard error.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$top/share/man/man6/octavane.6" \
    2>&1 >/dev/null)
if [[ -n $warnings ]]; then
    echo "the manual page has warnings:" >&2
    echo "$warnings" >&2
    status=1
fi
exit $status
