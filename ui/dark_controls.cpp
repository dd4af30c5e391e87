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

}  // namespace taliveer
