#!/usr/bin/env bash
# The installer under Wine on Xvfb: a silent install puts the zip's files into Program Files with
# Start-menu and uninstall entries, the installer and uninstaller carrying version information;
# the silent uninstall removes it all but the settings, which /RemoveSettings removes too; last,
# an install for the current user alone goes to the user's own programs folder and menu.
#   installer_test.sh ZIP SETUP SCREEN_POINT OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/winelib.sh"
in_xvfb 1024x768 "$@"
shift
zip=$1
setup=$2
out=$4
wine_setup "windows installer test" "$out"
rm -rf "$out/elsewhere"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Octavane'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Octavane.lnk"

install() {
    wine "$setup" /S "$@" || fail "the silent install failed"
    location=$(wine reg query "$uninstall_key" /v InstallLocation 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *InstallLocation *REG_SZ *//p')
    [[ -n "$location" ]] || fail "no uninstall entry with the install location"
    dir=$(winepath -u "$location" | tr -d '\r')
    dir=${dir%/}
    echo "installed in $location ($dir)"
}

# The silent uninstaller copies itself away and works from there: wait for the folder to go.
uninstall() {
    wine "$dir/uninstall.exe" /S "$@" || fail "the silent uninstall failed"
    for _ in $(seq 1 60); do
        [[ -e "$dir" ]] || break
        sleep 0.5
    done
    [[ ! -e "$dir" ]] || fail "the uninstall left $(find "$dir" | head -n 5 | tr '\n' ' ')"
    ! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall entry stayed"
    [[ ! -e "$menu" ]] || fail "the Start-menu entry stayed"
}

# 1. The install: every file of the zip's folder, a shortcut, the uninstaller.
install
[[ "$location" == *"Program Files"* ]] || fail "not installed into Program Files: $location"
while read -r entry; do
    file=${entry#*/}
    [[ -z "$file" || "$file" == */ ]] && continue
    [[ -f "$dir/$file" ]] || fail "$file is in the zip but was not installed"
done < <(unzip -Z1 "$zip")
[[ -f "$dir/uninstall.exe" ]] || fail "no uninstaller"
version=$(basename "$setup" -setup.exe)
for exe in "$setup" "$dir/uninstall.exe"; do
    "$here/exe_resources.py" installer "$exe" "${version#octavane-}" ||
        fail "$(basename "$exe") does not carry its version information"
done
[[ -f "$menu" ]] || fail "no Start-menu entry at $menu"

# 2. The uninstall keeps the settings unless asked. (The zip's test runs the same files.)
wine reg add "$settings_key" /v BoardG /t REG_DWORD /d 4 /f >/dev/null
uninstall
[[ -n "$(reg_value BoardG)" ]] || fail "the uninstall removed the settings unasked"
install
uninstall /RemoveSettings
[[ -z "$(reg_value BoardG)" ]] || fail "/RemoveSettings kept the settings"

# 3. For the current user alone.
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Octavane'
install /CurrentUser
[[ "$location" == *'AppData\Local\Programs\Octavane'* ]] || fail "a per-user install went to $location"
menu=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Octavane.lnk' | head -n 1)
[[ -f "$dir/octavane.exe" && -n "$menu" ]] || fail "no per-user program or menu entry"
uninstall /CurrentUser
echo "windows installer test: passed"
