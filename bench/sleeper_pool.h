// Running copies of the sleeper program for the process benchmark.
#pragma once

#include "services/unique_handle.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace taliveer::bench {

// Running copies of the sleeper: each under a name of its own (a program of its own) or
// several instances of one program.
class SleeperPool {
public:
    explicit SleeperPool(std::wstring source) : source_(std::move(source)), folder_(Folder()) {
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~SleeperPool() {
        for (auto& pi : distinct_) Stop(pi);
        for (auto& pi : instances_) Stop(pi);
        Clean();
    }
    SleeperPool(const SleeperPool&) = delete;
    SleeperPool& operator=(const SleeperPool&) = delete;

    // Ends every running copy (also those of a benchmark process that was cut short) and
    // removes the folder.
    static void Clean() {
        const std::wstring folder = Folder();
        UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W record{};
        record.dwSize = sizeof record;
        for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &record); more;
             more = ::Process32NextW(snapshot.get(), &record)) {
            if (std::wcsncmp(record.szExeFile, L"TalBench", 8) != 0) continue;
            UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, record.th32ProcessID));
            if (!process) continue;
            ::TerminateProcess(process.get(), 0);
            ::WaitForSingleObject(process.get(), 5000);
        }
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((folder + L"*.exe").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do ::DeleteFileW((folder + found.cFileName).c_str());
            while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(folder.c_str());
    }
    // A new program: a copy under a name not used before.
    void StartProgram() { distinct_.push_back(Start(L"TalBench" + std::to_wstring(next_++) + L".exe")); }
    // One more instance of the one shared program.
    void StartInstance() { instances_.push_back(Start(L"TalBenchShared.exe")); }
    // Ends the oldest `count` programs and starts as many new ones.
    void ChurnPrograms(int count) {
        for (int i = 0; i < count && !distinct_.empty(); ++i) {
            Stop(distinct_.front());
            distinct_.erase(distinct_.begin());
            StartProgram();
        }
    }
    // Ends the oldest `count` instances of the shared program and starts as many.
    void ChurnInstances(int count) {
        for (int i = 0; i < count && !instances_.empty(); ++i) {
            Stop(instances_.front());
            instances_.erase(instances_.begin());
            StartInstance();
        }
    }

private:
    static std::wstring Folder() {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        return std::wstring(temp) + L"taliveer bench sleepers\\";
    }
    PROCESS_INFORMATION Start(const std::wstring& name) {
        const std::wstring path = folder_ + name;
        ::CopyFileW(source_.c_str(), path.c_str(), TRUE);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + path + L"\"";
        if (!::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            pi = PROCESS_INFORMATION{};
        }
        return pi;
    }
    static void Stop(PROCESS_INFORMATION& pi) {
        if (!pi.hProcess) return;
        ::TerminateProcess(pi.hProcess, 0);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    std::wstring source_;
    std::wstring folder_;
    int next_ = 0;
    std::vector<PROCESS_INFORMATION> distinct_;
    std::vector<PROCESS_INFORMATION> instances_;
};

}  // namespace taliveer::bench
