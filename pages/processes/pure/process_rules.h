// Rules of the process page that need no system: which processes are listed, how their
// paths are shown, the priority and count texts. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

// Not listed: a name containing "SYSTEM" (ASCII letters in any case), an empty path, a
// path without ":\".
bool IsProcessHidden(std::wstring_view exeName, std::wstring_view path);

// A leading "?" becomes "C"; every "\??\" goes.
std::wstring CleanImagePath(std::wstring_view path);

// "High" when the low eight bits of the priority class are HIGH_PRIORITY_CLASS (0x80),
// "Normal" for everything else.
const wchar_t* PriorityText(std::uint32_t priorityClass);

// "12 个程序工作"
std::wstring ProcessCountText(int rows);

inline constexpr wchar_t kSelectProgramToEnd[] = L"请选择一个程序从内存中卸载!";
inline constexpr wchar_t kUseTheCloseButton[] = L"如果你想关闭程序，按“关闭”按钮!";

// "您确定要卸载 "<name>" 从内存?"
std::wstring ConfirmEndText(std::wstring_view exeName);

// Processes whose end stops Windows at once (ASCII letters in any case); the list stands in
// where the system cannot say which processes it marks critical.
bool IsCriticalSystemProcessName(std::wstring_view exeName);

// A program of the system folder whose end takes Windows down: csrss, wininit, smss,
// services, lsass, winlogon, svchost, fontdrvhost, dwm, lsaiso (".exe", any letter case) in
// `systemFolder` itself (ending with a backslash), matched by full path: the same name
// elsewhere is not Windows'.
bool IsWindowsCriticalProgram(std::wstring_view path, std::wstring_view systemFolder);

// The folders the running copies of one program come from, with how many run from each:
// "C:\\Tools\\ (1 个)"; each folder once, in the order first seen, compared in any case.
struct FolderCount {
    std::wstring folder;
    int count = 0;
};
std::vector<FolderCount> CountByFolder(const std::vector<std::wstring>& paths);

// The question before ending; when the copies come from more than one folder it names each
// with its count, so that the user sees what will end.
std::wstring ConfirmEndText(std::wstring_view exeName, const std::vector<FolderCount>& folders);

inline constexpr wchar_t kNoProcessSnapshot[] = L"无法读取正在运行的程序列表，没有结束任何进程。";

// One instance that was not ended, and why.
struct EndFailure {
    std::uint32_t id = 0;
    bool critical = false;   // refused: Windows needs it
    std::wstring reason;     // the system's error text otherwise
};

// Names the instances of `exeName` that are still running, with their count and why each
// is: "无法结束 2 个 "x.exe" 进程:" and one line per instance.
std::wstring EndFailureText(std::wstring_view exeName, const std::vector<EndFailure>& failures);

}  // namespace taliveer
