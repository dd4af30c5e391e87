#include "ui/box_window.h"

#include "services/unique_handle.h"
#include "ui/app_mode.h"
#include "ui/dark_controls.h"
#include "ui/window_base.h"
#include "ui/window_dpi.h"

#include <vector>

namespace taliveer {
namespace {

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;

// An empty dialog template: the controls come from the layout table, in pixels.
struct alignas(DWORD) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) list->push_back(hwnd);
    return TRUE;
}

}  // namespace

BoxWindow::BoxWindow(const BoxHost& host, const wchar_t* caption, int clientWidth, int clientHeight,
                     std::span<const ControlSpec> layout, COLORREF background)
    : host_(host), layout_(layout), clientWidth_(clientWidth), clientHeight_(clientHeight),
      fonts_(DpiForWindowOver(host.mainWindow ? host.mainWindow() : nullptr)), lightBackground_(background) {
    EmptyDialogTemplate dlg{};
    dlg.header.style = kBoxStyle;
    hwnd_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &dlg.header, nullptr, &BoxWindow::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    if (!hwnd_) throw std::runtime_error("a box window could not be created");
    ::SetWindowTextW(hwnd_, caption);
    RECT rc{0, 0, Scale()(clientWidth), Scale()(clientHeight)};
    ::AdjustWindowRectEx(&rc, kBoxStyle, FALSE, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(FontId::Default)), FALSE);
    controls_ = std::make_unique<FormControls>(hwnd_, fonts_);
    controls_->Build(layout, background != CLR_INVALID ? background : ::GetSysColor(COLOR_BTNFACE), false);
    ApplySkin(CurrentAppSkin());
    for (const ControlSpec& row : layout) {
        if (row.kind == ControlKind::PushButton && (row.flags & flag::kDefault)) {
            ::SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(row.id), 0);
        }
    }
}

BoxWindow::~BoxWindow() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

StaticControl& BoxWindow::InfoLabel() const { return controls_->Static(kInfoLabelId); }

void BoxWindow::FitInfoLabel() {
    const ControlSpec* label = nullptr;
    for (const ControlSpec& row : layout_) {
        if (row.id == kInfoLabelId) label = &row;
    }
    if (!label) return;
    HWND labelWindow = controls_->Hwnd(kInfoLabelId);
    const std::wstring text = InfoLabel().Text();
    const DpiScale scale = Scale();
    const PixelRect labelAt = controls_->Scaled(*label);
    RECT needed{0, 0, labelAt.width, 0};
    {
        WindowDc dc(labelWindow);
        SelectInDc font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(labelWindow, WM_GETFONT, 0, 0)));
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
    }
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int most = (work.bottom - work.top) - scale(clientHeight_) - scale(80);
    int extra = needed.bottom > labelAt.height ? needed.bottom - labelAt.height : 0;
    if (extra > most) extra = most > 0 ? most : 0;

    for (const ControlSpec& row : layout_) {
        HWND control = controls_->Hwnd(row.id);
        const PixelRect at = controls_->Scaled(row);
        if (row.id == kInfoLabelId) {
            ::SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height + extra, SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (row.y >= label->y + label->height) {
            ::SetWindowPos(control, nullptr, at.x, at.y + extra, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT rc{0, 0, scale(clientWidth_), scale(clientHeight_) + extra};
    ::AdjustWindowRectEx(&rc, kBoxStyle, FALSE, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    ::SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(labelWindow, nullptr, FALSE);
}

void BoxWindow::CentreOverMainWindow() {
    RECT box;
    ::GetWindowRect(hwnd_, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    HWND main = host_.mainWindow ? host_.mainWindow() : nullptr;
    RECT over{};
    if (main && ::IsWindow(main) && !::IsIconic(main)) {
        ::GetWindowRect(main, &over);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    }
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    // Keep the whole box on the monitor that shows the main window.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (::GetMonitorInfoW(::MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &mi)) {
        const RECT& wa = mi.rcWork;
        if (x + width > wa.right) x = wa.right - width;
        if (y + height > wa.bottom) y = wa.bottom - height;
        if (x < wa.left) x = wa.left;
        if (y < wa.top) y = wa.top;
    }
    ::SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void BoxWindow::ShowModal() {
    CentreOverMainWindow();
    HWND previousActive = ::GetActiveWindow();
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, hwnd_);
    for (HWND w : disabled) ::EnableWindow(w, FALSE);

    modal_ = true;
    closed_ = false;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    const LRESULT def = ::SendMessageW(hwnd_, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID) ::SetFocus(::GetDlgItem(hwnd_, LOWORD(def)));

    host_.loop->RunModal(hwnd_, [this] { return closed_; });

    // Enable the others before hiding, so that activation returns to them.
    for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) {
        if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
    }
    ::ShowWindow(hwnd_, SW_HIDE);
    modal_ = false;
    if (previousActive && ::IsWindow(previousActive)) ::SetActiveWindow(previousActive);
}

void BoxWindow::ShowModeless() {
    CentreOverMainWindow();
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
}

void BoxWindow::ApplySkin(Skin skin) {
    // The light skin keeps the system's dialog colour unless the box has its own.
    if (lightBackground_ != CLR_INVALID || skin == Skin::Dark) {
        const COLORREF light = lightBackground_ != CLR_INVALID ? lightBackground_ : ::GetSysColor(COLOR_BTNFACE);
        background_.reset(::CreateSolidBrush(ShownSurfaceColour(light, skin)));
    } else {
        background_.reset();
    }
    controls_->SetSkin(skin);
    UseDarkTitleBar(hwnd_, skin == Skin::Dark);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void BoxWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi != Scale().dpi) {
        fonts_.Rebuild(dpi);
        ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(FontId::Default)), FALSE);
        controls_->Rescale();
        OnRescaled();
    }
    RECT rc{0, 0, Scale()(clientWidth_), Scale()(clientHeight_)};
    ::AdjustWindowRectEx(&rc, kBoxStyle, FALSE, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // A box sized to its text measures it again.
    FitInfoLabel();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void BoxWindow::CloseBox() {
    closed_ = true;
    if (!modal_) ::ShowWindow(hwnd_, SW_HIDE);
    // Wake the modal loop in case nothing else is queued.
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

INT_PTR CALLBACK BoxWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<BoxWindow*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    return GuardedDispatch(message, [&]() -> INT_PTR {
        switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 0) {
                const int id = LOWORD(wParam);
                if (id == IDCANCEL) {
                    self->OnCloseRequest();
                } else {
                    self->OnButton(id);
                }
                return TRUE;
            }
            self->OnCommand(LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_CLOSE:
            self->OnCloseRequest();
            return TRUE;
        case WM_NOTIFY:
            self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            break;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            if (message == WM_CTLCOLOREDIT && self->controls_->CurrentSkin() == Skin::Light) break;
            if (self->background_) {
                LOGBRUSH brush{};
                ::GetObjectW(self->background_.get(), sizeof brush, &brush);
                ::SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
                ::SetTextColor(reinterpret_cast<HDC>(wParam), self->controls_->ShownText(RGB(0, 0, 0)));
                return reinterpret_cast<INT_PTR>(self->background_.get());
            }
            break;
        case WM_DPICHANGED:
            if (lParam) self->OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_SETTINGCHANGE:
            if (IsAppModeChange(message, lParam)) {
                const Skin skin = CurrentAppSkin();
                if (skin != self->controls_->CurrentSkin()) self->ApplySkin(skin);
            }
            break;
        default:
            break;
        }
        return FALSE;
    });
}

}  // namespace taliveer
