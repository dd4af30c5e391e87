// Windows' app mode (light or dark, Windows 10 and later), which chooses the skin, and the
// message that says it changed.
#pragma once

#include "ui/pure/skin.h"

#include <windows.h>

namespace taliveer {

inline constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr wchar_t kAppsUseLightTheme[] = L"AppsUseLightTheme";

// The skin the user's app mode asks for; light where the value is missing or unreadable.
Skin CurrentAppSkin();
// True for a WM_SETTINGCHANGE whose text says the app mode may have changed.
bool IsAppModeChange(UINT message, LPARAM lParam);

}  // namespace taliveer
