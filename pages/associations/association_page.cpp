#include "pages/associations/association_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/associations/association_editor.h"
#include "pages/associations/association_gather.h"
#include "services/pure/backup_name.h"
#include "services/class_store.h"
#include "services/reg_unit.h"
#include "services/undo_backup.h"
#include "pages/associations/pure/association_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "ui/gathering_scope.h"
#include "services/file_system.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace taliveer {
namespace {

// The program column of a row whose extension the user opens with a program of their own
// choice ("Open with"): that program's command, marked, so that the row tells it apart.
std::wstring UserChoiceMarked(const std::wstring& command, const std::wstring& userChoice) {
    return userChoice.empty() ? command : L"[" + userChoice + L"] " + command;
}

bool Gone(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

// What the user is told of removing an extension from each hive that held it. A copy that
// cannot be read is named by its full key, so that the user can tell which one it is.
std::wstring ClassRemovalText(const std::vector<KeyRemoval>& removals, const std::vector<ClassHive>& hives,
                              const std::wstring& extension, const std::wstring& undoFolder) {
    const auto said = [&](size_t i) {
        const bool unreadable = removals[i].outcome == KeyRemoval::Outcome::Unreadable;
        return KeyRemovalText(removals[i], L"关联", unreadable ? ClassKeyName(hives[i], extension) : extension,
                              undoFolder);
    };
    if (removals.empty()) return KeyRemovalText(KeyRemoval{}, L"关联", extension, undoFolder);
    if (removals.size() == 1) return said(0);
    const auto removed = [](const KeyRemoval& r) { return r.outcome == KeyRemoval::Outcome::Removed && r.leftBehind == 0; };
    if (std::all_of(removals.begin(), removals.end(), removed)) return RecordRemovedText(removals.front().backupFile);
    std::wstring text;
    for (size_t i = 0; i < removals.size(); ++i) {
        const std::wstring whose = hives[i] == ClassHive::User ? L"你的" : L"计算机的";
        text += (text.empty() ? L"" : L"\n") + whose + L"关联: " + said(i);
    }
    return text + L"\n未能删除的那一份仍在，这一行会再次出现。";
}

}  // namespace
void AssociationPage::Panel4Enter() {
    SharedState& state = context_.state;
    ClearPage(context_, 4, generation_);
    rows_.clear();
    context_.bringToFront(4);
    bool completed = false;
    int rows = 0;
    {
        GatheringScope gathering(state.Boxes(), state.BusyFlag);
        const auto show = [this](HWND, const AssociationRow& row) {
            rows_.push_back(row);
            AppendRowIconToCome(context_, 4, row.extension, row.description,
                                UserChoiceMarked(row.command, row.userChoice), RowIconSource{row.iconLocation});
        };
        ListRowSink<AssociationRow> sink(context_, 4, generation_, show);
        AssociationsRead read = ReadAssociations(sink, ExtensionOrder::AsListed);
        rows = sink.Rows();
        if (read == AssociationsRead::OutOfOrder) {
            // The registry listed its classes out of order: the rows shown may be, too.
            ClearPage(context_, 4, generation_);
            rows_.clear();
            ListRowSink<AssociationRow> sorted(context_, 4, generation_, show);
            read = ReadAssociations(sorted, ExtensionOrder::SortedFirst);
            rows = sorted.Rows();
        }
        completed = read == AssociationsRead::Completed;
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
    if (static_cast<size_t>(index) < rows_.size() && rows_[static_cast<size_t>(index)].extension == editor.Extension) {
        // The extension's own values are what the editor changes, not the user's choice.
        editor.ProgramPath = rows_[static_cast<size_t>(index)].ownCommand;
    }
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

    // Saved, each copy from where it really lives (the user's and the machine's classes), into
    // one backup, then removed from each; the file type it names stays. A copy that cannot be
    // read is not a copy that is gone: it is named, and nothing is removed.
    std::vector<ClassHive> hives;
    for (ClassHive hive : {ClassHive::User, ClassHive::Machine}) {
        if (!Gone(ClassKeyStatus(hive, extension))) hives.push_back(hive);
    }
    std::vector<KeyToRemove> keys;
    for (ClassHive hive : hives) keys.push_back({ClassRoot(hive), ClassPath(hive, extension)});
    const std::vector<KeyRemoval> removals = BackUpAndRemoveKeys(state.UndoFolder, keys, RegView::Bits64,
                                                                 extension.empty() ? L"" : extension.substr(1),
                                                                 L"_association.reg");
    if (std::any_of(removals.begin(), removals.end(),
                    [](const KeyRemoval& r) { return r.outcome == KeyRemoval::Outcome::Removed; })) {
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    state.InfoBox->Show(ClassRemovalText(removals, hives, extension, state.UndoFolder));
    Panel4Enter();
}

}  // namespace taliveer
