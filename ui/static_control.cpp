#include "ui/static_control.h"

#include "ui/accessible_role.h"

#include "services/unique_handle.h"
#include "ui/window_base.h"

#include <commctrl.h>

namespace taliveer {

namespace {
constexpr UINT_PTR kSubclassId = 0x54414C;  // "TAL"
}

StaticControl::StaticControl(HWND hwnd, Role role, const Backdrop* backdrop)
    : hwnd_(hwnd), role_(role), backdrop_(backdrop) {
    ::SetWindowSubclass(hwnd_, &StaticControl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

StaticControl::~StaticControl() {
    if (hwnd_ && ::IsWindow(hwnd_)) ::RemoveWindowSubclass(hwnd_, &StaticControl::SubclassProc, kSubclassId);
}

void StaticControl::SetFont(HFONT font) {
    font_ = font;
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitToText();
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void StaticControl::SetTextColour(COLORREF colour) {
    if (colour_ == colour) return;
    colour_ = colour;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void StaticControl::SetAutoSize(AutoSize mode) {
    autoSize_ = mode;
    FitToText();
}

void StaticControl::SetText(std::wstring_view text) {
    if (Text() == text) return;  // a count label rewritten every few seconds must not flicker
    const std::wstring copy(text);
    ::SetWindowTextW(hwnd_, copy.c_str());
    FitToText();
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

std::wstring StaticControl::Text() const {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void StaticControl::SetBitmap(HBITMAP bitmap) {
    bitmap_ = bitmap;
    ::SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void StaticControl::FitToText() {
    if (role_ != Role::Label || autoSize_ == AutoSize::None) return;
    const std::wstring text = Text();
    WindowDc screen(hwnd_);
    SelectInDc font(screen.get(), font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    RECT rc;
    ::GetWindowRect(hwnd_, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
    const int width = extent.cx;
    const int left = autoSize_ == AutoSize::KeepRight ? rc.right - width : rc.left;
    if (left == rc.left && rc.left + width == rc.right) return;
    ::SetWindowPos(hwnd_, nullptr, left, rc.top, width, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void StaticControl::PaintLabel(HDC target) const {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    const int width = rc.right;
    const int height = rc.bottom;
    if (width <= 0 || height <= 0) return;

    UniqueMemoryDc dc(::CreateCompatibleDC(target));
    UniqueHBitmap surface(::CreateCompatibleBitmap(target, width, height));
    SelectInDc keepSurface(dc.get(), surface.get());
    if (backdrop_) {
        backdrop_->PaintBehind(dc.get(), *this);
    } else {
        ::FillRect(dc.get(), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    }

    SelectInDc keepFont(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc.get(), TRANSPARENT);
    const COLORREF shown = backdrop_ ? backdrop_->ShownText(colour_) : colour_;
    ::SetTextColor(dc.get(), ::IsWindowEnabled(hwnd_) ? shown : ::GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = Text();
    const bool wrap = (drawFlags_ & DT_WORDBREAK) != 0;
    RECT textRect = rc;
    UINT flags = drawFlags_ | DT_NOPREFIX;
    if (verticalCentre_) {
        if (wrap) {
            RECT measure = rc;
            ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measure, flags | DT_CALCRECT);
            const int textHeight = measure.bottom - measure.top;
            if (textHeight < height) textRect.top = (height - textHeight) / 2;
        } else {
            flags |= DT_VCENTER | DT_SINGLELINE;
        }
    } else if (!wrap) {
        flags |= DT_SINGLELINE;
    }
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &textRect, flags);
    // A label that has the keyboard focus (an image button's caption) shows the focus cue.
    if (::GetFocus() == hwnd_) {
        RECT cue = rc;
        ::InflateRect(&cue, -1, -1);
        ::DrawFocusRect(dc.get(), &cue);
    }
    ::BitBlt(target, 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK StaticControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR refData) noexcept {
    auto* self = reinterpret_cast<StaticControl*>(refData);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &StaticControl::SubclassProc, kSubclassId);
        self->hwnd_ = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return GuardedDispatch(message, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT StaticControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        if (passThrough) {
            const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (passThrough(pt)) return HTTRANSPARENT;
        }
        break;
    case WM_SETCURSOR:
        if (hand_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (onMouseMove) onMouseMove();
        break;
    case WM_ERASEBKGND:
        if (role_ == Role::Label) return 1;
        break;
    case WM_PAINT:
        if (role_ == Role::Label) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            PaintLabel(dc);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (accessibleRole_ != 0 && static_cast<LONG>(lParam) == OBJID_CLIENT) {
            if (const LRESULT object = AccessibleWithRole(hwnd_, wParam, accessibleRole_)) return object;
        }
        break;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (role_ == Role::Label) ::InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

}  // namespace taliveer
