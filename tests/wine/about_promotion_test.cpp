// The About window, the two promotion windows and the exit sequence through the main
// window's close label, with the real settings key.
#include "services/reg_unit.h"
#include "tests/wine/main_window_fixture.h"
#include "ui/about_window.h"
#include "ui/bitmap_resource.h"
#include "ui/promotion_window.h"
#include "ui/region.h"

#include <functional>

namespace taliveer {
namespace {

using test::PumpFor;

void ClickStatic(HWND control) {
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

LRESULT HitAt(HWND window, int x, int y) {
    RECT wr;
    ::GetWindowRect(window, &wr);
    return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
}

HWND FindShown(const wchar_t* title) {
    HWND w = ::FindWindowW(L"TaliveerSkinned", title);
    return w && ::IsWindowVisible(w) ? w : nullptr;
}

bool Flag(const wchar_t* name) { return ReadRegFlag(HKEY_CURRENT_USER, kSettingsKey, name); }

// One exit through the close label of a fresh main window: `answer` acts on the promotion
// window that appears; the title of that window, empty when none appeared.
std::wstring ExitThroughCloseLabel(const std::function<void(HWND)>& answer) {
    SharedState state;
    TForm1 form(state);
    state.Loop.SetHook([&form](const MSG& msg) { return form.EventsMessage(msg); });
    form.Create();
    form.Show(SW_SHOWNOACTIVATE);
    PumpFor(100);
    std::wstring seen;
    bool mainHidden = false;
    test::WhileModal([&] {
        for (const wchar_t* title : {L"Brimley", L"Ostrelle"}) {
            if (HWND promotion = FindShown(title)) {
                seen = title;
                mainHidden = !::IsWindowVisible(form.hwnd());
                answer(promotion);
            }
        }
    });
    ClickStatic(form.Controls().Hwnd(ids::kTopLabel3));
    PumpFor(100);
    EXPECT_EQ(form.hwnd(), nullptr);  // the program ends
    if (!seen.empty()) {
        EXPECT_TRUE(mainHidden);
    }
    return seen;
}

void PressOk(HWND promotion, bool tick) {
    HWND box = ::GetDlgItem(promotion, promotion_ids::kCheckBox1);
    if (tick) ::SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    ClickStatic(::GetDlgItem(promotion, promotion_ids::kButton1Label));
}

class PromotionTest : public testing::Test {
protected:
    void SetUp() override {
        // A fresh profile: the start writes both values as true.
        DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds");
        DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds");
    }
    void TearDown() override { SetUp(); }
    test::SettingsGuard settings_;
};

TEST_F(PromotionTest, BrimleyFirstUntilDismissedForGoodThenOstrelleThenNone) {
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) { PressOk(w, false); }), L"Brimley");
    EXPECT_TRUE(Flag(L"BrimleyAds"));  // OK with the box clear keeps it
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) { PressOk(w, true); }), L"Brimley");
    EXPECT_FALSE(Flag(L"BrimleyAds"));
    EXPECT_TRUE(Flag(L"OstrelleAds"));
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) { PressOk(w, true); }), L"Ostrelle");
    EXPECT_FALSE(Flag(L"OstrelleAds"));
    EXPECT_EQ(ExitThroughCloseLabel([](HWND) {}), L"");
}

TEST_F(PromotionTest, TheSettingsAreTheUsersRealOnesWhenTheUsersWow6432NodeExists) {
    // Under Wine that key moves a 32-bit program's default view of HKCU\Software; the
    // switches written at start and read at exit must still be the same values.
    test::UserWow6432NodeGuard wow;
    test::ScratchKey moved(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\Corvantis", KEY_WOW64_64KEY);
    moved.SetDword(L"Taliveer", L"BrimleyAds", 0);
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) { PressOk(w, false); }), L"Brimley");
    EXPECT_TRUE(Flag(L"BrimleyAds"));
}

TEST_F(PromotionTest, EscapeWritesNothingButTheDownloadLinkWritesAtOnce) {
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) {
                  ::SendMessageW(::GetDlgItem(w, promotion_ids::kCheckBox1), BM_SETCHECK, BST_CHECKED, 0);
                  ::PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
              }),
              L"Brimley");
    EXPECT_TRUE(Flag(L"BrimleyAds"));
    EXPECT_EQ(ExitThroughCloseLabel([](HWND w) {
                  ClickStatic(::GetDlgItem(w, promotion_ids::kInfoLabel4));
                  EXPECT_FALSE(Flag(L"BrimleyAds"));  // before the window closes
                  ::PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
              }),
              L"Brimley");
    EXPECT_FALSE(Flag(L"BrimleyAds"));
    EXPECT_TRUE(Flag(L"OstrelleAds"));
}

class ExitTest : public test::MainWindowTest {};

TEST_F(ExitTest, AValueOfTheWrongTypeIsShownAndTheProgramStaysOpen) {
    WriteRegString(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds", L"yes");
    test::ErrorBoxCatcher boxes;
    Click(ids::kTopLabel3);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], L"Invalid data type for 'BrimleyAds'");
    EXPECT_TRUE(::IsWindow(form_->hwnd()));
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd()));
    DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds");
}

