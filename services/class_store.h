// The file classes as Windows merges them into HKEY_CLASSES_ROOT: the user's
// (HKCU\Software\Classes) over the machine's (HKLM\Software\Classes). Each is read where it
// lives, so that the page is right on Windows and under Wine, whose HKEY_CLASSES_ROOT shows
// the machine's classes only.
#pragma once

#include "services/pure/extension_merge.h"
#include "services/reg_unit.h"

#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

enum class ClassHive { User, Machine };

inline constexpr wchar_t kUserClasses[] = L"Software\\Classes\\";
inline constexpr wchar_t kMachineClasses[] = L"SOFTWARE\\Classes\\";

HKEY ClassRoot(ClassHive hive);
// The path of a class key below ClassRoot(hive); "" names the classes key itself.
std::wstring ClassPath(ClassHive hive, std::wstring_view key);
bool ClassKeyIn(ClassHive hive, std::wstring_view key);
// Whether the hive holds the key, as the system says it: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND
// (or ERROR_PATH_NOT_FOUND) when it has none, or why it cannot be read (ERROR_ACCESS_DENIED).
// For actions, which must not take a key they cannot read for one that is gone.
LSTATUS ClassKeyStatus(ClassHive hive, std::wstring_view key);
// The key's full name for messages: HKEY_CURRENT_USER\Software\Classes\.txt.
std::wstring ClassKeyName(ClassHive hive, std::wstring_view key);

// A value's text as Windows shows it in HKEY_CLASSES_ROOT: the user's when the user's key
// holds the value, else the machine's.
std::wstring ReadClassString(std::wstring_view key, std::wstring_view valueName);

// A class key opened once in each hive for several reads, and its subkeys opened from it
// (a subkey the user's hive cannot hold costs no lookup there): String reads as
// ReadClassString does. An empty key names the classes key itself.
class ClassKeys;
class ClassKeyReader {
public:
    // With `keys`, the user's hive is looked in only where it holds the key's first part.
    explicit ClassKeyReader(std::wstring_view key, const ClassKeys* keys = nullptr);
    ClassKeyReader(const ClassKeyReader& parent, std::wstring_view subkey);
    std::wstring String(std::wstring_view valueName) const;

private:
    RegKeyReader user_;
    RegKeyReader machine_;
};

// The top-level class keys of the user's hive, read once for a gather, and the extensions of
// both hives.
class ClassKeys {
public:
    ClassKeys();
    // Every extension (a key name beginning with ".") of either hive, each once, in the
    // order of names without regard to letter case; the user's spelling where both hold it.
    // Reads the machine's classes whole.
    std::vector<std::wstring> Extensions() const;
    // The same extensions given one by one while the machine's names are read, so that the
    // first ones come before the machine's many other classes are read.
    ExtensionMerge MergedExtensions() const;
    // Whether the user's hive has a top-level key named as the first part of `key`.
    bool InUserHive(std::wstring_view key) const;

private:
    std::vector<std::wstring> userKeys_;        // in caseless order
    std::vector<std::wstring> userExtensions_;  // in caseless order
};

std::vector<std::wstring> ClassExtensions();

// The program a user chose for an extension in Windows' "Open with"
// (FileExts\<extension>\UserChoice), which Windows runs whatever the extension's own file type
// says; empty when none. The FileExts key is opened once for all the reads.
class UserChoices {
public:
    UserChoices();
    std::wstring ProgIdOf(std::wstring_view extension) const;

private:
    RegKeyReader fileExts_;
};
std::wstring UserChoiceProgId(std::wstring_view extension);

// True when the program runs with administrator rights (elevated), where a new association
// goes into the machine's classes, as HKEY_CLASSES_ROOT puts it.
bool RunsElevated();

}  // namespace taliveer
