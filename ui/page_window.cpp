#include "ui/page_window.h"

#include <stdexcept>

namespace taliveer {

namespace {
constexpr wchar_t kPageClass[] = L"TaliveerPage";
}

PageWindow::PageWindow(HWND parent, int id, int x, int y, int width, int height) {
    RegisterClassOnce(kPageClass, 0, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    Create(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y,
           width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!hwnd_) throw std::runtime_error("a page could not be created");
}

LRESULT PageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
        return ::SendMessageW(::GetParent(hwnd_), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Radio buttons and plain texts on the white page.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    case WM_MOUSEMOVE:
        if (onMouseMove) onMouseMove();
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace taliveer
