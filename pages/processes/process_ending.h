// Ends every running instance of one program.
#pragma once

#include "pages/processes/pure/process_rules.h"

#include <windows.h>

#include <string>
#include <vector>

namespace taliveer {

struct EndOutcome {
    int ended = 0;
    std::vector<EndFailure> failures;  // instances still running
};

// Ends every process whose executable name is `exeName` exactly, from a fresh snapshot,
// with exit code 1 (never 259, which a waiting parent reads as "still running"). Processes
// that Windows marks critical are refused; `spareId` (this program) is never ended.
EndOutcome EndProcessesNamed(const std::wstring& exeName, DWORD spareId);

// True when a row of the process page stands for this program: its path is this program's
// own path in any letter case, or its name is that of this program's own process.
bool IsOwnProgramRow(const std::wstring& exeName, const std::wstring& path);

}  // namespace taliveer
