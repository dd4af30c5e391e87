#include "pages/uninstall/uninstall_page.h"

#include "app/main_layout.h"
#include "pages/uninstall/uninstall_gather.h"
#include "services/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "ui/list_painting.h"

#include <commctrl.h>

namespace taliveer {
namespace {

class ListSink : public UninstallSink {
public:
    explicit ListSink(PageContext& context) : context_(context), list_(context.controls.Hwnd(ids::InfoList(2))) {}

    bool Pending() override {
        return context_.state.Loop.ProcessMessages() && context_.state.MainWindow != nullptr && context_.state.RowIcon;
    }

    void Add(const UninstallRow& row) override {
        SharedState& state = context_.state;
        state.BackingList->push_back(BackingEntry{row.keyName, row.command});
        AppendListRow(list_, row.name, row.command, row.date, AddRowIcon(context_, row.iconSource));
        painting_.RowAdded();
    }

private:
    PageContext& context_;
    HWND list_;
    ThrottledListPainting painting_{list_};
};

}  // namespace

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
    ListView_DeleteAllItems(context_.controls.Hwnd(ids::InfoList(2)));
    ImageList_RemoveAll(context_.imageList);
    state.BackingList->clear();
    state.CurrentUserRowCount = 0;
    context_.bringToFront(2);

    const UninstallFilter filter = CheckedFilter();
    filledWith_ = filter;
    bool completed = false;
    {
        GatheringScope gathering(state.Boxes(), state.BusyFlag);
        ListSink sink(context_);
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
    ::ShowWindow(context_.controls.Hwnd(ids::UndoLabel(2)), DirectoryExists(state.UndoFolder) ? SW_SHOW : SW_HIDE);
}

}  // namespace taliveer
