#include "services/pure/backup_listing.h"

#include "services/pure/wide_text.h"

#include <cstdio>

namespace taliveer {
namespace {

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool EndsWithNoCase(std::wstring_view text, std::wstring_view ending) {
    if (text.size() < ending.size()) return false;
    const std::wstring_view tail = text.substr(text.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i)
        if (Lower(tail[i]) != Lower(ending[i])) return false;
    return true;
}

std::wstring LastPart(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

// Up to `most` characters of a list, with "…" when there is more.
std::wstring JoinShort(const std::vector<std::wstring>& items, size_t most = 80) {
    std::wstring out;
    for (const std::wstring& item : items) {
        if (!out.empty()) out += L", ";
        out += item;
        if (out.size() > most) {
            out.resize(most);
            return out + L"…";
        }
    }
    return out;
}

void AddOnce(std::vector<std::wstring>& items, const std::wstring& item) {
    for (const std::wstring& known : items)
        if (known == item) return;
    items.push_back(item);
}

std::wstring Utf16Text(const std::vector<std::uint8_t>& data) { return WideFromRegistryBytes(data.data(), data.size()); }

std::wstring HexText(const std::vector<std::uint8_t>& data) {
    constexpr size_t kMost = 64;
    constexpr wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (size_t i = 0; i < data.size() && i < kMost; ++i) {
        if (i) out.push_back(L' ');
        out.push_back(digits[data[i] >> 4]);
        out.push_back(digits[data[i] & 15]);
    }
    if (data.size() > kMost) out += L" …";
    return out;
}

std::wstring Lines(const std::vector<std::wstring>& items) {
    std::wstring out;
    constexpr size_t kMost = 12;  // a question stays readable; the preview lists them all
    for (size_t i = 0; i < items.size() && i < kMost; ++i) out += L"\n  " + items[i];
    if (items.size() > kMost) out += L"\n  … 另有 " + std::to_wstring(items.size() - kMost) + L" 项";
    return out;
}

}  // namespace

BackupKind BackupKindOf(std::wstring_view fileName) {
    if (EndsWithNoCase(fileName, L"_startup.reg")) return BackupKind::Startup;
    if (EndsWithNoCase(fileName, L"_uninstall.reg")) return BackupKind::Uninstall;
    if (EndsWithNoCase(fileName, L"_association.reg")) return BackupKind::Association;
    if (EndsWithNoCase(fileName, kReplacedSuffix)) return BackupKind::Replaced;
    if (EndsWithNoCase(fileName, L".lnk")) return BackupKind::Shortcut;
    return BackupKind::Other;
}

bool IsBackupFileName(std::wstring_view fileName) {
    return EndsWithNoCase(fileName, L".reg") || EndsWithNoCase(fileName, L".lnk");
}

std::wstring BackupKindText(BackupKind kind) {
    switch (kind) {
    case BackupKind::Startup: return L"自动启动";
    case BackupKind::Uninstall: return L"卸载";
    case BackupKind::Association: return L"关联";
    case BackupKind::Shortcut: return L"启动文件夹";
    case BackupKind::Replaced: return L"恢复时替换";
    case BackupKind::Other: break;
    }
    return L"注册表";
}

std::wstring BackupStem(std::wstring_view fileName) {
    const size_t dot = fileName.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos ? fileName : fileName.substr(0, dot));
}

std::wstring OriginalShortcutName(std::wstring_view copyName) {
    // "name (2).lnk" -> "name.lnk"
    const size_t dot = copyName.rfind(L'.');
    std::wstring_view stem = dot == std::wstring_view::npos ? copyName : copyName.substr(0, dot);
    const std::wstring_view extension = dot == std::wstring_view::npos ? std::wstring_view() : copyName.substr(dot);
    if (stem.size() >= 4 && stem.back() == L')') {
        const size_t open = stem.rfind(L" (");
        if (open != std::wstring_view::npos && open + 3 < stem.size()) {
            const std::wstring_view digits = stem.substr(open + 2, stem.size() - open - 3);
            bool allDigits = !digits.empty() && digits.front() != L'0';
            for (wchar_t c : digits) allDigits = allDigits && c >= L'0' && c <= L'9';
            if (allDigits) stem = stem.substr(0, open);
        }
    }
    return std::wstring(stem) + std::wstring(extension);
}

BackupState StateOf(std::span<const EntryState> entries) {
    bool missing = false;
    for (EntryState state : entries) {
        if (state == EntryState::Different) return BackupState::Conflict;
        if (state == EntryState::Missing) missing = true;
    }
    return missing ? BackupState::Restorable : BackupState::Restored;
}

std::wstring BackupStateText(BackupState state) {
    switch (state) {
    case BackupState::Restored: return L"已恢复";
    case BackupState::Restorable: return L"可恢复";
    case BackupState::Conflict: return L"有冲突";
    case BackupState::Unreadable: break;
    }
    return L"无法读取";
}

std::wstring EntryStateText(EntryState state) {
    switch (state) {
    case EntryState::Equal: return L"相同";
    case EntryState::Missing: return L"缺少";
    case EntryState::Different: break;
    }
    return L"不同";
}

std::wstring BackupSummary(BackupKind kind, const ScriptReading& reading) {
    std::vector<std::wstring> items;
    if (kind == BackupKind::Uninstall) {
        for (const ScriptKey& key : reading.keys) {
            for (const RegValueData& value : key.values) {
                if (value.type == reg_type::kString && value.name == L"DisplayName") {
                    std::wstring name = Utf16Text(value.data);
                    if (const size_t nul = name.find(L'\0'); nul != std::wstring::npos) name.resize(nul);
                    if (!name.empty()) return JoinShort({name});
                }
            }
        }
        if (!reading.keys.empty()) return JoinShort({LastPart(reading.keys.front().path)});
        return {};
    }
    if (kind == BackupKind::Association) {
        for (const ScriptKey& key : reading.keys) {
            const std::wstring last = LastPart(key.path);
            if (!last.empty() && last.front() == L'.') AddOnce(items, last);
        }
        if (!items.empty()) return JoinShort(items);
    }
    for (const ScriptKey& key : reading.keys) {
        if (key.values.empty()) AddOnce(items, LastPart(key.path));
        for (const RegValueData& value : key.values) AddOnce(items, value.name.empty() ? L"(默认)" : value.name);
    }
    return JoinShort(items);
}

std::wstring ValueDataText(const RegValueData& value) {
    if (value.type == reg_type::kString || value.type == reg_type::kExpandString) {
        if (value.data.size() % 2 == 0) {
            std::wstring text = Utf16Text(value.data);
            if (!text.empty() && text.back() == L'\0') text.pop_back();
            if (text.find(L'\0') == std::wstring::npos) return text;
        }
    }
    if (value.type == reg_type::kMultiString && value.data.size() % 2 == 0) {
        std::wstring text = Utf16Text(value.data);
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        for (wchar_t& c : text)
            if (c == L'\0') c = L'|';
        return text;
    }
    if (value.type == reg_type::kDword && value.data.size() == 4) {
        const std::uint32_t n = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                (static_cast<std::uint32_t>(value.data[3]) << 24);
        wchar_t text[32];
        std::swprintf(text, 32, L"0x%08x (%u)", n, n);
        return text;
    }
    return HexText(value.data);
}

std::wstring RegTypeName(std::uint32_t type) {
    switch (type) {
    case reg_type::kNone: return L"REG_NONE";
    case reg_type::kString: return L"REG_SZ";
    case reg_type::kExpandString: return L"REG_EXPAND_SZ";
    case reg_type::kBinary: return L"REG_BINARY";
    case reg_type::kDword: return L"REG_DWORD";
    case reg_type::kMultiString: return L"REG_MULTI_SZ";
    case reg_type::kQword: return L"REG_QWORD";
    default: return L"类型 " + std::to_wstring(type);
    }
}

std::wstring BackupTimeText(int year, int month, int day, int hour, int minute) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
    return text;
}

