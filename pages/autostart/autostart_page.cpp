#include "pages/autostart/autostart_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/autostart/add_program_dialog.h"
#include "pages/autostart/autostart_gather.h"
#include "pages/autostart/autostart_removal.h"
#include "pages/autostart/autostart_switch.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_icon.h"
#include "services/file_system.h"

#include <commctrl.h>

namespace taliveer {
void AutostartPage::Panel1Enter() {
    SharedState& state = context_.state;
    ClearPage(context_, 1, generation_);
    autostartSources_.clear();
    context_.bringToFront(1);

    AutostartEnvironment env;
    env.userName = state.UserName;
    env.userStartupFolder = state.UserStartupFolder;
    env.commonStartupFolder = state.CommonStartupFolder;
    env.prefixes = {state.WindowsFolder, state.ProfileFolder};
    env.upperCase = &LocaleUpperCase;
    env.shortcuts = &state.ShellLink;

    ListRowSink<AutostartRow> sink(context_, 1, generation_, [this](HWND list, const AutostartRow& row) {
        // The registry rows carry their resolved file; a shortcut's target is used as it is.
        if (row.hasIcon) {
            AppendRowIconToCome(context_, 1, row.caption, row.command, row.access, RowIconSource{row.iconFile, true});
        } else {
            AppendListRow(list, row.caption, row.command, row.access, -1);
        }
        autostartSources_.push_back(row.digit);
    });
    const AutostartTotals totals = GatherAutostart(env, sink);
    if (!totals.completed) return;

    context_.controls.Static(ids::InfoLabel(1)).SetText(AutostartCountText(totals.rows, totals.disabled));
    ShowUndoLink(context_, 1);
    UpdateSwitchCaption();
}

void AutostartPage::Panel1Button1Click() {
    SharedState& state = context_.state;
    TForm2a dialog(state.Boxes(), *state.InfoBox);
    dialog.InitialFolder = state.ProgramFilesFolder;
    dialog.UndoFolder = state.UndoFolder;
    dialog.ShowModal();
    if (dialog.Added != 1) return;
    // A name the user switched off once stays off for Windows, even for a new entry.
    if (ApprovalSaysOff(dialog.AddedSource, dialog.AddedName) &&
        state.ConfirmBox->Ask(StaleApprovalQuestion(dialog.AddedName))) {
        Switch({AutostartEntry{dialog.AddedName, dialog.AddedSource}}, true);
        return;
    }
    Panel1Enter();
}

void AutostartPage::Panel1Button2Click() {
    SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(1));
    const int count = ListView_GetItemCount(list);
    if (count == 0) return;
    auto ticked = [&] {
        std::vector<int> rows;
        for (int i = 0; i < count; ++i) {
            if (ListView_GetCheckState(list, i)) rows.push_back(i);
        }
        return rows;
    };
    if (ticked().empty()) {
        const int selected = SelectedRow(list);
        if (selected < 0) {
            state.InfoBox->Show(kSelectProgramToRemove);
            return;
        }
        ListView_SetCheckState(list, selected, TRUE);
    }
    if (!state.ConfirmBox->Ask(kConfirmRemoveEntries)) return;

    std::vector<AutostartEntry> entries;
    for (int row : ticked()) {
        if (static_cast<size_t>(row) >= autostartSources_.size()) continue;
        entries.push_back(AutostartEntry{ListCellText(list, row, 0), autostartSources_[static_cast<size_t>(row)]});
    }
    const AutostartRemovalOutcome outcome =
        RemoveAutostartEntries(entries, AutostartFolders{state.UndoFolder, state.UserStartupFolder, state.CommonStartupFolder});
    state.InfoBox->Show(RemovalReport(outcome, state.UndoFolder));
    // Nothing changed when the backup could not be written: the ticks stay for another try.
    if (!outcome.backupFailed) Panel1Enter();
}

}  // namespace taliveer

namespace taliveer {

std::vector<int> AutostartPage::RowsToActOn() const {
    HWND list = context_.controls.Hwnd(ids::InfoList(1));
    const int count = ListView_GetItemCount(list);
    std::vector<int> rows;
    for (int i = 0; i < count; ++i) {
        if (ListView_GetCheckState(list, i)) rows.push_back(i);
    }
    if (rows.empty()) {
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED)) {
            rows.push_back(i);
        }
    }
    return rows;
}

void AutostartPage::UpdateSwitchCaption() {
    HWND list = context_.controls.Hwnd(ids::InfoList(1));
    std::vector<bool> off;
    for (int row : RowsToActOn()) off.push_back(ListCellText(list, row, 2) == kDisabled);
    StaticControl& label = context_.controls.Static(ids::ButtonLabel(1, 3));
    const std::wstring caption = SwitchCaption(off);
    if (label.Text() != caption) label.SetText(caption);
}

void AutostartPage::Panel1Button3Click() {
    HWND list = context_.controls.Hwnd(ids::InfoList(1));
    if (ListView_GetItemCount(list) == 0) return;
    const std::vector<int> rows = RowsToActOn();
    if (rows.empty()) {
        context_.state.InfoBox->Show(kSelectProgramToSwitch);
        return;
    }
    std::vector<bool> off;
    std::vector<AutostartEntry> entries;
    for (int row : rows) {
        if (static_cast<size_t>(row) >= autostartSources_.size()) continue;
        off.push_back(ListCellText(list, row, 2) == kDisabled);
        entries.push_back(AutostartEntry{ListCellText(list, row, 0), autostartSources_[static_cast<size_t>(row)]});
    }
    Switch(entries, SwitchCaption(off) == kSwitchOn);
}

void AutostartPage::Switch(const std::vector<AutostartEntry>& entries, bool on) {
    SharedState& state = context_.state;
    const AutostartSwitchOutcome outcome = SwitchAutostartEntries(entries, on, switchOptions(state.UndoFolder));
    state.InfoBox->Show(SwitchReport(outcome, state.UndoFolder));
    if (outcome.backupFailed) return;
    Panel1Enter();
    // The same entries stay selected, in their new state.
    HWND list = context_.controls.Hwnd(ids::InfoList(1));
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    bool focused = false;
    for (int row = 0; row < ListView_GetItemCount(list) && static_cast<size_t>(row) < autostartSources_.size(); ++row) {
        for (const AutostartEntry& entry : entries) {
            const wchar_t digit = autostartSources_[static_cast<size_t>(row)];
            // An item of the system configuration tool changes its source when it moves.
            const bool sameSource = entry.digit == digit || entry.digit == L'5' || digit == L'5';
            if (!sameSource || entry.name != ListCellText(list, row, 0)) continue;
            const UINT bits = focused ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED;
            ListView_SetItemState(list, row, bits, bits);
            if (!focused) ListView_EnsureVisible(list, row, FALSE);
            focused = true;
        }
    }
    UpdateSwitchCaption();
}

}  // namespace taliveer
