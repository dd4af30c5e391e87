// Backups of what the program removes from the registry: registry scripts in the Undo
// folder, which the user opens with the registry editor to put the entries back.
#pragma once

#include "services/pure/backup_name.h"
#include "services/pure/reg_script.h"
#include "services/reg_unit.h"

#include <windows.h>

#include <string>
#include <vector>
#include <string_view>

namespace taliveer {

struct BackupResult {
    bool written = false;   // this action wrote a file that holds the saved entries
    std::wstring fileName;  // the file's name inside the Undo folder, when written
    std::wstring error;     // why not, when not
};

// Creates the Undo folder and any missing parents; true when it exists afterwards, else
// false and why.
bool EnsureUndoFolder(const std::wstring& undoFolder, std::wstring* reason = nullptr);

// Saves the script under base + suffix, or base + " (n)" + suffix when that name is taken
// (an older backup is never replaced). Nothing is written for a script without values.
BackupResult SaveRegScript(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                           const RegScript& script);

// Saves root\path with every subkey and value, read in `view` (the view the deletion
// uses), in the registry editor's own format, the same way.
BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                          std::wstring_view base, std::wstring_view suffix);

// A key as its backup holds it: its path below the root, its values, its subkeys.
struct SavedKey {
    std::wstring path;
    std::vector<RegValueData> values;
    std::vector<SavedKey> subkeys;
};

// Adds root\path with its values and subkeys, read in `view`, to `script`, each key under
// the name of where it really lives (so that the registry editor puts it back there); false
// (and a reason) when a key or its list of subkeys cannot be read, a key cannot be named, or
// it holds a name that a script line cannot carry. `saved`, when given, gets what was added.
bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view path, RegView view, std::wstring& error,
                  SavedKey* saved = nullptr);

// Adds one value with its exact type and bytes, under where its key really lives; false
// (and a reason) when it cannot be read. `saved`, when given, gets the value as added.
bool AppendRegValue(RegScript& script, HKEY root, std::wstring_view path, std::wstring_view name, RegView view,
                    std::wstring& error, RegValueData* saved = nullptr);

// Deletes what a backup holds and nothing else: each saved value still holding its saved
// type and bytes, each saved subkey the same way (deepest first), and each key once it is
// empty. What is there now that the backup does not hold, or holds with other data, stays.
struct SavedKeyDeletion {
    int deleted = 0;                // values and keys deleted
    int leftBehind = 0;             // values and subkeys that stay because they were not saved as they are
    LSTATUS error = ERROR_SUCCESS;  // the first refusal; the rest is still tried
};
SavedKeyDeletion DeleteSavedKey(HKEY root, const SavedKey& saved, RegView view);

// Deletes one value when it still holds the saved type and bytes: ERROR_SUCCESS,
// ERROR_FILE_NOT_FOUND when it is gone, ERROR_INVALID_DATA when it has changed since, ...
LSTATUS DeleteSavedValue(HKEY root, std::wstring_view path, const RegValueData& saved, RegView view);

// Saves root\\path whole as ExportRegKey does, and once the backup is written deletes what
// it holds (DeleteSavedKey, in the same view). A key that is not there is left alone; one
// that cannot be read is said to be so, not to be gone.
KeyRemoval BackUpAndRemoveKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                              std::wstring_view base, std::wstring_view suffix);

// The same for several keys (one extension in the user's and the machine's classes): all of
// them into one backup, then each removed; one result per key. When one of them cannot be
// read, none is removed.
struct KeyToRemove {
    HKEY root;
    std::wstring path;
};
std::vector<KeyRemoval> BackUpAndRemoveKeys(const std::wstring& undoFolder, const std::vector<KeyToRemove>& keys,
                                            RegView view, std::wstring_view base, std::wstring_view suffix);

// Copies a file byte for byte into the Undo folder under base + suffix (never replacing an
// older backup, as above).
BackupResult CopyIntoUndo(const std::wstring& undoFolder, const std::wstring& file, std::wstring_view base,
                          std::wstring_view suffix);

// Reads one value as stored (64-bit view); false when it does not exist.
bool ReadRegValueData(HKEY root, std::wstring_view path, std::wstring_view name, RegValueData& value);

}  // namespace taliveer
