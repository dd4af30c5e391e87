// The pixel layout tables that every form is built from: one row per child control.
#pragma once

#include <windows.h>

namespace taliveer {

enum class ControlKind { Picture, Label, ListView, PushButton, RadioButton, CheckBox, Edit, Page };

enum class FontId {
    Default,
    Arial12,
    Arial13,
    Arial13Bold,
    Arial11Underline,
    Verdana11Bold,
    Arial11,
    Arial11Bold,
    Arial13BoldUnderline,
    SansSerif11,
    SansSerif11Underline,
    Verdana12Bold,
    Verdana13Bold,
    Verdana19,
    Count
};

namespace flag {
inline constexpr unsigned kHand = 1u << 0;        // hand cursor
inline constexpr unsigned kHidden = 1u << 1;      // hidden at start
inline constexpr unsigned kCentre = 1u << 2;      // text centred horizontally
inline constexpr unsigned kRight = 1u << 3;       // text right-aligned
inline constexpr unsigned kVCentre = 1u << 4;     // text centred vertically
inline constexpr unsigned kWrap = 1u << 5;        // word wrap
inline constexpr unsigned kAutoSize = 1u << 6;    // width follows the text, left edge fixed
inline constexpr unsigned kAutoSizeRight = 1u << 7;  // width follows the text, right edge fixed
inline constexpr unsigned kChecked = 1u << 8;     // radio button checked at start
inline constexpr unsigned kCheckBoxes = 1u << 9;  // list view rows carry check boxes
inline constexpr unsigned kDefault = 1u << 10;    // default push button (Enter)
inline constexpr unsigned kGroup = 1u << 11;      // first of a radio group
inline constexpr unsigned kReadOnly = 1u << 12;   // edit box the user cannot type into
}  // namespace flag

struct ControlSpec {
    int id;
    const wchar_t* name;  // the control's name, said when it cannot be created
    ControlKind kind;
    int parentId;  // 0: the form itself; otherwise the id of a Page row
    int x, y, width, height;
    const wchar_t* text;
    FontId font;
    COLORREF colour;
    unsigned flags;
};

// A list-view column: caption, width, alignment (LVCFMT_LEFT / LVCFMT_CENTER / ...).
struct ColumnSpec {
    const wchar_t* caption;
    int width;
    int format;
};

inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kHighlightBlue = RGB(0, 70, 190);  // selected tab, lit button label
inline constexpr COLORREF kCopyrightColour = 0x1FE9D8;

}  // namespace taliveer
