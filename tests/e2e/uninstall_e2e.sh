#!/bin/bash
# End to end: the uninstall page of the real program lists what was put into both hives,
# under each filter; a machine record is removed with the mouse and comes back from its
# backup.
# Usage: uninstall_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"

user='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
machine='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
cleanup() {
  probe close >/dev/null 2>&1
  reg delete "$user\\E2EUserApp" /f
  reg delete "$machine\\E2EUpdate" /f /reg:64
  reg delete "$machine\\E2EToolbar" /f /reg:64
  reg delete "$machine\\E2E Remove=Me" /f /reg:64
  remove_new_backups
}
trap cleanup EXIT
reg add "$user\\E2EUserApp" /v DisplayName /d "E2E 用户程序" /f
reg add "$user\\E2EUserApp" /v UninstallString /d 'C:\e2e\unins.exe' /f
reg add "$user\\E2EUserApp" /v InstallDate /d 20241231 /f
reg add "$machine\\E2EUpdate" /v DisplayName /d "E2E Fix (KB42)" /f /reg:64
reg add "$machine\\E2EUpdate" /v UninstallString /d 'C:\e2e\kb.exe' /f /reg:64
reg add "$machine\\E2EToolbar" /v DisplayName /d "E2E Toolbar" /f /reg:64
reg add "$machine\\E2EToolbar" /v QuietUninstallString /d 'C:\e2e\bar.exe /S' /f /reg:64
reg add "$machine\\E2E Remove=Me" /v DisplayName /d "E2E 删除 1.0" /f /reg:64
reg add "$machine\\E2E Remove=Me" /v UninstallString /d '"C:\e2e\r.exe" /S' /f /reg:64
reg add "$machine\\E2E Remove=Me\\Sub" /v Data /t REG_DWORD /d 42 /f /reg:64

start_program
xdotool mousemove $((left + 350)) $((top + 78)) click 1
# The page is filled under the wait box: read its rows once they are there.
listed() { rows="$(probe rows 2201 3)"; grep -qF "E2E 用户程序" <<<"$rows"; }
wait_until 20 listed
has "user record" "E2E 用户程序	C:\\e2e\\unins.exe	2024/12/31" "$rows"
has "machine update" "E2E Fix (KB42)	C:\\e2e\\kb.exe	" "$rows"
has "quiet command" "E2E Toolbar	C:\\e2e\\bar.exe /S	" "$rows"
screenshot uninstall

# "Windows Updates 除外" then "仅工具栏" (radio buttons at 8/104/264, 362 in the page).
xdotool mousemove $((left + 16 + 110)) $((top + 100 + 370)) click 1
sleep 2
rows="$(probe rows 2201 3)"
lacks "updates filtered out" "E2E Fix (KB42)" "$rows"
has "others kept" "E2E 用户程序" "$rows"
xdotool mousemove $((left + 16 + 270)) $((top + 100 + 370)) click 1
sleep 2
rows="$(probe rows 2201 3)"
has "toolbar listed" "E2E Toolbar" "$rows"
lacks "non-toolbar dropped" "E2E 用户程序" "$rows"
screenshot uninstall-toolbars

# Back to every program; select the record with the mouse and remove it.
xdotool mousemove $((left + 16 + 14)) $((top + 100 + 370)) click 1
sleep 2
row="$(row_index 2201 "E2E 删除 1.0")"
if [[ -n "$row" ]]; then pass; else fail "the record to remove is not listed"; fi
click_row 2201 "$row"
click_image_button 518
check "the question" '您确定您要删除卸载记录 "E2E 删除 1.0" ?' "$(box_text 确认)"
press 确认 是
said="$(box_text 信息 | tr -d '\r')"
check "the outcome" "已成功删除记录,创建撤消文件E2E 删除 1_0_uninstall.reg" "$(tr -d '\n' <<<"$said")"
screenshot uninstall-removed
press 信息 确定
gone() { ! probe rows 2201 1 | grep -qxF "E2E 删除 1.0"; }
if wait_until 10 gone; then pass; else fail "the removed record is still listed"; fi

# Open the backup with the registry editor and gather again: the record is back, whole.
restore "$undo_dir/E2E 删除 1_0_uninstall.reg"
xdotool mousemove $((left + 350)) $((top + 78)) click 1
back() { probe rows 2201 1 | grep -qxF "E2E 删除 1.0"; }
if wait_until 10 back; then pass; else fail "the restored record is not listed"; fi
if regquery "$machine\\E2E Remove=Me\\Sub" /v Data | grep -q 0x2a; then
  pass
else
  fail "the record's subkey did not come back"
fi
finish
