#include "pages/autostart/pure/autostart_rules.h"

namespace taliveer {

std::wstring AutostartCountText(int rows, int disabled) {
    std::wstring text = std::to_wstring(rows) + L" 个自动启动程序";
    if (disabled > 0) text += L", " + std::to_wstring(disabled) + L" disabled";
    return text;
}

bool IsShortcutName(const std::wstring& fileName) {
    if (fileName.size() < 4) return false;
    const std::wstring tail = fileName.substr(fileName.size() - 4);
    return tail.size() == 4 && tail[0] == L'.' && (tail[1] | 0x20) == L'l' && (tail[2] | 0x20) == L'n' &&
           (tail[3] | 0x20) == L'k';
}

}  // namespace taliveer
