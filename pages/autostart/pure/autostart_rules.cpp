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

std::wstring CleanedAutostartName(std::wstring_view name) {
    std::wstring cleaned(name);
    if (!name.empty() && name.front() == L'"') {
        std::wstring inner;
        bool closed = false;
        for (size_t i = 1; i < name.size(); ++i) {
            if (name[i] != L'"') {
                inner.push_back(name[i]);
            } else if (i + 1 < name.size() && name[i + 1] == L'"') {
                inner.push_back(L'"');
                ++i;
            } else {
                closed = true;
                break;
            }
        }
        if (!closed) {
            std::erase(cleaned, L'"');
        } else if (!inner.empty()) {
            cleaned = inner;
        }
    }
    for (size_t i = 0; i + 4 <= cleaned.size(); ++i) {
        const auto upper = [&](size_t k) { return static_cast<wchar_t>(cleaned[k] >= L'a' && cleaned[k] <= L'z' ? cleaned[k] - 32 : cleaned[k]); };
        if (upper(i) == L'.' && upper(i + 1) == L'E' && upper(i + 2) == L'X' && upper(i + 3) == L'E') {
            cleaned.resize(i);
            break;
        }
    }
    if (const size_t slash = cleaned.find(L'\\'); slash != std::wstring::npos) cleaned.resize(slash);
    return cleaned;
}

AutostartPlace PlaceOfSource(wchar_t digit) {
    switch (digit) {
    case L'1': return {AutostartRemoval::Value, false, kRunKey};
    case L'2': return {AutostartRemoval::Value, false, kRunOnceKey};
    case L'3': return {AutostartRemoval::Value, true, kRunKey};
    case L'4': return {AutostartRemoval::Value, true, kRunOnceKey};
    case L'5': return {AutostartRemoval::DisabledItem, true, kMsConfigKey};
    case L'6': return {AutostartRemoval::Value, false, kWow64RunKey};
    case L'7': return {AutostartRemoval::Value, true, kWow64RunKey};
    case L'8': return {AutostartRemoval::UserShortcut, false, L""};
    case L'9': return {AutostartRemoval::CommonShortcut, true, L""};
    default: return {};
    }
}

std::wstring StartupApprovedKeyOf(wchar_t digit) {
    switch (digit) {
    case L'1':
    case L'3': return std::wstring(kStartupApprovedKey) + L"Run";
    case L'6':
    case L'7': return std::wstring(kStartupApprovedKey) + L"Run32";
    case L'8':
    case L'9': return std::wstring(kStartupApprovedKey) + L"StartupFolder";
    default: return {};
    }
}

bool IsApprovalDisabled(const std::vector<std::uint8_t>& data) { return !data.empty() && (data[0] & 1) != 0; }

std::wstring PartialRemovalText(int removed, std::wstring_view backupFiles, const std::vector<NotRemoved>& failures) {
    std::wstring text;
    if (removed > 0) {
        text = L"已删除 " + std::to_wstring(removed) + L" 项，撤消文件: " + std::wstring(backupFiles) + L"\n";
    } else if (!backupFiles.empty()) {
        text = L"没有删除任何项，撤消文件已写入: " + std::wstring(backupFiles) + L"\n";
    }
    text += L"未能删除 " + std::to_wstring(failures.size()) + L" 项:";
    for (const NotRemoved& failure : failures) text += L"\n\"" + failure.name + L"\": " + failure.reason;
    return text;
}

std::wstring ProgramValueName(std::wstring_view path) {
    const size_t cut = path.find_last_of(L"\\:");
    return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

}  // namespace taliveer
