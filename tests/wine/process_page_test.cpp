// The process page with real processes.
#include "pages/processes/process_page.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/sleepers.h"

#include <commctrl.h>

#include <set>

namespace taliveer {
namespace {

using test::FindRow;

// Counts what a pass does to the list view.
struct ListChanges {
    int inserts = 0;
    int deletes = 0;
    bool busyDuringInsert = true;
    const bool* busyFlag = nullptr;
};
LRESULT CALLBACK CountChanges(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* changes = reinterpret_cast<ListChanges*>(ref);
    if (msg == LVM_INSERTITEMW) {
        ++changes->inserts;
        changes->busyDuringInsert = changes->busyDuringInsert && *changes->busyFlag;
    }
    if (msg == LVM_DELETEITEM || msg == LVM_DELETEALLITEMS) ++changes->deletes;
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

class ProcessPageTest : public test::MainWindowTest {
protected:
    HWND List() { return Hwnd(ids::InfoList(3)); }
    std::vector<test::ListRow> Rows() { return test::ReadRows(List(), 3); }
    void Pass() { form_->Processes().Panel3TimerEvent(); }
    int Count(const std::vector<test::ListRow>& rows, const std::wstring& caption) {
        int n = 0;
        for (const auto& r : rows) n += r.cells[0] == caption;
        return n;
    }
    test::Sleepers sleepers_;
};

TEST_F(ProcessPageTest, OneRowPerProgramWithPathAndPriorityAndTheCount) {
    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(3)).Text(), L"0 个程序在工作");
    const size_t a = sleepers_.Start(L"TalTwin.exe");
    sleepers_.Start(L"TalTwin.exe");
    sleepers_.Start(L"TalHigh.exe", HIGH_PRIORITY_CLASS);
    sleepers_.Start(L"TalRealtime.exe", REALTIME_PRIORITY_CLASS);
    sleepers_.Start(L"TalAbove.exe", ABOVE_NORMAL_PRIORITY_CLASS);
    Click(ids::TabLabel(3));
    auto rows = Rows();
    EXPECT_EQ(Count(rows, L"TalTwin.exe"), 1);
    const int twin = FindRow(rows, L"TalTwin.exe");
    ASSERT_GE(twin, 0);
    EXPECT_EQ(rows[static_cast<size_t>(twin)].cells[1], sleepers_.Folder() + L"TalTwin.exe");
    EXPECT_EQ(rows[static_cast<size_t>(twin)].cells[2], L"Normal");
    EXPECT_GE(rows[static_cast<size_t>(twin)].image, 0);
    ASSERT_GE(FindRow(rows, L"TalHigh.exe"), 0);
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalHigh.exe"))].cells[2], L"High");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalRealtime.exe"))].cells[2], L"Normal");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalAbove.exe"))].cells[2], L"Normal");
    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(3)).Text(), std::to_wstring(rows.size()) + L" 个程序工作");

    // The row stays while either instance runs.
    sleepers_.End(a);
    Pass();
    EXPECT_EQ(Count(Rows(), L"TalTwin.exe"), 1);
}

TEST_F(ProcessPageTest, NamesWithSystemInAnyCaseAreNeverListed) {
    sleepers_.Start(L"TalSystemTool.exe");
    sleepers_.Start(L"talsYSTEMx.exe");
    sleepers_.Start(L"TalPlain.exe");
    Click(ids::TabLabel(3));
    const auto rows = Rows();
    EXPECT_EQ(FindRow(rows, L"TalSystemTool.exe"), -1);
    EXPECT_EQ(FindRow(rows, L"talsYSTEMx.exe"), -1);
    EXPECT_GE(FindRow(rows, L"TalPlain.exe"), 0);
    for (const auto& row : rows) EXPECT_NE(row.cells[1].find(L":\\"), std::wstring::npos);
}

TEST_F(ProcessPageTest, AnEndedProgramGoesAtTheNextPassAndTheSelectionStays) {
    const size_t gone = sleepers_.Start(L"TalGone.exe");
    sleepers_.Start(L"TalStays.exe");
    Click(ids::TabLabel(3));
    auto rows = Rows();
    const int stays = FindRow(rows, L"TalStays.exe");
    ASSERT_GE(stays, 0);
    ASSERT_GE(FindRow(rows, L"TalGone.exe"), 0);
    ListView_SetItemState(List(), stays, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    sleepers_.End(gone);
    Pass();
    rows = Rows();
    EXPECT_EQ(FindRow(rows, L"TalGone.exe"), -1);
    const int after = FindRow(rows, L"TalStays.exe");
    ASSERT_GE(after, 0);
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), after);
    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(3)).Text(), std::to_wstring(rows.size()) + L" 个程序工作");
}

