// A page of the main window: a white, borderless child window that holds one page's
// controls. It passes its controls' notifications on to the main window and reports mouse
// moves over its bare surface.
#pragma once

#include "ui/window_base.h"

#include <functional>

namespace taliveer {

class PageWindow : public WindowBase {
public:
    PageWindow(HWND parent, int id, int x, int y, int width, int height);

    std::function<void()> onMouseMove;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace taliveer
