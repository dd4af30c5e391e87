// From a command line (a Run value, an uninstall command, a process path, a DefaultIcon
// value) to the file whose icon the row shows. Pure: the locale-aware upper-casing comes in
// as a function, so that these rules also run natively.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace taliveer {

// The folders that replace environment-variable prefixes; both end with a backslash.
struct PrefixFolders {
    std::wstring windowsFolder;
    std::wstring profileFolder;
};

using UpperCaseFunction = std::function<std::wstring(std::wstring_view)>;

// Six prefix rules in order ("%WINDIR%\", "%SYSTEMROOT%\", "%PROGRAMFILES%\",
// "%PROGRAMFILES(X86)%\", "%PROGRAMW6432%\", "%USERPROFILE%\"): a rule fires when its token
// occurs in exactly that case, and then every occurrence in any case is replaced.
std::wstring ExpandPathPrefixes(std::wstring_view text, const PrefixFolders& folders);

// Cuts a command line down to the program or library file it names, upper-cased except for
// the inserted folders. Nothing is looked up on disk.
std::wstring ExtractProgramFile(std::wstring_view commandLine, const PrefixFolders& folders,
                                const UpperCaseFunction& upperCase);

// Upper-cases ASCII letters only.
std::wstring AsciiUpperCase(std::wstring_view text);

}  // namespace taliveer
