// Starts another program and waits until it has ended.
#pragma once

#include <windows.h>

#include <string>

namespace taliveer {

// Starts `file` as given (not searched, not quoted) with the command line " " + parameters,
// at high priority and detached from any console; false at once when it cannot be started
// (and the system's error code in `startError`), otherwise true once it has ended, whatever
// its exit code. Meanwhile `window` (when given) is disabled, keeps repainting and takes no
// input; no timer or other message of this program runs.
bool LaunchAndWait(const std::wstring& file, const std::wstring& parameters, HWND window,
                   DWORD* startError = nullptr);

// The same, and the program runs inside a job of its own (no break-away), so that the wait
// lasts until every process of the job has ended: many uninstallers copy themselves to the
// temporary folder, start the copy and exit at once, or start helpers. Where the program
// cannot be put into a job (a system that allows no nested jobs), the wait is for the
// program itself, and `wholeJob` says so.
struct LaunchResult {
    bool started = false;
    DWORD startError = ERROR_SUCCESS;  // why not
    DWORD exitCode = 0;                // the program's own
    bool wholeJob = false;             // every process it started was waited for
};
LaunchResult LaunchAndWaitForAll(const std::wstring& file, const std::wstring& parameters, HWND window);

// The same for one of the system's own programs named by its path in the Windows folder (the
// registry editor): a 32-bit program under WoW64 starts it with the file-system redirection
// off, so that the system's 64-bit program runs, the one a double click starts.
LaunchResult LaunchSystemProgramAndWait(const std::wstring& file, const std::wstring& parameters, HWND window);

}  // namespace taliveer
