#include "app/main_window.h"

#include "app/main_layout.h"
#include "app/shared_folders.h"
#include "pages/associations/association_page.h"
#include "pages/autostart/autostart_page.h"
#include "pages/processes/process_page.h"
#include "pages/uninstall/uninstall_page.h"
#include "resources/resource_ids.h"
#include "services/program_launcher.h"
#include "ui/about_window.h"
#include "ui/app_mode.h"
#include "ui/bitmap_resource.h"
#include "ui/promotion_window.h"
#include "ui/pure/drag_band.h"
#include "ui/region.h"
#include "ui/restore_window.h"
#include "ui/web_addresses.h"
#include "ui/window_dpi.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <memory>
#include <stdexcept>
#include <utility>

namespace taliveer {
namespace {
constexpr wchar_t kMainClass[] = L"TForm1";
constexpr DWORD kMainStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
}  // namespace

TForm1::TForm1(SharedState& state) : state_(state) {}

TForm1::~TForm1() {
    // Children first: the page objects and subclassed controls point into this object.
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (state_.MainWindow) state_.MainWindow = nullptr;
}

void TForm1::Create() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    // A shared icon: the system keeps it.
    RegisterClassOnce(kMainClass, CS_DBLCLKS, nullptr,
                      static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON, 0, 0,
                                                      LR_DEFAULTSIZE | LR_SHARED)));
    // Drawn at the system's scale until the window knows the scale of its own screen.
    fonts_.Rebuild(SystemDpi());
    const DpiScale scale = Scale();
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - scale(kMainWidth)) / 2;
    const int y = work.top + (work.bottom - work.top - scale(kMainHeight)) / 2;
    createFailure_ = nullptr;
    WindowBase::Create(WS_EX_APPWINDOW, kMainClass, L"Taliveer", kMainStyle, x, y, scale(kMainWidth),
                       scale(kMainHeight), nullptr, nullptr);
    if (!hwnd_) {
        if (createFailure_) std::rethrow_exception(std::exchange(createFailure_, nullptr));
        throw std::runtime_error("the main window could not be created");
    }
}

void TForm1::Show(int showCommand) {
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
}

void TForm1::BuildControls() {
    controls_ = std::make_unique<FormControls>(hwnd_, fonts_);
    controls_->SetSkin(CurrentAppSkin());
    // The window's own controls and its four pages; what lies on a page is built when it is
    // first needed (the first page at once).
    std::vector<ControlSpec> rows;
    for (const ControlSpec& row : MainWindowLayout()) {
        if (row.parentId == 0) rows.push_back(row);
    }
    controls_->Build(rows, RGB(255, 255, 255), true, [this](const ControlSpec& row, HWND parent) {
        const int page = (row.id - ids::Panel(0)) / 100;
        pages_[static_cast<size_t>(page - 1)] =
            std::make_unique<PageWindow>(parent, row.id, row.x, row.y, row.width, row.height);
        return pages_[static_cast<size_t>(page - 1)]->hwnd();
    });
    controls_->buildMissing = [this](int id) { BuildPageOf(id); };
    if (controls_->CurrentSkin() == Skin::Dark) ColourPages();
    const int side = SmallIconSide(Scale().dpi);
    imageList1_.reset(::ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 0, 16));
    ConnectHandlers();
    BuildPage(1);
}