TEST_F(ProcessPageTest, ASteadyTableLeavesTheListUntouchedAndNewProgramsComeAtTheBottom) {
    sleepers_.Start(L"TalSteady.exe");
    Click(ids::TabLabel(3));
    ListChanges changes;
    changes.busyFlag = &state_.BusyFlag;
    ::SetWindowSubclass(List(), &CountChanges, 1, reinterpret_cast<DWORD_PTR>(&changes));
    const auto before = Rows();
    for (int i = 0; i < 4; ++i) Pass();
    EXPECT_EQ(changes.inserts, 0);
    EXPECT_EQ(changes.deletes, 0);
    EXPECT_EQ(Rows().size(), before.size());

    sleepers_.Start(L"TalNewcomer.exe");
    Pass();
    const auto rows = Rows();
    EXPECT_EQ(changes.inserts, 1);
    EXPECT_TRUE(changes.busyDuringInsert);
    EXPECT_FALSE(state_.BusyFlag);
    EXPECT_EQ(FindRow(rows, L"TalNewcomer.exe"), static_cast<int>(rows.size()) - 1);
    ::RemoveWindowSubclass(List(), &CountChanges, 1);
}

TEST_F(ProcessPageTest, TheTimerRunsOnlyOnThisPageAndATickWithItOffChangesNothing) {
    const size_t s = sleepers_.Start(L"TalTick.exe");
    Click(ids::TabLabel(3));
    EXPECT_TRUE(form_->Panel3TimerOn());
    Click(ids::TabLabel(2));
    EXPECT_FALSE(form_->Panel3TimerOn());
    sleepers_.End(s);
    Pass();  // a tick while the timer is off
    EXPECT_GE(FindRow(Rows(), L"TalTick.exe"), 0);
    // Coming back rebuilds the page from nothing.
    Click(ids::TabLabel(3));
    EXPECT_EQ(FindRow(Rows(), L"TalTick.exe"), -1);
}

TEST_F(ProcessPageTest, TheTimerRefreshesThePageOnItsOwn) {
    Click(ids::TabLabel(3));
    sleepers_.Start(L"TalByTimer.exe");
    EXPECT_TRUE(test::PumpUntil([&] { return FindRow(Rows(), L"TalByTimer.exe") >= 0; }, 7000));
}

TEST_F(ProcessPageTest, ATickWhileAPassLetsMessagesRunListsNoProgramTwice) {
    sleepers_.Start(L"TalNestedA.exe");
    sleepers_.Start(L"TalNestedB.exe");
    Click(ids::TabLabel(3));
    sleepers_.Start(L"TalNestedC.exe");
    // The tick waits in the queue; the pass meets it at its first look at the messages,
    // and again when it enters the page anew.
    ::PostMessageW(form_->hwnd(), WM_TIMER, kPanel3TimerId, 0);
    Pass();
    ::PostMessageW(form_->hwnd(), WM_TIMER, kPanel3TimerId, 0);
    Click(ids::TabLabel(3));
    const auto rows = Rows();
    for (const auto& row : rows) EXPECT_EQ(Count(rows, row.cells[0]), 1) << test::Utf8(row.cells[0]);
    EXPECT_EQ(Count(rows, L"TalNestedC.exe"), 1);
    EXPECT_FALSE(state_.BusyFlag);
}

TEST_F(ProcessPageTest, NewProgramsTakeOverTheImagesOfEndedOnesSoTheImageListStaysFlat) {
    Click(ids::TabLabel(3));
    std::vector<size_t> running;
    for (int i = 0; i < 3; ++i) running.push_back(sleepers_.Start(L"TalImage0" + std::to_wstring(i) + L".exe"));
    Pass();
    const int afterFirst = ImageList_GetImageCount(form_->ImageList1());
    for (int round = 1; round <= 4; ++round) {
        for (size_t s : running) sleepers_.End(s);
        running.clear();
        for (int i = 0; i < 3; ++i) {
            running.push_back(sleepers_.Start(L"TalImage" + std::to_wstring(round) + std::to_wstring(i) + L".exe"));
        }
        Pass();
        Pass();
        // The first round's new rows come before the ended rows free their images.
        EXPECT_LE(ImageList_GetImageCount(form_->ImageList1()), afterFirst + 3) << "round " << round;
        // Still an image of its own for every row.
        std::set<int> images;
        HWND list = List();
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            ASSERT_TRUE(ListView_GetItem(list, &item));
            EXPECT_TRUE(images.insert(item.iImage).second) << "row " << row << " shares image " << item.iImage;
            EXPECT_LT(item.iImage, ImageList_GetImageCount(form_->ImageList1()));
        }
    }
}

}  // namespace
}  // namespace taliveer
