#include "app/page_context.h"

#include "app/main_layout.h"

#include <commctrl.h>

namespace taliveer {

void ClearPage(PageContext& context, int page) {
    ListView_DeleteAllItems(context.controls.Hwnd(ids::InfoList(page)));
    ImageList_RemoveAll(context.imageList);
    context.controls.Static(ids::InfoLabel(page)).SetText(InfoLabelStartText(page));
}

}  // namespace taliveer
