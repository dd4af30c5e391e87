#include "ui/dark_controls.h"

#include "services/library_loading.h"
#include "services/system_version.h"

namespace taliveer {

bool SystemHasDarkControlThemes() {
    static const bool has = [] {
        const SystemVersion system = CurrentSystemVersion();
        return !system.wine && system.major >= 10 && system.build >= 17763;
    }();
    return has;
}

void UseDarkControlTheme(HWND control, bool dark) {
    if (!SystemHasDarkControlThemes()) return;
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    // uxtheme is no known system DLL: it comes from the system folder by its own path.
    if (const auto setTheme = SystemFunction<SetWindowThemeFn>(L"uxtheme.dll", "SetWindowTheme")) {
        setTheme(control, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
    }
}

void UseDarkTitleBar(HWND window, bool dark) {
    if (!SystemHasDarkControlThemes()) return;
    using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    if (const auto setAttribute = SystemFunction<DwmSetWindowAttributeFn>(L"dwmapi.dll", "DwmSetWindowAttribute")) {
        // DWMWA_USE_IMMERSIVE_DARK_MODE: 20 since Windows 10 20H1, 19 before it.
        const BOOL value = dark ? TRUE : FALSE;
        if (FAILED(setAttribute(window, 20, &value, sizeof value))) setAttribute(window, 19, &value, sizeof value);
    }
}

}  // namespace taliveer
