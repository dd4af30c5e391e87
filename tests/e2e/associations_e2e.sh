#!/bin/bash
# End to end: the association page of the real program, typing into its search box, adding
# an association in the editor, opening it again by a double click, removing it and putting
# it back from its backup.
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
  reg import "$remove"
  reg delete 'HKCR\.e2eext' /f
  reg delete 'HKCR\e2eext.file' /f
  remove_new_backups
}
trap cleanup EXIT
reg import "$add" || echo "could not add the extensions"

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

# Add an association: the editor, an extension typed and left, a program from the file
# dialog, "保存" and 是.
click_image_button 182
box_text 添加新关联 >/dev/null || fail "the editor did not open"
read -r sx sy <<<"$(probe button 添加新关联 保存)"
xdotool mousemove $((sx - 86)) $((sy - 98)) click 1  # the extension box
xdotool type --delay 60 ".e2eext"
xdotool key Tab
sleep 0.5
check "the default description" $'.e2eext\ne2eext.file\n' "$(probe edits 添加新关联)"$'\n'
read -r bx by <<<"$(probe button 添加新关联 ...)"
xdotool mousemove "$bx" "$by" click 1
sleep 2
xdotool type --delay 40 'C:\windows\notepad.exe'
sleep 0.5
xdotool key Return
file_dialog_closed() { ! probe windows | grep -q '^Open |'; }
wait_until 10 file_dialog_closed || fail "the file dialog did not close"
screenshot associations-editor
click_button 添加新关联 保存
check "the question" "你确定你要添加新的关联吗?" "$(box_text 确认)"
press 确认 是
has "where it was saved" "关联 .e2eext 已保存到 HKEY_" "$(box_text 信息)"
press 信息 确定
added() { rows="$(probe rows 2401 3)"; grep -qF $'.e2eext\te2eext.file\tC:\\windows\\notepad.exe "%1"' <<<"$rows"; }
if wait_until 20 added; then pass; else fail "the added association is not listed"; fi

# A double click on its row opens it in the editor with its values.
row="$(row_index 2401 .e2eext)"
read -r rx ry rw rh <<<"$(probe rowrect 2401 "$row")"
xdotool mousemove $((left + rx + 30)) $((top + ry + rh / 2)) click --repeat 2 --delay 80 1
box_text 编辑关联 >/dev/null || fail "a double click did not open the editor"
check "the editor's boxes" $'.e2eext\ne2eext.file\nC:\\windows\\notepad.exe "%1"' "$(probe edits 编辑关联)"
press 编辑关联 取消

# Remove it, then open its backup with the registry editor.
click_row 2401 "$(row_index 2401 .e2eext)" 30
click_image_button 518
check "the removal question" '您确定您要删除关联 ".e2eext" ?' "$(box_text 确认)"
press 确认 是
check "the removal outcome" "已成功删除记录,创建撤消文件e2eext_association.reg" "$(box_text 信息 | tr -d '\r\n')"
press 信息 确定
removed() { ! probe rows 2401 1 | grep -qx ".e2eext"; }
if wait_until 20 removed; then pass; else fail "the removed association is still listed"; fi
restore "$undo_dir/e2eext_association.reg"
xdotool mousemove $((left + 638)) $((top + 78)) click 1
if wait_until 20 added; then pass; else fail "the restored association is not listed"; fi
finish
