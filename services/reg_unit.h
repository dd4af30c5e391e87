// The program's one gateway to the registry. Each operation opens its key for the one
// call and closes it before returning (RegKeyReader keeps one open for several reads); a key
// or value that cannot be opened or found gives the empty result.
//
// One rule for the registry view, whatever the build: every key is opened in the 64-bit
// view, the one the system's registry editor shows and puts a backup back into. The keys of
// 32-bit programs are reached by their own path (SOFTWARE\Wow6432Node\...), or, for a source
// that exists to be read that way, by asking for RegView::Bits32. On 64-bit Windows,
// HKCU\Software is shared by both views, so the rule changes nothing there; under Wine a
// 32-bit process's default view of HKCU\Software moves into HKCU\Software\Wow6432Node once
// that key exists, and the 64-bit view is immune to it. On 32-bit Windows the view flags are
// ignored and both views are the one registry.
#pragma once

#include "services/pure/reg_script.h"
#include "services/unique_handle.h"

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
int ReadValueNames(HKEY root, std::wstring_view path, StringList& names);
std::wstring ReadRegString(HKEY root, std::wstring_view path, std::wstring_view valueName);
bool ReadRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName);
void WriteRegString(HKEY root, std::wstring_view path, std::wstring_view valueName,
                    std::wstring_view text);
void WriteRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName, bool flag);
bool RegKeyExists(HKEY root, std::wstring_view path);
bool RegValueExists(HKEY root, std::wstring_view path, std::wstring_view valueName);
// A key with every subkey; a leaf key alone (false when it has subkeys).
bool DeleteRegKey(HKEY root, std::wstring_view path);
bool DeleteRegLeafKey(HKEY root, std::wstring_view path);
bool DeleteRegValue(HKEY root, std::wstring_view path, std::wstring_view valueName);

// The registry view an action works in: the one its row was read from. Bits32 is asked for
// by name only (KEY_WOW64_32KEY), so that it means the same in both builds.
enum class RegView { Bits64, Bits32 };

// For backups: one value with its type and exact bytes (false when it does not exist),
// every value of a key in the registry's order (false when the key cannot be opened), and
// the subkey names of a key.
bool ReadValueData(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view, RegValueData& value);
bool ReadAllValues(HKEY root, std::wstring_view path, RegView view, std::vector<RegValueData>& values);
int ReadKeyNamesIn(HKEY root, std::wstring_view path, RegView view, StringList& names);
int ReadValueNamesIn(HKEY root, std::wstring_view path, RegView view, StringList& names);
std::wstring ReadRegStringIn(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view);
// One key opened once in one view for several reads, each giving what ReadRegStringIn and
// ReadValueData give for it; a key that cannot be opened reads as empty.
class RegKeyReader {
public:
    RegKeyReader() = default;  // not open
    RegKeyReader(HKEY root, std::wstring_view path, RegView view);
    // A subkey of an open key, in its view (not open when the parent is not).
    RegKeyReader(const RegKeyReader& parent, std::wstring_view subkey);
    bool IsOpen() const { return static_cast<bool>(key_); }
    std::wstring String(std::wstring_view valueName) const;
    // Also false when the value is missing; `text` is empty for a value that holds no string.
    bool StringIfPresent(std::wstring_view valueName, std::wstring& text) const;
    bool Data(std::wstring_view valueName, RegValueData& value) const;
    // The name of subkey `index` in the registry's order; false past the last one.
    bool SubkeyName(DWORD index, std::wstring& name) const;

private:
    RegView view_ = RegView::Bits64;
    UniqueHKey key_;
};

// The subkey names; ERROR_SUCCESS only when every one of them was read (a backup must never
// miss a subkey without saying so).
LSTATUS ListSubkeys(HKEY root, std::wstring_view path, RegView view, StringList& names);
// Whether the key can be opened for reading: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when it is
// not there, ERROR_ACCESS_DENIED, ...
LSTATUS RegKeyReadStatus(HKEY root, std::wstring_view path, RegView view);

// Where the key really lives, as a registry script names it: the machine's Wow6432Node key
// for a machine key of the 32-bit view, the user's or the machine's classes for a key of
// HKEY_CLASSES_ROOT. Empty when the key cannot be opened or the system does not say.
std::wstring RealKeyName(HKEY root, std::wstring_view path, RegView view);

// Removals that say how they went: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when there was nothing
// to remove, ERROR_ACCESS_DENIED without the right, ... A tree goes with every subkey, each
// opened in the same view.
LSTATUS RemoveRegValue(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view);
LSTATUS RemoveRegTree(HKEY root, std::wstring_view path, RegView view);
// Writes a string value (creating the key), and says how it went.
LSTATUS SetRegString(HKEY root, std::wstring_view path, std::wstring_view valueName, std::wstring_view text,
                     RegView view);
// Writes a value with its exact type and bytes (creating the key), and says how it went.
LSTATUS SetRegValue(HKEY root, std::wstring_view path, const RegValueData& value, RegView view);

}  // namespace taliveer
