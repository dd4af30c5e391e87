// Small questions to the file system and the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace taliveer {

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);

// Upper-cases with the user's locale (the system's own rules, beyond ASCII).
std::wstring LocaleUpperCase(std::wstring_view text);

}  // namespace taliveer
