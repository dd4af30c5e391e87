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

namespace {
std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    }
    return upper;
}

// Spaces and control characters at both ends go.
std::wstring TrimSpacesAndControls(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] <= L' ') ++begin;
    while (end > begin && text[end - 1] <= L' ') --end;
    return std::wstring(text.substr(begin, end - begin));
}

// 1-based position of `what` in `text`, 0 when absent (the positions the rules speak of).
size_t Position(std::wstring_view text, std::wstring_view what) {
    const size_t at = text.find(what);
    return at == std::wstring_view::npos ? 0 : at + 1;
}
}  // namespace

std::optional<UninstallLaunch> SplitUninstallCommand(std::wstring_view command, std::wstring_view systemFolder,
                                                     const std::function<bool(const std::wstring&)>& fileExists) {
    std::wstring unquoted(command);
    for (wchar_t& c : unquoted) {
        if (c == L'"') c = L' ';
    }
    const std::wstring c = TrimSpacesAndControls(unquoted);
    if (c.empty()) return std::nullopt;
    if (fileExists(c)) return UninstallLaunch{c, L""};
    const std::wstring upper = AsciiUpper(c);
    if (upper.rfind(L"MSIEXEC", 0) == 0) {
        return UninstallLaunch{std::wstring(systemFolder) + L"MsiExec.exe",
                               TrimSpacesAndControls(c.size() > 11 ? std::wstring_view(c).substr(11) : std::wstring_view())};
    }
    size_t p = Position(c, L"/");
    if (p == 0) {
        const size_t space = c.rfind(L' ');
        p = space == std::wstring::npos ? 0 : space + 1;
    }
    const size_t e = Position(upper, L".EXE");
    auto splitAt = [&](size_t at) -> std::optional<UninstallLaunch> {
        UninstallLaunch launch{c.substr(0, at - 1), c.substr(at - 1)};
        if (!fileExists(launch.file)) return std::nullopt;
        return launch;
    };
    if (e < p) return splitAt(p);
    const size_t m = Position(c, L"-");
    if (e < m) return splitAt(m);
    return std::nullopt;
}

std::wstring UninstallerNotStartedText(std::wstring_view caption, std::wstring_view file, std::wstring_view reason) {
    return L"无法启动 \"" + std::wstring(caption) + L"\" 的卸载程序，没有卸载任何内容。\n" + std::wstring(file) + L"\n" +
           std::wstring(reason);
}

std::wstring ProgramListNotOpenedText(std::wstring_view reason) {
    return L"无法打开系统的程序列表。\n" + std::wstring(reason);
}

std::wstring WindowsInstallerRemoveCommand(std::wstring_view command, bool windowsInstaller) {
    std::wstring out(command);
    if (!windowsInstaller) return out;
    const std::wstring upper = AsciiUpper(command);
    const size_t msiexec = upper.find(L"MSIEXEC");
    if (msiexec == std::wstring::npos) return out;
    const size_t install = upper.find(L"/I", msiexec);
    if (install == std::wstring::npos) return out;
    size_t code = install + 2;
    while (code < upper.size() && upper[code] == L' ') ++code;
    if (code >= upper.size() || upper[code] != L'{') return out;
    out[install + 1] = out[install + 1] == L'i' ? L'x' : L'X';
    return out;
}

std::wstring InstallerExitText(std::uint32_t code, std::wstring_view caption) {
    const std::wstring name = L"\"" + std::wstring(caption) + L"\"";
    switch (code) {
    case 0: return {};
    case 1605:
        return L"Windows Installer 说 " + name + L" 没有安装：这条记录已过时，剩下要做的是删除记录。";
    case 1618: return L"另一个安装正在进行，" + name + L" 没有卸载。请稍后再试。";
    case 3010:
    case 1641: return name + L" 已卸载；重新启动计算机后才能完成。";
    case 1602: return name + L" 的卸载已被取消。";
    default: return name + L" 的卸载程序结束，返回代码 " + std::to_wstring(code) + L"。";
    }
}

bool ExitCodeExplainsTheRecord(std::uint32_t code) {
    return code == 1605 || code == 1618 || code == 1602 || code == 3010 || code == 1641;
}

std::wstring RecordStillPresentText(std::wstring_view caption) {
    return L"卸载程序已结束，但 \"" + std::wstring(caption) +
           L"\" 的记录仍然存在：卸载可能被取消，或需要重新启动计算机才能完成。";
}

std::wstring ConfirmRemoveRecordText(std::wstring_view caption, bool windowsInstaller) {
    std::wstring text = ConfirmRemoveRecordText(caption);
    if (windowsInstaller) {
        text += L"\n这是 Windows Installer 安装的程序：只删除记录后，Windows Installer 仍认为它已安装，"
                L"这可能妨碍以后重新安装。";
    }
    return text;
}

std::wstring ConfirmUninstallText(std::wstring_view caption) {
    return L"你确定你要卸载\r" + std::wstring(caption) + L" ?";
}

std::wstring ConfirmRemoveRecordText(std::wstring_view caption) {
    return L"您确定您要删除卸载记录 \"" + std::wstring(caption) + L"\" ?";
}

}  // namespace taliveer
