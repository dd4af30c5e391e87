#include "app/single_instance.h"

#include "app/main_window.h"

namespace taliveer {

bool SignalRunningInstance() {
    HANDLE existing = ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutex);
    if (!existing) return false;
    // The handle is left to the system: the process ends right after this.
    const UINT restore = ::RegisterWindowMessageW(kRestoreMessageName);
    if (HWND window = ::FindWindowW(nullptr, kMainTitle); window && restore != 0) {
        ::PostMessageW(window, restore, kRestoreSignal, 0);
    }
    return true;
}

UniqueKernelHandle ClaimInstance() { return UniqueKernelHandle(::CreateMutexW(nullptr, FALSE, kInstanceMutex)); }

}  // namespace taliveer
