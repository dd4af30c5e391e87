// Switching autostart entries off and on the way Windows does it. Pure.
//
// Since Windows 8 the entry stays where it is and its state is a 12-byte REG_BINARY value of
// the same name under the hive's StartupApproved key: bit 0 of the first byte set means off
// (Task Manager writes 03, three zero bytes and the FILETIME of the moment it was switched
// off), clear means on (02 and eleven zero bytes; Windows itself also writes 06 and 07, whose
// other bits are kept). No value means on. Windows 7 has no such key: its system configuration
// tool moves the entry under MSConfig\startupreg\<name> and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

inline constexpr size_t kApprovalSize = 12;

// The "on" form Windows writes, which means the same as no value at all.
std::vector<std::uint8_t> ApprovalOnDefault();
// The value that switches an entry off: the first byte of a 12-byte value now held with bit 0
// set (02 when there is none, or it is not 12 bytes), then three zero bytes and `fileTime`.
std::vector<std::uint8_t> ApprovalOffBytes(const std::vector<std::uint8_t>* now, std::uint64_t fileTime);
// The value that switches an entry on: the first byte of the value now held with bit 0
// cleared (07 becomes 06), then eleven zero bytes.
std::vector<std::uint8_t> ApprovalOnBytes(const std::vector<std::uint8_t>& now);

// How an entry of a source is switched.
enum class SwitchWay {
    Approval,        // the StartupApproved value of the entry's hive
    MoveToMsConfig,  // Windows 7, switching off: the value moves under startupreg
    MoveBack,        // an item of the system configuration tool, switching on: back where it came from
    RunsOnce,        // refused: a RunOnce entry has no such state
    LegacyShortcut,  // refused: on Windows 7 a Startup shortcut can be removed, not switched off
    AlreadyThere,    // nothing to do: an item of the system configuration tool is off already
    Nothing,
};
SwitchWay SwitchWayOf(wchar_t digit, bool switchOn, bool startupApproved);

// The source an item of the system configuration tool came from, by its "hkey" and "key"
// values ("HKLM"/"HKEY_LOCAL_MACHINE", a Run, RunOnce or Wow6432Node Run key, with or without
// a trailing backslash, any letter case); nothing for any other place, which is never written.
std::optional<wchar_t> SourceOfMsConfigItem(std::wstring_view hkey, std::wstring_view key);
// What the system configuration tool writes for an entry of a Run key source: "HKCU" or "HKLM",
// and the key without its trailing backslash.
std::wstring MsConfigHiveText(wchar_t digit);
std::wstring MsConfigKeyText(wchar_t digit);

inline constexpr wchar_t kSwitchOff[] = L"禁用";
inline constexpr wchar_t kSwitchOn[] = L"启用";
inline constexpr wchar_t kRunsOnceText[] = L"只在下次登录时运行一次，可以删除，但不能禁用";
inline constexpr wchar_t kLegacyShortcutText[] = L"在 Windows 7 上启动文件夹中的快捷方式可以删除，但不能禁用";
inline constexpr wchar_t kSelectProgramToSwitch[] = L"请选择一个程序。";
inline constexpr wchar_t kWineIgnoresApproval[] =
    L"注意: Wine 不读取 Windows 的启用状态，在 Wine 下禁用的项目登录时仍会启动。";

// An entry that was not switched, and why.
struct NotSwitched {
    std::wstring name;
    std::wstring reason;
};

// What the user is told after switching: how many were switched and where their previous
// state was saved, each one that was not with its reason, and the note that Wine ignores the
// state when it was written there.
struct SwitchSummary {
    bool on = false;
    int switched = 0;
    int unchanged = 0;  // already in that state
    std::wstring backupFiles;
    std::vector<NotSwitched> failures;
    bool wineIgnoresIt = false;
};
std::wstring SwitchReportText(const SwitchSummary& summary);

// The button's caption for the rows it would act on: "启用" when every one is off, else "禁用".
std::wstring SwitchCaption(const std::vector<bool>& rowsOff);

// The question before a program is added whose name Windows keeps switched off.
std::wstring StaleApprovalQuestion(std::wstring_view name);

}  // namespace taliveer
