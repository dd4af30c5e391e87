#include "pages/autostart/autostart_removal.h"

#include "services/backup_restore.h"
#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"
#include "services/unique_handle.h"

#include <cstdint>

namespace taliveer {
namespace {

constexpr wchar_t kStartupSuffix[] = L"_startup.reg";

HKEY RootOf(const AutostartPlace& place) { return place.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

constexpr wchar_t kChangedSinceBackup[] = L"备份后已被更改，未删除";

std::wstring ReasonOf(LSTATUS status) {
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return L"已不存在";
    if (status == ERROR_INVALID_DATA) return kChangedSinceBackup;
    return SystemMessage(static_cast<DWORD>(status));
}

// One entry on its way out: where it is, and what its backup holds.
struct Pending {
    const AutostartEntry* entry;
    AutostartPlace place;
    std::wstring file;   // a shortcut's full path
    RegValueData value;  // a value as saved
    SavedKey item;       // a disabled item as saved
    std::vector<std::uint8_t> bytes;  // a shortcut's file as copied
    bool hasApproval = false;         // Task Manager's enabled state, saved beside it
    RegValueData approval;
};

// Saves the entry's enabled state as Task Manager keeps it, when there is one, so that it goes
// with the entry (no orphan is left) and comes back with it.
void SaveApproval(RegScript& script, Pending& pending) {
    const std::wstring key = StartupApprovedKeyOf(pending.entry->digit);
    if (key.empty()) return;
    RegValueData existing;
    if (!ReadValueData(RootOf(pending.place), key, pending.entry->name, RegView::Bits64, existing)) return;
    std::wstring error;
    pending.hasApproval =
        AppendRegValue(script, RootOf(pending.place), key, pending.entry->name, RegView::Bits64, error, &pending.approval);
}

// Deletes the saved enabled state once its entry is gone; a refusal is named.
void DeleteApproval(const Pending& pending, AutostartRemovalOutcome& outcome) {
    if (!pending.hasApproval) return;
    const LSTATUS status = DeleteSavedValue(RootOf(pending.place), StartupApprovedKeyOf(pending.entry->digit),
                                            pending.approval, RegView::Bits64);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        outcome.failures.push_back({pending.entry->name + L" (任务管理器中的启用状态)", ReasonOf(status)});
    }
}

// Reads a whole file (at most 64 MB); false when it cannot be read.
bool ReadWholeFile(HANDLE file, std::vector<std::uint8_t>& bytes) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart > (1 << 26)) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    return bytes.empty() ||
           (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

// Deletes the shortcut only while it still holds the bytes that were copied: it is opened
// with no sharing, compared, and marked for deletion through the same handle, so that a file
// put in its place meanwhile is never the one that goes.
LSTATUS DeleteCopiedFile(const std::wstring& path, const std::vector<std::uint8_t>& copied) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return static_cast<LSTATUS>(::GetLastError());
    std::vector<std::uint8_t> now;
    if (!ReadWholeFile(file.get(), now)) return static_cast<LSTATUS>(::GetLastError());
    if (now != copied) return ERROR_INVALID_DATA;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
        return static_cast<LSTATUS>(::GetLastError());
    }
    return ERROR_SUCCESS;
}

}  // namespace

AutostartRemovalOutcome RemoveAutostartEntries(const std::vector<AutostartEntry>& entries,
                                               const AutostartFolders& folders) {
    AutostartRemovalOutcome outcome;
    RegScript script;
    std::wstring nameList;
    std::vector<Pending> registry;
    std::vector<Pending> shortcuts;
    registry.reserve(entries.size());

    // First everything into the backup, each value and item exactly as stored, from the view
    // it was read in and under the key it really lives in.
    for (const AutostartEntry& entry : entries) {
        const AutostartPlace place = PlaceOfSource(entry.digit);
        std::wstring error;
        switch (place.removal) {
        case AutostartRemoval::Value: {
            Pending pending{&entry, place, {}, {}, {}, {}, false, {}};
            if (!AppendRegValue(script, RootOf(place), place.key, entry.name, RegView::Bits64, error, &pending.value)) {
                outcome.failures.push_back({entry.name, error});
                continue;
            }
            SaveApproval(script, pending);
            registry.push_back(std::move(pending));
            break;
        }
        case AutostartRemoval::DisabledItem: {
            Pending pending{&entry, place, {}, {}, {}, {}, false, {}};
            if (!AppendRegKey(script, RootOf(place), std::wstring(place.key) + entry.name, RegView::Bits64, error,
                              &pending.item)) {
                outcome.failures.push_back({entry.name, error});
                continue;
            }
            registry.push_back(std::move(pending));
            break;
        }
        case AutostartRemoval::UserShortcut:
        case AutostartRemoval::CommonShortcut: {
            const std::wstring& folder =
                place.removal == AutostartRemoval::UserShortcut ? folders.userStartup : folders.commonStartup;
            if (folder.empty()) {
                outcome.failures.push_back({entry.name, L"已不存在"});
                continue;
            }
            shortcuts.push_back({&entry, place, folder + entry.name, {}, {}, {}, false, {}});
            SaveApproval(script, shortcuts.back());
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
    for (Pending& shortcut : shortcuts) {
        std::wstring stem = shortcut.entry->name;
        if (IsShortcutName(stem)) stem.resize(stem.size() - 4);
        const BackupResult saved = CopyIntoUndo(folders.undo, shortcut.file, stem, L".lnk");
        if (!saved.written) {
            outcome.failures.push_back({shortcut.entry->name, L"无法复制到撤消文件夹: " + saved.error});
            continue;
        }
        outcome.backupFiles.push_back(saved.fileName);
        // Where it was goes beside the copy, so that a restore can put it back there. Without
        // it the copy is still a full backup: the restore asks for the folder.
        WriteShortcutOrigin(folders.undo, saved.fileName, shortcut.file);
        UniqueFileHandle copy(::CreateFileW((folders.undo + saved.fileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!copy || !ReadWholeFile(copy.get(), shortcut.bytes)) {
            outcome.failures.push_back({shortcut.entry->name, L"无法读回撤消文件夹中的副本"});
            continue;
        }
        copied.push_back(std::move(shortcut));
    }
    // Only what the backup holds goes: a value or item changed since it was saved stays.
    for (const Pending& item : registry) {
        LSTATUS status = ERROR_SUCCESS;
        if (item.place.removal == AutostartRemoval::Value) {
            status = DeleteSavedValue(RootOf(item.place), item.place.key, item.value, RegView::Bits64);
        } else {
            const SavedKeyDeletion deletion = DeleteSavedKey(RootOf(item.place), item.item, RegView::Bits64);
            status = deletion.error != ERROR_SUCCESS ? deletion.error
                     : deletion.leftBehind > 0       ? ERROR_INVALID_DATA
                                                     : ERROR_SUCCESS;
        }
        if (status == ERROR_SUCCESS) {
            ++outcome.removed;
            DeleteApproval(item, outcome);
        } else {
            outcome.failures.push_back({item.entry->name, ReasonOf(status)});
        }
    }
    for (const Pending& shortcut : copied) {
        const LSTATUS status = DeleteCopiedFile(shortcut.file, shortcut.bytes);
        if (status == ERROR_SUCCESS) {
            ++outcome.removed;
            DeleteApproval(shortcut, outcome);
        } else {
            outcome.failures.push_back({shortcut.entry->name, ReasonOf(status)});
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
