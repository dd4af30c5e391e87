// Resources stay flat however long the window is used: 100 page switches and 1,000 process
// passes while programs come and go leave the memory, the handles, the shared image list and
// the child windows where they were. The figures are printed.
#include "pages/processes/process_page.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/sleepers.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <deque>

namespace taliveer {
namespace {

struct Resources {
    unsigned long commitKiB = 0;
    unsigned long handles = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    int images = 0;
    int children = 0;
    int rows = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class FlatResourcesTest : public test::MainWindowTest {
protected:
    Resources Now(int page) {
        Resources r;
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        r.commitKiB = static_cast<unsigned long>(memory.PagefileUsage / 1024);
        DWORD handles = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
        r.handles = handles;
        r.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        r.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
        r.images = ImageList_GetImageCount(form_->ImageList1());
        ::EnumChildWindows(form_->hwnd(), &CountChild, reinterpret_cast<LPARAM>(&r.children));
        r.rows = ListView_GetItemCount(Hwnd(ids::InfoList(page)));
        return r;
    }
    static void Print(const char* when, const Resources& r) {
        std::printf("%-44s commit %lu KiB, handles %lu, GDI %lu, USER %lu, images %d, child windows %d, rows %d\n", when,
                    r.commitKiB, r.handles, r.gdi, r.user, r.images, r.children, r.rows);
        std::fflush(stdout);
    }
    // Flat: the same windows and images for the same rows; memory and handles within what an
    // allocator keeps in reserve (Wine answers 0 for the handle, GDI and USER counts).
    static void ExpectFlat(const Resources& before, const Resources& after) {
        EXPECT_EQ(after.children, before.children);
        EXPECT_EQ(after.rows, before.rows);
        EXPECT_LE(after.images, before.images);
        EXPECT_LE(after.handles, before.handles + 8);
        EXPECT_LE(after.gdi, before.gdi + 8);
        EXPECT_LE(after.user, before.user + 8);
        EXPECT_LE(after.commitKiB, before.commitKiB + 2048);
    }
};

TEST_F(FlatResourcesTest, AHundredPageSwitchesLeaveNothingBehind) {
    for (int tab = 1; tab <= 4; ++tab) Click(ids::TabLabel(tab));  // everything made once
    const Resources before = Now(4);
    Print("before 100 page switches (on page 4)", before);
    for (int i = 0; i < 100; ++i) Click(ids::TabLabel(1 + i % 4));
    const Resources after = Now(4);
    Print("after 100 page switches (on page 4)", after);
    ExpectFlat(before, after);
    EXPECT_EQ(after.images, before.images);
}

TEST_F(FlatResourcesTest, AThousandProcessPassesWhileProgramsComeAndGo) {
    test::Sleepers sleepers;
    std::deque<size_t> running;
    int next = 0;
    auto startOne = [&] { running.push_back(sleepers.Start(L"TalFlat" + std::to_wstring(next++) + L".exe")); };
    for (int i = 0; i < 8; ++i) startOne();
    Click(ids::TabLabel(3));
    auto pass = [&] { form_->Processes().Panel3TimerEvent(); };
    // One round of churn first, so that the images of ended rows are there to be taken over.
    auto churn = [&] {
        for (int i = 0; i < 2; ++i) {
            sleepers.End(running.front());
            running.pop_front();
            startOne();
        }
    };
    churn();
    test::PumpFor(300);
    pass();
    pass();
    const Resources before = Now(3);
    Print("before 1,000 process passes with churn", before);
    for (int i = 1; i <= 1000; ++i) {
        if (i % 10 == 0) churn();
        pass();
    }
    test::PumpFor(300);
    pass();
    pass();
    const Resources after = Now(3);
    Print("after 1,000 passes, 200 programs ended and started", after);
    ExpectFlat(before, after);
}

}  // namespace
}  // namespace taliveer
