#include "pages/autostart/autostart_removal.h"

#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"

namespace taliveer {
namespace {

constexpr wchar_t kStartupSuffix[] = L"_startup.reg";

HKEY RootOf(const AutostartPlace& place) { return place.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

std::wstring ReasonOf(LSTATUS status) {
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return L"已不存在";
    return SystemMessage(static_cast<DWORD>(status));
}

// One entry on its way out: where it is, and whether its backup holds it.
struct Pending {
    const AutostartEntry* entry;
    AutostartPlace place;
    std::wstring file;  // a shortcut's full path
};

}  // namespace

AutostartRemovalOutcome RemoveAutostartEntries(const std::vector<AutostartEntry>& entries,
                                               const AutostartFolders& folders) {
    AutostartRemovalOutcome outcome;
    RegScript script;
    std::wstring nameList;
    std::vector<Pending> registry;
    std::vector<Pending> shortcuts;

    // First everything into the backup, each value and item exactly as stored, from the view
    // it was read in and under the key it really lives in.
    for (const AutostartEntry& entry : entries) {
        const AutostartPlace place = PlaceOfSource(entry.digit);
        std::wstring error;
        switch (place.removal) {
        case AutostartRemoval::Value:
            if (!AppendRegValue(script, RootOf(place), place.key, entry.name, RegView::Bits64, error)) {
                outcome.failures.push_back({entry.name, error});
                continue;
            }
            registry.push_back({&entry, place, {}});
            break;
        case AutostartRemoval::DisabledItem:
            if (!AppendRegKey(script, RootOf(place), std::wstring(place.key) + entry.name, RegView::Bits64, error)) {
                outcome.failures.push_back({entry.name, error});
                continue;
            }
            registry.push_back({&entry, place, {}});
            break;
        case AutostartRemoval::UserShortcut:
        case AutostartRemoval::CommonShortcut: {
            const std::wstring& folder =
                place.removal == AutostartRemoval::UserShortcut ? folders.userStartup : folders.commonStartup;
            if (folder.empty()) {
                outcome.failures.push_back({entry.name, L"已不存在"});
                continue;
            }
            shortcuts.push_back({&entry, place, folder + entry.name});
            break;
        }
        case AutostartRemoval::Nothing:
            continue;
        }
        nameList += (nameList.empty() ? L"" : L",") + CleanedAutostartName(entry.name);
    }

    if (!script.Empty()) {
        const BackupResult saved = SaveRegScript(folders.undo, nameList, kStartupSuffix, script);
        if (!saved.written) {
            outcome.backupFailed = true;
            outcome.backupError = saved.error;
            return outcome;
        }
        outcome.backupFiles.push_back(saved.fileName);
    }
    // A shortcut is copied before it goes; without its copy it stays.
    std::vector<Pending> copied;
    for (const Pending& shortcut : shortcuts) {
        std::wstring stem = shortcut.entry->name;
        if (IsShortcutName(stem)) stem.resize(stem.size() - 4);
        const BackupResult saved = CopyIntoUndo(folders.undo, shortcut.file, stem, L".lnk");
        if (!saved.written) {
            outcome.failures.push_back({shortcut.entry->name, L"无法复制到撤消文件夹: " + saved.error});
            continue;
        }
        outcome.backupFiles.push_back(saved.fileName);
        copied.push_back(shortcut);
    }

    for (const Pending& item : registry) {
        const LSTATUS status =
            item.place.removal == AutostartRemoval::Value
                ? RemoveRegValue(RootOf(item.place), item.place.key, item.entry->name, RegView::Bits64)
                : RemoveRegTree(RootOf(item.place), std::wstring(item.place.key) + item.entry->name, RegView::Bits64);
        if (status == ERROR_SUCCESS) {
            ++outcome.removed;
        } else {
            outcome.failures.push_back({item.entry->name, ReasonOf(status)});
        }
    }
    for (const Pending& shortcut : copied) {
        if (::DeleteFileW(shortcut.file.c_str())) {
            ++outcome.removed;
        } else {
            outcome.failures.push_back({shortcut.entry->name, ReasonOf(static_cast<LSTATUS>(::GetLastError()))});
        }
    }
    return outcome;
}

std::wstring RemovalReport(const AutostartRemovalOutcome& outcome, const std::wstring& undoFolder) {
    if (outcome.backupFailed) return BackupFailedText(L"任何项目", undoFolder, outcome.backupError);
    if (outcome.failures.empty()) return kRemovedWithBackup;
    std::wstring files;
    for (const std::wstring& file : outcome.backupFiles) files += (files.empty() ? L"" : L", ") + file;
    return PartialRemovalText(outcome.removed, files, outcome.failures);
}

}  // namespace taliveer
