// Tab switching and the hover rules of the image buttons.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "pages/associations/association_page.h"
#include "pages/autostart/autostart_page.h"
#include "pages/processes/process_page.h"
#include "pages/uninstall/uninstall_page.h"

namespace taliveer {

void TForm1::TabLabelClick(int tab) {
    // The highlight moves under the clicked label.
    HWND tabImage = controls_->Hwnd(ids::kTabImage);
    const RECT before = ChildRect(tabImage);
    PlaceTabImage(tab);
    RECT moved;
    const RECT after = ChildRect(tabImage);
    ::UnionRect(&moved, &before, &after);
    controls_->RepaintLabelsOver(hwnd_, moved);

    // The clicked label turns blue, the others black.
    for (int other = 1; other <= 4; ++other) {
        controls_->Static(ids::TabLabel(other)).SetTextColour(other == tab ? kHighlightBlue : kBlack);
    }
    // Only the process page keeps its refresh timer; its page routine switches it on.
    if (tab != 3) SetPanel3Timer(false);

    // The page routine rebuilds the page and brings it to the front.
    switch (tab) {
    case 1: autostart_->Panel1Enter(); break;
    case 2: uninstall_->Panel2Enter(); break;
    case 3: processes_->Panel3Enter(); break;
    default: associations_->Panel4Enter(); break;
    }
    // The association page gathers under the wait box, which may have come in front.
    if (tab == 4) BringPageToFront(4);
}

void TForm1::BringPageToFront(int page) {
    ::SetWindowPos(controls_->Hwnd(ids::Panel(page)), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TForm1::PageInFront() const {
    // The first page found from the top of the z-order.
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        for (int page = 1; page <= kPageCount; ++page) {
            if (child == controls_->Hwnd(ids::Panel(page))) return page;
        }
    }
    return 0;
}

void TForm1::SetPanel3Timer(bool on) {
    if (on == panel3TimerOn_) return;
    panel3TimerOn_ = on;
    if (on) {
        ::SetTimer(hwnd_, kPanel3TimerId, kPanel3Interval, nullptr);
    } else {
        ::KillTimer(hwnd_, kPanel3TimerId);
    }
}

namespace {
// The control's own visibility, whether or not its window is on screen yet.
bool Shown(HWND hwnd) { return (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }
}  // namespace

bool TForm1::ButtonLit(int page, int button) const { return Shown(controls_->Hwnd(ids::ButtonB(page, button))); }

void TForm1::SetButtonLit(int page, int button, bool lit) {
    HWND a = controls_->Hwnd(ids::ButtonA(page, button));
    HWND b = controls_->Hwnd(ids::ButtonB(page, button));
    ::ShowWindow(lit ? b : a, SW_SHOWNA);
    ::ShowWindow(lit ? a : b, SW_HIDE);
    StaticControl& label = controls_->Static(ids::ButtonLabel(page, button));
    label.SetTextColour(lit ? kHighlightBlue : kBlack);
    ::InvalidateRect(label.hwnd(), nullptr, FALSE);  // its backdrop changed with the picture
}

void TForm1::ButtonMouseMove(int page, int button) {
    if (ButtonLit(page, button)) return;
    ResetPage(page);
    SetButtonLit(page, button, true);
}

void TForm1::PanelMouseMove(int page) { ResetPage(page); }

void TForm1::ResetPage(int page) {
    for (int button = 1; button <= ButtonCount(page); ++button) {
        if (!Shown(controls_->Hwnd(ids::ButtonA(page, button)))) SetButtonLit(page, button, false);
    }
}

}  // namespace taliveer
