#!/usr/bin/env bash
# The program as built, under Wine on Xvfb at 150% (144 DPI): --window opens 960x720 points, so
# 1440x1080 pixels, and the picture is drawn at that size, not at 960x720 and stretched.
#   dpi_test.sh PROGRAM OUT_DIR
set -euo pipefail
source "$(dirname "$0")/winelib.sh"
in_xvfb 1920x1200 "$@"
shift
program=$1
out=$2
wine_setup "windows dpi test" "$out" xwininfo
capture= # the window itself: its picture is measured

readonly desktop_key='HKCU\Control Panel\Desktop'
wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
trap 'wine reg delete "$desktop_key" /v LogPixels /f >/dev/null 2>&1 || true
      rm -rf "$config" "${XVFB_LOG:-}"; wineserver -k 2>/dev/null || true' EXIT

export SDL_AUDIODRIVER=dummy
start wine "$program" --window
sleep 1 # the camera's first steps round the board
lit title
# The client area: the child window Wine draws GL into, or the window itself without one.
size=$(xwininfo -id "$window" -tree | sed -n 's/^ *0x[0-9a-f]* .*: *([^)]*) *\([0-9]*x[0-9]*\)+.*/\1/p')
[[ -n "$size" ]] || size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
    END { print w "x" h }')
echo "the window's client area at 144 DPI: $size pixels"
[[ "$size" == 1440x1080 ]] || fail "the window is $size pixels at 150%, not 1440x1080"
# Drawn at the window's size: the board, most of the picture's width at every step of the
# title's camera, reaches beyond what a picture of 960x720 could.
read -r lit_width lit_height _ < <(convert "$out/title.png" -threshold 8% -format "%@\n" info: |
    tr 'x+' '  ')
echo "the lit part of the picture: ${lit_width}x${lit_height}"
((lit_width > 980 || lit_height > 740)) || fail "the picture does not fill the window"
key Escape
ends "Escape on the title"
echo "windows dpi test: passed"
