#!/bin/bash
# End to end: entries put into the registry and a Startup folder are listed by the real
# program right after it starts; two ticked rows are removed and come back from their
# backup; an entry is switched off and on; a program chosen in the file dialog is added.
# Usage: autostart_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
startup="$(timeout 30 "$TALIVEER_WINE" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"

cleanup() {
  probe close >/dev/null 2>&1
  reg delete "$run" /v "记事本 E2E" /f
  reg delete "$machine_run" /v "E2E Machine" /f /reg:64
  reg delete 'HKLM\Software\Microsoft\Shared Tools\MSConfig\startupreg\E2E Machine' /f /reg:64
  reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run' /v "E2E Machine" /f /reg:64
  timeout 30 "$TALIVEER_WINE" cmd /c del "$startup\\E2E Shortcut.lnk" >/dev/null 2>&1
  reg delete "$run" /v "E2E Remove A" /f
  reg delete "$run" /v "E2E Remove B" /f
  reg delete "$run" /v "notepad.exe" /f
  remove_new_backups
}
trap cleanup EXIT

reg add "$run" /v "记事本 E2E" /d '"C:\windows\notepad.exe" /e2e' /f
reg add "$machine_run" /v "E2E Machine" /d '%SystemRoot%\regedit.exe' /f /reg:64
reg add "$run" /v "E2E Remove A" /d '"C:\e2e\a.exe" /x "y\z"' /f
reg add "$run" /v "E2E Remove B" /t REG_EXPAND_SZ /d '%SystemRoot%\b.exe' /f
reg delete "$run" /v "notepad.exe" /f
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

# Tick two rows on their check boxes, remove them, answer 是 and read the outcome.
for name in "E2E Remove A" "E2E Remove B"; do
  click_row 2101 "$(row_index 2101 "$name")" 8
  sleep 0.3
done
a="$(row_index 2101 "E2E Remove A")"
check "both ticked" "1 1" "$(probe checks 2101 | sed -n "$((a + 1))p;$((a + 2))p" | tr '\n' ' ' | sed 's/ $//')"
click_image_button 518
check "the question" "你确定要从启动项中删除该项目?" "$(box_text 确认)"
press 确认 是
check "the outcome" "记录被成功删除，创建撤消文件。" "$(box_text 信息)"
screenshot autostart-removed
press 信息 确定
rebuilt() { rows="$(probe rows 2101 1)"; grep -qF "记事本 E2E" <<<"$rows"; }
wait_until 15 rebuilt
lacks "first removed row" "E2E Remove A" "$rows"
lacks "second removed row" "E2E Remove B" "$rows"
has "other rows stay" "记事本 E2E" "$rows"

# Open the backup with the registry editor and gather the page again: both are back.
backup="$(new_backups | grep '_startup.reg$' | head -n 1)"
check "the backup's name" "E2E Remove A,E2E Remove B_startup.reg" "$backup"
restore "$undo_dir/$backup"
xdotool mousemove $((left + 206)) $((top + 78)) click 1
sleep 1.5
rows="$(probe rows 2101 2)"
has "first row back" $'E2E Remove A\t"C:\\e2e\\a.exe" /x "y\\z"' "$rows"
has "second row back" $'E2E Remove B\t%SystemRoot%\\b.exe' "$rows"

# Add a program: the dialog, its file dialog, a path typed there, "添加程序".
click_image_button 182
box_text 添加到自动启动 >/dev/null || fail "the add dialog did not open"
read -r bx by <<<"$(probe button 添加到自动启动 ...)"
xdotool mousemove "$bx" "$by" click 1
sleep 2
screenshot autostart-file-dialog
xdotool type --delay 40 'C:\windows\notepad.exe'
sleep 0.5
xdotool key Return
file_dialog_closed() { ! probe windows | grep -q '^Open |'; }
wait_until 10 file_dialog_closed || { probe windows; fail "the file dialog did not close"; }
screenshot autostart-add-dialog
press 添加到自动启动 添加程序
sleep 1.5
rows="$(probe rows 2101 2)"
has "the added program's row" $'notepad.exe\tC:\\windows\\notepad.exe' "$rows"

# Switch an entry off with the mouse ("禁用", the middle button) and on again with Ctrl+D: the
# row's access column, the count label and the button's caption follow, each time after a
# backup of the state before.
label_before="$(probe text 2102)"
click_row 2101 "$(row_index 2101 "E2E Machine")"
sleep 0.3
check "the caption for a row that is on" "禁用" "$(probe text 2133)"
click_image_button 350
has "switched off" "已禁用 1 项" "$(box_text 信息)"
press 信息 确定
machine_row() { probe rows 2101 3 | grep -F "E2E Machine	"; }
off_row() { machine_row | grep -q "	Disabled$"; }
wait_until 15 off_row && pass || fail "the row does not show Disabled: $(machine_row)"
label_off="$(probe text 2102)"
[[ "$label_off" != "$label_before" && "$label_off" == *disabled ]] && pass || fail "the count label: '$label_before' then '$label_off'"
check "the caption for a row that is off" "启用" "$(probe text 2133)"
screenshot autostart-switched-off
xdotool key ctrl+d
has "switched on" "已启用 1 项" "$(box_text 信息)"
press 信息 确定
on_row() { machine_row | grep -q "	All users$"; }
wait_until 15 on_row && pass || fail "the row is not on again: $(machine_row)"
check "the count label again" "$label_before" "$(probe text 2102)"
check "back where it was" '%SystemRoot%\regedit.exe' \
  "$(regquery "$machine_run" /v "E2E Machine" /reg:64 | sed -n 's/.*REG_SZ *//p')"
check "two backups of the state before" 2 "$(new_backups | grep -c 'E2E Machine [禁启]用前_startup.reg$')"

# Remove a row, then put it back from inside the program: Ctrl+Z opens the restore window with
# the newest backup selected, "恢复" asks what it adds, and the page shows the row again.
click_row 2101 "$(row_index 2101 "记事本 E2E")" 8
sleep 0.3
click_image_button 518
press 确认 是
press 信息 确定
gone_row() { ! probe rows 2101 1 | grep -qxF "记事本 E2E"; }
wait_until 15 gone_row || fail "the row was not removed"
read -r _ _ _ _ visible <<<"$(probe child 2104)"
check "the restore link shown" 1 "$visible"
screenshot autostart-restore-link
xdotool mousemove $((left + 300)) $((top + 20)) click 1
xdotool key ctrl+z
box_text 恢复备份 >/dev/null || fail "Ctrl+Z did not open the restore window"
xdotool mousemove 5 1000
sleep 1
screenshot restore
click_button 恢复备份 恢复
question="$(box_text 确认)"
has "the question names what is added" "将添加 1 项" "$question"
press 确认 是
has "the report" "恢复全部 1 项" "$(box_text 信息)"
press 信息 确定
press 恢复备份 关闭
back_row() { probe rows 2101 1 | grep -qxF "记事本 E2E"; }
wait_until 15 back_row && pass || fail "the restored row is not on the page"
check "restored exactly" '"C:\windows\notepad.exe" /e2e' \
  "$(regquery "$run" /v "记事本 E2E" | sed -n 's/.*REG_SZ *//p')"
finish
