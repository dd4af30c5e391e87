#include "pages/associations/association_page.h"

#include "app/main_layout.h"
#include "pages/associations/association_gather.h"
#include "pages/associations/association_rules.h"
#include "services/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "ui/list_painting.h"

#include <commctrl.h>

#include <vector>

namespace taliveer {
namespace {

class ListSink : public AssociationSink {
public:
    explicit ListSink(PageContext& context) : context_(context), list_(context.controls.Hwnd(ids::InfoList(4))) {}

    bool Pending() override {
        return context_.state.Loop.ProcessMessages() && context_.state.MainWindow != nullptr && context_.state.RowIcon;
    }

    void Add(const AssociationRow& row) override {
        AppendListRow(list_, row.extension, row.description, row.command, AddRowIcon(context_, row.iconLocation));
        ++rows;
        painting_.RowAdded();
    }

    int rows = 0;

private:
    PageContext& context_;
    HWND list_;
    ThrottledListPainting painting_{list_};
};

}  // namespace

void AssociationPage::Panel4Enter() {
    SharedState& state = context_.state;
    ListView_DeleteAllItems(context_.controls.Hwnd(ids::InfoList(4)));
    ImageList_RemoveAll(context_.imageList);
    context_.bringToFront(4);
    bool completed = false;
    int rows = 0;
    {
        GatheringScope gathering(state.Boxes(), state.BusyFlag);
        ListSink sink(context_);
        completed = ReadAssociations(sink);
        rows = sink.rows;
        gathering.EndBusy();
    }
    if (!completed) return;
    context_.controls.Static(ids::InfoLabel(4)).SetText(AssociationCountText(rows));
    ::ShowWindow(context_.controls.Hwnd(ids::UndoLabel(4)), DirectoryExists(state.UndoFolder) ? SW_SHOW : SW_HIDE);
}

void AssociationPage::Panel4FindEditChange() {
    if (context_.state.BusyFlag) return;
    HWND list = context_.controls.Hwnd(ids::InfoList(4));
    const int count = ListView_GetItemCount(list);
    HWND edit = context_.controls.Hwnd(ids::kPanel4FindEdit);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    if (count == 0 || text.empty()) return;

    std::vector<std::wstring> captions;
    captions.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        wchar_t caption[MAX_PATH + 1] = {};
        ListView_GetItemText(list, i, 0, caption, MAX_PATH);
        captions.emplace_back(caption);
    }
    const int match = FindPrefixRow(captions, text);
    if (match < 0) return;
    ::SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    // Wine's list view ignores SB_TOP; the first row made visible is the same place.
    if (ListView_GetTopIndex(list) != 0) ListView_EnsureVisible(list, 0, FALSE);
    for (int i = 0; i < match; ++i) ::SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
}

}  // namespace taliveer
