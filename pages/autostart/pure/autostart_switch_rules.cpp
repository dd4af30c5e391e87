#include "pages/autostart/pure/autostart_switch_rules.h"

#include "pages/autostart/pure/autostart_rules.h"

#include <algorithm>

namespace taliveer {
namespace {

constexpr std::uint8_t kOnByte = 0x02;

bool SameAscii(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::wstring_view WithoutTrailingBackslash(std::wstring_view key) {
    while (!key.empty() && key.back() == L'\\') key.remove_suffix(1);
    return key;
}

}  // namespace

std::vector<std::uint8_t> ApprovalOnDefault() {
    std::vector<std::uint8_t> bytes(kApprovalSize, 0);
    bytes[0] = kOnByte;
    return bytes;
}

std::vector<std::uint8_t> ApprovalOffBytes(const std::vector<std::uint8_t>* now, std::uint64_t fileTime) {
    std::vector<std::uint8_t> bytes(kApprovalSize, 0);
    const std::uint8_t first = now && now->size() == kApprovalSize ? (*now)[0] : kOnByte;
    bytes[0] = static_cast<std::uint8_t>(first | 1);
    for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(4 + i)] = static_cast<std::uint8_t>(fileTime >> (8 * i));
    return bytes;
}

std::vector<std::uint8_t> ApprovalOnBytes(const std::vector<std::uint8_t>& now) {
    std::vector<std::uint8_t> bytes(kApprovalSize, 0);
    bytes[0] = static_cast<std::uint8_t>((now.empty() ? kOnByte : now[0]) & ~1u);
    return bytes;
}

SwitchWay SwitchWayOf(wchar_t digit, bool switchOn, bool startupApproved) {
    switch (digit) {
    case L'2':
    case L'4': return switchOn ? SwitchWay::AlreadyThere : SwitchWay::RunsOnce;
    case L'5': return switchOn ? SwitchWay::MoveBack : SwitchWay::AlreadyThere;
    case L'1':
    case L'3':
    case L'6':
    case L'7': return switchOn || startupApproved ? SwitchWay::Approval : SwitchWay::MoveToMsConfig;
    case L'8':
    case L'9': return switchOn || startupApproved ? SwitchWay::Approval : SwitchWay::LegacyShortcut;
    default: return SwitchWay::Nothing;
    }
}

std::optional<wchar_t> SourceOfMsConfigItem(std::wstring_view hkey, std::wstring_view key) {
    bool machine = false;
    if (SameAscii(hkey, L"HKLM") || SameAscii(hkey, L"HKEY_LOCAL_MACHINE")) {
        machine = true;
    } else if (!SameAscii(hkey, L"HKCU") && !SameAscii(hkey, L"HKEY_CURRENT_USER")) {
        return std::nullopt;
    }
    key = WithoutTrailingBackslash(key);
    for (const wchar_t digit : {L'1', L'2', L'3', L'4', L'6', L'7'}) {
        const AutostartPlace place = PlaceOfSource(digit);
        if (place.machine == machine && SameAscii(key, WithoutTrailingBackslash(place.key))) return digit;
    }
    return std::nullopt;
}

std::wstring MsConfigHiveText(wchar_t digit) { return PlaceOfSource(digit).machine ? L"HKLM" : L"HKCU"; }

std::wstring MsConfigKeyText(wchar_t digit) {
    return std::wstring(WithoutTrailingBackslash(PlaceOfSource(digit).key));
}

std::wstring SwitchReportText(const SwitchSummary& summary) {
    const std::wstring verb = summary.on ? kSwitchOn : kSwitchOff;
    std::wstring text;
    if (summary.switched > 0) {
        text = L"已" + verb + L" " + std::to_wstring(summary.switched) + L" 项";
        text += summary.backupFiles.empty() ? L"。" : L"，原来的状态已保存到撤消文件: " + summary.backupFiles;
    } else if (summary.failures.empty()) {
        text = L"所选项目已是" + verb + L"状态，没有更改任何内容。";
    } else {
        text = L"没有" + verb + L"任何项目。";
    }
    if (summary.switched > 0 && summary.unchanged > 0) {
        text += L"\n" + std::to_wstring(summary.unchanged) + L" 项原来已是" + verb + L"状态。";
    }
    if (!summary.failures.empty()) {
        text += L"\n未能" + verb + L" " + std::to_wstring(summary.failures.size()) + L" 项:";
        for (const NotSwitched& failure : summary.failures) text += L"\n\"" + failure.name + L"\": " + failure.reason;
    }
    if (summary.wineIgnoresIt) text += std::wstring(L"\n") + kWineIgnoresApproval;
    return text;
}

std::wstring SwitchCaption(const std::vector<bool>& rowsOff) {
    const bool allOff = !rowsOff.empty() && std::all_of(rowsOff.begin(), rowsOff.end(), [](bool off) { return off; });
    return allOff ? kSwitchOn : kSwitchOff;
}

std::wstring StaleApprovalQuestion(std::wstring_view name) {
    return L"\"" + std::wstring(name) + L"\" 在 Windows 中处于禁用状态 (任务管理器或设置中关闭)，启用之前登录时不会启动。\n现在启用吗?";
}

}  // namespace taliveer
