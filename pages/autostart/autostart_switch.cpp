#include "pages/autostart/autostart_switch.h"

#include "pages/autostart/pure/autostart_rules.h"
#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/system_version.h"
#include "services/undo_backup.h"

#include <optional>

namespace taliveer {
namespace {

constexpr wchar_t kStartupSuffix[] = L"_startup.reg";
constexpr wchar_t kChangedSinceBackup[] = L"备份后已被更改，没有改动";

HKEY RootOfSource(wchar_t digit) { return PlaceOfSource(digit).machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
const wchar_t* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER"; }

// Why a write or deletion was refused; the machine's keys want an administrator.
std::wstring ReasonOf(LSTATUS status, HKEY root) {
    if (status == ERROR_ACCESS_DENIED && root == HKEY_LOCAL_MACHINE) {
        return SystemMessage(static_cast<DWORD>(status)) + L" (更改所有用户的项目需要以管理员身份运行 Taliveer)";
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return L"已不存在";
    if (status == ERROR_INVALID_DATA) return kChangedSinceBackup;
    return SystemMessage(static_cast<DWORD>(status));
}

bool SameValue(const RegValueData& a, const RegValueData& b) { return a.type == b.type && a.data == b.data; }

bool IsStringType(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The string a value of the system configuration tool holds, without its terminator.
std::optional<std::wstring> ToolString(const RegKeyReader& key, const wchar_t* name) {
    std::wstring text;
    if (!key.StringIfPresent(name, text)) return std::nullopt;
    return text;
}

// One entry on its way: what its backup holds and what is written afterwards.
struct Pending {
    const AutostartEntry* entry = nullptr;
    SwitchWay way = SwitchWay::Nothing;
    HKEY root = nullptr;
    std::wstring key;              // the approval key, or the Run key a value leaves or returns to
    bool hadValue = false;         // Approval: a value was there when it was saved
    RegValueData before;           // Approval: the value as saved (or the "on" form it stands for)
    RegValueData after;            // Approval: what is written; MoveBack: the value put back
    RegValueData moved;            // MoveToMsConfig: the Run value as saved
    SavedKey item;                 // MoveBack: the tool's item as saved
    bool targetThere = false;      // MoveBack: the value is back already, with the same data
};

class Switcher {
public:
    Switcher(bool on, const AutostartSwitchOptions& options) : on_(on), options_(options) { summary_.on = on; }

    AutostartSwitchOutcome Run(const std::vector<AutostartEntry>& entries) {
        AutostartSwitchOutcome outcome;
        for (const AutostartEntry& entry : entries) Prepare(entry);
        if (!script_.Empty()) {
            const std::wstring base = names_ + (on_ ? L" 启用前" : L" 禁用前");
            const BackupResult saved = SaveRegScript(options_.undo, base, kStartupSuffix, script_);
            if (!saved.written) {
                outcome.backupFailed = true;
                outcome.backupError = saved.error;
                return outcome;
            }
            summary_.backupFiles = saved.fileName;
        }
        for (const Pending& pending : pending_) Apply(pending);
        outcome.summary = summary_;
        return outcome;
    }

private:
    void Fail(const AutostartEntry& entry, std::wstring reason) { summary_.failures.push_back({entry.name, std::move(reason)}); }

    void Saved(Pending pending) {
        names_ += (names_.empty() ? L"" : L",") + CleanedAutostartName(pending.entry->name);
        pending_.push_back(std::move(pending));
    }

    void Prepare(const AutostartEntry& entry) {
        switch (SwitchWayOf(entry.digit, on_, options_.startupApproved)) {
        case SwitchWay::Approval: return PrepareApproval(entry);
        case SwitchWay::MoveToMsConfig: return PrepareMoveToMsConfig(entry);
        case SwitchWay::MoveBack: return PrepareMoveBack(entry);
        case SwitchWay::RunsOnce: return Fail(entry, kRunsOnceText);
        case SwitchWay::LegacyShortcut: return Fail(entry, kLegacyShortcutText);
        case SwitchWay::AlreadyThere: ++summary_.unchanged; return;
        case SwitchWay::Nothing: return;
        }
    }

    // The value as it is, or Windows' "on" form where there is none: what the backup puts back.
    void PrepareApproval(const AutostartEntry& entry) {
        Pending pending;
        pending.entry = &entry;
        pending.way = SwitchWay::Approval;
        pending.root = RootOfSource(entry.digit);
        pending.key = StartupApprovedKeyOf(entry.digit);
        pending.hadValue = ReadValueData(pending.root, pending.key, entry.name, RegView::Bits64, pending.before);
        const bool off = pending.hadValue && pending.before.type == REG_BINARY && IsApprovalDisabled(pending.before.data);
        if (off == !on_) {
            ++summary_.unchanged;
            return;
        }
        if (!pending.hadValue) pending.before = RegValueData{entry.name, REG_BINARY, ApprovalOnDefault()};
        const bool binary = pending.hadValue && pending.before.type == REG_BINARY;
        pending.after = RegValueData{entry.name, REG_BINARY,
                                     on_ ? ApprovalOnBytes(pending.before.data)
                                         : ApprovalOffBytes(binary ? &pending.before.data : nullptr, options_.now)};
        // The key may not be there yet; in the 64-bit view its name is where it lives.
        std::wstring location = RealKeyName(pending.root, pending.key, RegView::Bits64);
        if (location.empty()) location = std::wstring(RootName(pending.root)) + L"\\" + pending.key;
        if (!RegNameWritable(entry.name)) return Fail(entry, L"名称含有换行符，无法写入撤消文件");
        script_.AddValue(location, L"", pending.before);
        Saved(std::move(pending));
    }

    // Windows 7: the value goes into the tool's own key with where it came from, as the tool
    // itself keeps it; the backup holds the value as it was.
    void PrepareMoveToMsConfig(const AutostartEntry& entry) {
        Pending pending;
        pending.entry = &entry;
        pending.way = SwitchWay::MoveToMsConfig;
        pending.root = RootOfSource(entry.digit);
        pending.key = PlaceOfSource(entry.digit).key;
        if (entry.name.find(L'\\') != std::wstring::npos) {
            return Fail(entry, L"名称含有反斜杠，系统配置工具无法保存它，只能删除");
        }
        const LSTATUS there = RegKeyReadStatus(HKEY_LOCAL_MACHINE, kMsConfigKey + entry.name, RegView::Bits64);
        if (there != ERROR_FILE_NOT_FOUND) {
            return Fail(entry, there == ERROR_SUCCESS ? L"系统配置工具中已有同名的禁用项目"
                                                      : ReasonOf(there, HKEY_LOCAL_MACHINE));
        }
        std::wstring error;
        if (!AppendRegValue(script_, pending.root, pending.key, entry.name, RegView::Bits64, error, &pending.moved)) {
            return Fail(entry, error);
        }
        if (!IsStringType(pending.moved.type)) return Fail(entry, L"不是字符串值，系统配置工具无法保存它");
        Saved(std::move(pending));
    }

    // An item of the tool goes back to the key and view its "hkey" and "key" name, with the
    // type its command was saved with; the backup holds the item as it was.
    void PrepareMoveBack(const AutostartEntry& entry) {
        Pending pending;
        pending.entry = &entry;
        pending.way = SwitchWay::MoveBack;
        const std::wstring itemKey = kMsConfigKey + entry.name;
        const RegKeyReader item(HKEY_LOCAL_MACHINE, itemKey, RegView::Bits64);
        if (!item.IsOpen()) {
            return Fail(entry, ReasonOf(RegKeyReadStatus(HKEY_LOCAL_MACHINE, itemKey, RegView::Bits64), HKEY_LOCAL_MACHINE));
        }
        const std::optional<std::wstring> hive = ToolString(item, L"hkey");
        const std::optional<std::wstring> key = ToolString(item, L"key");
        const std::optional<wchar_t> source = hive && key ? SourceOfMsConfigItem(*hive, *key) : std::nullopt;
        if (!source) return Fail(entry, L"没有记下它原来所在的 Run 键，无法启用，只能删除");
        RegValueData command;
        if (!item.Data(L"command", command) || !IsStringType(command.type)) {
            return Fail(entry, L"没有可以恢复的命令，无法启用，只能删除");
        }
        std::wstring name = ToolString(item, L"item").value_or(entry.name);
        if (name.empty()) name = entry.name;
        pending.root = RootOfSource(*source);
        pending.key = PlaceOfSource(*source).key;
        pending.after = RegValueData{name, command.type, command.data};
        RegValueData there;
        if (ReadValueData(pending.root, pending.key, name, RegView::Bits64, there)) {
            if (!SameValue(there, pending.after)) return Fail(entry, L"原来的位置已有同名的值，内容不同");
            pending.targetThere = true;
        }
        std::wstring error;
        if (!AppendRegKey(script_, HKEY_LOCAL_MACHINE, itemKey, RegView::Bits64, error, &pending.item)) {
            return Fail(entry, error);
        }
        Saved(std::move(pending));
    }

    void Apply(const Pending& pending) {
        switch (pending.way) {
        case SwitchWay::Approval: return ApplyApproval(pending);
        case SwitchWay::MoveToMsConfig: return ApplyMoveToMsConfig(pending);
        case SwitchWay::MoveBack: return ApplyMoveBack(pending);
        default: return;
        }
    }

    void ApplyApproval(const Pending& pending) {
        // Only over what the backup holds: a value changed meanwhile is left as it is.
        RegValueData now;
        const bool there = ReadValueData(pending.root, pending.key, pending.entry->name, RegView::Bits64, now);
        if (there != pending.hadValue || (there && !SameValue(now, pending.before))) {
            return Fail(*pending.entry, kChangedSinceBackup);
        }
        const LSTATUS status = SetRegValue(pending.root, pending.key, pending.after, RegView::Bits64);
        if (status != ERROR_SUCCESS) return Fail(*pending.entry, ReasonOf(status, pending.root));
        ++summary_.switched;
        if (!on_ && options_.underWine) summary_.wineIgnoresIt = true;
    }

    void ApplyMoveToMsConfig(const Pending& pending) {
        const std::wstring itemKey = kMsConfigKey + pending.entry->name;
        const RegValueData values[] = {
            {L"hkey", REG_SZ, RegStringBytes(MsConfigHiveText(pending.entry->digit))},
            {L"key", REG_SZ, RegStringBytes(MsConfigKeyText(pending.entry->digit))},
            {L"item", REG_SZ, RegStringBytes(pending.entry->name)},
            {L"command", pending.moved.type, pending.moved.data},
            {L"inimapping", REG_SZ, RegStringBytes(L"0")},
        };
        for (const RegValueData& value : values) {
            const LSTATUS status = SetRegValue(HKEY_LOCAL_MACHINE, itemKey, value, RegView::Bits64);
            if (status != ERROR_SUCCESS) {
                RemoveRegTree(HKEY_LOCAL_MACHINE, itemKey, RegView::Bits64);  // it was not there before
                return Fail(*pending.entry, ReasonOf(status, HKEY_LOCAL_MACHINE));
            }
        }
        const LSTATUS status = DeleteSavedValue(pending.root, pending.key, pending.moved, RegView::Bits64);
        if (status != ERROR_SUCCESS) {
            RemoveRegTree(HKEY_LOCAL_MACHINE, itemKey, RegView::Bits64);
            return Fail(*pending.entry, ReasonOf(status, pending.root));
        }
        ++summary_.switched;
    }

    void ApplyMoveBack(const Pending& pending) {
        if (!pending.targetThere) {
            RegValueData now;
            if (ReadValueData(pending.root, pending.key, pending.after.name, RegView::Bits64, now)) {
                return Fail(*pending.entry, L"原来的位置已有同名的值，内容不同");
            }
            const LSTATUS status = SetRegValue(pending.root, pending.key, pending.after, RegView::Bits64);
            if (status != ERROR_SUCCESS) return Fail(*pending.entry, ReasonOf(status, pending.root));
        }
        const SavedKeyDeletion deletion = DeleteSavedKey(HKEY_LOCAL_MACHINE, pending.item, RegView::Bits64);
        if (deletion.error != ERROR_SUCCESS || deletion.leftBehind > 0) {
            // Never listed twice: the value written a moment ago goes again.
            if (!pending.targetThere) DeleteSavedValue(pending.root, pending.key, pending.after, RegView::Bits64);
            const LSTATUS status = deletion.error != ERROR_SUCCESS ? deletion.error : ERROR_INVALID_DATA;
            return Fail(*pending.entry, L"系统配置工具中的项目无法删除: " + ReasonOf(status, HKEY_LOCAL_MACHINE));
        }
        ++summary_.switched;
    }

    const bool on_;
    const AutostartSwitchOptions& options_;
    RegScript script_;
    std::wstring names_;
    std::vector<Pending> pending_;
    SwitchSummary summary_;
};

}  // namespace

AutostartSwitchOutcome SwitchAutostartEntries(const std::vector<AutostartEntry>& entries, bool on,
                                              const AutostartSwitchOptions& options) {
    return Switcher(on, options).Run(entries);
}

std::wstring SwitchReport(const AutostartSwitchOutcome& outcome, const std::wstring& undoFolder) {
    if (outcome.backupFailed) return BackupFailedText(L"任何项目", undoFolder, outcome.backupError);
    return SwitchReportText(outcome.summary);
}

AutostartSwitchOptions SystemSwitchOptions(const std::wstring& undoFolder) {
    AutostartSwitchOptions options;
    options.undo = undoFolder;
    const SystemVersion system = CurrentSystemVersion();
    options.startupApproved = system.major > 6 || (system.major == 6 && system.minor >= 2);
    options.underWine = system.wine;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    options.now = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return options;
}

bool ApprovalSaysOff(wchar_t digit, const std::wstring& name) {
    const std::wstring key = StartupApprovedKeyOf(digit);
    RegValueData value;
    return !key.empty() && ReadValueData(RootOfSource(digit), key, name, RegView::Bits64, value) &&
           value.type == REG_BINARY && IsApprovalDisabled(value.data);
}

}  // namespace taliveer