void TForm1::ConnectHandlers() {
    FormControls& c = *controls_;
    c.OnClick(ids::kTopLabel1, [this] { TopLabel1Click(); });
    c.OnClick(ids::kTopLabel2, [this] { TopLabel2Click(); });
    c.OnClick(ids::kTopLabel3, [this] { TopLabel3Click(); });
    c.OnClick(ids::kCopyrightLabel2, [this] { CopyrightLabel2Click(); });
    for (int tab = 1; tab <= 4; ++tab) c.OnClick(ids::TabLabel(tab), [this, tab] { TabLabelClick(tab); });
    for (int page : {1, 2, 4}) c.OnClick(ids::UndoLabel(page), [this] { UndoLabelClick(); });
    for (int page : {1, 2, 4}) c.OnClick(ids::RestoreLabel(page), [this] { RestoreLabelClick(); });
    for (int radio = 1; radio <= 3; ++radio) c.OnClick(ids::FilterRadio(radio), [this] { uninstall_->FilterClicked(); });
    c.OnChange(ids::kPanel4FindEdit, [this] { associations_->Panel4FindEditChange(); });

    // What the skinned labels are to accessibility tools.
    for (int tab = 1; tab <= 4; ++tab) c.Static(ids::TabLabel(tab)).SetAccessibleRole(ROLE_SYSTEM_PAGETAB);
    for (int id : {ids::kTopLabel1, ids::kTopLabel2, ids::kTopLabel3}) c.Static(id).SetAccessibleRole(ROLE_SYSTEM_PUSHBUTTON);
    c.Static(ids::kCopyrightLabel2).SetAccessibleRole(ROLE_SYSTEM_LINK);

    // Statics on the window itself let the drag band through to the window.
    for (int id : {ids::kForm1Image, ids::kTopLabel1, ids::kTopLabel2, ids::kTopLabel3, ids::kTabImage,
                   ids::TabLabel(1), ids::TabLabel(2), ids::TabLabel(3), ids::TabLabel(4), ids::kCopyrightLabel1,
                   ids::kCopyrightLabel2}) {
        c.Static(id).passThrough = [this](POINT pt) {
            RECT wr;
            ::GetWindowRect(hwnd_, &wr);
            return InDragBand(ScaledBand(MainDragBand(), Scale()), pt.x, pt.y, wr.left, wr.top);
        };
    }
    for (int page = 1; page <= kPageCount; ++page) {
        pages_[static_cast<size_t>(page - 1)]->onMouseMove = [this, page] { PanelMouseMove(page); };
    }

    pageContext_ = std::make_unique<PageContext>(PageContext{
        state_, c, imageList1_.get(), [this](int page) { BringPageToFront(page); },
        [this](bool on) { SetPanel3Timer(on); }, [this] { return panel3TimerOn_; },
        [this](int tab) { TabLabelClick(tab); }});
    autostart_ = std::make_unique<AutostartPage>(*pageContext_);
    uninstall_ = std::make_unique<UninstallPage>(*pageContext_);
    processes_ = std::make_unique<ProcessPage>(*pageContext_);
    associations_ = std::make_unique<AssociationPage>(*pageContext_);
    OnImageButton(1, 1, [this] { autostart_->Panel1Button1Click(); });
    OnImageButton(1, 2, [this] { autostart_->Panel1Button2Click(); });
    OnImageButton(1, 3, [this] { autostart_->Panel1Button3Click(); });
    OnImageButton(2, 1, [this] { uninstall_->Panel2Button1Click(); });
    OnImageButton(2, 2, [this] { uninstall_->Panel2Button2Click(); });
    OnImageButton(3, 1, [this] { processes_->Panel3Button1Click(); });
    OnImageButton(4, 1, [this] { associations_->Panel4Button1Click(); });
    OnImageButton(4, 2, [this] { associations_->Panel4Button2Click(); });
    OnImageButton(4, 3, [this] { associations_->Panel4Button3Click(); });
    OnImageButton(3, 2, [this] { processes_->Panel3Button2Click(); });
}

void TForm1::OnImageButton(int page, int button, const std::function<void()>& handler) {
    // Either picture or the caption: whichever the mouse is over.
    for (int id : {ids::ButtonA(page, button), ids::ButtonB(page, button), ids::ButtonLabel(page, button)}) {
        controls_->OnClick(id, handler);
    }
}

