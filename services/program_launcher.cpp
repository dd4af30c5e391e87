#include "services/program_launcher.h"

#include "services/unique_handle.h"

namespace taliveer {
namespace {

// Repaints what needs it until the process ends; sent messages from other threads are
// delivered by PeekMessage on the way. Input, timers and posted messages stay queued.
void WaitRepainting(HANDLE process) {
    for (;;) {
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

}  // namespace

bool LaunchAndWait(const std::wstring& file, const std::wstring& parameters, HWND window, DWORD* startError) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    std::wstring commandLine = L" " + parameters;  // the program's own name stays empty
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          HIGH_PRIORITY_CLASS | DETACHED_PROCESS | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
        if (startError) *startError = ::GetLastError();
        return false;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    // The class is set again before the program runs a single instruction: some systems
    // (Wine among them) let a new process start at normal priority whatever it asked for.
    ::SetPriorityClass(process.get(), HIGH_PRIORITY_CLASS);
    ::ResumeThread(thread.get());

    const bool wasEnabled = window && ::IsWindowEnabled(window);
    if (wasEnabled) ::EnableWindow(window, FALSE);
    const ScopeExit enable([&] {
        if (wasEnabled) ::EnableWindow(window, TRUE);
    });
    WaitRepainting(process.get());
    return true;
}

}  // namespace taliveer
