// The file classes as Windows merges them into HKEY_CLASSES_ROOT: the user's
// (HKCU\Software\Classes) over the machine's (HKLM\Software\Classes). Each is read where it
// lives, so that the page is right on Windows and under Wine, whose HKEY_CLASSES_ROOT shows
// the machine's classes only.
#pragma once

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

// A value's text as Windows shows it in HKEY_CLASSES_ROOT: the user's when the user's key
// holds the value, else the machine's.
std::wstring ReadClassString(std::wstring_view key, std::wstring_view valueName);

// Every extension (a key name beginning with ".") of either hive, each once, in the order of
// names without regard to letter case.
std::vector<std::wstring> ClassExtensions();

// The program a user chose for the extension in Windows' "Open with" (FileExts\...\UserChoice),
// which Windows runs whatever the extension's own file type says; empty when none.
std::wstring UserChoiceProgId(std::wstring_view extension);

// True when the program runs with administrator rights (elevated), where a new association
// goes into the machine's classes, as HKEY_CLASSES_ROOT puts it.
bool RunsElevated();

}  // namespace taliveer
