// The process page with about 200 running programs: a steady pass and a pass with 10 %
// churn against the floor (snapshot, open, path, priority, close for the same processes,
// no list view), and GDI, USER and handle counts before and after 1,000 passes.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "bench/bench_window.h"
#include "bench/harness.h"
#include "pages/processes/process_page.h"
#include "pages/processes/process_snapshot.h"
#include "services/reg_unit.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstdlib>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace taliveer::bench {
namespace {

std::wstring SleeperSource() {
    const char* env = std::getenv("TALIVEER_SLEEPER");
    if (!env) return {};
    std::wstring path;
    for (const char* p = env; *p; ++p) path.push_back(*p == '/' ? L'\\' : static_cast<wchar_t>(*p));
    return path[0] == L'\\' ? L"Z:" + path : path;
}

class SleeperPool {
public:
    explicit SleeperPool(std::wstring source) : source_(std::move(source)) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"taliveer bench sleepers\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~SleeperPool() {
        for (auto& [name, pi] : running_) Stop(pi);
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((folder_ + L"*.exe").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do ::DeleteFileW((folder_ + found.cFileName).c_str());
            while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(folder_.c_str());
    }
    void Start(int n) {
        const std::wstring path = folder_ + L"TalBench" + std::to_wstring(n) + L".exe";
        ::CopyFileW(source_.c_str(), path.c_str(), TRUE);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring line = L"\"" + path + L"\"";
        if (::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            running_.emplace_back(n, pi);
        }
    }
    // Ends the oldest `count` and starts as many new ones.
    void Churn(int count) {
        for (int i = 0; i < count && !running_.empty(); ++i) {
            Stop(running_.front().second);
            running_.erase(running_.begin());
            Start(next_++);
        }
    }
    int next_ = 0;

private:
    static void Stop(PROCESS_INFORMATION& pi) {
        ::TerminateProcess(pi.hProcess, 0);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    std::wstring source_;
    std::wstring folder_;
    std::vector<std::pair<int, PROCESS_INFORMATION>> running_;
};

class CountOnly : public ProcessSink {
public:
    bool PumpMessagesAndContinue() override { return true; }
    void Add(const ProcessEntry&) override { ++count; }
    int count = 0;
};

// GDI and USER object and handle counts (Wine answers 0 for all three, so the private
// bytes and the image list's size are printed too).
void PrintResources(const char* when, HIMAGELIST images) {
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    std::printf("%-40s GDI %lu, USER %lu, handles %lu, commit %lu KiB, working set %lu KiB, images %d\n", when,
                ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), handles,
                static_cast<unsigned long>(memory.PagefileUsage / 1024),
                static_cast<unsigned long>(memory.WorkingSetSize / 1024), ImageList_GetImageCount(images));
    std::fflush(stdout);
}

}  // namespace

void ProcessBench() {
    const std::wstring source = SleeperSource();
    if (source.empty()) {
        std::printf("TALIVEER_SLEEPER is not set: skipped\n");
        return;
    }
    SleeperPool pool(source);
    for (; pool.next_ < 200; ++pool.next_) pool.Start(pool.next_);
    ::Sleep(2000);

    BenchWindow window;
    auto& form = window.form;
    form->TabLabel3Click();
    CountOnly counter;
    WalkProcesses(counter);
    const int rows = ListView_GetItemCount(form->Controls().Hwnd(ids::InfoList(3)));

    auto floorPass = [] {
        CountOnly sink;
        WalkProcesses(sink);
    };
    const auto [steady, floor] = MedianMsPaired(21, [&] { form->Processes().Panel3TimerEvent(); }, floorPass);
    Print("processes in the table / rows listed", counter.count, "processes");
    Print("rows listed", rows, "rows");
    Print("steady pass (median of 21, alternating with the floor)", steady, "ms");
    Print("floor: snapshot + open + path + priority + close", floor, "ms");
    PrintRatio("steady pass / floor", steady, floor);
    Print("steady pass as a share of the 3000 ms period", 100.0 * steady / 3000.0, "%");

    std::vector<double> churnTimes, churnFloors;
    for (int i = 0; i < 9; ++i) {
        pool.Churn(20);
        ::Sleep(1000);  // the new programs are up
        churnFloors.push_back(MedianMs(1, floorPass));
        churnTimes.push_back(MedianMs(1, [&] { form->Processes().Panel3TimerEvent(); }));
    }
    std::sort(churnTimes.begin(), churnTimes.end());
    std::sort(churnFloors.begin(), churnFloors.end());
    Print("pass after 10 % churn (median of 9)", churnTimes[4], "ms");
    PrintRatio("churn pass / floor", churnTimes[4], churnFloors[4]);

    for (int i = 0; i < 20; ++i) form->Processes().Panel3TimerEvent();  // allocations settle
    PrintResources("before 1,000 steady passes", form->ImageList1());
    for (int i = 0; i < 1000; ++i) form->Processes().Panel3TimerEvent();
    PrintResources("after 1,000 steady passes", form->ImageList1());

    form.reset();
}

}  // namespace taliveer::bench
