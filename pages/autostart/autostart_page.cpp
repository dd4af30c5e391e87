#include "pages/autostart/autostart_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/autostart/add_program_dialog.h"
#include "pages/autostart/autostart_gather.h"
#include "pages/autostart/autostart_removal.h"
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
}

void AutostartPage::Panel1Button1Click() {
    SharedState& state = context_.state;
    TForm2a dialog(state.Boxes(), *state.InfoBox);
    dialog.InitialFolder = state.ProgramFilesFolder;
    dialog.UndoFolder = state.UndoFolder;
    dialog.ShowModal();
    if (dialog.Added == 1) Panel1Enter();
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
