// The common frame of the About and promotion windows: a borderless window shaped by its
// background picture, built from a layout table, dragged by a band along its top, shown
// modally and destroyed with its object.
#pragma once

#include "ui/box_window.h"
#include "ui/fonts.h"
#include "ui/form_controls.h"
#include "ui/pure/drag_band.h"
#include "ui/window_base.h"

#include <memory>
#include <span>

namespace taliveer {

struct SkinnedLook {
    const wchar_t* caption;
    const wchar_t* background;  // RCDATA name of the 350 x 300 picture (at 96 DPI)
    COLORREF fill;              // colour behind labels that lie beyond the picture
    DragBand band;
    bool overMainWindow;  // centred over the main window (else on the desktop, with no owner)
    COLORREF checkBoxColour = RGB(255, 255, 255);
};

class SkinnedWindow : public WindowBase {
public:
    SkinnedWindow(const BoxHost& host, const SkinnedLook& look, std::span<const ControlSpec> layout);
    ~SkinnedWindow() override;

    // Shows the window and returns once it has been closed; the program's other windows take
    // no input meanwhile.
    void ShowModal();
    bool IsShown() const noexcept { return shown_; }
    FormControls& Controls() { return *controls_; }
    HRGN RegionForTests() const;
    DpiScale Scale() const { return fonts_.Scale(); }
    // The window moved to a screen of another scale (WM_DPICHANGED): it takes the corner of
    // `suggested` and draws everything again at `dpi`.
    void OnDpiChanged(int dpi, const RECT& suggested);
    // Draws the window in `skin`: its pictures, texts and check box.
    void ApplySkin(Skin skin);
    Skin CurrentSkin() const { return controls_->CurrentSkin(); }

protected:
    void Close();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Escape on the window or on a control that does not want it.
    virtual void OnEscape() {}
    // The pictures a derived window shows besides the background, at Scale(), in CurrentSkin().
    virtual void LoadPictures() {}

private:
    void Centre();
    // The background picture and the window's shape from it, at Scale().
    void LoadBackground();

    BoxHost host_;
    SkinnedLook look_;
    FontSet fonts_;
    int backgroundId_;
    UniqueHBitmap background_;
    UniqueHBrush checkBoxBrush_;
    std::unique_ptr<FormControls> controls_;
    bool closed_ = false;
    bool shown_ = false;
};

}  // namespace taliveer
