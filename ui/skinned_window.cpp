#include "ui/skinned_window.h"

#include "ui/bitmap_resource.h"
#include "ui/app_mode.h"
#include "ui/region.h"
#include "ui/window_dpi.h"

#include <stdexcept>
#include <vector>

namespace taliveer {
namespace {

constexpr wchar_t kSkinnedClass[] = L"TaliveerSkinned";
constexpr int kWidth = 350;
constexpr int kHeight = 300;

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) list->push_back(hwnd);
    return TRUE;
}

}  // namespace

SkinnedWindow::SkinnedWindow(const BoxHost& host, const SkinnedLook& look, std::span<const ControlSpec> layout)
    : host_(host), look_(look), fonts_(DpiForWindowOver(host.mainWindow ? host.mainWindow() : nullptr)),
      backgroundId_(layout.front().id) {
    RegisterClassOnce(kSkinnedClass, 0, nullptr);
    HWND owner = look.overMainWindow && host.mainWindow ? host.mainWindow() : nullptr;
    Create(owner ? 0 : WS_EX_APPWINDOW, kSkinnedClass, look.caption, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU, 0, 0,
           Scale()(kWidth), Scale()(kHeight), owner, nullptr);
    if (!hwnd_) throw std::runtime_error("a window could not be created");
    controls_ = std::make_unique<FormControls>(hwnd_, fonts_);
    controls_->Build(layout, look.fill, true);
    controls_->SetSkin(CurrentAppSkin());
    // The first row is the background picture.
    LoadBackground();
    checkBoxBrush_.reset(::CreateSolidBrush(ShownSurfaceColour(look.checkBoxColour, CurrentSkin())));
    // Pictures and labels on the window let the drag band through to it.
    for (const ControlSpec& row : layout) {
        if (row.kind != ControlKind::Picture && row.kind != ControlKind::Label) continue;
        controls_->Static(row.id).passThrough = [this](POINT pt) {
            RECT wr;
            ::GetWindowRect(hwnd_, &wr);
            return InDragBand(ScaledBand(look_.band, Scale()), pt.x, pt.y, wr.left, wr.top);
        };
    }
}

void SkinnedWindow::LoadBackground() {
    UniqueHBitmap background =
        LoadArtwork(::GetModuleHandleW(nullptr), look_.background, kWidth, kHeight, Scale(), CurrentSkin());
    if (!background) throw std::runtime_error("the window artwork is missing");
    controls_->Static(backgroundId_).SetBitmap(background.get());
    background_ = std::move(background);
    UniqueHRgn region = CreateBitmapRegion(background_.get(), {}, Scale()(kRegionBorder));
    if (::SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();  // the system owns it now
}

void SkinnedWindow::ApplySkin(Skin skin) {
    controls_->SetSkin(skin);
    checkBoxBrush_.reset(::CreateSolidBrush(ShownSurfaceColour(look_.checkBoxColour, skin)));
    LoadPictures();
    LoadBackground();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SkinnedWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi != Scale().dpi) {
        fonts_.Rebuild(dpi);
        controls_->Rescale();
        LoadPictures();
    }
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, Scale()(kWidth), Scale()(kHeight),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LoadBackground();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SkinnedWindow::~SkinnedWindow() {
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

HRGN SkinnedWindow::RegionForTests() const {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(hwnd_, region);
    return region;
}

void SkinnedWindow::Centre() {
    RECT over{};
    HWND main = look_.overMainWindow && host_.mainWindow ? host_.mainWindow() : nullptr;
    if (main && ::IsWindow(main) && ::IsWindowVisible(main) && !::IsIconic(main)) {
        ::GetWindowRect(main, &over);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    }
    const int x = over.left + (over.right - over.left - Scale()(kWidth)) / 2;
    const int y = over.top + (over.bottom - over.top - Scale()(kHeight)) / 2;
    ::SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void SkinnedWindow::ShowModal() {
    Centre();
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, hwnd_);
    for (HWND w : disabled) ::EnableWindow(w, FALSE);
    closed_ = false;
    shown_ = true;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
    host_.loop->RunModal(hwnd_, [this] { return closed_ || !hwnd_; });
    for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) {
        if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
    }
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
    shown_ = false;
}

void SkinnedWindow::Close() {
    closed_ = true;
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT SkinnedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        LRESULT hit = DefaultHandling(message, wParam, lParam);
        const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT wr;
        ::GetWindowRect(hwnd_, &wr);
        if (hit == HTCLIENT && InDragBand(ScaledBand(look_.band, Scale()), pt.x, pt.y, wr.left, wr.top)) {
            hit = HTCAPTION;
        }
        return hit;
    }
    case WM_DPICHANGED:
        if (lParam) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the picture covers the window
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            OnEscape();
            return 0;
        }
        if (controls_ && controls_->Command(wParam)) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            OnEscape();
            return 0;
        }
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (checkBoxBrush_) {
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ShownSurfaceColour(look_.checkBoxColour, CurrentSkin()));
            ::SetTextColor(reinterpret_cast<HDC>(wParam), controls_->ShownText(RGB(0, 0, 0)));
            return reinterpret_cast<LRESULT>(checkBoxBrush_.get());
        }
        break;
    case WM_SETTINGCHANGE:
        if (IsAppModeChange(message, lParam)) {
            const Skin skin = CurrentAppSkin();
            if (skin != CurrentSkin()) ApplySkin(skin);
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace taliveer
