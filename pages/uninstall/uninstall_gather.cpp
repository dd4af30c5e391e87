#include "pages/uninstall/uninstall_gather.h"

#include "services/reg_unit.h"

namespace taliveer {

bool ReadUninstallList(HKEY root, UninstallFilter filter, UninstallSink& sink) {
    StringList toolbars;
    ReadValueNames(HKEY_LOCAL_MACHINE, kToolbarKey, toolbars);
    StringList keys;
    ReadKeyNames(root, kUninstallKey, keys);
    for (const std::wstring& keyName : keys) {
        if (!sink.PumpMessagesAndContinue()) return false;
        const std::wstring key = kUninstallKey + keyName;
        UninstallRow row;
        row.keyName = keyName;
        row.name = ReadRegString(root, key, L"DisplayName");
        if (row.name.empty()) continue;
        row.command = ChooseUninstallCommand(ReadRegString(root, key, L"QuietUninstallString"),
                                             ReadRegString(root, key, L"UninstallString"));
        if (row.command.empty()) continue;
        if (filter == UninstallFilter::NoWindowsUpdates &&
            IsWindowsUpdate(ReadRegString(root, key, L"ReleaseType"), row.name)) {
            continue;
        }
        if (filter == UninstallFilter::ToolbarsOnly && !IsToolbar(keyName, row.name, row.command, toolbars)) continue;
        row.date = FormatInstallDate(ReadRegString(root, key, L"InstallDate"));
        row.iconSource = RegValueExists(root, key, L"DisplayIcon") ? ReadRegString(root, key, L"DisplayIcon") : row.command;
        sink.Add(row);
    }
    return true;
}

}  // namespace taliveer
