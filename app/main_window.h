// TForm1: the borderless, skinned main window with its four pages.
#pragma once

#include "app/main_layout.h"
#include "app/page_context.h"
#include "app/shared_state.h"
#include "ui/fonts.h"
#include "ui/form_controls.h"
#include "ui/page_window.h"
#include "ui/window_base.h"

#include <array>
#include <functional>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace taliveer {

class AutostartPage;
class UninstallPage;
class ProcessPage;
class AssociationPage;

inline constexpr UINT kStartUpMessage = WM_USER + 2;  // 1026
inline constexpr UINT kOpenRestoreMessage = WM_USER + 3;  // Ctrl+Z
inline constexpr UINT kSwitchCaptionMessage = WM_USER + 4;  // the autostart rows' ticks or selection changed
inline constexpr WPARAM kRestoreSignal = WM_USER + 1;  // 1025
inline constexpr UINT_PTR kPanel3TimerId = 3;
inline constexpr UINT kPanel3Interval = 3000;

class TForm1 : public WindowBase {
public:
    explicit TForm1(SharedState& state);
    ~TForm1() override;

    // Creates the window (CreateForm runs during this call), centred on the screen, hidden.
    void Create();
    // Shows it; the start-up message follows once it is on screen.
    void Show(int showCommand);

    // Sees every message the loops take from the queue: acts on the restore signal and on the
    // window's keys; true when it took the message.
    bool EventsMessage(const MSG& msg);

    // The keys of the main window (Ctrl+Tab, Ctrl+1..4, F5, Delete, Enter, Ctrl+F, Ctrl+C,
    // Ctrl+A, Ctrl+S, Ctrl+Z, Ctrl+D, Shift+F10, Tab): true when the key was the window's.
    bool KeyDown(const MSG& msg);
    // The row menu of the page at a screen point (-1, -1: from the keyboard, at the selection).
    void ShowRowMenu(int page, POINT at);
    // The selected rows as tab-separated text on the clipboard; every row as a CSV file.
    void CopyRows(int page);
    void ExportRows(int page);

    // Click handlers.
    void TopLabel1Click();
    void TopLabel2Click();
    void TopLabel3Click();
    void CopyrightLabel2Click();
    void UndoLabelClick();
    // "恢复…" and Ctrl+Z: the restore window; the page in front is built again after a restore.
    void RestoreLabelClick();

    // Starts `file` with the parameters and waits until it has ended (the window repaints
    // meanwhile but takes no input); false when it cannot be started.
    bool RunProgram(const std::wstring& file, const std::wstring& parameters);
    void TabLabel1Click() { TabLabelClick(1); }
    void TabLabel2Click() { TabLabelClick(2); }
    void TabLabel3Click() { TabLabelClick(3); }
    void TabLabel4Click() { TabLabelClick(4); }

    // Mouse-move handlers: an image button (its pictures and label), a page's bare surface.
    void ButtonMouseMove(int page, int button);
    void PanelMouseMove(int page);

    // What the window shows, for the pages and for tests.
    FormControls& Controls() { return *controls_; }
    HIMAGELIST ImageList1() const { return imageList1_.get(); }
    AutostartPage& Autostart() { return *autostart_; }
    ProcessPage& Processes() { return *processes_; }
    UninstallPage& Uninstall() { return *uninstall_; }
    AssociationPage& Associations() { return *associations_; }
    bool Panel3TimerOn() const { return panel3TimerOn_; }
    bool ButtonLit(int page, int button) const;
    int PageInFront() const;
    HRGN RegionForTests() const;
    // The window's display scale; every position and size in it is its table's, scaled.
    DpiScale Scale() const { return fonts_.Scale(); }
    // The window moved to a screen of another scale (WM_DPICHANGED): it takes `suggested`
    // (screen coordinates) and draws everything again at `dpi`: fonts, controls, pictures,
    // region, columns and row icons.
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The app mode changed: the window, its pages and lists are drawn in `skin`.
    void ApplySkin(Skin skin);
    Skin CurrentSkin() const { return controls_->CurrentSkin(); }

    // Close rule: false (and nothing happens) while BusyFlag is set.
    bool CloseForm();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Builds the child controls from the layout table; throws when one cannot be made.
    virtual void BuildControls();

private:
    void CreateForm();
    // Builds what lies on a page (its list, labels, buttons, their handlers), once; the
    // page of a control that is asked for before its page was built.
    void BuildPage(int page);
    void BuildPageOf(int id);
    bool PageBuilt(int page) const { return pageBuilt_[static_cast<size_t>(page)]; }
    // The skin's pictures and the window's shape at the window's scale.
    void LoadSkin();
    // The pages' surfaces and the texts of their system-drawn controls in the skin.
    void ColourPages();
    // The tab highlight under tab 1..4.
    void PlaceTabImage(int tab);
    // The image list's icons at the window's scale, every row's image fetched again.
    void RescaleRowIcons();
    void ConnectHandlers();
    void OnImageButton(int page, int button, const std::function<void()>& handler);
    void OnStartUp();
    LRESULT WMNCHitTest(WPARAM wParam, LPARAM lParam);
    void TabLabelClick(int tab);
    void ResetPage(int page);
    void SetButtonLit(int page, int button, bool lit);
    void BringPageToFront(int page);
    void SetPanel3Timer(bool on);
    void KeyTab(int tab);
    void RunButton(int page, int button);
    int FocusedButton(int page) const;
    void MoveFocus(int page, bool backwards);
    std::vector<std::vector<std::wstring>> PageRows(int page, bool selectedOnly) const;
    std::vector<std::wstring> PageHeader(int page) const;
    // The program file a row names, when it exists.
    std::wstring RowFile(int page, int row) const;

    SharedState& state_;
    FontSet fonts_;
    std::unique_ptr<FormControls> controls_;
    std::array<std::unique_ptr<PageWindow>, 4> pages_;
    std::array<bool, kPageCount + 1> pageBuilt_{};
    UniqueHBitmap background_;
    UniqueHBitmap tabHighlight_;
    UniqueHBitmap buttonA_;
    UniqueHBitmap buttonB_;
    UniqueHImageList imageList1_;
    bool shownOnce_ = false;
    // Why CreateForm failed: WM_CREATE refuses the window and Create() throws this.
    std::exception_ptr createFailure_;
    bool panel3TimerOn_ = false;
    bool switchCaptionPosted_ = false;

    std::unique_ptr<PageContext> pageContext_;
    std::unique_ptr<AutostartPage> autostart_;
    std::unique_ptr<UninstallPage> uninstall_;
    std::unique_ptr<ProcessPage> processes_;
    std::unique_ptr<AssociationPage> associations_;
};

}  // namespace taliveer
