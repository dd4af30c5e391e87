#include "pages/associations/association_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/associations/association_gather.h"
#include "pages/associations/pure/association_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "services/file_system.h"

#include <commctrl.h>

#include <vector>

namespace taliveer {
void AssociationPage::Panel4Enter() {
    SharedState& state = context_.state;
    ClearPage(context_, 4, generation_);
    context_.bringToFront(4);
    bool completed = false;
    int rows = 0;
    {
        GatheringScope gathering(state.Boxes(), state.BusyFlag);
        ListRowSink<AssociationRow> sink(context_, 4, generation_, [this](HWND list, const AssociationRow& row) {
            AppendListRow(list, row.extension, row.description, row.command, AddRowIcon(context_, row.iconLocation));
        });
        completed = ReadAssociations(sink);
        rows = sink.Rows();
        gathering.EndBusy();
    }
    if (!completed) return;
    context_.controls.Static(ids::InfoLabel(4)).SetText(AssociationCountText(rows));
    ShowUndoLink(context_, 4);
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
