#include "ui/restore_window.h"

#include "services/file_system.h"

#include <commctrl.h>

namespace taliveer {
namespace {

using namespace restore_ids;

constexpr ControlSpec kRestoreLayout[] = {
    {kListLabel, L"ListLabel", ControlKind::Label, 0, 12, 10, 400, 15, L"撤消文件夹中的备份 (最新的在前)", FontId::Arial12, kBlack, 0},
    {kBackupList, L"BackupList", ControlKind::ListView, 0, 12, 28, 676, 200, nullptr, FontId::Arial12, kBlack, 0},
    {kPreviewLabel, L"PreviewLabel", ControlKind::Label, 0, 12, 238, 400, 15, L"恢复所选备份将会", FontId::Arial12, kBlack, 0},
    {kPreviewList, L"PreviewList", ControlKind::ListView, 0, 12, 256, 676, 170, nullptr, FontId::Arial12, kBlack, 0},
    {kInfoLabelId, L"InfoLabel", ControlKind::Label, 0, 12, 434, 440, 30, L"", FontId::Arial12, kBlack, flag::kWrap},
    {kRestoreButton, L"RestoreButton", ControlKind::PushButton, 0, 476, 438, 100, 25, L"恢复", FontId::Arial12, kBlack, 0},
    {kCloseButton, L"CloseButton", ControlKind::PushButton, 0, 588, 438, 100, 25, L"关闭", FontId::Arial12, kBlack, 0},
};

constexpr ColumnSpec kBackupColumns[] = {
    {L"时间", 112, LVCFMT_LEFT}, {L"页面", 72, LVCFMT_LEFT}, {L"内容", 230, LVCFMT_LEFT},
    {L"状态", 64, LVCFMT_LEFT},  {L"文件", 176, LVCFMT_LEFT},
};
constexpr ColumnSpec kPreviewColumns[] = {
    {L"项", 300, LVCFMT_LEFT}, {L"状态", 48, LVCFMT_LEFT}, {L"现在", 150, LVCFMT_LEFT}, {L"备份", 156, LVCFMT_LEFT}};

std::wstring TimeText(const FILETIME& written) {
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &time)) return {};
    return BackupTimeText(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
}

void AddRow(HWND list, int row, const std::vector<std::wstring>& cells) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    const int at = ListView_InsertItem(list, &item);
    for (size_t column = 1; column < cells.size(); ++column) {
        ListView_SetItemText(list, at, static_cast<int>(column), const_cast<wchar_t*>(cells[column].c_str()));
    }
}

}  // namespace

RestoreWindow::RestoreWindow(const BoxHost& host, TForm3a& infoBox, TForm3b& confirmBox, RestorePlaces places)
    : BoxWindow(host, L"恢复备份", 700, 474, kRestoreLayout), infoBox_(infoBox), confirmBox_(confirmBox),
      places_(std::move(places)) {
    AddListColumns(Control(kBackupList), kBackupColumns, Scale());
    AddListColumns(Control(kPreviewList), kPreviewColumns, Scale());
    for (int id : {kBackupList, kPreviewList}) {
        ListView_SetExtendedListViewStyle(Control(id), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
        ::SetWindowLongPtrW(Control(id), GWL_STYLE, ::GetWindowLongPtrW(Control(id), GWL_STYLE) | LVS_SHOWSELALWAYS | LVS_SINGLESEL);
    }
}

void RestoreWindow::OnRescaled() {
    ScaleListColumns(Control(kBackupList), kBackupColumns, Scale());
    ScaleListColumns(Control(kPreviewList), kPreviewColumns, Scale());
}

void RestoreWindow::Show() {
    Refresh(std::wstring());
    // The keys work on the list from the start (once the window is up).
    ::PostMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kBackupList)), TRUE);
    ShowModal();
}

