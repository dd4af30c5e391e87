#include "pages/associations/association_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/associations/association_editor.h"
#include "pages/associations/association_gather.h"
#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/undo_backup.h"
#include "pages/associations/pure/association_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "services/file_system.h"

#include <commctrl.h>
#include <shlobj.h>

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

int AssociationPage::ActionRow() const {
    SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(4));
    if (state.BusyFlag || ListView_GetItemCount(list) == 0) return -1;
    const int index = SelectedRow(list);
    if (index < 0) state.InfoBox->Show(kSelectAssociation);
    return index;
}

void AssociationPage::Panel4Button1Click() {
    SharedState& state = context_.state;
    TForm2b editor(state.Boxes(), *state.InfoBox, *state.ConfirmBox);
    editor.EditMode = 1;
    editor.InitialFolder = state.ProgramFilesFolder;
    editor.UndoFolder = state.UndoFolder;
    editor.Show();
    if (editor.Saved == 1) Panel4Enter();
}

void AssociationPage::Panel4Button2Click() {
    SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(4));
    const int index = ActionRow();
    if (index < 0) return;
    TForm2b editor(state.Boxes(), *state.InfoBox, *state.ConfirmBox);
    editor.EditMode = 2;
    editor.Extension = ListCellText(list, index, 0);
    editor.Description = ListCellText(list, index, 1);
    editor.ProgramPath = ListCellText(list, index, 2);
    editor.InitialFolder = state.ProgramFilesFolder;
    editor.UndoFolder = state.UndoFolder;
    editor.Show();
    if (editor.Saved == 1) Panel4Enter();
}

void AssociationPage::Panel4Button3Click() {
    SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(4));
    const int index = ActionRow();
    if (index < 0) return;
    const std::wstring extension = ListCellText(list, index, 0);
    if (!state.ConfirmBox->Ask(ConfirmRemoveAssociationText(extension))) return;

    // Saved from where each key really lives (the user's or the machine's classes), so that
    // opening the file puts it back there; the file type it names stays.
    const KeyRemoval removal = BackUpAndRemoveKey(state.UndoFolder, HKEY_CLASSES_ROOT, extension, RegView::Bits64,
                                                  extension.empty() ? L"" : extension.substr(1), L"_association.reg");
    if (removal.outcome == KeyRemoval::Outcome::Removed) {
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    state.InfoBox->Show(KeyRemovalText(removal, L"关联", extension, state.UndoFolder));
    Panel4Enter();
}

}  // namespace taliveer
