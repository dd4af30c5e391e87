// Runs every benchmark (or those whose name contains the first argument), each in a process
// of its own with a time limit, within one budget for the whole run. A benchmark that fails
// or is cut short still gets its line, and what it left behind is removed.
#include "bench/harness.h"
#include "bench/sleeper_pool.h"
#include "services/unique_handle.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace taliveer::bench {
void StartupBench();
void RegionBench();
void AutostartBench();
void AutostartClean();
void ProcessBench();
void UninstallBench();
void UninstallClean();
void AssociationBench();
void AssociationClean();
void RestoreBench();
void RestoreClean();

namespace {
void NothingToClean() {}
}  // namespace

const std::vector<Benchmark>& AllBenchmarks() {
    static const std::vector<Benchmark> all{
        {"startup", &StartupBench, &NothingToClean, 30},
        {"region", &RegionBench, &NothingToClean, 30},
        {"autostart", &AutostartBench, &AutostartClean, 100},
        {"uninstall", &UninstallBench, &UninstallClean, 240},
        {"associations", &AssociationBench, &AssociationClean, 200},
        {"processes", &ProcessBench, &SleeperPool::Clean, 80},
        {"restore", &RestoreBench, &RestoreClean, 40},
    };
    return all;
}

namespace {

constexpr ULONGLONG kWholeBudgetMs = 10 * 60 * 1000;
// What a benchmark process returns when its benchmark ran to the end. Not 0: under Wine a
// process killed from outside may be seen to end with 0.
constexpr int kFinished = 0x7A11;

std::wstring Wide(const char* text) {
    std::wstring out;
    for (const char* p = text; *p; ++p) out.push_back(static_cast<wchar_t>(*p));
    return out;
}

int RunHere(const Benchmark& b) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    b.run();
    ::CoUninitialize();
    return kFinished;
}

// Runs `b` in a child process that writes to this one's output; says how it ended.
bool RunInChild(const Benchmark& b, DWORD limitMs) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --one " + Wide(b.name);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE h : {si.hStdOutput, si.hStdError}) ::SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    PROCESS_INFORMATION pi{};
    const ULONGLONG started = ::GetTickCount64();
    if (!::CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("-- %s: NOT RUN, the benchmark process could not start (error %lu)\n", b.name, ::GetLastError());
        return false;
    }
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    const DWORD waited = ::WaitForSingleObject(process.get(), limitMs);
    const double seconds = static_cast<double>(::GetTickCount64() - started) / 1000.0;
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 10000);
        std::printf("-- %s: CUT SHORT after %.0f s, its time limit; the figures above it are all it gave\n", b.name,
                    seconds);
        return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    if (code != kFinished) {
        std::printf("-- %s: FAILED with exit code %lu after %.1f s; the figures above it are all it gave\n", b.name,
                    code, seconds);
        return false;
    }
    std::printf("-- %s: finished in %.1f s\n", b.name, seconds);
    return true;
}

}  // namespace
}  // namespace taliveer::bench

int wmain(int argc, wchar_t** argv) {
    using namespace taliveer::bench;
    if (argc > 2 && std::wcscmp(argv[1], L"--one") == 0) {
        for (const auto& b : AllBenchmarks()) {
            if (Wide(b.name) == argv[2]) return RunHere(b);
        }
        return 2;
    }
    const ULONGLONG started = ::GetTickCount64();
    int finished = 0, chosen = 0;
    for (const auto& b : AllBenchmarks()) {
        if (argc > 1 && !std::wcsstr(Wide(b.name).c_str(), argv[1])) continue;
        ++chosen;
        std::printf("== %s\n", b.name);
        std::fflush(stdout);
        const ULONGLONG spent = ::GetTickCount64() - started;
        if (spent + 5000 > kWholeBudgetMs) {
            std::printf("-- %s: NOT RUN, the run's budget of %llu s is spent\n", b.name, kWholeBudgetMs / 1000);
        } else {
            const ULONGLONG limit = std::min<ULONGLONG>(static_cast<ULONGLONG>(b.budgetSeconds) * 1000, kWholeBudgetMs - spent);
            finished += RunInChild(b, static_cast<DWORD>(limit)) ? 1 : 0;
        }
        // Also after a failure or a cut: nothing of the benchmark stays behind.
        b.clean();
        std::fflush(stdout);
    }
    std::printf("== benchmarks: %d of %d finished in %.0f s (budget %llu s)\n", finished, chosen,
                static_cast<double>(::GetTickCount64() - started) / 1000.0, kWholeBudgetMs / 1000);
    return 0;
}
