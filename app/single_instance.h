// One running instance per logon session: the named mutex "Taliveer", and the restore
// signal a second start sends to the first.
#pragma once

#include "services/unique_handle.h"

namespace taliveer {

inline constexpr wchar_t kInstanceMutex[] = L"Taliveer";
inline constexpr wchar_t kRestoreMessageName[] = L"TaliveerRestore";
inline constexpr wchar_t kMainTitle[] = L"Taliveer";

// True when another instance holds the mutex; the restore signal has then been posted to
// its window, if it has one yet.
bool SignalRunningInstance();

// Creates the mutex for this instance; it lives as long as the handle.
UniqueKernelHandle ClaimInstance();

}  // namespace taliveer
