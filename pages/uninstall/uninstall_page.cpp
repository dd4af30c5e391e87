#include "pages/uninstall/uninstall_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/uninstall/uninstall_gather.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "services/file_system.h"

#include <commctrl.h>

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
        ListRowSink<UninstallRow> sink(context_, 2, generation_, [this](HWND list, const UninstallRow& row) {
            context_.state.BackingList->push_back(BackingEntry{row.keyName, row.command});
            AppendListRow(list, row.name, row.command, row.date, AddRowIcon(context_, row.iconSource));
        });
        if (ReadUninstallList(HKEY_CURRENT_USER, filter, sink)) {
            state.CurrentUserRowCount = static_cast<int>(state.BackingList->size());
            completed = ReadUninstallList(HKEY_LOCAL_MACHINE, filter, sink);
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

}  // namespace taliveer
