#include "pages/uninstall/pure/uninstall_rules.h"

#include "services/pure/command_line.h"

namespace taliveer {
namespace {
bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != std::wstring_view::npos; }
}  // namespace

std::wstring ChooseUninstallCommand(std::wstring_view quiet, std::wstring_view plain) {
    return std::wstring(quiet.empty() ? plain : quiet);
}

std::wstring FormatInstallDate(std::wstring_view date) {
    std::wstring out(date);
    if (out.empty() || Contains(out, L"/")) return out;
    for (size_t position : {4u, 7u}) {
        if (out.size() >= position) {
            out.insert(position, 1, L'/');
        } else {
            out.push_back(L'/');
        }
    }
    return out;
}

bool IsWindowsUpdate(std::wstring_view releaseType, std::wstring_view name) {
    const std::wstring type = AsciiUpperCase(releaseType);
    if (Contains(type, L"HOTFIX") || Contains(type, L"UPDATE")) return true;
    return Contains(AsciiUpperCase(name), L"(KB");
}

bool IsToolbar(std::wstring_view keyName, std::wstring_view name, std::wstring_view command,
               const std::vector<std::wstring>& toolbarNames) {
    const std::wstring upperKey = AsciiUpperCase(keyName);
    const std::wstring upperName = AsciiUpperCase(name);
    const std::wstring upperCommand = AsciiUpperCase(command);
    bool toolbar = Contains(upperKey, L"TOOLBAR") || Contains(upperName, L"TOOLBAR") || Contains(upperCommand, L"TOOLBAR");
    for (const std::wstring& registered : toolbarNames) {
        const std::wstring upper = AsciiUpperCase(registered);
        if (Contains(keyName, registered) || Contains(upperName, upper) || Contains(upperCommand, upper)) toolbar = true;
    }
    return toolbar;
}

std::wstring UninstallCountText(int rows) { return std::to_wstring(rows) + L" 个已安装程序"; }

std::wstring CleanUninstallCaption(std::wstring_view caption) {
    std::wstring out;
    for (wchar_t c : caption) {
        switch (c) {
        case L'"': case L'[': case L']': case L'{': case L'}': break;
        case L'\\': case L'/': case L'.': case L'<': case L'&': case L'%': out.push_back(L'_'); break;
        case L':': case L';': case L'#': case L'*': out.push_back(L' '); break;
        case L'>': out += L"_ "; break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

}  // namespace taliveer
