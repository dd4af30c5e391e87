#include "pages/uninstall/uninstall_gather.h"

#include "services/reg_unit.h"

#include <algorithm>

namespace taliveer {

std::vector<UninstallSource> UninstallSources(std::wstring_view uninstallKey) {
    std::vector<UninstallSource> sources;
    std::vector<std::wstring> seen;
    for (const UninstallSource& source : {UninstallSource{HKEY_CURRENT_USER, RegView::Bits64},
                                          UninstallSource{HKEY_LOCAL_MACHINE, RegView::Bits64},
                                          UninstallSource{HKEY_LOCAL_MACHINE, RegView::Bits32}}) {
        const std::wstring real = RealKeyName(source.root, uninstallKey, source.view);
        const bool listed = !real.empty() && std::any_of(seen.begin(), seen.end(), [&](const std::wstring& s) {
            return ::CompareStringOrdinal(s.c_str(), -1, real.c_str(), -1, TRUE) == CSTR_EQUAL;
        });
        if (listed) continue;
        if (!real.empty()) seen.push_back(real);
        sources.push_back(source);
    }
    return sources;
}

bool ReadUninstallList(HKEY root, RegView view, UninstallFilter filter, UninstallSink& sink) {
    StringList toolbars;
    ReadValueNames(HKEY_LOCAL_MACHINE, kToolbarKey, toolbars);
    StringList keys;
    ReadKeyNamesIn(root, kUninstallKey, view, keys);
    for (const std::wstring& keyName : keys) {
        if (!sink.PumpMessagesAndContinue()) return false;
        // One opening of the record for all its reads.
        const RegKeyReader record(root, kUninstallKey + keyName, view);
        UninstallRow row;
        row.keyName = keyName;
        row.root = root;
        row.view = view;
        const auto read = [&](const wchar_t* name) { return record.String(name); };
        row.name = read(L"DisplayName");
        if (row.name.empty()) continue;
        row.command = ChooseUninstallCommand(read(L"QuietUninstallString"), read(L"UninstallString"));
        if (row.command.empty()) continue;
        if (filter == UninstallFilter::NoWindowsUpdates &&
            IsWindowsUpdate(read(L"ReleaseType"), row.name)) {
            continue;
        }
        if (filter == UninstallFilter::ToolbarsOnly && !IsToolbar(keyName, row.name, row.command, toolbars)) continue;
        row.date = FormatInstallDate(read(L"InstallDate"));
        std::wstring icon;
        row.iconSource = record.StringIfPresent(L"DisplayIcon", icon) ? icon : row.command;
        RegValueData msi;
        row.windowsInstaller = record.Data(L"WindowsInstaller", msi) && msi.type == REG_DWORD &&
                               msi.data.size() == 4 && msi.data[0] == 1 && msi.data[1] == 0 && msi.data[2] == 0 &&
                               msi.data[3] == 0;
        sink.Add(row);
    }
    return true;
}

}  // namespace taliveer
