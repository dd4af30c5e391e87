// The main window's pages are built when first needed: what lies on the three pages behind
// the first one costs the start-up nothing.
#include "app/main_layout.h"
#include "app/main_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <vector>

namespace taliveer {

void TForm1::BuildPageOf(int id) {
    for (const ControlSpec& row : MainWindowLayout()) {
        if (row.id != id) continue;
        if (row.parentId != 0) BuildPage((row.parentId - ids::Panel(0)) / 100);
        return;
    }
}

void TForm1::BuildPage(int page) {
    if (page < 1 || page > kPageCount || PageBuilt(page)) return;
    pageBuilt_[static_cast<size_t>(page)] = true;
    std::vector<ControlSpec> rows;
    for (const ControlSpec& row : MainWindowLayout()) {
        if (row.parentId == ids::Panel(page)) rows.push_back(row);
    }
    FormControls& c = *controls_;
    c.Build(rows, RGB(255, 255, 255), true);

    HWND list = c.Hwnd(ids::InfoList(page));
    AddListColumns(list, PageColumns(page), Scale());
    ListView_SetImageList(list, imageList1_.get(), LVSIL_SMALL);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_DOUBLEBUFFER, LVS_EX_DOUBLEBUFFER);

    // What the skinned labels are to accessibility tools, and the image buttons' skins and
    // hover rule.
    if (page != 3) {
        c.Static(ids::UndoLabel(page)).SetAccessibleRole(ROLE_SYSTEM_LINK);
        c.Static(ids::RestoreLabel(page)).SetAccessibleRole(ROLE_SYSTEM_LINK);
    }
    for (int button = 1; button <= ButtonCount(page); ++button) {
        c.Static(ids::ButtonLabel(page, button)).SetAccessibleRole(ROLE_SYSTEM_PUSHBUTTON);
        if (buttonA_) c.Static(ids::ButtonA(page, button)).SetBitmap(buttonA_.get());
        if (buttonB_) c.Static(ids::ButtonB(page, button)).SetBitmap(buttonB_.get());
        for (int id : {ids::ButtonA(page, button), ids::ButtonB(page, button), ids::ButtonLabel(page, button)}) {
            c.Static(id).onMouseMove = [this, page, button] { ButtonMouseMove(page, button); };
        }
    }
}

}  // namespace taliveer
