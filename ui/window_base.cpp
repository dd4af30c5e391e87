#include "ui/window_base.h"

#include "services/reg_unit.h"

#include <exception>
#include <string>

namespace taliveer {

WindowBase::~WindowBase() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void WindowBase::RegisterClassOnce(const wchar_t* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &WindowBase::Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    ::RegisterClassExW(&wc);
}

HWND WindowBase::Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                        int y, int width, int height, HWND parent, HMENU idOrMenu) {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, idOrMenu,
                             ::GetModuleHandleW(nullptr), this);
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    WindowBase* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<WindowBase*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    const LRESULT result =
        GuardedDispatch(message, [&] { return self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnWindowGone();
    }
    return result;
}

LRESULT SafeResult(UINT message) noexcept {
    switch (message) {
    case WM_NCCREATE: return FALSE;
    case WM_CREATE: return -1;
    default: return 0;
    }
}

void ShowExceptionBox(const wchar_t* text) noexcept {
    // The application's standard error box: the system's, owned by the active window.
    ::MessageBoxW(::GetActiveWindow(), text, L"Taliveer", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ShowCurrentException() noexcept {
    try {
        throw;
    } catch (const RegistryError& e) {
        ShowExceptionBox(e.Message().c_str());
    } catch (const std::exception& e) {
        std::wstring text;
        for (const char* p = e.what(); *p; ++p) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
        ShowExceptionBox(text.c_str());
    } catch (...) {
        ShowExceptionBox(L"Unexpected error");
    }
}

}  // namespace taliveer
