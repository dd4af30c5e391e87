// Reads the backups in the Undo folder back, compares what each holds with the registry
// (or the Startup folder) as it is now, and puts a backup back: a registry script through the
// system's registry editor, a shortcut copy into the folder it came from. A backup file is
// never changed or deleted; what a restore replaces is saved first, like any removal.
#pragma once

#include "services/pure/backup_listing.h"
#include "services/pure/reg_script_reader.h"

#include <windows.h>

#include <string>
#include <vector>

namespace taliveer {

struct BackupFile {
    std::wstring fileName;  // inside the Undo folder
    FILETIME written{};
    BackupKind kind = BackupKind::Other;
    std::wstring summary;
    BackupState state = BackupState::Unreadable;
    std::wstring reason;    // why it cannot be read, or why it cannot be restored here
    ScriptReading reading;  // a registry script's keys and values
    std::wstring origin;    // a shortcut copy: the full path it was removed from; empty when not known
};

// One key or value of a backup against what is there now.
struct BackupCheck {
    std::wstring item;  // "HKCU\...\Run" for a key, the key and the value's name for a value
    bool isKey = false;
    EntryState state = EntryState::Missing;
    std::wstring now;    // a different value's current data, as text
    std::wstring saved;  // the value's data in the backup, as text
    std::wstring root;   // the value's key, for saving what a restore replaces
    std::wstring path;
    std::wstring valueName;
};

// Whether the Undo folder holds at least one backup (a registry script or a shortcut copy).
bool UndoFolderHoldsBackups(const std::wstring& undoFolder);

// Every backup of the Undo folder, newest first, each read and compared with the registry.
std::vector<BackupFile> ListBackups(const std::wstring& undoFolder);

// Reads one backup and works out its state.
BackupFile ReadBackup(const std::wstring& undoFolder, const std::wstring& fileName, const FILETIME& written);

// Each key and value of a registry backup, or the shortcut, against what is there now.
std::vector<BackupCheck> CheckBackup(const BackupFile& backup);

// The registry key of a root name ("HKEY_CURRENT_USER", ...); nullptr for an unknown one.
HKEY RootKeyOf(std::wstring_view rootName);

// A shortcut copy's origin, kept in a small text file beside it (so that it goes wherever the
// Undo folder is copied). The writer never replaces an older copy's origin file.
bool WriteShortcutOrigin(const std::wstring& undoFolder, const std::wstring& copyName, const std::wstring& originalPath);
std::wstring ReadShortcutOrigin(const std::wstring& undoFolder, const std::wstring& copyName);

struct RestoreResult {
    bool changed = false;  // the registry or a folder was written to
    std::wstring message;  // what the user is told
};

// What a restore of the checks would add and replace, named for the question.
void RestoreChanges(const std::vector<BackupCheck>& checks, std::vector<std::wstring>& added,
                    std::vector<std::wstring>& replaced);

// Saves what the backup would replace (nothing is restored when that fails), opens the backup
// with the system's 64-bit registry editor and waits for it (`window` repaints meanwhile), then
// reads the registry again and says what came back and what did not.
RestoreResult RestoreRegistryBackup(const std::wstring& undoFolder, const std::wstring& windowsFolder,
                                    const BackupFile& backup, HWND window);

// Copies a shortcut copy to `target`. A file already there stays unless `replaceExisting`;
// then it is first copied into the Undo folder itself.
RestoreResult RestoreShortcut(const std::wstring& undoFolder, const BackupFile& backup, const std::wstring& target,
                              bool replaceExisting);

}  // namespace taliveer
