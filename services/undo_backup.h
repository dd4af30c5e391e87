// Backups of what the program removes from the registry: registry scripts in the Undo
// folder, which the user opens with the registry editor to put the entries back.
#pragma once

#include "services/pure/reg_script.h"

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

// Saves root\path with every subkey and value, read in the 64-bit view (the view the
// deletion uses), in the registry editor's own format, the same way.
BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view rootName, std::wstring_view path,
                          std::wstring_view base, std::wstring_view suffix);

// Adds root\path with its values and subkeys to `script`; false (and a reason) when the
// key cannot be read or holds a name that a script line cannot carry.
bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view rootName, std::wstring_view path, std::wstring& error);

// Reads one value as stored (64-bit view); false when it does not exist.
bool ReadRegValueData(HKEY root, std::wstring_view path, std::wstring_view name, RegValueData& value);

}  // namespace taliveer
