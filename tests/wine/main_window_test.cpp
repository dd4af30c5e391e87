// The main window as the user meets it: shape, drag band, tabs, hover buttons, close rule,
// restore signal, start-up state.
#include "services/file_system.h"
#include "services/pure/command_line.h"
#include "services/reg_unit.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

namespace taliveer {
namespace {

using test::MainWindowTest;
using test::PumpFor;

TEST_F(MainWindowTest, IsA720By540BorderlessWindowTitledTaliveerCentredOnTheScreen) {
    HWND w = form_->hwnd();
    RECT wr;
    ::GetWindowRect(w, &wr);
    EXPECT_EQ(wr.right - wr.left, 720);
    EXPECT_EQ(wr.bottom - wr.top, 540);
    RECT client;
    ::GetClientRect(w, &client);
    EXPECT_EQ(client.right, 720);
    EXPECT_EQ(client.bottom, 540);
    EXPECT_EQ(::GetWindowLongPtrW(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    wchar_t title[32] = {};
    ::GetWindowTextW(w, title, 32);
    EXPECT_STREQ(title, L"Taliveer");
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(wr.left - work.left, work.right - wr.right, 1);
    EXPECT_NEAR(wr.top - work.top, work.bottom - wr.bottom, 1);
    EXPECT_EQ(::FindWindowW(nullptr, L"Taliveer"), w);
}

TEST_F(MainWindowTest, CornersAreCutByTheWindowRegion) {
    UniqueHRgn region(form_->RegionForTests());
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(::PtInRegion(region.get(), 4, 0));
    EXPECT_FALSE(::PtInRegion(region.get(), 1, 1));
    EXPECT_FALSE(::PtInRegion(region.get(), 719, 539));
    EXPECT_FALSE(::PtInRegion(region.get(), 0, 535));
    EXPECT_TRUE(::PtInRegion(region.get(), 5, 0));
    EXPECT_TRUE(::PtInRegion(region.get(), 1, 4));
    EXPECT_TRUE(::PtInRegion(region.get(), 360, 0));
    EXPECT_TRUE(::PtInRegion(region.get(), 360, 270));
}

TEST_F(MainWindowTest, DragBandIsTheTopSixtyRowsLeftOfTheInfoLabel) {
    HWND w = form_->hwnd();
    RECT wr;
    ::GetWindowRect(w, &wr);
    auto hit = [&](int x, int y) { return ::SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)); };
    EXPECT_EQ(hit(10, 10), HTCAPTION);
    EXPECT_EQ(hit(634, 59), HTCAPTION);
    EXPECT_EQ(hit(635, 10), HTCLIENT);
    EXPECT_EQ(hit(300, 60), HTCLIENT);
    EXPECT_EQ(hit(300, 300), HTCLIENT);

    // Statics in the band let the hit test through to the window; the part of the maker's
    // name from x = 635 on stays clickable.
    auto childHit = [&](int id, int x, int y) {
        return ::SendMessageW(Hwnd(id), WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
    };
    EXPECT_EQ(childHit(ids::kCopyrightLabel1, 500, 50), HTTRANSPARENT);
    EXPECT_EQ(childHit(ids::kCopyrightLabel2, 620, 50), HTTRANSPARENT);
    EXPECT_EQ(childHit(ids::kCopyrightLabel2, 640, 50), HTCLIENT);
    EXPECT_EQ(childHit(ids::kForm1Image, 20, 20), HTTRANSPARENT);
    EXPECT_EQ(childHit(ids::kTopLabel1, 640, 12), HTCLIENT);
    EXPECT_EQ(childHit(ids::TabLabel(2), 300, 75), HTCLIENT);
}

TEST_F(MainWindowTest, StartsOnTheAutostartTabWithEveryControlInPlace) {
    EXPECT_EQ(form_->PageInFront(), 1);
    EXPECT_EQ(Rect(ids::kTabImage).left, 136);
    EXPECT_EQ(LabelColour(ids::TabLabel(1)), kHighlightBlue);
    EXPECT_EQ(LabelColour(ids::TabLabel(2)), kBlack);
    EXPECT_FALSE(form_->Panel3TimerOn());
    for (int page = 1; page <= 4; ++page) {
        const RECT p = Rect(ids::Panel(page));
        EXPECT_EQ(p.left, 16);
        EXPECT_EQ(p.top, 100);
        EXPECT_EQ(p.right - p.left, 690);
        EXPECT_EQ(p.bottom - p.top, 428);
        const RECT list = Rect(ids::InfoList(page));
        EXPECT_EQ(list.left, 8);
        EXPECT_EQ(list.right - list.left, 673);
        EXPECT_EQ(list.bottom - list.top, 345);
        // Count labels: right edge at 678; start text until the page is gathered (the
        // autostart page is, at start-up).
        EXPECT_EQ(Rect(ids::InfoLabel(page)).right, 678);
        if (page != 1) {
            EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(page)).Text(), InfoLabelStartText(page));
        }
        EXPECT_EQ(ListView_GetImageList(Hwnd(ids::InfoList(page)), LVSIL_SMALL), form_->ImageList1());
        const DWORD ex = ListView_GetExtendedListViewStyle(Hwnd(ids::InfoList(page)));
        EXPECT_TRUE(ex & LVS_EX_DOUBLEBUFFER);
        EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
        EXPECT_EQ((ex & LVS_EX_CHECKBOXES) != 0, page == 1);
        for (int button = 1; button <= ButtonCount(page); ++button) {
            EXPECT_EQ(Rect(ids::ButtonA(page, button)).top, 394);
            EXPECT_EQ(Rect(ids::ButtonLabel(page, button)).top, 401);
            EXPECT_EQ(Rect(ids::ButtonLabel(page, button)).left, Rect(ids::ButtonA(page, button)).left + 18);
            EXPECT_FALSE(form_->ButtonLit(page, button));
        }
    }
    EXPECT_EQ(Rect(ids::kTopLabel1).left, 635);
    EXPECT_EQ(Rect(ids::kTopLabel3).left, 691);
    EXPECT_EQ(Rect(ids::kCopyrightLabel2).left, 612);
    EXPECT_EQ(Rect(ids::kPanel4FindEdit).left, 40);
    // Undo links start hidden; the process page has none.
    EXPECT_FALSE(::IsWindowVisible(Hwnd(ids::UndoLabel(1))));
    EXPECT_FALSE(form_->Controls().Has(ids::UndoLabel(3)));
    // Radio buttons: the first is checked.
    EXPECT_EQ(::SendMessageW(Hwnd(ids::FilterRadio(1)), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(MainWindowTest, TabsMarkThemselvesBringTheirPageAndOnlyTheProcessTabKeepsTheTimer) {
    struct Step {
        int tab;
        int highlightLeft;
        bool timer;
    };
    for (const Step& step : {Step{2, 280, false}, Step{3, 424, true}, Step{3, 424, true}, Step{4, 568, false},
                             Step{3, 424, true}, Step{1, 136, false}}) {
        Click(ids::TabLabel(step.tab));
        EXPECT_EQ(form_->PageInFront(), step.tab);
        EXPECT_EQ(Rect(ids::kTabImage).left, step.highlightLeft);
        EXPECT_EQ(Rect(ids::kTabImage).top, 65);
        for (int other = 1; other <= 4; ++other) {
            EXPECT_EQ(LabelColour(ids::TabLabel(other)), other == step.tab ? kHighlightBlue : kBlack);
        }
        EXPECT_EQ(form_->Panel3TimerOn(), step.timer) << "tab " << step.tab;
    }
}

TEST_F(MainWindowTest, ImageButtonsLightUnderTheMouseAndGoBackByTheHoverRules) {
    auto lit = [&](int page, int button) { return form_->ButtonLit(page, button); };
    MouseOver(Hwnd(ids::ButtonA(1, 1)));
    EXPECT_TRUE(lit(1, 1));
    EXPECT_FALSE(::IsWindowVisible(Hwnd(ids::ButtonA(1, 1))));
    EXPECT_EQ(LabelColour(ids::ButtonLabel(1, 1)), kHighlightBlue);
    MouseOver(Hwnd(ids::ButtonB(1, 1)));  // already lit: nothing changes
    EXPECT_TRUE(lit(1, 1));

    // Straight onto the neighbour: the first goes back, the second lights.
    MouseOver(Hwnd(ids::ButtonLabel(1, 2)));
    EXPECT_FALSE(lit(1, 1));
    EXPECT_TRUE(lit(1, 2));
    EXPECT_EQ(LabelColour(ids::ButtonLabel(1, 1)), kBlack);

    // Onto the list view: stays lit (no leave tracking). Onto the bare page: back to normal.
    MouseOver(Hwnd(ids::InfoList(1)));
    EXPECT_TRUE(lit(1, 2));
    MouseOver(Hwnd(ids::Panel(1)));
    EXPECT_FALSE(lit(1, 2));
    EXPECT_EQ(LabelColour(ids::ButtonLabel(1, 2)), kBlack);

    // Pages do not touch each other's buttons; page 4 has three.
    MouseOver(Hwnd(ids::ButtonA(4, 3)));
    MouseOver(Hwnd(ids::ButtonA(1, 1)));
    EXPECT_TRUE(lit(4, 3));
    EXPECT_TRUE(lit(1, 1));
    MouseOver(Hwnd(ids::ButtonLabel(4, 1)));
    EXPECT_TRUE(lit(4, 1));
    EXPECT_FALSE(lit(4, 3));
    MouseOver(Hwnd(ids::Panel(4)));
    for (int b = 1; b <= 3; ++b) EXPECT_FALSE(lit(4, b));
    EXPECT_TRUE(lit(1, 1));
}

TEST_F(MainWindowTest, CloseIsRefusedSilentlyWhileBusyAndFreesTheSharedObjectsOtherwise) {
    HWND w = form_->hwnd();
    state_.BusyFlag = true;
    ::SendMessageW(w, WM_CLOSE, 0, 0);
    Click(ids::kTopLabel3);
    EXPECT_TRUE(::IsWindow(w));
    EXPECT_TRUE(state_.InfoBox);
    EXPECT_TRUE(state_.ConfirmBox);

    // With both promotion windows dismissed for good, the close label closes at once.
    state_.BusyFlag = false;
    WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds", false);
    WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds", false);
    ::SendMessageW(Hwnd(ids::kTopLabel3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_FALSE(state_.BackingList);
    EXPECT_FALSE(state_.RowIcon);
    EXPECT_FALSE(state_.InfoBox);
    EXPECT_FALSE(state_.ConfirmBox);
    // The loop is told to end.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // The next start writes both values again, as on a fresh profile.
    DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds");
    DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds");
}

TEST_F(MainWindowTest, ACloseFromOutsideWhileAQuestionIsOpenIsRefusedAndOnlyYesIsYes) {
    HWND w = form_->hwnd();
    TForm3b& box = *state_.ConfirmBox;
    bool boxStillUp = false;
    test::WhenShown(box.hwnd(), [&] {
        ::PostMessageW(w, WM_CLOSE, 0, 0);  // Task Manager's "End task", taskkill without /F
        test::PumpFor(100);
        boxStillUp = ::IsWindow(box.hwnd()) && ::IsWindowVisible(box.hwnd());
        ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(IDNO)));
    });
    EXPECT_FALSE(box.Ask(L"TalQuestion?"));
    EXPECT_TRUE(boxStillUp);
    EXPECT_TRUE(::IsWindow(w));
    EXPECT_TRUE(state_.ConfirmBox);
    EXPECT_TRUE(state_.InfoBox);

    // A question whose loop ends without an answer (the program told to quit) is No, even
    // right after a Yes.
    test::WhenShown(box.hwnd(), [&] {
        ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(IDYES)));
    });
    EXPECT_TRUE(box.Ask(L"TalQuestion?"));
    test::WhenShown(box.hwnd(), [] { ::PostQuitMessage(0); });
    EXPECT_FALSE(box.Ask(L"TalQuestion?"));
    test::PumpFor(50);
}

TEST_F(MainWindowTest, MinimiseLabelAndTheRestoreSignal) {
    HWND w = form_->hwnd();
    Click(ids::kTopLabel2);
    EXPECT_TRUE(::IsIconic(w));

    // Another wParam changes nothing. The program's loop passes each message through the hook.
    ::PostMessageW(w, state_.RestoreMessage, kRestoreSignal + 1, 0);
    state_.Loop.ProcessMessages();
    PumpFor(100);
    EXPECT_TRUE(::IsIconic(w));

    ::PostMessageW(w, state_.RestoreMessage, kRestoreSignal, 0);
    state_.Loop.ProcessMessages();
    EXPECT_TRUE(test::PumpUntil([&] { return !::IsIconic(w); }, 2000));
}

TEST_F(MainWindowTest, SharedStateIsFilledAtCreation) {
    EXPECT_NE(state_.RestoreMessage, 0u);
    EXPECT_EQ(state_.RestoreMessage, ::RegisterWindowMessageW(L"TaliveerRestore"));
    EXPECT_FALSE(state_.UserName.empty());
    EXPECT_FALSE(state_.BusyFlag);
    EXPECT_TRUE(state_.ShellLink.Ready());
    ASSERT_TRUE(state_.RowIcon);
    EXPECT_EQ(state_.RowIcon->Width, 16);
    EXPECT_EQ(state_.RowIcon->Height, 16);
    ASSERT_TRUE(state_.BackingList);
    EXPECT_TRUE(state_.BackingList->empty());
    for (const std::wstring* folder : {&state_.ProgramFolder, &state_.UndoFolder, &state_.WindowsFolder,
                                       &state_.SystemFolder, &state_.ProgramFilesFolder, &state_.ProfileFolder,
                                       &state_.UserStartupFolder, &state_.CommonStartupFolder}) {
        ASSERT_FALSE(folder->empty());
        EXPECT_EQ(folder->back(), L'\\') << *folder;
    }
    EXPECT_EQ(state_.UndoFolder, state_.ProgramFolder + L"Undo\\");
    // The promotion switches exist (written as true unless they were there already).
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds"));
}

TEST_F(MainWindowTest, UserProfileCommandsNameFilesInTheProfileFolderItself) {
    wchar_t profile[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);
    EXPECT_EQ(LocaleUpperCase(state_.ProfileFolder), LocaleUpperCase(std::wstring(profile) + L"\\"));

    // What the icon lookup sees for a "%USERPROFILE%\..." command is a file that exists.
    const std::wstring file = std::wstring(profile) + L"\\TalProfileProbe.exe";
    ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const PrefixFolders prefixes{state_.WindowsFolder, state_.ProfileFolder};
    EXPECT_TRUE(FileExists(ExtractProgramFile(L"%USERPROFILE%\\TalProfileProbe.exe -x", prefixes, &LocaleUpperCase)));
    ::DeleteFileW(file.c_str());
}

TEST(MainWindowSettings, ExistingPromotionSwitchesAreNeverChanged) {
    test::SettingsGuard guard;
    WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds", false);
    DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds");
    {
        SharedState state;
        TForm1 form(state);
        form.Create();
        EXPECT_TRUE(ReadRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds"));
        EXPECT_FALSE(ReadRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds"));
    }
    DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds");
}

TEST(MainWindowFolders, UndoFolderFollowsTheExecutableNotTheWorkingDirectory) {
    test::SettingsGuard guard;
    wchar_t old[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, old);
    ::SetCurrentDirectoryW(L"C:\\windows");
    SharedState state;
    TForm1 form(state);
    form.Create();
    ::SetCurrentDirectoryW(old);
    wchar_t exe[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, n);
    folder.erase(folder.rfind(L'\\') + 1);
    EXPECT_EQ(state.ProgramFolder, folder);
    EXPECT_EQ(state.UndoFolder, folder + L"Undo\\");
}

}  // namespace
}  // namespace taliveer
