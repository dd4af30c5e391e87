// The dark skin that follows Windows' app mode: with AppsUseLightTheme = 0 every window is
// drawn dark (its pixels are the dark artwork's and the dark surfaces'), a setting-change
// message turns it light again without a restart, and every text keeps a contrast of 4.5:1
// against what lies behind it, in both skins.
#include "app/main_layout.h"
#include "pages/associations/association_editor.h"
#include "pages/autostart/add_program_dialog.h"
#include "services/pure/wide_text.h"
#include "services/unique_handle.h"
#include "tests/wine/main_window_fixture.h"
#include "ui/about_window.h"
#include "ui/app_mode.h"
#include "ui/bitmap_resource.h"
#include "ui/promotion_window.h"
#include "ui/restore_window.h"

#include <commctrl.h>

#include <vector>

namespace taliveer {
namespace {

using test::MainWindowTest;
using test::PumpFor;

// Sets the user's app mode for a test and puts back what was there.
class AppModeGuard {
public:
    AppModeGuard() {
        UniqueHKey key;
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) ==
                ERROR_SUCCESS &&
            ::RegQueryValueExW(key.get(), kAppsUseLightTheme, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD) {
            before_ = value;
            hadValue_ = true;
        }
    }
    ~AppModeGuard() {
        if (hadValue_) {
            Set(before_);
        } else {
            UniqueHKey key;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.put()) ==
                ERROR_SUCCESS) {
                ::RegDeleteValueW(key.get(), kAppsUseLightTheme);
            }
        }
    }
    AppModeGuard(const AppModeGuard&) = delete;
    AppModeGuard& operator=(const AppModeGuard&) = delete;

    static void Set(DWORD appsUseLightTheme) {
        UniqueHKey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                                    nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key.get(), kAppsUseLightTheme, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&appsUseLightTheme),
                         sizeof appsUseLightTheme);
    }

private:
    bool hadValue_ = false;
    DWORD before_ = 0;
};

void SendAppModeChange(HWND window) {
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = ::GetDC(window);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return colour;
}

// The average colour of what lies behind a label, as the label paints it.
COLORREF AverageBackdrop(const FormControls& form, const StaticControl& label) {
    RECT rc;
    ::GetClientRect(label.hwnd(), &rc);
    const int w = rc.right;
    const int h = rc.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueHBitmap surface(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ old = ::SelectObject(dc.get(), surface.get());
    form.PaintBehind(dc.get(), label);
    ::GdiFlush();
    double r = 0, g = 0, b = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) {
        r += (pixels[i] >> 16) & 0xFF;
        g += (pixels[i] >> 8) & 0xFF;
        b += pixels[i] & 0xFF;
    }
    ::SelectObject(dc.get(), old);
    const double n = w * h > 0 ? w * h : 1;
    return RGB(static_cast<int>(r / n + 0.5), static_cast<int>(g / n + 0.5), static_cast<int>(b / n + 0.5));
}

// Every label with a text, and every system-drawn caption, against what lies behind it.
void ExpectReadable(const FormControls& form, COLORREF systemSurface) {
    for (const ControlSpec& row : form.Rows()) {
        HWND control = form.Find(row.id);
        if (!control || WindowText(control).empty()) continue;
        SCOPED_TRACE(NarrowForLog(row.name));
        if (row.kind == ControlKind::Label) {
            const StaticControl& label = form.Static(row.id);
            const COLORREF text = form.ShownText(label.TextColour());
            const COLORREF behind = AverageBackdrop(form, label);
            EXPECT_GE(ContrastRatio(text, behind), 4.5) << std::hex << text << " on " << behind;
        } else if (row.kind == ControlKind::RadioButton || row.kind == ControlKind::CheckBox) {
            EXPECT_GE(ContrastRatio(form.ShownText(RGB(0, 0, 0)), systemSurface), 4.5);
        }
    }
}

