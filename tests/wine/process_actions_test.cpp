// The process page's buttons with real processes: "结束进程" and "继续".
#include "pages/processes/process_ending.h"
#include "pages/processes/process_page.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/sleepers.h"

#include <commctrl.h>

namespace taliveer {
namespace {

using test::FindRow;

// Notes whether the wait box is up when the association list receives its rows.
LRESULT CALLBACK SeeWaitBox(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    if (msg == LVM_INSERTITEMW) {
        HWND box = ::FindWindowW(nullptr, L"收集数据");
        *reinterpret_cast<bool*>(ref) = *reinterpret_cast<bool*>(ref) || (box && ::IsWindowVisible(box));
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

class ProcessActionsTest : public test::MainWindowTest {
protected:
    HWND List() { return Hwnd(ids::InfoList(3)); }
    std::vector<test::ListRow> Rows() { return test::ReadRows(List(), 3); }
    void Select(const std::wstring& caption) {
        const int row = FindRow(Rows(), caption);
        ASSERT_GE(row, 0) << "no row " << std::string(caption.begin(), caption.end());
        ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    void EndProcessButton() { Click(ids::ButtonLabel(3, 1)); }
    test::Sleepers sleepers_;
};

TEST_F(ProcessActionsTest, EndingARowEndsEveryInstanceWithExitCodeOneAndTheRowGoesAtOnce) {
    const size_t a = sleepers_.Start(L"TalEndTwin.exe");
    const size_t b = sleepers_.Start(L"TalEndTwin.exe");
    sleepers_.Start(L"TalEndOther.exe");
    Click(ids::TabLabel(3));
    Select(L"TalEndTwin.exe");

    std::wstring question;
    AnswerNextQuestion(true, &question);
    EndProcessButton();
    EXPECT_TRUE(test::AllShownActionsRan());
    EXPECT_EQ(question, L"您确定要卸载 \"TalEndTwin.exe\" 从内存?");
    // 259 would tell a waiting parent that the program still runs.
    EXPECT_EQ(sleepers_.WaitExit(a), 1u);
    EXPECT_EQ(sleepers_.WaitExit(b), 1u);
    // The refresh pass ran at once; one more shows what ended only just now.
    form_->Processes().Panel3TimerEvent();
    const auto rows = Rows();
    EXPECT_EQ(FindRow(rows, L"TalEndTwin.exe"), -1);
    EXPECT_GE(FindRow(rows, L"TalEndOther.exe"), 0);
}

TEST_F(ProcessActionsTest, CopiesFromTwoFoldersAreNamedInTheQuestionAndAStaleIdIsNeverEnded) {
    const size_t a = sleepers_.Start(L"TalEndWhere.exe");
    const size_t b = sleepers_.Start(L"other place\\TalEndWhere.exe");
    // A program of the same name as one of Windows', outside the system folder, is the user's.
    const size_t c = sleepers_.Start(L"svchost.exe");
    Click(ids::TabLabel(3));
    Select(L"TalEndWhere.exe");
    std::wstring question;
    AnswerNextQuestion(true, &question);
    EndProcessButton();
    EXPECT_NE(question.find(L"\n" + sleepers_.Folder() + L" (1 个)"), std::wstring::npos) << test::Utf8(question);
    EXPECT_NE(question.find(L"\n" + sleepers_.Folder() + L"other place\\ (1 个)"), std::wstring::npos);
    EXPECT_EQ(sleepers_.WaitExit(a), 1u);
    EXPECT_EQ(sleepers_.WaitExit(b), 1u);

    // The id no longer names the program the snapshot saw: it stays.
    const EndOutcome stale =
        EndProcesses(L"svchost.exe", {RunningCopy{sleepers_.Id(c), L"C:\\elsewhere\\svchost.exe"}}, state_.SystemFolder);
    EXPECT_EQ(stale.ended, 0);
    EXPECT_EQ(sleepers_.WaitExit(c, 200), STILL_ACTIVE);
    const EndOutcome users = EndProcessesNamed(L"svchost.exe", ::GetCurrentProcessId(), state_.SystemFolder);
    EXPECT_EQ(sleepers_.WaitExit(c), 1u);
    // Windows' own svchost (Wine's, in the system folder), where it runs, is refused.
    EXPECT_EQ(users.ended, 1);
    for (const EndFailure& f : users.failures) EXPECT_TRUE(f.critical);
}

TEST_F(ProcessActionsTest, NoEndsNothingAndLeavesTheList) {
    const size_t a = sleepers_.Start(L"TalKeep.exe");
    Click(ids::TabLabel(3));
    Select(L"TalKeep.exe");
    const auto before = Rows();
    AnswerNextQuestion(false);
    EndProcessButton();
    EXPECT_TRUE(test::AllShownActionsRan());
    EXPECT_EQ(sleepers_.WaitExit(a, 300), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(Rows().size(), before.size());
    EXPECT_GE(FindRow(Rows(), L"TalKeep.exe"), 0);
}

TEST_F(ProcessActionsTest, WithoutASelectionTheUserIsAskedToChooseAndNothingIsEnded) {
    const size_t a = sleepers_.Start(L"TalUnchosen.exe");
    Click(ids::TabLabel(3));
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    std::wstring info;
    ReadNextInfo(&info);
    EndProcessButton();
    EXPECT_EQ(info, L"请选择一个程序从内存中卸载!");
    EXPECT_EQ(sleepers_.WaitExit(a, 200), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(ProcessActionsTest, TheProgramsOwnRowIsRefusedWhateverTheCaseOfItsPath) {
    wchar_t own[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring path(own, n);
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    Click(ids::TabLabel(3));
    Select(name);
    std::wstring info;
    ReadNextInfo(&info);
    EndProcessButton();
    EXPECT_TRUE(test::AllShownActionsRan());
    EXPECT_EQ(info, L"如果你想关闭程序，按“关闭”按钮!");
    EXPECT_TRUE(::IsWindow(form_->hwnd()));  // still here

    std::wstring lower = path;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(::towlower(c));
    EXPECT_TRUE(IsOwnProgramRow(L"", lower));
    EXPECT_TRUE(IsOwnProgramRow(name, L""));  // the same program, whatever path the row shows
    EXPECT_FALSE(IsOwnProgramRow(L"TalStranger.exe", L"C:\\x\\TalStranger.exe"));
}

TEST_F(ProcessActionsTest, AnInstanceThatMayNotBeEndedIsNamedWithTheCount) {
    // Nobody but the system may end it, not even its owner.
    const size_t guarded = sleepers_.Start(L"TalGuarded.exe", NORMAL_PRIORITY_CLASS, L"D:P(A;;0x1000;;;WD)");
    HANDLE probe = ::OpenProcess(PROCESS_TERMINATE, FALSE, sleepers_.Id(guarded));
    const bool enforced = probe == nullptr;
    if (probe) ::CloseHandle(probe);
    if (!enforced) GTEST_SKIP() << "this platform does not check a process's access list";

    Click(ids::TabLabel(3));
    Select(L"TalGuarded.exe");
    AnswerNextQuestion(true);
    std::wstring info;
    ReadNextInfo(&info);
    EndProcessButton();
    EXPECT_TRUE(test::AllShownActionsRan());
    EXPECT_EQ(info.rfind(L"无法结束 1 个 \"TalGuarded.exe\" 进程:\n进程 " + std::to_wstring(sleepers_.Id(guarded)) + L": ", 0),
              0u)
        << std::string(info.begin(), info.end());
    EXPECT_EQ(sleepers_.WaitExit(guarded, 200), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_GE(FindRow(Rows(), L"TalGuarded.exe"), 0);
}

TEST_F(ProcessActionsTest, ContinueStopsTheTimerAndOpensTheAssociationPageUnderTheWaitBox) {
    Click(ids::TabLabel(3));
    ASSERT_TRUE(form_->Panel3TimerOn());
    bool waitBoxSeen = false;
    ::SetWindowSubclass(Hwnd(ids::InfoList(4)), &SeeWaitBox, 1, reinterpret_cast<DWORD_PTR>(&waitBoxSeen));
    Click(ids::ButtonLabel(3, 2));
    ::RemoveWindowSubclass(Hwnd(ids::InfoList(4)), &SeeWaitBox, 1);
    EXPECT_FALSE(form_->Panel3TimerOn());
    EXPECT_EQ(form_->PageInFront(), 4);
    EXPECT_EQ(LabelColour(ids::TabLabel(4)), kHighlightBlue);
    EXPECT_TRUE(waitBoxSeen);
}

}  // namespace
}  // namespace taliveer
