// What the program does when a handler fails: a main window whose controls cannot be made
// is refused and says why; a handler that throws in a window, dialog or subclassed control
// is reported once and the program goes on.
#include "tests/wine/main_window_fixture.h"
#include "ui/box_window.h"

#include <stdexcept>

namespace taliveer {
namespace {

using test::ErrorBoxCatcher;
using test::MainWindowTest;
using test::PumpFor;

// Builds its controls and then fails, as a form does when one of them cannot be made.
class FormWhoseControlsFail : public TForm1 {
public:
    using TForm1::TForm1;

protected:
    void BuildControls() override {
        TForm1::BuildControls();
        throw std::runtime_error("the control Panel1InfoList could not be created");
    }
};

TEST(MainWindowCreation, AFormWhoseControlsCannotBeMadeIsRefusedAndSaysWhy) {
    test::SettingsGuard guard;
    SharedState state;
    FormWhoseControlsFail form(state);
    ErrorBoxCatcher boxes;
    std::string reason;
    try {
        form.Create();
    } catch (const std::runtime_error& e) {
        reason = e.what();
    }
    EXPECT_EQ(reason, "the control Panel1InfoList could not be created");
    EXPECT_EQ(form.hwnd(), nullptr);
    EXPECT_EQ(state.MainWindow, nullptr);
    // Nothing was shown yet (the caller shows the reason), no loop is told to end and no
    // start-up message reaches a window that is not there.
    PumpFor(100);
    EXPECT_TRUE(boxes.Texts().empty());
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

class GuardedEntryTest : public MainWindowTest {};

TEST_F(GuardedEntryTest, AFailingClickHandlerOfTheWindowIsReportedOnceAndTheWindowGoesOn) {
    ErrorBoxCatcher boxes;
    form_->Controls().OnClick(ids::kCopyrightLabel2, [] { throw std::runtime_error("click failed"); });
    ::SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(ids::kCopyrightLabel2, STN_CLICKED),
                   reinterpret_cast<LPARAM>(Hwnd(ids::kCopyrightLabel2)));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], L"click failed");
    Click(ids::TabLabel(2));
    EXPECT_EQ(form_->PageInFront(), 2);
}

TEST_F(GuardedEntryTest, AFailingHandlerOfASubclassedLabelIsReportedOnceAndTheLabelGoesOn) {
    ErrorBoxCatcher boxes;
    StaticControl& label = form_->Controls().Static(ids::kTopLabel2);
    label.onMouseMove = [] { throw std::runtime_error("hover failed"); };
    MouseOver(label.hwnd());
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], L"hover failed");
    label.onMouseMove = nullptr;
    label.SetText(L"_");
    EXPECT_EQ(label.Text(), L"_");
    EXPECT_TRUE(::IsWindow(label.hwnd()));
}

constexpr ControlSpec kOneButton[] = {
    {kInfoLabelId, L"InfoLabel", ControlKind::Label, 0, 8, 8, 100, 20, L"", FontId::Default, kBlack, 0},
    {IDOK, L"Button1", ControlKind::PushButton, 0, 8, 40, 75, 25, L"OK", FontId::Default, kBlack, flag::kDefault},
};

class BoxWhoseButtonFails : public BoxWindow {
public:
    explicit BoxWhoseButtonFails(const BoxHost& host) : BoxWindow(host, L"Test", 200, 80, kOneButton) {}
    int closes = 0;

protected:
    void OnButton(int) override { throw std::runtime_error("button failed"); }
    void OnCloseRequest() override {
        ++closes;
        CloseBox();
    }
};

TEST_F(GuardedEntryTest, AFailingButtonOfADialogIsReportedOnceAndTheDialogGoesOn) {
    ErrorBoxCatcher boxes;
    BoxWhoseButtonFails box(state_.Boxes());
    ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(IDOK)));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], L"button failed");
    ::SendMessageW(box.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(box.closes, 1);
}

}  // namespace
}  // namespace taliveer