void RestoreWindow::Refresh(const std::wstring& keepSelected) {
    backups_ = ListBackups(places_.undo);
    HWND list = Control(kBackupList);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    int select = backups_.empty() ? -1 : 0;
    for (size_t i = 0; i < backups_.size(); ++i) {
        const BackupFile& backup = backups_[i];
        AddRow(list, static_cast<int>(i),
               {TimeText(backup.written), BackupKindText(backup.kind), backup.summary, BackupStateText(backup.state),
                backup.fileName});
        if (backup.fileName == keepSelected) select = static_cast<int>(i);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::EnableWindow(Control(kRestoreButton), !backups_.empty());
    if (select >= 0) {
        Select(select);
    } else {
        ShowPreview(-1);
        InfoLabel().SetText(L"撤消文件夹中没有备份。");
    }
}

void RestoreWindow::Select(int index) {
    HWND list = Control(kBackupList);
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
    ShowPreview(index);
}

int RestoreWindow::Selected() const { return ListView_GetNextItem(Control(kBackupList), -1, LVNI_SELECTED); }

void RestoreWindow::ShowPreview(int index) {
    HWND list = Control(kPreviewList);
    ListView_DeleteAllItems(list);
    if (index < 0 || index >= static_cast<int>(backups_.size())) return;
    const BackupFile& backup = backups_[static_cast<size_t>(index)];
    InfoLabel().SetText(backup.reason);
    if (backup.kind == BackupKind::Shortcut) {
        const std::wstring place = backup.origin.empty() ? L"来源未知" : backup.origin;
        AddRow(list, 0, {place, BackupStateText(backup.state), L"", backup.fileName});
        return;
    }
    if (backup.state == BackupState::Unreadable) return;
    int row = 0;
    for (const BackupCheck& check : CheckBackup(backup)) {
        AddRow(list, row++, {check.isKey ? check.item : L"    " + check.item.substr(check.item.rfind(L" : ") + 3),
                             EntryStateText(check.state), check.now, check.saved});
    }
    for (const ScriptKey& key : backup.reading.keys) {
        const std::wstring name = key.root + L"\\" + key.path;
        if (key.deleted) AddRow(list, row++, {L"[-" + name + L"]", L"删除项", L"", L"不会执行"});
        for (const std::wstring& value : key.deletedValues) {
            AddRow(list, row++, {name + L" : " + value + L"=-", L"删除项", L"", L"不会执行"});
        }
    }
}

void RestoreWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kBackupList) || header.code != LVN_ITEMCHANGED) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) ShowPreview(change.iItem);
}

void RestoreWindow::OnButton(int id) {
    if (id == kRestoreButton) RestoreClick();
}

void RestoreWindow::RestoreClick() {
    const int index = Selected();
    if (index < 0 || index >= static_cast<int>(backups_.size())) {
        infoBox_.Show(L"请选择一个备份。");
        return;
    }
    // Read again: the registry or the folder may have changed since the list was made.
    const BackupFile backup = ReadBackup(places_.undo, backups_[static_cast<size_t>(index)].fileName,
                                         backups_[static_cast<size_t>(index)].written);
    if (backup.kind == BackupKind::Shortcut) {
        RestoreShortcutCopy(backup);
    } else if (backup.state == BackupState::Unreadable || !backup.reason.empty()) {
        infoBox_.Show(L"不能恢复 " + backup.fileName + L":\n" + backup.reason);
    } else {
        std::vector<std::wstring> added;
        std::vector<std::wstring> replaced;
        RestoreChanges(CheckBackup(backup), added, replaced);
        if (added.empty() && replaced.empty()) {
            infoBox_.Show(backup.fileName + L" 中的内容都已在注册表中，没有需要恢复的。");
        } else if (confirmBox_.Ask(RestoreQuestionText(backup.fileName, added, replaced))) {
            const RestoreResult result = RestoreRegistryBackup(places_.undo, places_.windows, backup, hwnd());
            restored_ = restored_ || result.changed;
            infoBox_.Show(result.message);
        }
    }
    Refresh(backup.fileName);
}

void RestoreWindow::RestoreShortcutCopy(const BackupFile& backup) {
    std::wstring target = backup.origin;
    const std::wstring name = OriginalShortcutName(backup.fileName);
    if (target.empty()) {
        if (places_.userStartup.empty() ||
            !confirmBox_.Ask(L"不知道快捷方式 " + name + L" 原来在哪个启动文件夹。\n放回你自己的启动文件夹吗？\n" +
                             places_.userStartup)) {
            return;
        }
        target = places_.userStartup + name;
    } else if (backup.state == BackupState::Restored) {
        infoBox_.Show(target + L" 已在启动文件夹中，没有需要恢复的。");
        return;
    } else if (!FileExists(target) && !confirmBox_.Ask(L"把快捷方式 " + name + L" 放回\n" + target + L"？")) {
        return;
    }
    bool replace = false;
    if (FileExists(target)) {
        std::vector<std::uint8_t> copy;
        std::vector<std::uint8_t> there;
        if (ReadFileBytes(places_.undo + backup.fileName, copy) && ReadFileBytes(target, there) && copy == there) {
            infoBox_.Show(target + L" 已在启动文件夹中，没有需要恢复的。");
            return;
        }
        replace = confirmBox_.Ask(L"启动文件夹中已有另一个 " + name + L":\n" + target +
                                  L"\n用备份替换它吗？现有的文件会先保存到撤消文件夹。选\"否\"保留现有的文件。");
        if (!replace) return;
    }
    const RestoreResult result = RestoreShortcut(places_.undo, backup, target, replace);
    restored_ = restored_ || result.changed;
    infoBox_.Show(result.message);
}

}  // namespace taliveer
