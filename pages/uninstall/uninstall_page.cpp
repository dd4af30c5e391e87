#include "pages/uninstall/uninstall_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/uninstall/uninstall_gather.h"
#include "services/program_launcher.h"
#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "services/file_system.h"

#include <commctrl.h>
#include <shellapi.h>

namespace taliveer {
UninstallFilter UninstallPage::CheckedFilter() const {
    auto checked = [&](int index) {
        return ::SendMessageW(context_.controls.Hwnd(ids::FilterRadio(index)), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    if (checked(2)) return UninstallFilter::NoWindowsUpdates;
    if (checked(3)) return UninstallFilter::ToolbarsOnly;
    return UninstallFilter::All;
}

void UninstallPage::FilterClicked() {
    if (CheckedFilter() == filledWith_) return;
    Panel2Enter();
}

void UninstallPage::Panel2Enter() {
    SharedState& state = context_.state;
    ClearPage(context_, 2, generation_);
    state.BackingList->clear();
    state.CurrentUserRowCount = 0;
    context_.bringToFront(2);

    const UninstallFilter filter = CheckedFilter();
    filledWith_ = filter;
    bool completed = false;
    {
        GatheringScope gathering(state.Boxes(), state.BusyFlag);
        ListRowSink<UninstallRow> sink(context_, 2, generation_, [this](HWND, const UninstallRow& row) {
            context_.state.BackingList->push_back(
                BackingEntry{row.keyName, row.command, row.root, row.view, row.windowsInstaller});
            AppendRowIconToCome(context_, 2, row.name, row.command, row.date, RowIconSource{row.iconSource});
        });
        completed = true;
        for (const UninstallSource& source : UninstallSources()) {
            if (!ReadUninstallList(source.root, source.view, filter, sink)) {
                completed = false;
                break;
            }
            if (source.root == HKEY_CURRENT_USER) state.CurrentUserRowCount = static_cast<int>(state.BackingList->size());
        }
        gathering.EndBusy();
        if (completed) {
            context_.controls.Static(ids::InfoLabel(2)).SetText(
                UninstallCountText(static_cast<int>(state.BackingList->size())));
        }
    }
    if (!completed) return;
    ShowUndoLink(context_, 2);
}

int UninstallPage::ActionRow() const {
    const SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(2));
    if (state.BusyFlag || ListView_GetItemCount(list) == 0) return -1;
    const int index = SelectedRow(list);
    if (index < 0 || static_cast<size_t>(index) >= state.BackingList->size()) return -1;
    return index;
}

void UninstallPage::Panel2Button1Click() {
    SharedState& state = context_.state;
    const int index = ActionRow();
    if (index < 0) return;
    const std::wstring caption = ListCellText(context_.controls.Hwnd(ids::InfoList(2)), index, 0);
    if (!state.ConfirmBox->Ask(ConfirmUninstallText(caption))) return;
    const BackingEntry entry = (*state.BackingList)[static_cast<size_t>(index)];
    // A Windows Installer product is removed (/X), not opened for maintenance (/I).
    const std::wstring command = WindowsInstallerRemoveCommand(entry.Command, entry.WindowsInstaller);
    const auto launch = SplitUninstallCommand(command, state.SystemFolder, [](const std::wstring& file) {
        return FileExists(file);
    });
    if (launch) {
        const LaunchResult run = LaunchAndWaitForAll(launch->file, launch->parameters, state.MainWindow);
        if (!run.started) {
            // Named but not started (a standard user and an uninstaller that needs elevation, a
            // file gone since): said as it is, nothing else is tried.
            state.InfoBox->Show(UninstallerNotStartedText(caption, launch->file, SystemMessage(run.startError)));
            return;
        }
        // Whether it went is what the registry says afterwards, not the end of a process.
        const std::wstring key = kUninstallKey + entry.KeyName;
        const LSTATUS record = RegKeyReadStatus(entry.Root, key, entry.View);
        const bool stillThere = record != ERROR_FILE_NOT_FOUND && record != ERROR_PATH_NOT_FOUND;
        const bool installer = entry.WindowsInstaller || LocaleUpperCase(launch->file).find(L"MSIEXEC") != std::wstring::npos;
        std::wstring said;
        if (installer) said = InstallerExitText(run.exitCode, caption);
        if (stillThere && !(installer && ExitCodeExplainsTheRecord(run.exitCode))) {
            said += (said.empty() ? L"" : L"\n") + RecordStillPresentText(caption);
        }
        Panel2Enter();
        if (!said.empty()) state.InfoBox->Show(said);
        return;
    }
    const std::wstring control = state.SystemFolder + L"control.exe";
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(state.MainWindow, L"open", control.c_str(), L"appwiz.cpl", nullptr, SW_SHOWNORMAL));
    if (opened <= 32) {
        // Below 26 the code is the system's own error; the SE_ERR_ codes above it are not.
        const DWORD reason = opened < 26 ? static_cast<DWORD>(opened) : ::GetLastError();
        state.InfoBox->Show(ProgramListNotOpenedText(SystemMessage(reason)));
        return;
    }
    state.InfoBox->Show(kUninstallThroughControlPanel);
    Panel2Enter();
}

void UninstallPage::Panel2Button2Click() {
    SharedState& state = context_.state;
    const int index = ActionRow();
    if (index < 0) return;
    const std::wstring caption = ListCellText(context_.controls.Hwnd(ids::InfoList(2)), index, 0);
    const BackingEntry entry = (*state.BackingList)[static_cast<size_t>(index)];
    if (!state.ConfirmBox->Ask(ConfirmRemoveRecordText(caption, entry.WindowsInstaller))) return;

    // The record as the page read it: its own key name (which may hold "="), its hive and
    // the view it was read in; the backup names where it really lives.
    const std::wstring key = kUninstallKey + entry.KeyName;
    const KeyRemoval removal =
        BackUpAndRemoveKey(state.UndoFolder, entry.Root, key, entry.View, CleanUninstallCaption(caption), L"_uninstall.reg");
    state.InfoBox->Show(KeyRemovalText(removal, L"记录", caption, state.UndoFolder));
    Panel2Enter();
}

}  // namespace taliveer