std::wstring RestoreQuestionText(std::wstring_view fileName, const std::vector<std::wstring>& added,
                                 const std::vector<std::wstring>& replaced) {
    std::wstring text = L"从 " + std::wstring(fileName) + L" 恢复？";
    if (!added.empty()) text += L"\n将添加 " + std::to_wstring(added.size()) + L" 项:" + Lines(added);
    if (!replaced.empty()) {
        text += L"\n将替换 " + std::to_wstring(replaced.size()) + L" 项 (现在的内容先保存到撤消文件夹):" + Lines(replaced);
    }
    return text;
}

std::wstring RestoreReportText(std::wstring_view fileName, int back, const std::vector<std::wstring>& notBack,
                               std::wstring_view replacedBackup) {
    std::wstring text;
    if (notBack.empty()) {
        text = L"已从 " + std::wstring(fileName) + L" 恢复全部 " + std::to_wstring(back) + L" 项。";
    } else {
        text = L"从 " + std::wstring(fileName) + L" 恢复了 " + std::to_wstring(back) + L" 项，以下 " +
               std::to_wstring(notBack.size()) + L" 项没有恢复:" + Lines(notBack);
    }
    if (!replacedBackup.empty()) text += L"\n被替换的内容已保存在 " + std::wstring(replacedBackup) + L"。";
    return text;
}

}  // namespace taliveer
