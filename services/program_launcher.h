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

}  // namespace taliveer
