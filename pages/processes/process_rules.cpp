#include "pages/processes/process_rules.h"

#include "services/command_line.h"

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

}  // namespace taliveer
