// The process page with 200 running programs: a steady pass against its floor and passes
// after 10 % churn against the steady pass (the floor: snapshot, open, path, priority, close
// for the same processes, no list view).
#include "app/main_layout.h"
#include "app/main_window.h"
#include "bench/bench_window.h"
#include "bench/harness.h"
#include "bench/sleeper_pool.h"
#include "pages/processes/process_page.h"
#include "pages/processes/process_snapshot.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstdlib>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
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

class CountOnly : public ProcessSink {
public:
    bool PumpMessagesAndContinue() override { return true; }
    void Add(const ProcessEntry&) override { ++count; }
    int count = 0;
};

// The floor of a pass that meets new programs: the walk, and one icon lookup and image for
// each program not met in the pass before.
class IconsOfNewcomers : public ProcessSink {
public:
    bool PumpMessagesAndContinue() override { return true; }
    void Add(const ProcessEntry& entry) override {
        seen_.insert(entry.path);
        if (known_.count(entry.path)) return;
        ImageList_AddIcon(images_.get(), GetFileIcon(slot_, entry.path));
    }
    void Pass() {
        seen_.clear();
        WalkProcesses(*this);
        known_.swap(seen_);
    }

private:
    std::set<std::wstring> known_, seen_;
    RowIconSlot slot_;
    UniqueHImageList images_{ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 16)};
};

}  // namespace

void ProcessBench() {
    const std::wstring source = SleeperSource();
    if (source.empty()) {
        std::printf("TALIVEER_SLEEPER is not set: skipped\n");
        return;
    }
    SleeperPool pool(source);
    for (int i = 0; i < 180; ++i) pool.StartProgram();
    for (int i = 0; i < 20; ++i) pool.StartInstance();
    ::Sleep(2000);

    BenchWindow window;
    auto& form = window.form;
    form->TabLabel3Click();
    // The passes are run by hand: the window's own ticks would add passes of their own.
    ::KillTimer(form->hwnd(), kPanel3TimerId);
    CountOnly counter;
    WalkProcesses(counter);
    const int rows = ListView_GetItemCount(form->Controls().Hwnd(ids::InfoList(3)));

    auto floorPass = [] {
        CountOnly sink;
        WalkProcesses(sink);
    };
    auto pass = [&] { form->Processes().Panel3TimerEvent(); };
    const auto [steady, floor] = MedianMsPaired(21, pass, floorPass);
    Print("processes in the table", counter.count, "processes");
    Print("rows listed (one per program)", rows, "rows");
    Print("steady pass (median of 21, alternating with the floor)", steady, "ms");
    Print("floor: snapshot + open + path + priority + close", floor, "ms");
    PrintRatio("steady pass / floor", steady, floor);
    Print("steady pass as a share of the 3000 ms period", 100.0 * steady / 3000.0, "%");

    // A pass that first meets the new processes, against the steady pass that follows it,
    // and the floor's own first look at new processes against its steady figure (the
    // platform's part of the cost). Rounds alternate between the page and the floor.
    IconsOfNewcomers newcomers;
    newcomers.Pass();
    auto churned = [&](const char* what, void (SleeperPool::*churn)(int)) {
        std::vector<double> pageRatios, floorRatios, times;
        for (int i = 0; i < 6; ++i) {
            (pool.*churn)(20);
            ::Sleep(1500);  // the new programs are up
            const bool page = i % 2 == 0;
            const std::function<void()> floorWithIcons = [&] { newcomers.Pass(); };
            const double first = MedianMs(1, page ? std::function<void()>(pass) : floorWithIcons);
            const double then = MedianMs(1, page ? std::function<void()>(pass) : floorWithIcons);
            (page ? pageRatios : floorRatios).push_back(first / then);
            if (page) times.push_back(first);
        }
        for (auto* v : {&pageRatios, &floorRatios, &times}) std::sort(v->begin(), v->end());
        Print(std::string("pass after ") + what + " (median of 3)", times[1], "ms");
        std::printf("%-58s %10.2f x a steady pass\n", "  churn pass / the steady pass after it", pageRatios[1]);
        std::printf("%-58s %10.2f x its steady pass\n", "  floor with an icon per new program: first / next look",
                    floorRatios[1]);
        std::fflush(stdout);
    };
    churned("20 instances of one program replaced", &SleeperPool::ChurnInstances);
    churned("20 programs replaced by 20 new ones", &SleeperPool::ChurnPrograms);
    const int images = ImageList_GetImageCount(form->ImageList1());
    Print("rows listed after the churn", ListView_GetItemCount(form->Controls().Hwnd(ids::InfoList(3))), "rows");
    Print("images in the list after the churn", images, "images");

    form.reset();
}

}  // namespace taliveer::bench
