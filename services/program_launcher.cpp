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

// Repaints what needs it until no process of the job runs any longer.
void WaitForJobRepainting(HANDLE job) {
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!::QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                         nullptr) ||
            accounting.ActiveProcesses == 0) {
            return;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_PAINT | QS_SENDMESSAGE);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

LaunchResult Launch(const std::wstring& file, const std::wstring& parameters, HWND window, bool systemsOwn) {
    LaunchResult result;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    std::wstring commandLine = L" " + parameters;  // the program's own name stays empty
    PROCESS_INFORMATION info{};
    // A 32-bit process that names C:\Windows\regedit.exe gets SysWOW64\regedit.exe, which puts
    // HKLM\SOFTWARE\... into Wow6432Node; with the redirection off for the start, the system's
    // own 64-bit program runs.
    BOOL underWow64 = FALSE;
    PVOID redirection = nullptr;
    const bool redirectionOff = systemsOwn && ::IsWow64Process(::GetCurrentProcess(), &underWow64) && underWow64 &&
                                ::Wow64DisableWow64FsRedirection(&redirection);
    const BOOL started = ::CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                         HIGH_PRIORITY_CLASS | DETACHED_PROCESS | CREATE_SUSPENDED, nullptr, nullptr,
                                         &startup, &info);
    const DWORD startError = ::GetLastError();
    if (redirectionOff) ::Wow64RevertWow64FsRedirection(redirection);
    if (!started) {
        result.startError = startError;
        return result;
    }
    result.started = true;
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    // In the job before it runs a single instruction, so that whatever it starts is too.
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    result.wholeJob = job && ::AssignProcessToJobObject(job.get(), process.get());
    // The class is set again before the program runs: some systems (Wine among them) let a
    // new process start at normal priority whatever it asked for.
    ::SetPriorityClass(process.get(), HIGH_PRIORITY_CLASS);
    ::ResumeThread(thread.get());

    const bool wasEnabled = window && ::IsWindowEnabled(window);
    if (wasEnabled) ::EnableWindow(window, FALSE);
    const ScopeExit enable([&] {
        if (wasEnabled) ::EnableWindow(window, TRUE);
    });
    WaitRepainting(process.get());
    if (result.wholeJob) WaitForJobRepainting(job.get());
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

}  // namespace

LaunchResult LaunchAndWaitForAll(const std::wstring& file, const std::wstring& parameters, HWND window) {
    return Launch(file, parameters, window, false);
}

LaunchResult LaunchSystemProgramAndWait(const std::wstring& file, const std::wstring& parameters, HWND window) {
    return Launch(file, parameters, window, true);
}

bool LaunchAndWait(const std::wstring& file, const std::wstring& parameters, HWND window, DWORD* startError) {
    const LaunchResult result = LaunchAndWaitForAll(file, parameters, window);
    if (!result.started && startError) *startError = result.startError;
    return result.started;
}

}  // namespace taliveer
