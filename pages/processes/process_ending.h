// Ends every running instance of one program.
#pragma once

#include "pages/processes/pure/process_rules.h"

#include <windows.h>

#include <string>
#include <vector>

namespace taliveer {

struct EndOutcome {
    bool snapshotFailed = false;       // nothing was ended
    int ended = 0;
    std::vector<EndFailure> failures;  // instances still running
};

// One running copy of a program as a snapshot saw it; `path` is empty when the process
// could not be asked.
struct RunningCopy {
    DWORD id = 0;
    std::wstring path;
};

// Every process whose executable name is `exeName` exactly, but `spareId` (this program);
// false when no snapshot could be taken.
bool FindProcessesNamed(const std::wstring& exeName, DWORD spareId, std::vector<RunningCopy>& copies);

// Ends the copies with exit code 1 (never 259, which a waiting parent reads as "still
// running"). Each is opened and checked to be still the program the snapshot saw (a process
// id may be reused meanwhile); one that is not is left alone. Processes that Windows marks
// critical, and the programs of `systemFolder` whose end takes Windows down, are refused.
EndOutcome EndProcesses(const std::wstring& exeName, const std::vector<RunningCopy>& copies,
                        const std::wstring& systemFolder);

// Both in one: every copy of the program from a fresh snapshot.
EndOutcome EndProcessesNamed(const std::wstring& exeName, DWORD spareId, const std::wstring& systemFolder);

// True when a row of the process page stands for this program: its path is this program's
// own path in any letter case, or its name is that of this program's own process.
bool IsOwnProgramRow(const std::wstring& exeName, const std::wstring& path);

}  // namespace taliveer
