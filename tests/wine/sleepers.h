// Copies of the sleeper program running under chosen names, ended with the test.
#pragma once

#include "tests/wine/test_support.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace taliveer::test {

class Sleepers {
public:
    Sleepers() {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"taliveer sleepers\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~Sleepers() {
        for (auto& p : running_) End(p);
        for (const auto& name : copies_) ::DeleteFileW((folder_ + name).c_str());
        for (const auto& sub : subfolders_) ::RemoveDirectoryW((folder_ + sub).c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    Sleepers(const Sleepers&) = delete;
    Sleepers& operator=(const Sleepers&) = delete;

    // Starts a copy named `name` ("sub\\name.exe" puts it in a folder of its own); returns its
    // index for End(). With `sddl`, the process gets that access list (e.g. one that lets
    // nobody end it).
    size_t Start(const std::wstring& name, DWORD priority = NORMAL_PRIORITY_CLASS, const wchar_t* sddl = nullptr) {
        if (const size_t slash = name.rfind(L'\\'); slash != std::wstring::npos) {
            const std::wstring sub = name.substr(0, slash);
            if (::CreateDirectoryW((folder_ + sub).c_str(), nullptr)) subfolders_.push_back(sub);
        }
        const std::wstring source = WindowsPathFromEnv("TALIVEER_SLEEPER");
        EXPECT_FALSE(source.empty()) << "TALIVEER_SLEEPER is not set";
        const std::wstring target = folder_ + name;
        if (::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
            EXPECT_TRUE(::CopyFileW(source.c_str(), target.c_str(), FALSE));
            copies_.push_back(name);
        }
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + target + L"\"";
        // Wine ignores a priority flag at creation: set it while the program is suspended.
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
        if (sddl) {
            EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                               &sa.lpSecurityDescriptor, nullptr));
        }
        EXPECT_TRUE(::CreateProcessW(target.c_str(), line.data(), sddl ? &sa : nullptr, nullptr, FALSE,
                                     CREATE_SUSPENDED, nullptr, nullptr, &si, &pi));
        if (sa.lpSecurityDescriptor) ::LocalFree(sa.lpSecurityDescriptor);
        ::SetPriorityClass(pi.hProcess, priority);
        ::ResumeThread(pi.hThread);
        running_.push_back(pi);
        return running_.size() - 1;
    }
    void End(size_t index) { End(running_[index]); }
    DWORD Id(size_t index) const { return running_[index].dwProcessId; }
    // Waits for the process to end by itself or by someone else; its exit code, or
    // STILL_ACTIVE when it still runs after `ms`.
    DWORD WaitExit(size_t index, DWORD ms = 5000) {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(running_[index].hProcess, ms) == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(running_[index].hProcess, &code);
        }
        return code;
    }
    const std::wstring& Folder() const { return folder_; }

private:
    static void End(PROCESS_INFORMATION& pi) {
        if (!pi.hProcess) return;
        ::TerminateProcess(pi.hProcess, 0);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
        pi = {};
    }
    std::wstring folder_;
    std::vector<std::wstring> subfolders_;
    std::vector<std::wstring> copies_;
    std::vector<PROCESS_INFORMATION> running_;
};

}  // namespace taliveer::test
