// Every window at the display scale of the prefix the tests run in (96, 120, 144 or 192 DPI,
// see scripts/with-display-scale.sh) and after a WM_DPICHANGED: sizes, every control at its
// table rectangle scaled, no caption cut off, the shape's corners, the drag band, the tabs
// and buttons at scaled points, the row icons.
#include "app/main_layout.h"
#include "pages/associations/association_editor.h"
#include "pages/autostart/add_program_dialog.h"
#include "services/pure/wide_text.h"
#include "tests/wine/main_window_fixture.h"
#include "ui/about_window.h"
#include "ui/promotion_window.h"
#include "ui/restore_window.h"
#include "ui/wait_box.h"
#include "ui/window_dpi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace taliveer {
namespace {

using test::MainWindowTest;
using test::PumpFor;

SIZE WindowSize(HWND w) {
    RECT r;
    ::GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND w) {
    RECT r;
    ::GetClientRect(w, &r);
    return {r.right, r.bottom};
}

// The caption is drawn whole: its extent in the control's font fits the control (a radio
// button or check box also needs room for its box).
void ExpectCaptionFits(HWND control, const ControlSpec& row, const DpiScale& scale) {
    if (row.kind == ControlKind::Picture || row.kind == ControlKind::ListView || row.kind == ControlKind::Page ||
        row.kind == ControlKind::Edit) {
        return;
    }
    const std::wstring text = WindowText(control);
    if (text.empty()) return;
    const SIZE client = ClientSize(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    if (row.kind == ControlKind::Label && (row.flags & flag::kWrap)) {
        RECT needed{0, 0, client.cx, 0};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        EXPECT_LE(needed.bottom, client.cy) << "wrapped caption cut off";
    } else {
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        const bool box = row.kind == ControlKind::RadioButton || row.kind == ControlKind::CheckBox;
        EXPECT_LE(extent.cx + (box ? scale(16) : 0), client.cx) << "caption cut off";
        EXPECT_LE(extent.cy, client.cy + scale(2)) << "caption taller than its control";
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
}

// Every control stands at its table rectangle scaled (a label sized to its text keeps its
// fixed edge; `movingId`, a picture that moves across, keeps its row), in its table font at
// the scale, with its whole caption.
void ExpectScaledForm(const FormControls& form, const DpiScale& scale, int movingId = 0) {
    const FontSet& fonts = form.Fonts();
    EXPECT_EQ(fonts.Scale(), scale);
    for (const ControlSpec& row : form.Rows()) {
        SCOPED_TRACE(NarrowForLog(row.name));
        HWND control = form.Hwnd(row.id);
        const RECT r = ChildRect(control);
        const PixelRect want = scale.Rect(row.x, row.y, row.width, row.height);
        if (row.id == movingId) {
            EXPECT_EQ(r.right - r.left, want.width);
        } else if (row.flags & flag::kAutoSizeRight) {
            EXPECT_EQ(r.right, want.x + want.width);
        } else {
            EXPECT_EQ(r.left, want.x);
            if (!(row.flags & flag::kAutoSize)) {
                EXPECT_EQ(r.right - r.left, want.width);
            }
        }
        EXPECT_EQ(r.top, want.y);
        EXPECT_EQ(r.bottom - r.top, want.height);
        if (row.kind != ControlKind::Page && row.kind != ControlKind::Picture) {
            EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), fonts.Get(row.font));
        }
        ExpectCaptionFits(control, row, scale);
    }
    LOGFONTW font{};
    ::GetObjectW(fonts.Get(FontId::Default), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, scale(-11));
}

// The shape of a picture W x H (96-DPI pixels) at the scale: its corners cut on the diagonal
// x + y < 5 (scaled), everything else inside.
void ExpectRoundedShape(HRGN region, int width, int height, const DpiScale& scale) {
    const int w = scale(width);
    const int h = scale(height);
    const int n = scale(5);
    RECT box{};
    ::GetRgnBox(region, &box);
    EXPECT_EQ(box.right - box.left, w);
    EXPECT_EQ(box.bottom - box.top, h);
    for (const POINT corner : {POINT{0, 0}, POINT{n - 1, 0}, POINT{0, n - 1}, POINT{w - n, 0}, POINT{w - 1, n - 1},
                               POINT{0, h - n}, POINT{n - 1, h - 1}, POINT{w - 1, h - 1}, POINT{w - n, h - 1}}) {
        EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    for (const POINT inside : {POINT{n, 0}, POINT{0, n}, POINT{w - 1 - n, 0}, POINT{w - 1, h - 1 - n},
                               POINT{w / 2, h / 2}, POINT{w - 1, h / 2}}) {
        EXPECT_TRUE(::PtInRegion(region, inside.x, inside.y)) << inside.x << "," << inside.y;
    }
}

LRESULT HitTest(HWND window, int x, int y) {
    RECT r;
    ::GetWindowRect(window, &r);
    return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
}

POINT ScaledCentre(const ControlSpec& row, const DpiScale& scale) {
    const PixelRect r = scale.Rect(row.x, row.y, row.width, row.height);
    return {r.x + r.width / 2, r.y + r.height / 2};
}

class DisplayScaleTest : public MainWindowTest {
protected:
    // The main window at `scale`, whole.
    void ExpectMainWindowAt(const DpiScale& scale) {
        SCOPED_TRACE("at " + std::to_string(scale.dpi) + " DPI");
        HWND main = form_->hwnd();
        EXPECT_EQ(form_->Scale(), scale);
        const SIZE size = WindowSize(main);
        EXPECT_EQ(size.cx, scale(kMainWidth));
        EXPECT_EQ(size.cy, scale(kMainHeight));
        ExpectScaledForm(form_->Controls(), scale, ids::kTabImage);
        HRGN region = form_->RegionForTests();
        ExpectRoundedShape(region, kMainWidth, kMainHeight, scale);
        ::DeleteObject(region);

        // The drag band: left of the "i" label, above the tab strip.
        const DragBand band = MainDragBand();
        EXPECT_EQ(HitTest(main, scale(band.right) - 1, scale(band.height) - 1), HTCAPTION);
        EXPECT_EQ(HitTest(main, scale(band.right), scale(10)), HTCLIENT);
        EXPECT_EQ(HitTest(main, scale(100), scale(band.height)), HTCLIENT);

        // The tab highlight under the tab in front.
        const int tab = form_->PageInFront();
        EXPECT_EQ(ChildRect(Hwnd(ids::kTabImage)).left, scale(TabImageLeft(tab)));

        // Row icons at the scaled small-icon size, rows tall enough for them and their ticks.
        const int side = SmallIconSide(scale.dpi);
        int cx = 0;
        int cy = 0;
        ImageList_GetIconSize(form_->ImageList1(), &cx, &cy);
        EXPECT_EQ(cx, side);
        EXPECT_EQ(cy, side);
        EXPECT_EQ(state_.RowIcon->Width, side);
        HWND list = Hwnd(ids::InfoList(1));
        const int row = AppendListRow(list, L"scale", L"C:\\scale.exe", L"", -1);
        RECT rowRect{};
        ListView_GetItemRect(list, row, &rowRect, LVIR_BOUNDS);
        EXPECT_GE(rowRect.bottom - rowRect.top, side);
        if (HIMAGELIST ticks = ListView_GetImageList(list, LVSIL_STATE)) {
            int tx = 0;
            int ty = 0;
            ImageList_GetIconSize(ticks, &tx, &ty);
            EXPECT_LE(ty, rowRect.bottom - rowRect.top) << "check boxes taller than the rows";
        }
        ListView_DeleteItem(list, row);
        // The first column is as wide as its table says, scaled.
        EXPECT_EQ(ListView_GetColumnWidth(list, 0), scale(PageColumns(1)[0].width));
    }

    // Clicks each tab at the centre of its scaled rectangle, as the mouse would find it.
    void ClickTabsAtScaledPoints(const DpiScale& scale) {
        for (int tab : {2, 4, 1}) {
            POINT pt = ScaledCentre(LayoutRow(ids::TabLabel(tab)), scale);
            HWND hit = ::ChildWindowFromPointEx(form_->hwnd(), pt, CWP_SKIPINVISIBLE);
            ASSERT_EQ(hit, Hwnd(ids::TabLabel(tab))) << "tab " << tab;
            Click(ids::TabLabel(tab));
            PumpFor(50);
            EXPECT_EQ(form_->PageInFront(), tab);
            EXPECT_EQ(ChildRect(Hwnd(ids::kTabImage)).left, scale(TabImageLeft(tab)));
        }
        // The image buttons of the autostart page answer at their scaled centres.
        HWND page = Hwnd(ids::Panel(1));
        for (int button = 1; button <= ButtonCount(1); ++button) {
            const POINT pt = ScaledCentre(LayoutRow(ids::ButtonLabel(1, button)), scale);
            HWND hit = ::ChildWindowFromPointEx(page, pt, CWP_SKIPINVISIBLE);
            const int id = ::GetDlgCtrlID(hit);
            EXPECT_TRUE(id == ids::ButtonLabel(1, button) || id == ids::ButtonA(1, button) || id == ids::ButtonB(1, button))
                << "button " << button << " hit " << id;
        }
    }

    void SendDpiChanged(int dpi) {
        RECT r;
        ::GetWindowRect(form_->hwnd(), &r);
        const DpiScale to{dpi};
        RECT suggested{r.left, r.top, r.left + to(kMainWidth), r.top + to(kMainHeight)};
        ::SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpFor(50);
    }
};

const DpiScale kPrefixScale{SystemDpi()};

TEST_F(DisplayScaleTest, TheMainWindowIsItsTableAtThePrefixScale) {
    std::printf("[ DISPLAY  ] %d DPI (%d %%)\n", kPrefixScale.dpi, kPrefixScale.Percent());
    // The scale the prefix was made with, when the run says (an unaware program would see 96).
    if (const char* expected = std::getenv("TALIVEER_EXPECTED_DPI")) {
        EXPECT_EQ(kPrefixScale.dpi, std::atoi(expected));
    }
    EXPECT_EQ(WindowDpi(form_->hwnd()), kPrefixScale.dpi);
    ExpectMainWindowAt(kPrefixScale);
    ClickTabsAtScaledPoints(kPrefixScale);
}

// Moving to a screen of another scale: Wine never sends the message, so the test does.
TEST_F(DisplayScaleTest, MovingToAScreenOfAnotherScaleDrawsEverythingAgain) {
    const int other = kPrefixScale.dpi == 144 ? 96 : 144;
    // Rows with icons on the process page keep icons, now at the new size.
    Click(ids::TabLabel(3));
    PumpFor(200);
    HWND processes = Hwnd(ids::InfoList(3));
    ASSERT_GT(ListView_GetItemCount(processes), 0);
    SendDpiChanged(other);
    ExpectMainWindowAt(DpiScale{other});
    EXPECT_EQ(form_->PageInFront(), 3);
    EXPECT_LE(ImageList_GetImageCount(form_->ImageList1()), ListView_GetItemCount(processes) + 1);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    ASSERT_TRUE(ListView_GetItem(processes, &item));
    EXPECT_GE(item.iImage, 0);
    EXPECT_LT(item.iImage, ImageList_GetImageCount(form_->ImageList1()));
    ClickTabsAtScaledPoints(DpiScale{other});
    // And back.
    SendDpiChanged(kPrefixScale.dpi);
    ExpectMainWindowAt(kPrefixScale);
}

TEST_F(DisplayScaleTest, TheAboutAndPromotionWindowsAreTheirTablesAtTheScale) {
    const DpiScale scale = kPrefixScale;
    TForm4 about(state_.Boxes());
    TForm5a brimley(state_.Boxes());
    TForm5b ostrelle(state_.Boxes());
    for (SkinnedWindow* window : {static_cast<SkinnedWindow*>(&about), static_cast<SkinnedWindow*>(&brimley),
                                  static_cast<SkinnedWindow*>(&ostrelle)}) {
        const SIZE size = WindowSize(window->hwnd());
        EXPECT_EQ(size.cx, scale(350));
        EXPECT_EQ(size.cy, scale(300));
        ExpectScaledForm(window->Controls(), scale);
        HRGN region = window->RegionForTests();
        ExpectRoundedShape(region, 350, 300, scale);
        ::DeleteObject(region);
    }
    // Their drag bands, scaled: the About window's stops at the "x" label.
    EXPECT_EQ(HitTest(about.hwnd(), scale(315), scale(47)), HTCAPTION);
    EXPECT_EQ(HitTest(about.hwnd(), scale(316), scale(20)), HTCLIENT);
    EXPECT_EQ(HitTest(about.hwnd(), scale(20), scale(48)), HTCLIENT);
    EXPECT_EQ(HitTest(brimley.hwnd(), scale(349), scale(59)), HTCAPTION);
    EXPECT_EQ(HitTest(brimley.hwnd(), scale(20), scale(60)), HTCLIENT);

    // A sent WM_DPICHANGED draws the About window again at the other scale.
    const DpiScale other{scale.dpi == 144 ? 96 : 144};
    RECT r;
    ::GetWindowRect(about.hwnd(), &r);
    RECT suggested{r.left + 5, r.top + 7, r.left + 5 + other(350), r.top + 7 + other(300)};
    ::SendMessageW(about.hwnd(), WM_DPICHANGED, MAKEWPARAM(other.dpi, other.dpi), reinterpret_cast<LPARAM>(&suggested));
    ::GetWindowRect(about.hwnd(), &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.top, suggested.top);
    EXPECT_EQ(r.right - r.left, other(350));
    ExpectScaledForm(about.Controls(), other);
    HRGN region = about.RegionForTests();
    ExpectRoundedShape(region, 350, 300, other);
    ::DeleteObject(region);
}

TEST_F(DisplayScaleTest, TheBoxesAndDialogsAreTheirTablesAtTheScale) {
    const DpiScale scale = kPrefixScale;
    TForm2c wait(state_.Boxes());
    TForm2a add(state_.Boxes(), *state_.InfoBox);
    TForm2b editor(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox);
    RestoreWindow restore(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                          RestorePlaces{state_.UndoFolder, state_.WindowsFolder, state_.UserStartupFolder});
    const struct {
        const BoxWindow* box;
        int width;
        int height;
    } boxes[] = {{state_.InfoBox.get(), 300, 102}, {state_.ConfirmBox.get(), 300, 116}, {&wait, 300, 70},
                 {&add, 382, 150}, {&editor, 390, 170}, {&restore, 700, 474}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(NarrowForLog(WindowText(b.box->hwnd())));
        const SIZE client = ClientSize(b.box->hwnd());
        EXPECT_EQ(client.cx, scale(b.width));
        EXPECT_EQ(client.cy, scale(b.height));
        ExpectScaledForm(b.box->Controls(), scale);
    }

    // A sent WM_DPICHANGED builds the restore window again at the other scale.
    const DpiScale other{scale.dpi == 144 ? 96 : 144};
    RECT r;
    ::GetWindowRect(restore.hwnd(), &r);
    RECT suggested{r.left + 3, r.top + 4, r.right, r.bottom};
    ::SendMessageW(restore.hwnd(), WM_DPICHANGED, MAKEWPARAM(other.dpi, other.dpi), reinterpret_cast<LPARAM>(&suggested));
    ::GetWindowRect(restore.hwnd(), &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.top, suggested.top);
    const SIZE client = ClientSize(restore.hwnd());
    EXPECT_EQ(client.cx, other(700));
    EXPECT_EQ(client.cy, other(474));
    ExpectScaledForm(restore.Controls(), other);
    EXPECT_EQ(restore.Scale(), other);
}

}  // namespace
}  // namespace taliveer
