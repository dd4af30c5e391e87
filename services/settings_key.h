// The program's one settings key under HKEY_CURRENT_USER: two flags that say whether the
// promotion windows still appear at exit.
#pragma once

namespace taliveer {

inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Corvantis\\Taliveer";

}  // namespace taliveer
