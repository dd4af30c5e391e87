#include "app/shared_folders.h"

#include "services/pure/path_text.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace taliveer {
namespace {

constexpr wchar_t kShellFolders[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring SpecialFolder(int csidl) {
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer.data()))) return {};
    return std::wstring(UpToFirstNul(std::wstring_view(buffer.data(), buffer.size())));
}

std::wstring ModuleFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD got = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) return {};
        if (got < buffer.size()) return UpToLastBackslash(std::wstring_view(buffer.data(), got));
        buffer.resize(buffer.size() * 2);  // long paths are cut otherwise
    }
}

template <typename Getter>
std::wstring SystemDirectory(Getter getter) {
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    const UINT got = getter(buffer.data(), static_cast<UINT>(buffer.size()));
    if (got == 0 || got >= buffer.size()) return {};
    return std::wstring(UpToFirstNul(std::wstring_view(buffer.data(), got)));
}

}  // namespace

std::wstring FindUserStartupFolder() {
    std::wstring folder = SpecialFolder(CSIDL_STARTUP);
    if (folder.empty()) folder = ReadRegString(HKEY_CURRENT_USER, kShellFolders, L"Startup");
    if (folder.empty()) folder = ReadRegString(HKEY_CURRENT_USER, kShellFolders, L"AltStartup");
    return WithTrailingBackslash(folder);
}

std::wstring FindCommonStartupFolder() {
    std::wstring folder = SpecialFolder(CSIDL_COMMON_STARTUP);
    if (folder.empty()) folder = ReadRegString(HKEY_LOCAL_MACHINE, kShellFolders, L"Startup");
    if (folder.empty()) folder = ReadRegString(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Startup");
    return WithTrailingBackslash(folder);
}

void FillUserAndFolders(SharedState& state) {
    std::vector<wchar_t> name(260, L'\0');
    DWORD count = 259;
    state.UserName.clear();
    if (::GetUserNameW(name.data(), &count) && count > 0) {
        // The count includes the terminating NUL.
        state.UserName.assign(name.data(), std::min<size_t>(count - 1, name.size()));
    }
    state.ProgramFolder = WithTrailingBackslash(ModuleFolder());
    state.UndoFolder = state.ProgramFolder + L"Undo\\";
    state.WindowsFolder = WithTrailingBackslash(SystemDirectory(::GetWindowsDirectoryW));
    state.SystemFolder = WithTrailingBackslash(SystemDirectory(::GetSystemDirectoryW));
    state.ProgramFilesFolder = WithTrailingBackslash(SpecialFolder(CSIDL_PROGRAM_FILES));
    state.ProfileFolder = WithTrailingBackslash(SpecialFolder(CSIDL_PROFILE));
    state.UserStartupFolder = FindUserStartupFolder();
    state.CommonStartupFolder = FindCommonStartupFolder();
}

}  // namespace taliveer
