// The program's one gateway to the registry. Each operation opens its key for the one
// call and closes it before returning; a key or value that cannot be opened or found gives
// the empty result. Operations ending in 64 use the 64-bit registry view.
#pragma once

#include "services/pure/reg_script.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

using StringList = std::vector<std::wstring>;

// Raised by the value writes and ReadRegFlag; reaches the application's error box.
class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

int ReadKeyNames(HKEY root, std::wstring_view path, StringList& names);
int ReadKeyNames64(HKEY root, std::wstring_view path, StringList& names);
int ReadValueNames(HKEY root, std::wstring_view path, StringList& names);
int ReadValueNames64(HKEY root, std::wstring_view path, StringList& names);
std::wstring ReadRegString(HKEY root, std::wstring_view path, std::wstring_view valueName);
std::wstring ReadRegString64(HKEY root, std::wstring_view path, std::wstring_view valueName);
bool ReadRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName);
void WriteRegString(HKEY root, std::wstring_view path, std::wstring_view valueName,
                    std::wstring_view text);
void WriteRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName, bool flag);
bool RegKeyExists(HKEY root, std::wstring_view path);
bool RegValueExists(HKEY root, std::wstring_view path, std::wstring_view valueName);
bool DeleteRegKey(HKEY root, std::wstring_view path);
bool DeleteRegKey64(HKEY root, std::wstring_view path);
bool DeleteRegValue(HKEY root, std::wstring_view path, std::wstring_view valueName);

// For backups, in the 64-bit view: one value with its type and exact bytes (false when it
// does not exist), and every value of a key in the registry's order (false when the key
// cannot be opened).
bool ReadValueData64(HKEY root, std::wstring_view path, std::wstring_view valueName, RegValueData& value);
bool ReadAllValues64(HKEY root, std::wstring_view path, std::vector<RegValueData>& values);

}  // namespace taliveer
