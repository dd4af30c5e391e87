// A page of the main window: a borderless child window of the skin's page colour (white in
// the light skin) that holds one page's controls. It passes its controls' notifications on to the main window and reports mouse
// moves over its bare surface.
#pragma once

#include "services/unique_handle.h"
#include "ui/window_base.h"

#include <functional>

namespace taliveer {

class PageWindow : public WindowBase {
public:
    PageWindow(HWND parent, int id, int x, int y, int width, int height);

    std::function<void()> onMouseMove;
    // The page's surface and the texts of the system-drawn controls on it (radio buttons, the
    // search box) in the skin.
    void SetColours(COLORREF surface, COLORREF text);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF surface_ = RGB(255, 255, 255);
    COLORREF text_ = RGB(0, 0, 0);
    UniqueHBrush brush_;
};

}  // namespace taliveer
