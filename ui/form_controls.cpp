#include "ui/form_controls.h"

#include "services/pure/wide_text.h"
#include "services/unique_handle.h"
#include "ui/dark_controls.h"

#include <commctrl.h>

#include <stdexcept>

namespace taliveer {

RECT ChildRect(HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

FormControls::FormControls(HWND form, const FontSet& fonts) : form_(form), fonts_(fonts) {}

void FormControls::Build(std::span<const ControlSpec> rows, COLORREF formBackground, bool laterOnTop,
                         const PageFactory& makePage) {
    formBackground_ = formBackground;
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlSpec& row : rows) {
        HWND parent = row.parentId == 0 ? form_ : Hwnd(row.parentId);
        const bool hidden = (row.flags & flag::kHidden) != 0;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (hidden ? 0 : WS_VISIBLE);
        DWORD exStyle = 0;
        const wchar_t* className = L"STATIC";
        switch (row.kind) {
        case ControlKind::Picture:
            style |= SS_BITMAP | SS_NOTIFY;
            break;
        case ControlKind::Label:
            style |= SS_NOTIFY | SS_NOPREFIX |
                     ((row.flags & flag::kCentre) ? SS_CENTER : (row.flags & flag::kRight) ? SS_RIGHT : SS_LEFT);
            break;
        case ControlKind::ListView:
            className = WC_LISTVIEWW;
            style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PushButton:
            className = L"BUTTON";
            style |= WS_TABSTOP | ((row.flags & flag::kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::RadioButton:
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTORADIOBUTTON | ((row.flags & flag::kGroup) ? WS_GROUP : 0);
            break;
        case ControlKind::CheckBox:
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ControlKind::Edit:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | ((row.flags & flag::kReadOnly) ? ES_READONLY : 0);
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Page:
            break;
        }

        HWND hwnd = nullptr;
        const PixelRect at = Scaled(row);
        if (row.kind == ControlKind::Page) {
            if (!makePage) throw std::logic_error("layout has a page but no page factory");
            ControlSpec scaled = row;
            scaled.x = at.x;
            scaled.y = at.y;
            scaled.width = at.width;
            scaled.height = at.height;
            hwnd = makePage(scaled, parent);
        } else {
            hwnd = ::CreateWindowExW(exStyle, className, row.text ? row.text : L"", style, at.x, at.y,
                                     at.width, at.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        }
        if (!hwnd) throw std::runtime_error("the control " + NarrowForLog(row.name) + " could not be created");
        if (laterOnTop) ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font)), FALSE);
        windows_[row.id] = hwnd;

        if (row.kind == ControlKind::Picture || row.kind == ControlKind::Label) {
            const auto role = row.kind == ControlKind::Picture ? StaticControl::Role::Picture
                                                                 : StaticControl::Role::Label;
            auto control = std::make_unique<StaticControl>(hwnd, role, this);
            control->SetHandCursor((row.flags & flag::kHand) != 0);
            if (role == StaticControl::Role::Label) {
                UINT drawFlags = (row.flags & flag::kCentre) ? DT_CENTER : (row.flags & flag::kRight) ? DT_RIGHT : DT_LEFT;
                if (row.flags & flag::kWrap) drawFlags |= DT_WORDBREAK;
                control->SetDrawFlags(drawFlags);
                control->SetVerticalCentre((row.flags & flag::kVCentre) != 0);
                control->SetTextColour(row.colour);
                control->SetFont(fonts_.Get(row.font));
                if (row.flags & flag::kAutoSize) control->SetAutoSize(StaticControl::AutoSize::KeepLeft);
                if (row.flags & flag::kAutoSizeRight) control->SetAutoSize(StaticControl::AutoSize::KeepRight);
            }
            creationOrder_.push_back(control.get());
            statics_[row.id] = std::move(control);
        } else if (row.kind == ControlKind::ListView) {
            DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
            if (row.flags & flag::kCheckBoxes) ex |= LVS_EX_CHECKBOXES;
            ListView_SetExtendedListViewStyle(hwnd, ex);
        } else if (row.kind == ControlKind::RadioButton && (row.flags & flag::kChecked)) {
            ::SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (skin_ == Skin::Dark) SkinControl(row, hwnd);
    }
}

PixelRect FormControls::Scaled(const ControlSpec& row) const {
    return fonts_.Scale().Rect(row.x, row.y, row.width, row.height);
}

void FormControls::Rescale() {
    for (const ControlSpec& row : rows_) {
        const auto it = windows_.find(row.id);
        if (it == windows_.end()) continue;
        const PixelRect at = Scaled(row);
        ::SetWindowPos(it->second, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(it->second, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font)), FALSE);
        // A label sized to its text measures it again in the new font.
        if (const auto label = statics_.find(row.id); label != statics_.end() &&
                                                      label->second->role() == StaticControl::Role::Label) {
            label->second->SetFont(fonts_.Get(row.font));
        }
    }
    for (const auto& [id, hwnd] : windows_) ::InvalidateRect(hwnd, nullptr, TRUE);
}

void FormControls::SkinControl(const ControlSpec& row, HWND control) const {
    if (row.kind == ControlKind::ListView) {
        const ListColours colours = ListColoursOf(skin_);
        ListView_SetBkColor(control, colours.background);
        ListView_SetTextBkColor(control, colours.background);
        ListView_SetTextColor(control, colours.text);
    }
    if (row.kind == ControlKind::ListView || row.kind == ControlKind::PushButton || row.kind == ControlKind::CheckBox ||
        row.kind == ControlKind::RadioButton || row.kind == ControlKind::Edit) {
        UseDarkControlTheme(control, skin_ == Skin::Dark);
    }
}

void FormControls::SetSkin(Skin skin) {
    if (skin == skin_) return;
    skin_ = skin;
    for (const ControlSpec& row : rows_) {
        if (const auto it = windows_.find(row.id); it != windows_.end()) SkinControl(row, it->second);
    }
    for (const auto& [id, hwnd] : windows_) ::InvalidateRect(hwnd, nullptr, TRUE);
}

HWND FormControls::Find(int id) const {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second;
}

HWND FormControls::Hwnd(int id) const {
    if (windows_.count(id) == 0 && buildMissing) buildMissing(id);
    const auto it = windows_.find(id);
    if (it == windows_.end()) throw std::out_of_range("no control with that id");
    return it->second;
}

StaticControl& FormControls::Static(int id) const {
    if (statics_.count(id) == 0 && windows_.count(id) == 0 && buildMissing) buildMissing(id);
    const auto it = statics_.find(id);
    if (it == statics_.end()) throw std::out_of_range("no label or picture with that id");
    return *it->second;
}

bool FormControls::Command(WPARAM wParam) const {
    const int code = HIWORD(wParam);
    if (code == EN_CHANGE) {
        const auto change = changes_.find(LOWORD(wParam));
        if (change == changes_.end() || !change->second) return false;
        change->second();
        return true;
    }
    if (code != STN_CLICKED && code != BN_CLICKED) return false;  // both are 0
    const auto it = clicks_.find(LOWORD(wParam));
    if (it == clicks_.end() || !it->second) return false;
    it->second();
    return true;
}

void FormControls::PaintBehind(HDC dc, const StaticControl& control) const {
    HWND parent = ::GetParent(control.hwnd());
    const RECT target = ChildRect(control.hwnd());
    RECT local{0, 0, target.right - target.left, target.bottom - target.top};
    const COLORREF background = parent == form_ ? FormSurface() : PageSurface();
    const UniqueHBrush brush(::CreateSolidBrush(background));
    ::FillRect(dc, &local, brush.get());

    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    for (const StaticControl* picture : creationOrder_) {
        if (picture == &control) break;
        if (picture->role() != StaticControl::Role::Picture || !picture->Bitmap()) continue;
        if (::GetParent(picture->hwnd()) != parent) continue;
        if ((::GetWindowLongPtrW(picture->hwnd(), GWL_STYLE) & WS_VISIBLE) == 0) continue;
        const RECT pr = ChildRect(picture->hwnd());
        RECT overlap;
        if (!::IntersectRect(&overlap, &pr, &target)) continue;
        SelectInDc keep(source.get(), picture->Bitmap());
        ::BitBlt(dc, overlap.left - target.left, overlap.top - target.top, overlap.right - overlap.left,
                 overlap.bottom - overlap.top, source.get(), overlap.left - pr.left, overlap.top - pr.top, SRCCOPY);
    }
}

void FormControls::RepaintLabelsOver(HWND parent, const RECT& rect) const {
    for (const StaticControl* control : creationOrder_) {
        if (control->role() != StaticControl::Role::Label || ::GetParent(control->hwnd()) != parent) continue;
        const RECT lr = ChildRect(control->hwnd());
        RECT overlap;
        if (::IntersectRect(&overlap, &lr, &rect)) ::InvalidateRect(control->hwnd(), nullptr, FALSE);
    }
}

int AppendListRow(HWND listView, const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                  int image, LPARAM param) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.lParam = param;
    item.iItem = ListView_GetItemCount(listView);
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    item.iImage = image;
    const int index = ListView_InsertItem(listView, &item);
    ListView_SetItemText(listView, index, 1, const_cast<wchar_t*>(second.c_str()));
    ListView_SetItemText(listView, index, 2, const_cast<wchar_t*>(third.c_str()));
    return index;
}

