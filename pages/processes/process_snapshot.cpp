#include "pages/processes/process_snapshot.h"

#include "services/path_text.h"
#include "services/unique_handle.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace taliveer {
namespace {

using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);

// QueryFullProcessImageNameW reads the path of 64-bit processes too (GetModuleFileNameExW
// fails for them in a 32-bit program); it is missing only before Vista.
QueryImageName FindQueryImageName() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<QueryImageName>(
                        reinterpret_cast<void*>(::GetProcAddress(kernel, "QueryFullProcessImageNameW")))
                  : nullptr;
}

}  // namespace

void ReadProcessDetails(ProcessEntry& entry) {
    static const QueryImageName queryImageName = FindQueryImageName();
    entry.path.clear();
    entry.priorityClass = 0;
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    if (queryImageName) {
        UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.id));
        if (!process) return;
        DWORD size = static_cast<DWORD>(buffer.size());
        if (!queryImageName(process.get(), 0, buffer.data(), &size) && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            buffer.assign(32768, L'\0');
            size = static_cast<DWORD>(buffer.size());
            if (!queryImageName(process.get(), 0, buffer.data(), &size)) size = 0;
        }
        entry.path = std::wstring(UpToFirstNul(std::wstring_view(buffer.data(), std::min<size_t>(size, buffer.size()))));
        entry.priorityClass = ::GetPriorityClass(process.get());
        return;
    }
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.id));
    if (!process) return;
    const DWORD got = ::GetModuleFileNameExW(process.get(), nullptr, buffer.data(), MAX_PATH);
    entry.path = std::wstring(UpToFirstNul(std::wstring_view(buffer.data(), got)));
    entry.priorityClass = ::GetPriorityClass(process.get());
}

bool WalkProcesses(ProcessSink& sink) {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return true;  // no table: the pass sees no process
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more; more = ::Process32NextW(snapshot.get(), &record)) {
        if (!sink.Pending()) return false;
        ProcessEntry entry;
        entry.id = record.th32ProcessID;
        entry.exeName = std::wstring(UpToFirstNul(std::wstring_view(record.szExeFile, MAX_PATH)));
        ReadProcessDetails(entry);
        sink.Entry(entry);
    }
    return true;
}

}  // namespace taliveer
