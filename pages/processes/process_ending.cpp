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

bool IsCritical(DWORD id, const std::wstring& exeName) {
    const std::optional<bool> system = SystemSaysCritical(id);
    return system ? *system : IsCriticalSystemProcessName(exeName);
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

EndOutcome EndProcessesNamed(const std::wstring& exeName, DWORD spareId) {
    EndOutcome outcome;
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return outcome;
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more; more = ::Process32NextW(snapshot.get(), &record)) {
        const std::wstring name(UpToFirstNul(std::wstring_view(record.szExeFile, MAX_PATH)));
        const DWORD id = record.th32ProcessID;
        if (name != exeName || id == spareId) continue;
        if (IsCritical(id, name)) {
            outcome.failures.push_back(EndFailure{id, true, {}});
            continue;
        }
        UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (!process) {
            const DWORD code = ::GetLastError();
            // Gone since the snapshot was taken: nothing left to end.
            if (code != ERROR_INVALID_PARAMETER) outcome.failures.push_back(EndFailure{id, false, SystemMessage(code)});
            continue;
        }
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
