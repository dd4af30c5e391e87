#!/bin/bash
# End to end: entries put into the registry and a Startup folder are listed by the real
# program right after it starts.
# Usage: autostart_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
startup="$(timeout 30 "$TALIVEER_WINE" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"

cleanup() {
  probe close >/dev/null 2>&1
  reg delete "$run" /v "记事本 E2E" /f
  reg delete "$machine_run" /v "E2E Machine" /f /reg:64
  timeout 30 "$TALIVEER_WINE" cmd /c del "$startup\\E2E Shortcut.lnk" >/dev/null 2>&1
}
trap cleanup EXIT

reg add "$run" /v "记事本 E2E" /d '"C:\windows\notepad.exe" /e2e' /f
reg add "$machine_run" /v "E2E Machine" /d '%SystemRoot%\regedit.exe' /f /reg:64
timeout 30 "$TALIVEER_WINE" cmd /c mkdir "$startup" >/dev/null 2>&1
probe shortcut "$startup\\E2E Shortcut.lnk" 'C:\windows\notepad.exe' || echo "could not write the shortcut"

start_program
sleep 0.5
rows="$(probe rows 2101 3)"
printf '%s\n' "$rows" >"$out/autostart-rows.txt"
user="$(timeout 30 "$TALIVEER_WINE" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
has "current user's Run value" "记事本 E2E	\"C:\\windows\\notepad.exe\" /e2e	$user" "$rows"
has "machine Run value" "E2E Machine	%SystemRoot%\\regedit.exe	All users" "$rows"
has "Startup shortcut" "E2E Shortcut.lnk	C:\\windows\\notepad.exe	$user" "$rows"
count="$(grep -c . <<<"$rows")"
read -r _ _ _ _ visible <<<"$(probe child 2102)"
check "count label shown" 1 "$visible"
screenshot autostart
echo "$count rows; screenshot in $out/autostart.png"
finish