std::wstring WindowText(HWND control) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ListCellText(HWND listView, int row, int column) {
    std::vector<wchar_t> buffer(512);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto got = static_cast<size_t>(::SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                            reinterpret_cast<LPARAM>(&item)));
        // A text that filled the buffer may have been cut: read it again with more room.
        if (got + 1 < buffer.size() || buffer.size() >= 65536) return std::wstring(buffer.data(), got);
        buffer.resize(buffer.size() * 4);
    }
}

int SelectedRow(HWND listView) {
    // Several selected rows (Ctrl+A, for copying) name no single row to act on.
    if (ListView_GetSelectedCount(listView) != 1) return -1;
    return ListView_GetNextItem(listView, -1, LVNI_SELECTED);
}

void AddListColumns(HWND listView, std::span<const ColumnSpec> columns, const DpiScale& scale) {
    int index = 0;
    for (const ColumnSpec& column : columns) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lvc.fmt = column.format;
        lvc.cx = scale(column.width);
        lvc.pszText = const_cast<wchar_t*>(column.caption);
        lvc.iSubItem = index;
        ListView_InsertColumn(listView, index, &lvc);
        ++index;
    }
}

void ScaleListColumns(HWND listView, std::span<const ColumnSpec> columns, const DpiScale& scale) {
    int index = 0;
    for (const ColumnSpec& column : columns) ListView_SetColumnWidth(listView, index++, scale(column.width));
}

}  // namespace taliveer
