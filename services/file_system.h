// Small questions to the file system and the user's locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);

// A whole file of at most 64 MB; false (and the system's error code) when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes, unsigned long* error = nullptr);

// Upper-cases with the user's locale (the system's own rules, beyond ASCII).
std::wstring LocaleUpperCase(std::wstring_view text);

}  // namespace taliveer
