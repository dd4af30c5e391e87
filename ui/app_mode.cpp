#include "ui/app_mode.h"

#include "services/unique_handle.h"

#include <optional>

namespace taliveer {

Skin CurrentAppSkin() {
    // The user's own key, in the 64-bit view whatever the build (Wine may give a 32-bit
    // program a redirected copy of HKCU\Software).
    UniqueHKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) !=
        ERROR_SUCCESS) {
        return SkinOfAppMode(std::nullopt);
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key.get(), kAppsUseLightTheme, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return SkinOfAppMode(std::nullopt);
    }
    return SkinOfAppMode(value);
}

bool IsAppModeChange(UINT message, LPARAM lParam) {
    if (message != WM_SETTINGCHANGE || !lParam) return false;
    return std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)) == kAppModeChange;
}

}  // namespace taliveer
