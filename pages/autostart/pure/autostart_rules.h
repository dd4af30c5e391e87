// Texts and keys of the autostart page. Pure.
#pragma once

#include <string>

namespace taliveer {

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\";
inline constexpr wchar_t kMsConfigKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";
inline constexpr wchar_t kWow64RunKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr wchar_t kAllUsers[] = L"All users";
inline constexpr wchar_t kDisabled[] = L"Disabled";

// "12 个自动启动程序, 2 disabled"; without the disabled part when there are none.
std::wstring AutostartCountText(int rows, int disabled);

// True for a file name that ends in ".lnk" in any case (the folder search also matches
// longer extensions through short names).
bool IsShortcutName(const std::wstring& fileName);

}  // namespace taliveer
