#include "ui/window_dpi.h"

namespace taliveer {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// user32 is loaded with the exe; the function is looked up because Windows 7 and 8.1 lack it.
GetDpiForWindowFunction DpiForWindowFunction() {
    static const auto function = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return function;
}

int Sane(int dpi) { return dpi >= 48 && dpi <= 960 ? dpi : kBaseDpi; }

}  // namespace

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return kBaseDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return Sane(dpi);
}

int WindowDpi(HWND window) {
    if (window) {
        if (const auto function = DpiForWindowFunction()) {
            if (const UINT dpi = function(window)) return Sane(static_cast<int>(dpi));
        }
    }
    return SystemDpi();
}

int DpiForWindowOver(HWND over) { return over && ::IsWindow(over) ? WindowDpi(over) : SystemDpi(); }

}  // namespace taliveer
