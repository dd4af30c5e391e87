// Removes autostart entries after saving them in the Undo folder: registry values and
// disabled items into one registry script, shortcuts as copies of their files. Nothing is
// removed unless its backup was written first.
#pragma once

#include "pages/autostart/pure/autostart_rules.h"

#include <string>
#include <vector>

namespace taliveer {

struct AutostartEntry {
    std::wstring name;     // the row's caption: value name, disabled item or shortcut file
    wchar_t digit = L'0';  // its source
};

struct AutostartFolders {
    std::wstring undo;
    std::wstring userStartup;
    std::wstring commonStartup;
};

struct AutostartRemovalOutcome {
    bool backupFailed = false;        // nothing was removed
    std::wstring backupError;
    std::vector<std::wstring> backupFiles;  // names inside the Undo folder
    int removed = 0;
    std::vector<NotRemoved> failures;
};

AutostartRemovalOutcome RemoveAutostartEntries(const std::vector<AutostartEntry>& entries,
                                               const AutostartFolders& folders);

// What the user is told afterwards.
std::wstring RemovalReport(const AutostartRemovalOutcome& outcome, const std::wstring& undoFolder);

}  // namespace taliveer
