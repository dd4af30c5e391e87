#include "pages/autostart/autostart_gather.h"

#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/file_system.h"

#include <objbase.h>

#include <algorithm>
#include <vector>

namespace taliveer {
namespace {

class Gatherer {
public:
    Gatherer(const AutostartEnvironment& env, AutostartSink& sink) : env_(env), sink_(sink) {}

    AutostartTotals Run() {
        // The sources in their fixed order: the Run and RunOnce values of the user and the
        // machine, the disabled items, the Wow6432Node Run values, then the two Startup
        // folders.
        if (ValueKey(HKEY_CURRENT_USER, kRunKey, env_.userName, L'1') &&
            ValueKey(HKEY_CURRENT_USER, kRunOnceKey, env_.userName, L'2') &&
            ValueKey(HKEY_LOCAL_MACHINE, kRunKey, kAllUsers, L'3') &&
            ValueKey(HKEY_LOCAL_MACHINE, kRunOnceKey, kAllUsers, L'4') && DisabledItems() &&
            ValueKey(HKEY_CURRENT_USER, kWow64RunKey, env_.userName, L'6') &&
            ValueKey(HKEY_LOCAL_MACHINE, kWow64RunKey, kAllUsers, L'7') &&
            StartupFolder(env_.userStartupFolder, env_.userName, L'8') &&
            StartupFolder(env_.commonStartupFolder, kAllUsers, L'9')) {
            return totals_;
        }
        totals_.completed = false;
        return totals_;
    }

private:
    void AddRow(AutostartRow row) {
        sink_.Add(row);
        ++totals_.rows;
    }

    std::wstring IconFileOf(const std::wstring& command) const {
        return ExtractProgramFile(command, env_.prefixes, env_.upperCase);
    }

    // A key that another source already listed (the same real key under two names, as on a
    // system without a 32-bit view) is listed once, under the first.
    bool SeenBefore(HKEY root, const wchar_t* path) {
        const std::wstring real = RealKeyName(root, path, RegView::Bits64);
        if (real.empty()) return false;
        for (const std::wstring& seen : listedKeys_) {
            if (::CompareStringOrdinal(seen.c_str(), -1, real.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
        }
        listedKeys_.push_back(real);
        return false;
    }

    // The entries of one source that Task Manager or Settings disabled, by name.
    std::vector<std::wstring> DisabledByTaskManager(HKEY root, wchar_t digit) const {
        std::vector<std::wstring> names;
        const std::wstring key = StartupApprovedKeyOf(digit);
        std::vector<RegValueData> values;
        if (key.empty() || !ReadAllValues(root, key, RegView::Bits64, values)) return names;
        for (const RegValueData& value : values) {
            if (value.type == REG_BINARY && IsApprovalDisabled(value.data)) names.push_back(value.name);
        }
        return names;
    }

    static bool Named(const std::vector<std::wstring>& names, const std::wstring& name) {
        return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) {
            return ::CompareStringOrdinal(n.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
        });
    }

    // A row that Task Manager disabled says so where a disabled item does, and counts as one.
    void MarkDisabled(AutostartRow& row, const std::vector<std::wstring>& disabled) {
        if (!Named(disabled, row.caption)) return;
        row.access = kDisabled;
        ++totals_.disabled;
    }

    bool ValueKey(HKEY root, const wchar_t* path, const std::wstring& access, wchar_t digit) {
        if (SeenBefore(root, path)) return true;
        const std::vector<std::wstring> disabled = DisabledByTaskManager(root, digit);
        StringList names;
        ReadValueNames(root, path, names);
        for (const std::wstring& name : names) {
            if (!sink_.PumpMessagesAndContinue()) return false;
            if (name.empty()) continue;  // the key's default value
            AutostartRow row;
            row.caption = name;
            row.command = ReadRegString(root, path, name);
            row.access = access;
            row.digit = digit;
            row.hasIcon = true;
            row.iconFile = IconFileOf(row.command);
            MarkDisabled(row, disabled);
            AddRow(std::move(row));
        }
        return true;
    }

    bool DisabledItems() {
        StringList names;
        ReadKeyNames(HKEY_LOCAL_MACHINE, kMsConfigKey, names);
        for (const std::wstring& name : names) {
            if (!sink_.PumpMessagesAndContinue()) return false;
            AutostartRow row;
            row.caption = name;
            row.command = ReadRegString(HKEY_LOCAL_MACHINE, std::wstring(kMsConfigKey) + name, L"command");
            row.access = kDisabled;
            row.digit = L'5';
            row.hasIcon = true;
            row.iconFile = IconFileOf(row.command);
            ++totals_.disabled;
            AddRow(std::move(row));
        }
        return true;
    }

    bool StartupFolder(const std::wstring& folder, const std::wstring& access, wchar_t digit) {
        if (folder.empty() || !DirectoryExists(folder)) return true;
        const std::wstring pattern = folder + L"*.lnk";  // the folder ends with a backslash
        WIN32_FIND_DATAW found{};
        UniqueFindHandle search(::FindFirstFileW(pattern.c_str(), &found));
        if (!search) return true;

        const std::vector<std::wstring> disabled =
            DisabledByTaskManager(digit == L'8' ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, digit);
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const ScopeExit uninitialise([com] {
            if (SUCCEEDED(com)) ::CoUninitialize();
        });
        do {
            if (!sink_.PumpMessagesAndContinue()) return false;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring name(found.cFileName);
            if (!IsShortcutName(name)) continue;
            AutostartRow row;
            row.caption = name;
            row.access = access;
            row.digit = digit;
            if (env_.shortcuts) {
                if (auto target = env_.shortcuts->ReadTarget(folder + name)) {
                    row.command = *target;
                    row.hasIcon = true;
                    row.iconFile = *target;  // the target as it is, without the command-line rules
                }
            }
            MarkDisabled(row, disabled);
            AddRow(std::move(row));
        } while (::FindNextFileW(search.get(), &found));
        return true;
    }

    const AutostartEnvironment& env_;
    AutostartSink& sink_;
    AutostartTotals totals_;
    std::vector<std::wstring> listedKeys_;
};

}  // namespace

AutostartTotals GatherAutostart(const AutostartEnvironment& env, AutostartSink& sink) {
    return Gatherer(env, sink).Run();
}

}  // namespace taliveer