// Refuses the creation of the window titled "Brimley", as a system out of window handles would.
LRESULT CALLBACK RefuseBrimley(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        const auto name = reinterpret_cast<ULONG_PTR>(create->lpszName);
        if (name > 0xFFFF && std::wstring_view(create->lpszName) == L"Brimley") return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ExitTest, APromotionWindowThatCannotBeBuiltLeavesTheMainWindowUpWithTheError) {
    ASSERT_TRUE(Flag(L"BrimleyAds"));
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &RefuseBrimley, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    test::ErrorBoxCatcher boxes;
    Click(ids::kTopLabel3);
    test::PumpFor(100);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(boxes.Texts().size(), 1u);
    ASSERT_TRUE(::IsWindow(form_->hwnd()));
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
}

TEST_F(ExitTest, TheCloseLabelDoesNothingWhileAPageGathers) {
    state_.BusyFlag = true;
    Click(ids::kTopLabel3);
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd()));
    EXPECT_EQ(FindShown(L"Brimley"), nullptr);
    state_.BusyFlag = false;
}

TEST_F(ExitTest, TheAboutWindowOpensFromTheInfoLabelAndOnlyItsXClosesIt) {
    bool shown = false, afterEscape = false;
    RECT about{}, main{};
    LRESULT band = 0, onX = 0, below = 0;
    test::WhileModal([&] {
        HWND w = FindShown(L"关于");
        ASSERT_NE(w, nullptr);
        shown = true;
        ::GetWindowRect(w, &about);
        ::GetWindowRect(form_->hwnd(), &main);
        band = HitAt(w, 100, 47);
        onX = HitAt(w, 320, 20);
        below = HitAt(w, 100, 48);
        ::SendMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
        ::SendMessageW(w, WM_COMMAND, IDCANCEL, 0);
        PumpFor(50);
        afterEscape = ::IsWindowVisible(w) != FALSE;
        ClickStatic(::GetDlgItem(w, about_ids::kTopLabel));
    });
    Click(ids::kTopLabel1);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(afterEscape);
    EXPECT_EQ(FindShown(L"关于"), nullptr);
    EXPECT_EQ(about.right - about.left, 350);
    EXPECT_EQ(about.bottom - about.top, 300);
    EXPECT_NEAR((about.left + about.right) / 2, (main.left + main.right) / 2, 1);
    EXPECT_NEAR((about.top + about.bottom) / 2, (main.top + main.bottom) / 2, 1);
    EXPECT_EQ(band, HTCAPTION);
    EXPECT_NE(onX, HTCAPTION);
    EXPECT_NE(below, HTCAPTION);
}

TEST_F(ExitTest, APromotionWindowDragsByItsTopBandAndLightsItsButton) {
    TForm5b promotion(state_.Boxes());
    HWND w = promotion.hwnd();
    EXPECT_EQ(HitAt(w, 200, 59), HTCAPTION);
    EXPECT_NE(HitAt(w, 200, 60), HTCAPTION);
    EXPECT_FALSE(promotion.ButtonLit());
    ::SendMessageW(::GetDlgItem(w, promotion_ids::kButton1Label), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(promotion.ButtonLit());
    EXPECT_EQ(promotion.Controls().Static(promotion_ids::kButton1Label).TextColour(), RGB(0, 0, 128));
    ::SendMessageW(::GetDlgItem(w, promotion_ids::kWndImage), WM_MOUSEMOVE, 0, MAKELPARAM(3, 150));
    EXPECT_FALSE(promotion.ButtonLit());
    EXPECT_EQ(promotion.Controls().Static(promotion_ids::kButton1Label).TextColour(), RGB(0, 90, 140));
    EXPECT_EQ(promotion.SettingName(), std::wstring(L"OstrelleAds"));
}

TEST(SmallWindowArtwork, OnlyTheOuterCornersAreCut) {
    for (const wchar_t* name : {L"ABOUTIMAGE", L"PROMOTIONIMAGE"}) {
        UniqueHBitmap picture = LoadRcDataBitmap(::GetModuleHandleW(nullptr), name);
        ASSERT_TRUE(picture);
        UniqueHRgn region = CreateBitmapRegion(picture.get());
        ASSERT_TRUE(region);
        int cut = 0;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 350; ++x) {
                if (!::PtInRegion(region.get(), x, y)) ++cut;
            }
        }
        EXPECT_EQ(cut, 60);  // 15 pixels in each corner
        for (POINT corner : {POINT{0, 0}, POINT{349, 0}, POINT{0, 299}, POINT{349, 299}}) {
            EXPECT_FALSE(::PtInRegion(region.get(), corner.x, corner.y));
        }
        EXPECT_TRUE(::PtInRegion(region.get(), 5, 0));
        EXPECT_TRUE(::PtInRegion(region.get(), 175, 150));
    }
}

}  // namespace
}  // namespace taliveer