class SkinTest : public MainWindowTest {
protected:
    void SetUp() override {
        AppModeGuard::Set(0);
        MainWindowTest::SetUp();
    }
    // Every page built, every button of every page lit in turn: each text in each state.
    void ExpectMainWindowReadable() {
        for (int page = 1; page <= kPageCount; ++page) Hwnd(ids::InfoList(page));
        const FormControls& c = form_->Controls();
        ExpectReadable(c, c.PageSurface());
        for (int page = 1; page <= kPageCount; ++page) {
            for (int button = 1; button <= ButtonCount(page); ++button) {
                form_->ButtonMouseMove(page, button);
                const StaticControl& label = c.Static(ids::ButtonLabel(page, button));
                EXPECT_GE(ContrastRatio(c.ShownText(label.TextColour()), AverageBackdrop(c, label)), 4.5)
                    << "lit button " << page << "." << button;
            }
            form_->PanelMouseMove(page);
        }
        const ListColours list = ListColoursOf(c.CurrentSkin());
        EXPECT_GE(ContrastRatio(list.text, list.background), 4.5);
    }

    AppModeGuard appMode_;
};

TEST_F(SkinTest, WithTheDarkAppModeEveryWindowIsDrawnDarkAndTurnsLightWithoutARestart) {
    const DpiScale scale = form_->Scale();
    ASSERT_EQ(form_->CurrentSkin(), Skin::Dark);
    HWND main = form_->hwnd();
    // The window shows the dark artwork: the header and the page where no control lies.
    UniqueHBitmap dark = LoadArtwork(::GetModuleHandleW(nullptr), L"FORM1IMAGE", kMainWidth, kMainHeight, scale, Skin::Dark);
    const COLORREF darkHeader = test::PixelAt(dark.get(), scale(300), scale(30));
    EXPECT_EQ(ScreenPixel(main, scale(300), scale(30)), darkHeader);
    EXPECT_EQ(ScreenPixel(Hwnd(ids::Panel(1)), scale(3), scale(385)), RGB(32, 32, 32));
    HWND list = Hwnd(ids::InfoList(1));
    EXPECT_EQ(ListView_GetBkColor(list), RGB(32, 32, 32));
    EXPECT_EQ(ListView_GetTextColor(list), RGB(230, 230, 230));
    EXPECT_EQ(form_->Controls().ShownText(kBlack), RGB(230, 230, 230));

    // A box and a dialog, shown beside it.
    TForm3a& info = *state_.InfoBox;
    info.ShowModeless();
    PumpFor(30);
    EXPECT_EQ(ScreenPixel(info.hwnd(), 2, 2), ShownSurfaceColour(::GetSysColor(COLOR_BTNFACE), Skin::Dark));
    TForm2a add(state_.Boxes(), *state_.InfoBox);
    add.ShowModeless();
    PumpFor(30);
    EXPECT_EQ(ScreenPixel(add.hwnd(), 2, 2), RGB(32, 32, 32));
    // The About and promotion windows: their pictures are the dark ones.
    TForm4 about(state_.Boxes());
    TForm5a brimley(state_.Boxes());
    EXPECT_EQ(about.CurrentSkin(), Skin::Dark);
    HBITMAP aboutPicture = about.Controls().Static(about_ids::kWndImage).Bitmap();
    EXPECT_EQ(test::PixelAt(aboutPicture, scale(175), scale(280)), RGB(32, 32, 32));
    HBITMAP promotionPicture = brimley.Controls().Static(promotion_ids::kWndImage).Bitmap();
    EXPECT_EQ(test::PixelAt(promotionPicture, scale(175), scale(280)), RGB(22, 52, 60));

    // Windows says the mode changed: light again, at once.
    AppModeGuard::Set(1);
    for (HWND w : {main, info.hwnd(), add.hwnd(), about.hwnd(), brimley.hwnd()}) SendAppModeChange(w);
    PumpFor(30);
    EXPECT_EQ(form_->CurrentSkin(), Skin::Light);
    UniqueHBitmap light = LoadArtwork(::GetModuleHandleW(nullptr), L"FORM1IMAGE", kMainWidth, kMainHeight, scale);
    EXPECT_EQ(ScreenPixel(main, scale(300), scale(30)), test::PixelAt(light.get(), scale(300), scale(30)));
    EXPECT_NE(test::PixelAt(light.get(), scale(300), scale(30)), darkHeader);
    EXPECT_EQ(ScreenPixel(Hwnd(ids::Panel(1)), scale(3), scale(385)), RGB(255, 255, 255));
    EXPECT_EQ(ListView_GetBkColor(list), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(add.hwnd(), 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(info.hwnd(), 2, 2), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(about.CurrentSkin(), Skin::Light);
    aboutPicture = about.Controls().Static(about_ids::kWndImage).Bitmap();
    EXPECT_EQ(test::PixelAt(aboutPicture, scale(175), scale(280)), RGB(255, 255, 255));
    promotionPicture = brimley.Controls().Static(promotion_ids::kWndImage).Bitmap();
    EXPECT_EQ(test::PixelAt(promotionPicture, scale(175), scale(280)), RGB(195, 244, 255));
    // Another setting's change is no reason to draw anything again.
    AppModeGuard::Set(0);
    ::SendMessageW(main, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"));
    EXPECT_EQ(form_->CurrentSkin(), Skin::Light);
    ::ShowWindow(info.hwnd(), SW_HIDE);
    ::ShowWindow(add.hwnd(), SW_HIDE);
}

TEST_F(SkinTest, EveryTextIsReadableInBothSkins) {
    for (const Skin skin : {Skin::Dark, Skin::Light}) {
        SCOPED_TRACE(skin == Skin::Dark ? "dark" : "light");
        AppModeGuard::Set(skin == Skin::Dark ? 0 : 1);
        SendAppModeChange(form_->hwnd());
        ASSERT_EQ(form_->CurrentSkin(), skin);
        ExpectMainWindowReadable();
        TForm4 about(state_.Boxes());
        ExpectReadable(about.Controls(), about.Controls().FormSurface());
        TForm5a brimley(state_.Boxes());
        ExpectReadable(brimley.Controls(), ShownSurfaceColour(RGB(251, 240, 227), skin));
        TForm5b ostrelle(state_.Boxes());
        ExpectReadable(ostrelle.Controls(), ShownSurfaceColour(RGB(251, 240, 227), skin));
        TForm2a add(state_.Boxes(), *state_.InfoBox);
        TForm2b editor(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox);
        RestoreWindow restore(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                              RestorePlaces{state_.UndoFolder, state_.WindowsFolder, state_.UserStartupFolder});
        TForm3a info(state_.Boxes());
        TForm3b confirm(state_.Boxes());
        for (const BoxWindow* box : {static_cast<const BoxWindow*>(&add), static_cast<const BoxWindow*>(&editor),
                                     static_cast<const BoxWindow*>(&restore), static_cast<const BoxWindow*>(&info),
                                     static_cast<const BoxWindow*>(&confirm)}) {
            ExpectReadable(box->Controls(), box->Controls().FormSurface());
        }
    }
}

// Under Wine that key moves a 32-bit program's default view of HKCU\Software: the mode read
// must still be the user's real one.
TEST(AppMode, IsTheUsersRealOneWhenTheUsersWow6432NodeExists) {
    AppModeGuard appMode;
    test::UserWow6432NodeGuard wow;
    test::ScratchKey moved(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Themes",
                           KEY_WOW64_64KEY);
    moved.SetDword(L"Personalize", kAppsUseLightTheme, 1);
    AppModeGuard::Set(0);
    EXPECT_EQ(CurrentAppSkin(), Skin::Dark);
    AppModeGuard::Set(1);
    moved.SetDword(L"Personalize", kAppsUseLightTheme, 0);
    EXPECT_EQ(CurrentAppSkin(), Skin::Light);
}

}  // namespace
}  // namespace taliveer
