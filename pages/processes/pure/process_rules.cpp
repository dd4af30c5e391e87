#include "pages/processes/pure/process_rules.h"

#include "services/pure/command_line.h"

#include <algorithm>

namespace taliveer {

bool IsProcessHidden(std::wstring_view exeName, std::wstring_view path) {
    if (AsciiUpperCase(exeName).find(L"SYSTEM") != std::wstring::npos) return true;
    if (path.empty()) return true;
    return path.find(L":\\") == std::wstring_view::npos;
}

std::wstring CleanImagePath(std::wstring_view path) {
    std::wstring out(path);
    if (!out.empty() && out[0] == L'?') out[0] = L'C';
    for (size_t at = out.find(L"\\??\\"); at != std::wstring::npos; at = out.find(L"\\??\\", at)) out.erase(at, 4);
    return out;
}

const wchar_t* PriorityText(std::uint32_t priorityClass) {
    return (priorityClass & 0xFFu) == 0x80u ? L"High" : L"Normal";
}

std::wstring ProcessCountText(int rows) { return std::to_wstring(rows) + L" 个程序工作"; }

std::wstring ConfirmEndText(std::wstring_view exeName) {
    return L"您确定要卸载 \"" + std::wstring(exeName) + L"\" 从内存?";
}

bool IsCriticalSystemProcessName(std::wstring_view exeName) {
    std::wstring upper(exeName);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    }
    for (std::wstring_view critical :
         {L"CSRSS.EXE", L"WININIT.EXE", L"SMSS.EXE", L"SERVICES.EXE", L"LSASS.EXE", L"WINLOGON.EXE"}) {
        if (upper == critical) return true;
    }
    return false;
}

bool IsWindowsCriticalProgram(std::wstring_view path, std::wstring_view systemFolder) {
    if (systemFolder.empty() || path.size() <= systemFolder.size()) return false;
    const std::wstring upper = AsciiUpperCase(path);
    if (upper.compare(0, systemFolder.size(), AsciiUpperCase(systemFolder)) != 0) return false;
    const std::wstring name = upper.substr(systemFolder.size());
    for (std::wstring_view critical : {L"CSRSS.EXE", L"WININIT.EXE", L"SMSS.EXE", L"SERVICES.EXE", L"LSASS.EXE",
                                       L"WINLOGON.EXE", L"SVCHOST.EXE", L"FONTDRVHOST.EXE", L"DWM.EXE", L"LSAISO.EXE"}) {
        if (name == critical) return true;
    }
    return false;
}

std::vector<FolderCount> CountByFolder(const std::vector<std::wstring>& paths) {
    std::vector<FolderCount> folders;
    for (const std::wstring& path : paths) {
        const size_t slash = path.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        auto it = std::find_if(folders.begin(), folders.end(),
                               [&](const FolderCount& f) { return AsciiUpperCase(f.folder) == AsciiUpperCase(folder); });
        if (it == folders.end()) {
            folders.push_back({folder, 1});
        } else {
            ++it->count;
        }
    }
    return folders;
}

std::wstring ConfirmEndText(std::wstring_view exeName, const std::vector<FolderCount>& folders) {
    std::wstring text = ConfirmEndText(exeName);
    if (folders.size() < 2) return text;
    text += L"\n它在以下位置运行，全部将被结束:";
    for (const FolderCount& f : folders) {
        text += L"\n" + (f.folder.empty() ? std::wstring(L"(位置未知)") : f.folder) + L" (" + std::to_wstring(f.count) +
                L" 个)";
    }
    return text;
}

std::wstring EndFailureText(std::wstring_view exeName, const std::vector<EndFailure>& failures) {
    std::wstring text = L"无法结束 " + std::to_wstring(failures.size()) + L" 个 \"" + std::wstring(exeName) + L"\" 进程:";
    for (const EndFailure& failure : failures) {
        text += L"\n进程 " + std::to_wstring(failure.id) + L": ";
        text += failure.critical ? L"Windows 的关键进程，结束它会让 Windows 立即停止。" : failure.reason;
    }
    return text;
}

}  // namespace taliveer
