// Switches autostart entries off and on as Windows does: since Windows 8 through the entry's
// StartupApproved value, which Task Manager and Settings read and write; on Windows 7 by
// moving the entry under the system configuration tool's startupreg key and back. The
// previous state of everything that changes is saved in the Undo folder first; nothing
// changes when that backup cannot be written.
#pragma once

#include "pages/autostart/autostart_removal.h"
#include "pages/autostart/pure/autostart_switch_rules.h"

#include <cstdint>
#include <string>
#include <vector>

namespace taliveer {

struct AutostartSwitchOptions {
    std::wstring undo;            // the Undo folder
    bool startupApproved = true;  // Windows 8 or later; false: Windows 7's way
    bool underWine = false;       // Wine reads no StartupApproved value: the report says so
    std::uint64_t now = 0;        // the FILETIME written into a switched-off value
};

struct AutostartSwitchOutcome {
    bool backupFailed = false;  // nothing was changed
    std::wstring backupError;
    SwitchSummary summary;
};

AutostartSwitchOutcome SwitchAutostartEntries(const std::vector<AutostartEntry>& entries, bool on,
                                              const AutostartSwitchOptions& options);

// What the user is told afterwards.
std::wstring SwitchReport(const AutostartSwitchOutcome& outcome, const std::wstring& undoFolder);

// The options of this system: its Windows version, whether it is Wine, the time now.
AutostartSwitchOptions SystemSwitchOptions(const std::wstring& undoFolder);

// Whether Windows keeps the entry `name` of source `digit` switched off (a StartupApproved
// value with bit 0 set), as it does for a name the user switched off before it was removed.
bool ApprovalSaysOff(wchar_t digit, const std::wstring& name);

}  // namespace taliveer
