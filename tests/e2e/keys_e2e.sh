#!/bin/bash
# End to end: the main window's keys, the rows' context menu, Ctrl+C read back from the
# clipboard and an export saved through the save dialog, on the real program.
# Usage: keys_e2e.sh TALIVEER_EXE WINPROBE_EXE OUT_DIR
source "$(dirname "$0")/lib.sh"

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
export_file="$out/keys-export.csv"

cleanup() {
  probe close >/dev/null 2>&1
  reg delete "$run" /v "E2E Key A" /f
  reg delete "$run" /v "E2E Key, B" /f
  reg delete "$run" /v "E2E Key F5" /f
  remove_new_backups
}
trap cleanup EXIT
rm -f "$export_file"

reg add "$run" /v "E2E Key A" /d '"C:\windows\notepad.exe" /a' /f
reg add "$run" /v "E2E Key, B" /d 'C:\e2e\missing "q".exe' /f

start_program
key() { xdotool key --delay 60 "$@"; sleep 0.4; }
front_is() { [[ "$(probe front)" == "$1" ]]; }
enabled() { ! probe windows | grep -q '^收集数据 |'; }

# The pages by keys, as by their tab labels.
xdotool mousemove $((left + 300)) $((top + 20)) click 1
key ctrl+2
wait_until 20 front_is 2 && pass || fail "Ctrl+2 did not show the uninstall page"
wait_until 30 enabled
key ctrl+Tab
wait_until 10 front_is 3 && pass || fail "Ctrl+Tab did not show the process page"
key ctrl+shift+Tab
wait_until 20 front_is 2 && pass || fail "Ctrl+Shift+Tab did not go back to the uninstall page"
wait_until 30 enabled
key ctrl+1
wait_until 10 front_is 1 && pass || fail "Ctrl+1 did not show the autostart page"
check "the list has the focus" 2101 "$(probe focus)"

# F5 rebuilds the page: a value added meanwhile shows.
reg add "$run" /v "E2E Key F5" /d 'C:\f5.exe' /f
key F5
f5_row() { probe rows 2101 1 | grep -qxF "E2E Key F5"; }
wait_until 10 f5_row && pass || fail "F5 did not rebuild the page"

# Ctrl+C: the selected rows with the column captions, tab-separated.
click_row 2101 "$(row_index 2101 "E2E Key A")"
key ctrl+c
user="$(timeout 30 "$TALIVEER_WINE" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
clip="$(timeout 10 xclip -o -selection clipboard | tr -d '\r')"
check "Ctrl+C" $'程序\t位置/命令\t访问\nE2E Key A\t"C:\\windows\\notepad.exe" /a\t'"$user" "$clip"
key ctrl+a
check "Ctrl+A selects every row" "$(probe rows 2101 1 | grep -c .)" "$(probe selected 2101 | grep -c .)"

# The row menu: from the keyboard at the selected row (its 复制 copies that row), and by a
# right-click, which selects the row under it first. Its entries are checked in the unit tests.
click_row 2101 "$(row_index 2101 "E2E Key A")"
echo -n "nothing" | timeout 10 xclip -selection clipboard
key shift+F10
check "Shift+F10 opens the row menu" open "$(probe popup)"
screenshot keys-menu
key Up Up Return
has "the menu's 复制" $'E2E Key A\t"C:\\windows\\notepad.exe" /a' "$(timeout 10 xclip -o -selection clipboard | tr -d '\r')"
b="$(row_index 2101 "E2E Key, B")"
read -r rx ry rw rh <<<"$(probe rowrect 2101 "$b")"
xdotool mousemove $((left + rx + 60)) $((top + ry + rh / 2)) click 3
check "a right-click opens the row menu" open "$(probe popup)"
check "the right-clicked row is selected" "$b" "$(probe selected 2101)"
key Escape

# Delete asks as "删除程序" does; 否 keeps the row.
key Delete
has "Delete asks" "你确定要从启动项中删除该项目?" "$(box_text 确认)"
press 确认 否
has "the row stays" "E2E Key, B" "$(probe rows 2101 1)"

# Tab goes from the list to the buttons and round; Enter presses the focused one; Escape
# closes the dialog it opened.
click_row 2101 "$(row_index 2101 "E2E Key A")"
key Tab
check "Tab: the first button" 2113 "$(probe focus)"
key Tab
check "Tab: the second button, as they stand" 2133 "$(probe focus)"
key shift+Tab
check "Shift+Tab: back" 2113 "$(probe focus)"
screenshot keys-focus
key Return
box_text 添加到自动启动 >/dev/null && pass || fail "Enter on the focused button did not open the add dialog"
key Escape
probe gone 添加到自动启动 >/dev/null && pass || fail "Escape did not close the add dialog"

# Ctrl+S: every row through the save dialog into a CSV file.
click_row 2101 0
key ctrl+s
box_text 导出 >/dev/null || fail "Ctrl+S did not open the save dialog"
sleep 1
xdotool key ctrl+a
xdotool type --delay 30 "Z:${export_file//\//\\}"
key Return
has "the export is said" "已导出" "$(box_text 信息)"
press 信息 确定
csv="$(tail -c +4 "$export_file" | tr -d '\r')"
check "the file begins with the UTF-8 mark" "efbbbf" "$(head -c 3 "$export_file" | od -An -tx1 | tr -d ' \n')"
has "the export's header" "程序,位置/命令,访问" "$csv"
has "a quoted row" '"E2E Key, B","C:\e2e\missing ""q"".exe",'"$user" "$csv"
check "every row exported" "$(($(probe rows 2101 1 | grep -c .) + 1))" "$(grep -c . <<<"$csv")"

# Ctrl+F: the association page's search box; Enter on its list edits the row.
key ctrl+f
wait_until 30 front_is 4 && pass || fail "Ctrl+F did not show the association page"
wait_until 60 enabled
check "Ctrl+F: the search box" 2462 "$(probe focus)"
click_row 2401 0
key Return
box_text 编辑关联 >/dev/null && pass || fail "Enter did not open the editor"
key Escape
probe gone 编辑关联 >/dev/null && pass || fail "Escape did not close the editor"

# What accessibility tools read: each tab, image button and link with its role and text.
key ctrl+1
wait_until 10 front_is 1
check "a tab" $'37\t自动启动' "$(probe role 1011)"
check "an image button" $'43\t删除程序' "$(probe role 2123)"
check "the About label" $'43\ti' "$(probe role 1001)"
check "a link" $'30\t打开撤消文件夹' "$(probe role 2103)"
check "the maker's link" $'30\tCorvantis 公司' "$(probe role 1022)"
finish
