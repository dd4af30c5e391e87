// Texts and keys of the autostart page. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The short form of an entry's name that names its backup file: the text between a leading
// pair of double quotes (a doubled quote inside counts as one; without a closing quote every
// quote goes), then cut before ".EXE" in any letter case and before the first backslash.
std::wstring CleanedAutostartName(std::wstring_view name);

// The name a program is added under: its path's file name, after the last backslash or
// colon, extension included.
std::wstring ProgramValueName(std::wstring_view path);

// How an entry of each source is removed, and where it lives.
enum class AutostartRemoval { Value, DisabledItem, UserShortcut, CommonShortcut, Nothing };
struct AutostartPlace {
    AutostartRemoval removal = AutostartRemoval::Nothing;
    bool machine = false;       // HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
    const wchar_t* key = L"";   // the key of a value, the parent key of a disabled item
};
AutostartPlace PlaceOfSource(wchar_t digit);

// Where Task Manager and Settings keep an entry's enabled state (64-bit view): a REG_BINARY
// value named like the entry (the file name for a Startup folder's) under this key of the
// same hive. The user's and the machine's Run values go under "Run", the 32-bit Run values
// under "Run32", the Startup folders' files under "StartupFolder". Empty for the sources
// Windows keeps no such state for (RunOnce, the disabled items).
inline constexpr wchar_t kStartupApprovedKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
std::wstring StartupApprovedKeyOf(wchar_t digit);

// An odd first byte (03, 07, ...) means disabled; an even one, or no data, enabled.
bool IsApprovalDisabled(const std::vector<std::uint8_t>& data);

inline constexpr wchar_t kSelectProgramToRemove[] = L"请选择一个程序。";
inline constexpr wchar_t kConfirmRemoveEntries[] = L"你确定要从启动项中删除该项目?";
inline constexpr wchar_t kRemovedWithBackup[] = L"记录被成功删除，创建撤消文件。";
inline constexpr wchar_t kSpecifyProgram[] = L"Please specify a program!";
inline constexpr wchar_t kFileNotFound[] = L"File not found!";

// An entry that was not removed, and why.
struct NotRemoved {
    std::wstring name;
    std::wstring reason;
};

// The outcome of a removal that did not go wholly well: what was removed and saved where,
// then each entry that was not removed with its reason.
std::wstring PartialRemovalText(int removed, std::wstring_view backupFiles, const std::vector<NotRemoved>& failures);


}  // namespace taliveer
