// Labels and pictures: real STATIC controls (SS_NOTIFY), subclassed for what the skin needs:
// labels paint their own background from what lies behind them (so they look transparent
// over the artwork and the button pictures), keep a text colour and font, can size
// themselves to their text; both kinds can show a hand cursor, report mouse moves, and let
// hit tests through to the window below (for the drag band).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace taliveer {

class StaticControl;

// Paints what lies behind a control into a DC of the control's size.
class Backdrop {
public:
    virtual void PaintBehind(HDC dc, const StaticControl& control) const = 0;
    // The colour a text of the table colour `colour` is drawn in (the skin's).
    virtual COLORREF ShownText(COLORREF colour) const { return colour; }

protected:
    ~Backdrop() = default;
};

class StaticControl {
public:
    enum class Role { Label, Picture };
    enum class AutoSize { None, KeepLeft, KeepRight };

    StaticControl(HWND hwnd, Role role, const Backdrop* backdrop);
    StaticControl(const StaticControl&) = delete;
    StaticControl& operator=(const StaticControl&) = delete;
    ~StaticControl();

    HWND hwnd() const noexcept { return hwnd_; }
    Role role() const noexcept { return role_; }
    int Id() const noexcept { return ::GetDlgCtrlID(hwnd_); }

    // Labels
    void SetFont(HFONT font);
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const noexcept { return colour_; }
    void SetDrawFlags(UINT flags) noexcept { drawFlags_ = flags; }
    void SetVerticalCentre(bool on) noexcept { verticalCentre_ = on; }
    void SetAutoSize(AutoSize mode);
    void SetText(std::wstring_view text);
    std::wstring Text() const;

    // Pictures: the bitmap stays owned by the caller.
    void SetBitmap(HBITMAP bitmap);
    HBITMAP Bitmap() const noexcept { return bitmap_; }

    void SetHandCursor(bool on) noexcept { hand_ = on; }
    // What the label is to accessibility tools (ROLE_SYSTEM_PAGETAB, ...); 0: plain text.
    void SetAccessibleRole(long role) noexcept { accessibleRole_ = role; }
    std::function<void()> onMouseMove;
    // Screen point -> true when the hit test should fall through to the window below.
    std::function<bool(POINT)> passThrough;

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintLabel(HDC dc) const;
    void FitToText();

    HWND hwnd_;
    Role role_;
    const Backdrop* backdrop_;
    HFONT font_ = nullptr;
    COLORREF colour_ = RGB(0, 0, 0);
    UINT drawFlags_ = DT_LEFT;
    bool verticalCentre_ = false;
    AutoSize autoSize_ = AutoSize::None;
    HBITMAP bitmap_ = nullptr;
    bool hand_ = false;
    long accessibleRole_ = 0;
};

}  // namespace taliveer
