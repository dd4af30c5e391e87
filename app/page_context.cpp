#include "app/page_context.h"

#include "app/main_layout.h"

#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/file_system.h"

#include <commctrl.h>

namespace taliveer {

void ClearPage(PageContext& context, int page, PageGeneration& generation) {
    generation.Next();
    ListView_DeleteAllItems(context.controls.Hwnd(ids::InfoList(page)));
    ImageList_RemoveAll(context.imageList);
    context.extracted.clear();
    context.controls.Static(ids::InfoLabel(page)).SetText(InfoLabelStartText(page));
}

bool PumpAndStillWanted(PageContext& context, const PageGeneration& generation, unsigned mine) {
    if (!context.state.Loop.ProcessMessages()) return false;
    // The main window's close frees the shared objects before the window goes.
    const bool windowOpen = context.state.MainWindow != nullptr && context.state.RowIcon != nullptr;
    return windowOpen && generation.current == mine;
}

void ShowUndoLink(PageContext& context, int page) {
    const bool exists = DirectoryExists(context.state.UndoFolder);
    ::ShowWindow(context.controls.Hwnd(ids::UndoLabel(page)), exists ? SW_SHOW : SW_HIDE);
}

int AddFileIcon(PageContext& context, const std::wstring& file) {
    const std::wstring source = FileExists(file) ? LocaleUpperCase(file) : std::wstring();
    auto known = context.extracted.find(source);
    if (known == context.extracted.end()) {
        HICON icon = GetFileIcon(*context.state.RowIcon, file);
        known = context.extracted.emplace(source, UniqueHIcon(icon ? ::CopyIcon(icon) : nullptr)).first;
    }
    // The list copies the icon: every row keeps an image of its own.
    return known->second ? ImageList_AddIcon(context.imageList, known->second.get()) : -1;
}

int AddRowIcon(PageContext& context, const std::wstring& commandOrLocation) {
    const SharedState& state = context.state;
    const PrefixFolders prefixes{state.WindowsFolder, state.ProfileFolder};
    return AddFileIcon(context, ExtractProgramFile(commandOrLocation, prefixes, &LocaleUpperCase));
}

}  // namespace taliveer
