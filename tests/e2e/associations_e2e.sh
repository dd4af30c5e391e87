#!/bin/bash
# End to end: the association page of the real program, and typing into its search box.
# Usage: associations_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"

# Extensions around the one searched for, so that the list has to scroll to it.
add="$out/e2e-associations.reg"
remove="$out/e2e-associations-remove.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  for i in $(seq 100 159); do printf '[HKEY_CLASSES_ROOT\\.e2efill%s]\r\n@="e2efile"\r\n\r\n' "$i"; done
  printf '[HKEY_CLASSES_ROOT\\.e2etarget]\r\n@="e2efile"\r\n\r\n'
  for i in $(seq 100 159); do printf '[HKEY_CLASSES_ROOT\\.e2ezed%s]\r\n@="e2efile"\r\n\r\n' "$i"; done
  printf '[HKEY_CLASSES_ROOT\\e2efile]\r\n@="E2E 文件"\r\n\r\n[HKEY_CLASSES_ROOT\\e2efile\\shell\\open\\command]\r\n@="notepad.exe %%1"\r\n\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$add"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  for i in $(seq 100 159); do printf '[-HKEY_CLASSES_ROOT\\.e2efill%s]\r\n[-HKEY_CLASSES_ROOT\\.e2ezed%s]\r\n' "$i" "$i"; done
  printf '[-HKEY_CLASSES_ROOT\\.e2etarget]\r\n[-HKEY_CLASSES_ROOT\\e2efile]\r\n'
} >"$remove"
cleanup() {
  probe close >/dev/null 2>&1
  timeout 60 "$TALIVEER_WINE" reg import "$remove" >/dev/null 2>&1
}
trap cleanup EXIT
timeout 60 "$TALIVEER_WINE" reg import "$add" >/dev/null 2>&1 || echo "could not add the extensions"

start_program
xdotool mousemove $((left + 638)) $((top + 78)) click 1
sleep 2
check "association page in front" 4 "$(probe front)"
rows="$(probe rows 2401 3)"
target=$(( $(grep -n "^\.e2etarget	" <<<"$rows" | cut -d: -f1) - 1 ))
has ".e2etarget row" ".e2etarget	E2E 文件	notepad.exe %1" "$rows"

# Type into the search box.
xdotool mousemove $((left + 16 + 80)) $((top + 100 + 371)) click 1
sleep 0.3
xdotool type --delay 80 "e2et"
sleep 1
check "first match at the top" "$target" "$(probe top 2401)"
screenshot associations-search
xdotool type --delay 80 "zzz"
sleep 1
check "no match leaves the list" "$target" "$(probe top 2401)"
# The Undo link: shown once the folder exists and the page is gathered again; a click
# opens the folder.
undo="$(dirname "$exe")/Undo"
made_undo=0
[[ -d "$undo" ]] || { mkdir "$undo"; made_undo=1; }
xdotool mousemove $((left + 638)) $((top + 78)) click 1
undo_link_shown() { [[ "$(probe child 2403 | awk '{print $5}')" == 1 ]]; }
wait_until 30 undo_link_shown
read -r ux uy _ _ visible <<<"$(probe child 2403)"
check "Undo link shown" 1 "$visible"
xdotool mousemove $((left + ux + 20)) $((top + uy + 6)) click 1  # in window coordinates
if timeout 30 "$TALIVEER_WINE" "$probe" endfolder Undo >/dev/null 2>&1; then pass; else fail "the Undo folder did not open"; fi
[[ $made_undo == 1 ]] && rmdir "$undo"
finish
