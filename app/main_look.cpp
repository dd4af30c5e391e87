// The main window's look: its pictures and shape at its display scale and in its skin, and
// everything drawn again when it moves to a screen of another scale or the app mode changes.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "pages/processes/process_page.h"
#include "ui/app_mode.h"
#include "ui/bitmap_resource.h"
#include "ui/region.h"

#include <commctrl.h>

#include <stdexcept>

namespace taliveer {

void TForm1::LoadSkin() {
    const DpiScale scale = Scale();
    const Skin skin = controls_->CurrentSkin();
    HMODULE module = ::GetModuleHandleW(nullptr);
    const ControlSpec& tab = LayoutRow(ids::kTabImage);
    const ControlSpec& button = LayoutRow(ids::ButtonA(1, 1));
    UniqueHBitmap background = LoadArtwork(module, L"FORM1IMAGE", kMainWidth, kMainHeight, scale, skin);
    UniqueHBitmap tabHighlight = LoadArtwork(module, L"TABIMAGE", tab.width, tab.height, scale, skin);
    UniqueHBitmap buttonA = LoadArtwork(module, L"BUTTONA", button.width, button.height, scale, skin);
    UniqueHBitmap buttonB = LoadArtwork(module, L"BUTTONB", button.width, button.height, scale, skin);
    if (!background || !tabHighlight || !buttonA || !buttonB) throw std::runtime_error("the window artwork is missing");

    // The controls show the new pictures before the old ones go.
    controls_->Static(ids::kForm1Image).SetBitmap(background.get());
    controls_->Static(ids::kTabImage).SetBitmap(tabHighlight.get());
    for (int page = 1; page <= kPageCount; ++page) {
        if (!PageBuilt(page)) continue;  // its buttons take the skin when they are built
        for (int b = 1; b <= ButtonCount(page); ++b) {
            controls_->Static(ids::ButtonA(page, b)).SetBitmap(buttonA.get());
            controls_->Static(ids::ButtonB(page, b)).SetBitmap(buttonB.get());
        }
    }
    background_ = std::move(background);
    tabHighlight_ = std::move(tabHighlight);
    buttonA_ = std::move(buttonA);
    buttonB_ = std::move(buttonB);

    // The window takes the shape of its picture.
    UniqueHRgn region = CreateBitmapRegion(background_.get(), [this] { state_.Loop.ProcessMessages(); },
                                           scale(kRegionBorder));
    if (::SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();  // the system owns it now
}

void TForm1::PlaceTabImage(int tab) {
    const DpiScale scale = Scale();
    ::SetWindowPos(controls_->Hwnd(ids::kTabImage), nullptr, scale(TabImageLeft(tab)), scale(LayoutRow(ids::kTabImage).y),
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::RescaleRowIcons() {
    const int side = SmallIconSide(Scale().dpi);
    if (state_.RowIcon) {
        state_.RowIcon->Width = side;
        state_.RowIcon->Height = side;
    }
    // The list keeps its handle (every list view shares it) and loses its images.
    ImageList_SetIconSize(imageList1_.get(), side, side);
    pageContext_->extracted.clear();
    for (int page = 1; page <= kPageCount; ++page) {
        if (!PageBuilt(page)) continue;  // no rows yet
        HWND list = controls_->Hwnd(ids::InfoList(page));
        ListView_SetImageList(list, imageList1_.get(), LVSIL_SMALL);  // the rows take the new height
        if (page == 3) continue;
        // These pages' rows ask for their icons as they are shown.
        const int count = ListView_GetItemCount(list);
        for (int row = 0; row < count; ++row) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iImage = I_IMAGECALLBACK;
            ListView_SetItem(list, &item);
        }
    }
    if (PageBuilt(3)) processes_->IconsDropped();
}

void TForm1::ColourPages() {
    for (const auto& page : pages_) {
        if (page) page->SetColours(controls_->PageSurface(), controls_->ShownText(RGB(0, 0, 0)));
    }
}

void TForm1::ApplySkin(Skin skin) {
    if (skin == controls_->CurrentSkin()) return;
    controls_->SetSkin(skin);
    ColourPages();
    LoadSkin();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
    const int tab = PageInFront();
    if (dpi != Scale().dpi) {
        fonts_.Rebuild(dpi);
        controls_->Rescale();
        for (int page = 1; page <= kPageCount; ++page) {
            if (PageBuilt(page)) ScaleListColumns(controls_->Hwnd(ids::InfoList(page)), PageColumns(page), Scale());
        }
        PlaceTabImage(tab > 0 ? tab : 1);
        RescaleRowIcons();
    }
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, Scale()(kMainWidth), Scale()(kMainHeight),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LoadSkin();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace taliveer
