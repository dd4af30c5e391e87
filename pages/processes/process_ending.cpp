#include "pages/processes/process_ending.h"

#include "services/file_system.h"
#include "services/pure/path_text.h"
#include "services/system_message.h"
#include "services/unique_handle.h"

#include <tlhelp32.h>

#include <optional>
#include <vector>

namespace taliveer {
namespace {

constexpr UINT kEndedExitCode = 1;

// What the system says of the process, where it can say it (Windows 8.1 and later);
// nothing where the function is missing or the process cannot be asked.
std::optional<bool> SystemSaysCritical(DWORD id) {
    using IsProcessCriticalFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const auto isCritical = reinterpret_cast<IsProcessCriticalFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsProcessCritical")));
    if (!isCritical) return std::nullopt;
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    BOOL critical = FALSE;
    if (!process || !isCritical(process.get(), &critical)) return std::nullopt;
    return critical != FALSE;
}

// Critical when the system says so, when it is one of the system folder's programs that
// Windows cannot run without (the system's own mark misses svchost), or, for a process whose
// path cannot be read, when its name is on the list.
bool IsCritical(DWORD id, const std::wstring& exeName, const std::wstring& path, const std::wstring& systemFolder) {
    if (SystemSaysCritical(id).value_or(false)) return true;
    if (!path.empty()) return IsWindowsCriticalProgram(path, systemFolder);
    return IsCriticalSystemProcessName(exeName) || exeName == L"svchost.exe";
}

std::wstring ImagePath(HANDLE process) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (::QueryFullProcessImageNameW(process, 0, buffer.data(), &size)) return std::wstring(buffer.data(), size);
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring OwnExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD got = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got < buffer.size()) return std::wstring(buffer.data(), got);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring OwnProcessName() {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    const DWORD self = ::GetCurrentProcessId();
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more; more = ::Process32NextW(snapshot.get(), &record)) {
        if (record.th32ProcessID == self) return std::wstring(UpToFirstNul(std::wstring_view(record.szExeFile, MAX_PATH)));
    }
    return {};
}

}  // namespace

bool FindProcessesNamed(const std::wstring& exeName, DWORD spareId, std::vector<RunningCopy>& copies) {
    copies.clear();
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more; more = ::Process32NextW(snapshot.get(), &record)) {
        const std::wstring name(UpToFirstNul(std::wstring_view(record.szExeFile, MAX_PATH)));
        const DWORD id = record.th32ProcessID;
        if (name != exeName || id == spareId) continue;
        UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        copies.push_back(RunningCopy{id, process ? ImagePath(process.get()) : std::wstring()});
    }
    return true;
}

EndOutcome EndProcessesNamed(const std::wstring& exeName, DWORD spareId, const std::wstring& systemFolder) {
    std::vector<RunningCopy> copies;
    if (!FindProcessesNamed(exeName, spareId, copies)) {
        EndOutcome outcome;
        outcome.snapshotFailed = true;
        return outcome;
    }
    return EndProcesses(exeName, copies, systemFolder);
}

EndOutcome EndProcesses(const std::wstring& exeName, const std::vector<RunningCopy>& copies,
                        const std::wstring& systemFolder) {
    EndOutcome outcome;
    for (const RunningCopy& copy : copies) {
        const DWORD id = copy.id;
        if (IsCritical(id, exeName, copy.path, systemFolder)) {
            outcome.failures.push_back(EndFailure{id, true, {}});
            continue;
        }
        UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
        if (!process) {
            const DWORD code = ::GetLastError();
            // Gone since the snapshot was taken: nothing left to end.
            if (code != ERROR_INVALID_PARAMETER) outcome.failures.push_back(EndFailure{id, false, SystemMessage(code)});
            continue;
        }
        // The id may belong to another program by now: only the one the snapshot saw ends.
        const std::wstring now = ImagePath(process.get());
        const bool same = copy.path.empty() ? SamePath(now.substr(now.find_last_of(L'\\') + 1), exeName)
                                            : SamePath(now, copy.path);
        if (!same) continue;
        if (::TerminateProcess(process.get(), kEndedExitCode)) {
            ++outcome.ended;
        } else {
            outcome.failures.push_back(EndFailure{id, false, SystemMessage(::GetLastError())});
        }
    }
    return outcome;
}

bool IsOwnProgramRow(const std::wstring& exeName, const std::wstring& path) {
    if (!path.empty() && LocaleUpperCase(path) == LocaleUpperCase(OwnExecutablePath())) return true;
    return !exeName.empty() && exeName == OwnProcessName();
}

}  // namespace taliveer
