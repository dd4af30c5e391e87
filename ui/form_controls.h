// Builds a form's child controls from its layout table and keeps them: ids to windows,
// labels and pictures, click handlers. It is also the backdrop of the form's labels: what
// lies behind a label is its parent's background and the visible pictures created before it.
#pragma once

#include "ui/fonts.h"
#include "ui/layout.h"
#include "ui/pure/skin.h"
#include "ui/static_control.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

namespace taliveer {

class FormControls : public Backdrop {
public:
    using PageFactory = std::function<HWND(const ControlSpec& row, HWND parent)>;

    FormControls(HWND form, const FontSet& fonts);

    // `formBackground` is painted behind labels that sit directly on the form, page
    // labels get white. Pages are made by `makePage`.
    // `laterOnTop`: each new control is put above the earlier ones (the main window's paint
    // order); otherwise the system's order is kept, which is also the dialogs' tab order.
    void Build(std::span<const ControlSpec> rows, COLORREF formBackground, bool laterOnTop,
               const PageFactory& makePage = {});

    // A row's rectangle at the form's scale (its fonts' scale), in its parent's pixels.
    PixelRect Scaled(const ControlSpec& row) const;
    // Puts every control built so far at its rectangle and font for the fonts' scale, after
    // they were made again for a new one.
    void Rescale();

    // A control by id; one not built yet is asked of `buildMissing` first.
    HWND Hwnd(int id) const;
    // A control by id when it is built; nullptr otherwise (nothing is built).
    HWND Find(int id) const;
    // Builds what a control needs when it is asked for before it was built.
    std::function<void(int id)> buildMissing;
    // The table rows the controls were built from, in order.
    const std::vector<ControlSpec>& Rows() const { return rows_; }
    const FontSet& Fonts() const { return fonts_; }
    StaticControl& Static(int id) const;
    bool Has(int id) const { return windows_.count(id) != 0; }

    // Handlers for STN_CLICKED / BN_CLICKED of a control, by id.
    void OnClick(int id, std::function<void()> handler) { clicks_[id] = std::move(handler); }
    // Handler for EN_CHANGE of an edit box, by id.
    void OnChange(int id, std::function<void()> handler) { changes_[id] = std::move(handler); }
    // Dispatches a WM_COMMAND; true when a handler ran.
    bool Command(WPARAM wParam) const;

    void PaintBehind(HDC dc, const StaticControl& control) const override;
    COLORREF ShownText(COLORREF colour) const override { return ShownTextColour(colour, skin_); }

    // The skin the controls are drawn in: labels' texts and backdrops, the lists' colours and
    // themes. Everything built so far is drawn again.
    void SetSkin(Skin skin);
    Skin CurrentSkin() const { return skin_; }
    // The form's own surface and the pages' surface in the skin.
    COLORREF FormSurface() const { return ShownSurfaceColour(formBackground_, skin_); }
    COLORREF PageSurface() const { return ShownSurfaceColour(RGB(255, 255, 255), skin_); }

    // Re-paints the labels lying over `rect` (parent coordinates of `parent`), after a
    // picture under them moved or changed.
    void RepaintLabelsOver(HWND parent, const RECT& rect) const;

private:
    void SkinControl(const ControlSpec& row, HWND control) const;

    HWND form_;
    const FontSet& fonts_;
    COLORREF formBackground_ = RGB(255, 255, 255);
    Skin skin_ = Skin::Light;
    std::vector<ControlSpec> rows_;
    std::map<int, HWND> windows_;
    std::map<int, std::unique_ptr<StaticControl>> statics_;
    std::vector<const StaticControl*> creationOrder_;
    std::map<int, std::function<void()>> clicks_;
    std::map<int, std::function<void()>> changes_;
};

// Puts the columns of a table into a report-style list view, their widths at `scale`.
void AddListColumns(HWND listView, std::span<const ColumnSpec> columns, const DpiScale& scale);
// Sets the widths of columns put there by AddListColumns for a new scale.
void ScaleListColumns(HWND listView, std::span<const ColumnSpec> columns, const DpiScale& scale);

// Appends a row of three cells to a report-style list view, with its image index (-1 for
// none, I_IMAGECALLBACK for one the list asks for) and its lParam; returns the row's index.
int AppendListRow(HWND listView, const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                  int image, LPARAM param = 0);

// A control's whole text.
std::wstring WindowText(HWND control);

// The whole text of one cell of a list view, however long.
std::wstring ListCellText(HWND listView, int row, int column);

// Index of the selected row of a list view; -1 when none, or several, are selected.
int SelectedRow(HWND listView);

// Window rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);

}  // namespace taliveer