void TForm1::CreateForm() {
    state_.MainWindow = hwnd_;
    // The screen the window is on may have another scale than the system's.
    if (const int dpi = WindowDpi(hwnd_); dpi != Scale().dpi) {
        fonts_.Rebuild(dpi);
        ::SetWindowPos(hwnd_, nullptr, 0, 0, Scale()(kMainWidth), Scale()(kMainHeight),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    BuildControls();
    // The pictures, the window's shape from its picture, and the button skins shown by every
    // image button.
    LoadSkin();

    // Restore signal, user name and folders.
    state_.RestoreMessage = ::RegisterWindowMessageW(L"TaliveerRestore");
    FillUserAndFolders(state_);

    // The shell-link reader. Without it shortcuts read as unreadable.
    state_.ShellLink.Create();

    // The shared objects the pages and boxes use.
    state_.BackingList = std::make_unique<BackingEntries>();
    state_.RowIcon = std::make_unique<RowIconSlot>();
    state_.RowIcon->Width = SmallIconSide(Scale().dpi);
    state_.RowIcon->Height = state_.RowIcon->Width;
    state_.InfoBox.SetMaker([this] { return std::make_unique<TForm3a>(state_.Boxes()); });
    state_.ConfirmBox.SetMaker([this] { return std::make_unique<TForm3b>(state_.Boxes()); });

    // The promotion switches exist; existing values are never changed here. A failed
    // write is reported and the start goes on.
    GuardedCall([] {
        for (const wchar_t* name : {L"BrimleyAds", L"OstrelleAds"}) {
            if (!RegValueExists(HKEY_CURRENT_USER, kSettingsKey, name)) {
                WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, name, true);
            }
        }
    });

    // Nothing gathers yet.
    state_.BusyFlag = false;
}

bool TForm1::CloseForm() {
    // Not while a page gathers, nor while a box, a dialog or an action holds the window
    // disabled: a close sent from outside (Task Manager's "End task") would free what their
    // loops still use. The user closes the box first.
    if (state_.BusyFlag || !::IsWindowEnabled(hwnd_)) return false;
    state_.BackingList.reset();
    state_.RowIcon.reset();
    state_.InfoBox.reset();
    state_.ConfirmBox.reset();
    ::DestroyWindow(hwnd_);
    return true;
}

bool TForm1::EventsMessage(const MSG& msg) {
    // The window's keys (not while a box, a dialog or a gathering holds it).
    if (KeyDown(msg)) return true;
    if (state_.RestoreMessage == 0 || msg.message != state_.RestoreMessage || msg.wParam != kRestoreSignal) return false;
    if (!hwnd_) return false;
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
    // The application's last active window: a modal box when one is up, else the window.
    HWND target = hwnd_;
    if (state_.ConfirmBox.Made() && state_.ConfirmBox->IsModal()) target = state_.ConfirmBox->hwnd();
    if (state_.InfoBox.Made() && state_.InfoBox->IsModal()) target = state_.InfoBox->hwnd();
    ::SetForegroundWindow(target);
    return false;
}

void TForm1::OnStartUp() { TabLabel1Click(); }

LRESULT TForm1::WMNCHitTest(WPARAM wParam, LPARAM lParam) {
    LRESULT hit = DefaultHandling(WM_NCHITTEST, wParam, lParam);
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT wr;
    ::GetWindowRect(hwnd_, &wr);
    if (InDragBand(ScaledBand(MainDragBand(), Scale()), pt.x, pt.y, wr.left, wr.top)) hit = HTCAPTION;
    return hit;
}

void TForm1::TopLabel1Click() {
    TForm4 about(state_.Boxes());
    about.ShowModal();
}

void TForm1::TopLabel2Click() { ::ShowWindow(hwnd_, SW_MINIMIZE); }

void TForm1::TopLabel3Click() {
    if (state_.BusyFlag) return;
    // A value of the wrong type stops here with the registry's error, the window still up.
    const bool brimley = ReadRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"BrimleyAds");
    const bool ostrelle = ReadRegFlag(HKEY_CURRENT_USER, kSettingsKey, L"OstrelleAds");
    // At most one window per exit; Brimley's comes first while its value is true. It is
    // built before the main window hides: one that cannot be built leaves the main window
    // up with the error, never hidden for good.
    std::unique_ptr<PromotionWindow> promotion;
    if (brimley) {
        promotion = std::make_unique<TForm5a>(state_.Boxes());
    } else if (ostrelle) {
        promotion = std::make_unique<TForm5b>(state_.Boxes());
    }
    if (promotion) {
        ::ShowWindow(hwnd_, SW_HIDE);
        try {
            promotion->ShowModal();
        } catch (...) {
            ::ShowWindow(hwnd_, SW_SHOW);
            throw;
        }
    }
    ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::CopyrightLabel2Click() {
    ::ShellExecuteW(hwnd_, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::UndoLabelClick() {
    ::ShellExecuteW(hwnd_, L"open", state_.UndoFolder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::RestoreLabelClick() {
    if (state_.BusyFlag || !::IsWindowEnabled(hwnd_) || !state_.InfoBox || !state_.ConfirmBox) return;
    RestoreWindow window(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                         RestorePlaces{state_.UndoFolder, state_.WindowsFolder, state_.UserStartupFolder});
    window.Show();
    // What came back shows on the page; the process page has nothing to restore.
    const int page = PageInFront();
    if (window.RestoredSomething() && page != 3) TabLabelClick(page);
}

bool TForm1::RunProgram(const std::wstring& file, const std::wstring& parameters) {
    return LaunchAndWait(file, parameters, hwnd_);
}

HRGN TForm1::RegionForTests() const {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(hwnd_, region);
    return region;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // A window without its controls must not come up: the start-up message and every
        // click would use what is missing. The caller of Create() reports why.
        try {
            CreateForm();
        } catch (...) {
            createFailure_ = std::current_exception();
            state_.MainWindow = nullptr;
            return -1;
        }
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !shownOnce_) {
            shownOnce_ = true;
            ::PostMessageW(hwnd_, kStartUpMessage, 0, 0);
        }
        break;
    case kStartUpMessage:
        OnStartUp();
        return 0;
    case kOpenRestoreMessage:
        RestoreLabelClick();
        return 0;
    case WM_CONTEXTMENU: {
        // A right-click (or the menu key) on a page's list, passed on by its page.
        for (int page = 1; page <= kPageCount; ++page) {
            if (reinterpret_cast<HWND>(wParam) == controls_->Find(ids::InfoList(page))) {
                ShowRowMenu(page, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            }
        }
        break;
    }
    case WM_NCHITTEST:
        return WMNCHitTest(wParam, lParam);
    case WM_SETTINGCHANGE:
        if (IsAppModeChange(message, lParam) && controls_) ApplySkin(CurrentAppSkin());
        break;
    case WM_DPICHANGED:
        if (lParam) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the artwork covers the whole window
    case WM_COMMAND:
        if (controls_ && controls_->Command(wParam)) return 0;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        for (int page = 1; header && pageContext_ && page <= kPageCount; ++page) {
            if (header->idFrom != static_cast<UINT_PTR>(ids::InfoList(page))) continue;
            // A page's list asks for the image of a row it shows for the first time.
            if (header->code == LVN_GETDISPINFOW) {
                SupplyRowIcon(*pageContext_, page, *reinterpret_cast<NMLVDISPINFOW*>(header));
                return 0;
            }
            // Emptying a page's list needs no notice per row: nothing here keeps per-row data in it.
            if (header->code == LVN_DELETEALLITEMS) return TRUE;
            // The switch button names what it would do to the ticked or selected rows; one
            // look once the changes of a click or key have all come.
            if (page == 1 && header->code == LVN_ITEMCHANGED && !switchCaptionPosted_) {
                const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
                if ((change->uChanged & LVIF_STATE) &&
                    ((change->uOldState ^ change->uNewState) & (LVIS_SELECTED | LVIS_STATEIMAGEMASK))) {
                    switchCaptionPosted_ = ::PostMessageW(hwnd_, kSwitchCaptionMessage, 0, 0) != FALSE;
                }
            }
        }
        // A double click on an association opens it in the editor.
        if (header && header->idFrom == static_cast<UINT_PTR>(ids::InfoList(4)) && header->code == NM_DBLCLK) {
            associations_->Panel4Button2Click();
            return 0;
        }
        break;
    }
    case kSwitchCaptionMessage:
        switchCaptionPosted_ = false;
        if (autostart_) autostart_->UpdateSwitchCaption();
        return 0;
    case WM_TIMER:
        if (wParam == kPanel3TimerId) {
            if (panel3TimerOn_) processes_->Panel3TimerEvent();
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseForm();
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd_, kPanel3TimerId);
        panel3TimerOn_ = false;
        state_.MainWindow = nullptr;
        // A window refused at creation ends no loop: none is running for it yet.
        if (!createFailure_) ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace taliveer
