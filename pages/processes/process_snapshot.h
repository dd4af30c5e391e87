// Walks the system's process table.
#pragma once

#include "pages/row_sink.h"

#include <windows.h>

#include <string>

namespace taliveer {

struct ProcessEntry {
    DWORD id = 0;
    std::wstring exeName;  // as the snapshot reports it
    std::wstring path;     // full image path; empty when it cannot be read
    DWORD priorityClass = 0;
};

using ProcessSink = RowSink<ProcessEntry>;

// One entry per process, in the table's order; false when the walk was stopped.
bool WalkProcesses(ProcessSink& sink);

// The image path and priority class of one process (the path empty, the class 0, when it
// cannot be opened or read).
void ReadProcessDetails(ProcessEntry& entry);

}  // namespace taliveer
