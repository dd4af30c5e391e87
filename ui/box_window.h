// The common frame of the program's own small boxes: a fixed-size, system-framed window
// with a caption and no caption buttons, built from a layout table, shown centred over the
// main window, modally or modeless.
#pragma once

#include "ui/fonts.h"
#include "ui/form_controls.h"
#include "services/unique_handle.h"
#include "ui/message_loop.h"

#include <functional>
#include <memory>
#include <span>

namespace taliveer {

// What a box needs from the application: the message loop for its modal showing and the
// window to centre over.
struct BoxHost {
    MessageLoop* loop = nullptr;
    std::function<HWND()> mainWindow;
};

class BoxWindow {
public:
    // `background`: the box's colour behind its controls (the system's dialog colour when
    // CLR_INVALID).
    BoxWindow(const BoxHost& host, const wchar_t* caption, int clientWidth, int clientHeight,
              std::span<const ControlSpec> layout, COLORREF background = CLR_INVALID);
    BoxWindow(const BoxWindow&) = delete;
    BoxWindow& operator=(const BoxWindow&) = delete;
    virtual ~BoxWindow();

    HWND hwnd() const noexcept { return hwnd_; }
    StaticControl& InfoLabel() const;
    HWND Control(int id) const { return controls_->Hwnd(id); }
    const FormControls& Controls() const { return *controls_; }
    // The box's display scale: that of the main window it is shown over.
    DpiScale Scale() const { return fonts_.Scale(); }

    // Shows the box and returns when it has been closed. Every other window of the program
    // takes no input meanwhile.
    void ShowModal();
    void ShowModeless();
    bool IsModal() const noexcept { return modal_; }
    // Draws the box in `skin`: its surface, texts and lists.
    void ApplySkin(Skin skin);
    // The box moved to a screen of another scale (WM_DPICHANGED): it takes the corner of
    // `suggested` and is built again at `dpi`.
    void OnDpiChanged(int dpi, const RECT& suggested);

protected:
    // Makes the box tall enough for every line of the InfoLabel's text (never smaller than
    // its layout, never taller than the screen's work area); what lies below the label
    // moves down with it.
    void FitInfoLabel();
    // Ends a modal showing.
    void CloseBox();
    // A button was pressed (or Enter / Escape mapped to one).
    virtual void OnButton(int id) = 0;
    // The box is asked to close by the system (Alt+F4, a close message) or by Escape.
    virtual void OnCloseRequest() = 0;
    // Any other notification of a control (an edit box losing the focus, ...).
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // A notification of a common control (a list view's selection, ...).
    virtual void OnNotify(const NMHDR& /*header*/) {}
    // The controls were put at a new scale: what the table does not give (list columns).
    virtual void OnRescaled() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    void CentreOverMainWindow();

    BoxHost host_;
    HWND hwnd_ = nullptr;
    std::span<const ControlSpec> layout_;
    int clientWidth_;
    int clientHeight_;
    FontSet fonts_;
    std::unique_ptr<FormControls> controls_;
    COLORREF lightBackground_;  // CLR_INVALID: the system's dialog colour
    UniqueHBrush background_;
    bool modal_ = false;
    bool closed_ = false;
};

inline constexpr int kInfoLabelId = 100;

}  // namespace taliveer
