#!/bin/bash
# End to end: no DLL planted beside the program runs inside it. Windows looks for a DLL that is
# not one of its known system DLLs in the exe's folder first; with WINEDLLOVERRIDES=NAME=n,b
# Wine does the same. A copy of the program sits in a folder with planted DLLs; each would
# leave "<name>.dll.ran" behind.
# Usage: planted_dll_e2e.sh TALIVEER_EXE WINPROBE_EXE PLANTED_DLL OUT_DIR
source "$(dirname "$0")/lib.sh"
planted="$3"

# What the exe imports when it starts: Windows' known system DLLs, which it never takes from
# the exe's folder, and the common controls, which the manifest takes side by side from the
# system (Wine loads even known DLLs from the exe's folder when told to; they are not planted).
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
known=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll "
for dll in $("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }'); do
  [[ "$known" == *" $dll "* ]] && pass || fail "the exe imports $dll, which Windows would look for beside it first"
done

# The DLLs the program loads itself and names planted most often that neither Windows nor
# Wine loads at the start of every program.
names="oleacc dwmapi propsys cryptbase"
folder="$(mktemp -d /tmp/taliveer-planted.XXXXXX)"
cleanup() {
  probe close >/dev/null 2>&1
  rm -rf "$folder"
}
trap cleanup EXIT
cp "$exe" "$folder/Taliveer.exe"
overrides=""
for name in $names; do
  cp "$planted" "$folder/$name.dll"
  overrides="$overrides${overrides:+,}$name"
done

exe="$folder/Taliveer.exe"
WINEDLLOVERRIDES="$overrides=n,b;winemenubuilder.exe=d;mscoree=d;mshtml=d" start_program
# What an accessibility tool reads makes the program load oleacc.
check "a tab's role and name" $'37\t自动启动' "$(probe role 1011)"
# The common dialogs and the shell load DLLs by name too: open the save dialog.
xdotool mousemove $((left + 300)) $((top + 20)) click 1
xdotool key --delay 60 ctrl+s
box_text 导出 >/dev/null && pass || fail "Ctrl+S did not open the save dialog"
screenshot planted-dll-save-dialog
xdotool key Escape
probe gone 导出 >/dev/null || fail "the save dialog did not close"
probe close >/dev/null
wait_until 20 bash -c "! kill -0 $app 2>/dev/null"
check "planted DLLs that ran" "" "$(cd "$folder" && ls -- *.ran 2>/dev/null | paste -sd' ' -)"
finish
