#!/usr/bin/env bash
# The zip under Wine on Xvfb, unpacked under a non-ASCII folder name; the exe's resources. Started
# from the folder above its own, the registry seeded out of range: the sounds and fonts beside it
# found, a two-player move on the square the camera predicts, Escape twice to quit with 0; then the
# registry's values clamped, the wrong-typed one at its default, a foreign one untouched.
#   zip_test.sh ZIP SETUP SCREEN_POINT OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/winelib.sh"
width=1280
height=720
in_xvfb ${width}x${height} "$@"
shift
zip=$1
point_program=$3
out=$4
wine_setup "windows zip test" "$out" unzip
rm -rf "$out/unpacked"

folder="$out/unpacked/J$(printf '\xc3\xbc')rgen"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
program=$(find "$folder" -maxdepth 2 -name octavane.exe | head -n 1)
[[ -n "$program" ]] || fail "no octavane.exe at the top of the zip's folder"
version=$(basename "$(dirname "$program")")
"$here/exe_resources.py" program "$program" "${version#octavane-}" ||
    fail "the program does not carry its manifest and version information"

wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
wine reg add "$settings_key" /v BoardR /t REG_DWORD /d 99 /f >/dev/null
wine reg add "$settings_key" /v BoardG /t REG_DWORD /d 4294967295 /f >/dev/null
wine reg add "$settings_key" /v BoardB /t REG_SZ /d 3 /f >/dev/null
wine reg add "$settings_key" /v FogEnable /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$settings_key" /v Volume /t REG_DWORD /d 77 /f >/dev/null

cd "$folder"
export SDL_AUDIODRIVER=dummy OCTAVANE_SOUND_DEBUG=1
start wine "$program"
xdotool mousemove $((width / 2)) $((height / 2))
sleep 1 # the camera's first steps round the board
lit title
two_player_move
key Escape
sleep 0.6
lit back-at-title
key Escape
ends "Escape on the title"
! grep -q "no sounds in" "$log" || fail "the sounds beside the program were not found"
grep -q "^OK " "$log" || fail "no sound started"
! grep -q "no usable font\|neither the face" "$log" || fail "the shipped fonts were not used"

wine reg query "$settings_key" | tr -d '\r' | tee "$out/registry.txt"
for expected in "FogEnable REG_DWORD 0x1" "BoardR REG_DWORD 0xa" "BoardG REG_DWORD 0x0" \
    "BoardB REG_DWORD 0x7" "ShowMoves REG_DWORD 0x0" "Volume REG_DWORD 0x4d"; do
    read -r value want <<<"$expected"
    got=$(reg_value "$value")
    [[ "$got" == "$want" ]] || fail "$value is \"$got\" in the registry, not \"$want\""
done
echo "windows zip test: passed"
