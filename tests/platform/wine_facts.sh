#!/bin/bash
# Prints the Wine behaviours that Taliveer and its tests rely on, one "fact: value" a line, as
# measured in a throwaway Wine session, so that two Wine versions can be compared line by line
# (docs/wine.md says what each one showed). Run after scripts/install-deps.sh:
#   bash tests/platform/wine_facts.sh
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1280x1024 >/dev/null || exit 1
w64=/usr/lib/wine/wine64
work="$(mktemp -d /tmp/taliveer-facts.XXXXXX)"
trap 'wine_session_stop; rm -rf "$work"' EXIT
fact() { printf '%s: %s\n' "$1" "$2"; }
reg64() { timeout 60 "$w64" reg "$@" /reg:64 >/dev/null 2>&1; }

fact "wine version" "$("$w64" --version 2>/dev/null)"
fact "32-bit loader starts" "$(timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1 && echo yes || echo no)"
fact "/usr/bin/wine is" "$(readlink -f /usr/bin/wine 2>/dev/null)"
fact "Windows version a new prefix reports" "$(timeout 60 "$w64" cmd /c ver 2>/dev/null | tr -d '\r' | grep -o '[0-9][0-9.]*' | head -n 1)"

# The system registry editor's export: encoding, header, line ends, value forms.
key='HKEY_CURRENT_USER\Software\TaliveerFacts'
reg64 add "$key" /v Text /t REG_SZ /d 'a "q" \ 中文' /f
reg64 add "$key" /v Expand /t REG_EXPAND_SZ /d '%TEMP%\x' /f
reg64 add "$key" /v Number /t REG_DWORD /d 7 /f
reg64 add "$key" /v Multi /t REG_MULTI_SZ /d 'a\0b' /f
timeout 60 "$w64" regedit /s /e "Z:${work//\//\\}\\e.reg" "$key" >/dev/null 2>&1
fact "regedit export starts with" "$(head -c 2 "$work/e.reg" 2>/dev/null | od -An -tx1 | tr -d ' \n')"
fact "regedit export header" "$(iconv -f UTF-16LE -t UTF-8 "$work/e.reg" 2>/dev/null | head -n 1 | tr -d '\r\357\273\277')"
fact "regedit export line end" "$(iconv -f UTF-16LE -t UTF-8 "$work/e.reg" 2>/dev/null | head -n 1 | od -An -c | grep -q '\\r' && echo CRLF || echo LF)"
fact "regedit export value forms" "$(iconv -f UTF-16LE -t UTF-8 "$work/e.reg" 2>/dev/null | grep -o -E '=(dword|hex\([0-9a-f]+\)|hex|")' | sort -u | tr '\n' ' ')"

# Import: every byte back; the exit code on a file that is not there.
reg64 delete "$key" /f
timeout 60 "$w64" regedit /s "Z:${work//\//\\}\\e.reg" >/dev/null 2>&1
timeout 60 "$w64" regedit /s /e "Z:${work//\//\\}\\again.reg" "$key" >/dev/null 2>&1
fact "regedit import, exported again" "$(cmp -s "$work/e.reg" "$work/again.reg" && echo identical || echo different)"
timeout 60 "$w64" regedit /s 'Z:\nowhere\missing.reg' >/dev/null 2>&1
fact "regedit exit code, missing file" "$?"
timeout 60 "$w64" reg import 'Z:\nowhere\missing.reg' >/dev/null 2>&1
fact "reg import exit code, missing file" "$?"

# Classes: does HKEY_CLASSES_ROOT show the user's classes?
reg64 add 'HKCU\Software\Classes\.talfacts' /ve /d TalFacts.User /f
fact "HKCR shows the user's classes" "$(timeout 60 "$w64" reg query 'HKCR\.talfacts' /ve >/dev/null 2>&1 && echo yes || echo no)"
reg64 delete 'HKCU\Software\Classes\.talfacts' /f

# Enumeration order of values (Windows: creation order).
reg64 add "$key\Order" /v b /d 1 /f
reg64 add "$key\Order" /v a /d 1 /f
fact "value enumeration order" "$(timeout 60 "$w64" reg query "$key\Order" 2>/dev/null | tr -d '\r' | awk '$2 ~ /^REG_/ { printf "%s ", $1 }')"
reg64 delete "$key" /f

# Where the editors live.
for f in windows/regedit.exe windows/syswow64/regedit.exe windows/system32/regedit.exe windows/sysnative/regedit.exe \
  windows/system32/msiexec.exe windows/system32/control.exe; do
  fact "C:\\${f//\//\\} exists" "$([[ -e "$WINEPREFIX/drive_c/$f" ]] && echo yes || echo no)"
done

# Font linking as the prefix script sets it.
fact "font link Tahoma" "$(timeout 60 "$w64" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma 2>/dev/null | tr -d '\r' | awk '/REG_MULTI_SZ/ { print $3, $4, $5, $6 }')"
fact "wqy-microhei font file" "$(ls /usr/share/fonts/truetype/wqy/wqy-microhei.ttc 2>/dev/null || echo missing)"

# Settings Wine may read: Task Manager's switch, the app mode, the DPI.
for dll in shell32 explorer wineboot; do
  file=$(ls "$WINEPREFIX"/drive_c/windows/system32/$dll.{dll,exe} 2>/dev/null | head -n 1)
  file=$(readlink -f "$file" 2>/dev/null)
  [[ -f "$file" ]] || file=$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/$dll.{dll,exe} /usr/lib/wine/x86_64-windows/$dll.{dll,exe} 2>/dev/null | head -n 1)
  hit=$([[ -f "$file" ]] && { grep -c -a -i 'StartupApproved' "$file"; iconv -f UTF-16LE -t UTF-8 "$file" 2>/dev/null | grep -c -a -i StartupApproved; } | paste -sd+ - | awk -F+ '{ print $1 + $2 }')
  fact "$dll mentions StartupApproved" "${hit:-not found}"
done
