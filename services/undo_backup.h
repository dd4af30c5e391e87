// Backups of what the program removes from the registry: registry scripts in the Undo
// folder, which the user opens with the registry editor to put the entries back.
#pragma once

#include "services/pure/backup_name.h"
#include "services/pure/reg_script.h"
#include "services/reg_unit.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace taliveer {

struct BackupResult {
    bool written = false;   // this action wrote a file that holds the saved entries
    std::wstring fileName;  // the file's name inside the Undo folder, when written
    std::wstring error;     // why not, when not
};

// Creates the Undo folder and any missing parents; true when it exists afterwards.
bool EnsureUndoFolder(const std::wstring& undoFolder);

// Saves the script under base + suffix, or base + " (n)" + suffix when that name is taken
// (an older backup is never replaced). Nothing is written for a script without values.
BackupResult SaveRegScript(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                           const RegScript& script);

// Saves root\path with every subkey and value, read in `view` (the view the deletion
// uses), in the registry editor's own format, the same way.
BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                          std::wstring_view base, std::wstring_view suffix);

// Adds root\path with its values and subkeys, read in `view`, to `script`, each key under
// the name of where it really lives (so that the registry editor puts it back there); false
// (and a reason) when a key cannot be read or named, or holds a name that a script line
// cannot carry.
bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view path, RegView view, std::wstring& error);

// Adds one value with its exact type and bytes, under where its key really lives; false
// (and a reason) when it cannot be read.
bool AppendRegValue(RegScript& script, HKEY root, std::wstring_view path, std::wstring_view name, RegView view,
                    std::wstring& error);

// Saves root\\path whole as ExportRegKey does, and removes it (with every subkey, in the
// same view) only once the backup is written. A key that is not there is left alone.
KeyRemoval BackUpAndRemoveKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                              std::wstring_view base, std::wstring_view suffix);

// Copies a file byte for byte into the Undo folder under base + suffix (never replacing an
// older backup, as above).
BackupResult CopyIntoUndo(const std::wstring& undoFolder, const std::wstring& file, std::wstring_view base,
                          std::wstring_view suffix);

// Reads one value as stored (64-bit view); false when it does not exist.
bool ReadRegValueData(HKEY root, std::wstring_view path, std::wstring_view name, RegValueData& value);

}  // namespace taliveer
