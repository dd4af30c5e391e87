#include "pages/processes/process_snapshot.h"

#include "services/pure/path_text.h"
#include "services/unique_handle.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace taliveer {

// QueryFullProcessImageNameW with the limited right reads the path of 64-bit and elevated
// processes too, where GetModuleFileNameExW fails in a 32-bit program.
void ReadProcessDetails(ProcessEntry& entry) {
    entry.path.clear();
    entry.priorityClass = 0;
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.id));
    if (!process) return;
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, buffer.data(), &size) &&
        ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.assign(32768, L'\0');
        size = static_cast<DWORD>(buffer.size());
        if (!::QueryFullProcessImageNameW(process.get(), 0, buffer.data(), &size)) size = 0;
    }
    entry.path = std::wstring(UpToFirstNul(std::wstring_view(buffer.data(), std::min<size_t>(size, buffer.size()))));
    entry.priorityClass = ::GetPriorityClass(process.get());
}

bool WalkProcesses(ProcessSink& sink) {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return true;  // no table: the pass sees no process
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more; more = ::Process32NextW(snapshot.get(), &record)) {
        if (!sink.PumpMessagesAndContinue()) return false;
        ProcessEntry entry;
        entry.id = record.th32ProcessID;
        entry.exeName = std::wstring(UpToFirstNul(std::wstring_view(record.szExeFile, MAX_PATH)));
        ReadProcessDetails(entry);
        sink.Add(entry);
    }
    return true;
}

}  // namespace taliveer
