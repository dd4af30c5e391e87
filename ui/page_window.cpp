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

void PageWindow::SetColours(COLORREF surface, COLORREF text) {
    surface_ = surface;
    text_ = text;
    brush_.reset(::CreateSolidBrush(surface));
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT PageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
        return ::SendMessageW(::GetParent(hwnd_), message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        // Radio buttons, plain texts and the search box on the page.
        if (message == WM_CTLCOLOREDIT && !brush_) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, surface_);
        ::SetTextColor(dc, text_);
        return reinterpret_cast<LRESULT>(brush_ ? brush_.get() : ::GetStockObject(WHITE_BRUSH));
    }
    case WM_ERASEBKGND:
        if (!brush_) break;
        {
            RECT rc;
            ::GetClientRect(hwnd_, &rc);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush_.get());
        }
        return 1;
    case WM_MOUSEMOVE:
        if (onMouseMove) onMouseMove();
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace taliveer
