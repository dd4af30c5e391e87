#include "app/page_context.h"

#include "app/main_layout.h"

#include "services/command_line.h"
#include "services/file_icon.h"

#include <commctrl.h>

namespace taliveer {

void ClearPage(PageContext& context, int page) {
    ListView_DeleteAllItems(context.controls.Hwnd(ids::InfoList(page)));
    ImageList_RemoveAll(context.imageList);
    context.controls.Static(ids::InfoLabel(page)).SetText(InfoLabelStartText(page));
}

int AddFileIcon(PageContext& context, const std::wstring& file) {
    HICON icon = GetFileIcon(*context.state.RowIcon, file);
    return icon ? ImageList_AddIcon(context.imageList, icon) : -1;
}

int AddRowIcon(PageContext& context, const std::wstring& commandOrLocation) {
    const SharedState& state = context.state;
    const PrefixFolders prefixes{state.WindowsFolder, state.ProfileFolder};
    return AddFileIcon(context, ExtractProgramFile(commandOrLocation, prefixes, &LocaleUpperCase));
}

}  // namespace taliveer
