// Rules of the uninstall page that need no system: the command, the date, the filters and
// the count text. Upper-casing here changes ASCII letters only. Pure.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

enum class UninstallFilter { All, NoWindowsUpdates, ToolbarsOnly };

inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr wchar_t kToolbarKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar\\";

// The quiet command when there is one, else the plain one.
std::wstring ChooseUninstallCommand(std::wstring_view quiet, std::wstring_view plain);

// YYYYMMDD -> YYYY/MM/DD: "/" before the 5th and then the 8th character (appended where the
// text is too short); empty text and text with a "/" unchanged.
std::wstring FormatInstallDate(std::wstring_view date);

// A release type containing HOTFIX or UPDATE, or a name containing "(KB", in any case.
bool IsWindowsUpdate(std::wstring_view releaseType, std::wstring_view name);

// TOOLBAR in the key name, the name or the command (any case), or a registered toolbar name
// inside the key name exactly as written, or inside the name or the command in any case.
bool IsToolbar(std::wstring_view keyName, std::wstring_view name, std::wstring_view command,
               const std::vector<std::wstring>& toolbarNames);

// The uninstall page's replacements in a display name: '"' '[' ']' '{' '}' removed; '\'
// '/' '.' '<' '&' '%' become "_"; ':' ';' '#' '*' become " "; '>' becomes "_ ".
std::wstring CleanUninstallCaption(std::wstring_view caption);

// How an uninstall command is started: a program file and its parameters.
struct UninstallLaunch {
    std::wstring file;
    std::wstring parameters;
};

// Takes an uninstall command apart: its quotes become spaces and it is trimmed (C); then C
// itself when it names an existing file; "MsiExec.exe" in the system folder with C less its
// first 11 characters when C begins with MSIEXEC; else C split at its first "/" (or its last
// space) when ".EXE" comes earlier, or at its first "-" when ".EXE" comes before that, if
// the part before the split exists. Nothing when no rule gives an existing program: the
// caller opens the system's list of programs instead.
std::optional<UninstallLaunch> SplitUninstallCommand(std::wstring_view command, std::wstring_view systemFolder,
                                                     const std::function<bool(const std::wstring&)>& fileExists);

// For a Windows Installer record, "MsiExec.exe /I{product code}" (any letter case, a space
// after /I or not) opens the product's maintenance screen; the same command with /X removes
// it. Every other command, and every command of another record, stays as it is.
std::wstring WindowsInstallerRemoveCommand(std::wstring_view command, bool windowsInstaller);

// What the Windows Installer's exit code means, in plain words; empty for 0.
std::wstring InstallerExitText(std::uint32_t code, std::wstring_view caption);
// True for the codes whose text already says why the record may still be there.
bool ExitCodeExplainsTheRecord(std::uint32_t code);

// The uninstaller ended, but the program's record is still there.
std::wstring RecordStillPresentText(std::wstring_view caption);

// The uninstall page's questions and messages.
std::wstring ConfirmUninstallText(std::wstring_view caption);
std::wstring ConfirmRemoveRecordText(std::wstring_view caption);
// Removing only the record of a Windows Installer product leaves it registered as installed.
std::wstring ConfirmRemoveRecordText(std::wstring_view caption, bool windowsInstaller);
inline constexpr wchar_t kUninstallThroughControlPanel[] = L"请按“确定”，程序将被卸载。";
// The uninstaller the record names could not be started, and why; nothing was changed.
std::wstring UninstallerNotStartedText(std::wstring_view caption, std::wstring_view file, std::wstring_view reason);
// The system's list of programs could not be opened either.
std::wstring ProgramListNotOpenedText(std::wstring_view reason);

// "12 个已安装程序"
std::wstring UninstallCountText(int rows);

}  // namespace taliveer
