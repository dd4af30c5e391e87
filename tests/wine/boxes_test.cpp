// The information, confirmation and wait boxes, and gathering under the wait box.
#include "tests/wine/main_window_fixture.h"
#include "ui/confirm_box.h"
#include "ui/gathering_scope.h"
#include "ui/info_box.h"

#include <functional>
#include <stdexcept>

namespace taliveer {
namespace {

using test::MainWindowTest;
using test::PumpFor;

using test::WhileModal;

void PressKey(HWND target, WPARAM key) {
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

std::wstring Caption(HWND w) {
    wchar_t text[64] = {};
    ::GetWindowTextW(w, text, 64);
    return text;
}

POINT Centre(HWND w) {
    RECT r;
    ::GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class BoxesTest : public MainWindowTest {};

TEST_F(BoxesTest, InfoBoxShowsItsTextCentredOverTheMainWindowAndAnswersEnter) {
    ::SetWindowPos(form_->hwnd(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    TForm3a& box = *state_.InfoBox;
    EXPECT_EQ(Caption(box.hwnd()), L"信息");
    RECT client;
    ::GetClientRect(box.hwnd(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 102);
    EXPECT_EQ(::GetWindowLongPtrW(box.hwnd(), GWL_STYLE) & WS_SYSMENU, 0);

    bool seen = false;
    WhileModal([&] {
        seen = ::IsWindowVisible(box.hwnd()) != FALSE;
        EXPECT_FALSE(::IsWindowEnabled(form_->hwnd()));  // the main window takes no input
        const POINT a = Centre(box.hwnd());
        const POINT b = Centre(form_->hwnd());
        EXPECT_NEAR(a.x, b.x, 1);
        EXPECT_NEAR(a.y, b.y, 1);
        EXPECT_EQ(box.InfoLabel().Text(), L"程序 \"x.exe\" 已删除");
        EXPECT_EQ(::GetFocus(), box.Control(IDOK));
        PressKey(::GetFocus(), VK_RETURN);
    });
    box.Show(L"程序 \"x.exe\" 已删除");
    EXPECT_TRUE(seen);
    EXPECT_FALSE(::IsWindowVisible(box.hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
}

TEST_F(BoxesTest, ConfirmBoxAnswersYesOnlyForItsYesButton) {
    TForm3b& box = *state_.ConfirmBox;
    EXPECT_EQ(Caption(box.hwnd()), L"确认");
    RECT client;
    ::GetClientRect(box.hwnd(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 116);
    EXPECT_EQ(box.Answer, 0);

    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"Yes button", [](HWND b) { ::SendMessageW(::GetDlgItem(b, IDYES), BM_CLICK, 0, 0); }, 1},
        {"Enter on the default button", [](HWND) { PressKey(::GetFocus(), VK_RETURN); }, 2},
        {"No button", [](HWND b) { ::SendMessageW(::GetDlgItem(b, IDNO), BM_CLICK, 0, 0); }, 2},
        {"Escape", [](HWND) { PressKey(::GetFocus(), VK_ESCAPE); }, 2},
        {"close message", [](HWND b) { ::PostMessageW(b, WM_CLOSE, 0, 0); }, 2},
        {"system close (Alt+F4)", [](HWND b) { ::PostMessageW(b, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const Case& c : cases) {
        box.Answer = 0;
        WhileModal([&] {
            EXPECT_EQ(::GetFocus(), box.Control(IDNO)) << c.name;
            c.act(box.hwnd());
        });
        const bool yes = box.Ask(L"删除所选程序?");
        EXPECT_EQ(box.Answer, c.expected) << c.name;
        EXPECT_EQ(yes, c.expected == 1) << c.name;
        EXPECT_FALSE(::IsWindowVisible(box.hwnd())) << c.name;
    }
}

TEST_F(BoxesTest, AMessageFromAnotherModalBoxIsCentredOverTheMainWindow) {
    ::SetWindowPos(form_->hwnd(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    POINT infoCentre{};
    WhileModal([&] {
        // The confirmation box is up; an information box from inside it.
        ::SetWindowPos(state_.ConfirmBox->hwnd(), nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        WhileModal([&] {
            infoCentre = Centre(state_.InfoBox->hwnd());
            EXPECT_FALSE(::IsWindowEnabled(state_.ConfirmBox->hwnd()));
            PressKey(::GetFocus(), VK_RETURN);
        });
        state_.InfoBox->Show(L"nested");
        EXPECT_TRUE(::IsWindowEnabled(state_.ConfirmBox->hwnd()));
        PressKey(::GetFocus(), VK_RETURN);
    });
    state_.ConfirmBox->Ask(L"outer");
    const POINT main = Centre(form_->hwnd());
    EXPECT_NEAR(infoCentre.x, main.x, 1);
    EXPECT_NEAR(infoCentre.y, main.y, 1);
}

TEST_F(BoxesTest, GatheringDisablesTheWindowUnderTheWaitBoxAndCleansUpWhenItFails) {
    HWND waitBox = nullptr;
    try {
        GatheringScope scope(state_.Boxes(), state_.BusyFlag);
        waitBox = scope.WaitBoxWindow();
        ASSERT_TRUE(::IsWindowVisible(waitBox));
        EXPECT_EQ(Caption(waitBox), L"收集数据");
        RECT client;
        ::GetClientRect(waitBox, &client);
        EXPECT_EQ(client.right, 300);
        EXPECT_EQ(client.bottom, 70);
        wchar_t text[32] = {};
        ::GetWindowTextW(::GetDlgItem(waitBox, kInfoLabelId), text, 32);
        EXPECT_STREQ(text, L"请稍候....");
        EXPECT_FALSE(::IsWindowEnabled(form_->hwnd()));
        EXPECT_TRUE(state_.BusyFlag);
        // A close request while gathering is refused.
        ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(::IsWindow(form_->hwnd()));
        throw std::runtime_error("the registry went away halfway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(state_.BusyFlag);
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
    EXPECT_FALSE(::IsWindow(waitBox));
}

TEST_F(BoxesTest, GatheringThatEndsNormallyEndsBusyBeforeTheWaitBoxGoes) {
    GatheringScope scope(state_.Boxes(), state_.BusyFlag);
    HWND waitBox = scope.WaitBoxWindow();
    scope.EndBusy();
    EXPECT_FALSE(state_.BusyFlag);
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
    EXPECT_TRUE(::IsWindow(waitBox));
}

TEST_F(BoxesTest, ALongMessageMakesTheInfoBoxTallEnoughToReadItAndAShortOneGivesItsSizeBack) {
    TForm3a& box = *state_.InfoBox;
    std::wstring text = L"无法结束 4 个 \"a.exe\" 进程:";
    for (int i = 0; i < 4; ++i) text += L"\n进程 " + std::to_wstring(1000 + i) + L": Access denied.";
    RECT client{}, label{}, button{};
    WhileModal([&] {
        ::GetClientRect(box.hwnd(), &client);
        label = ChildRect(box.InfoLabel().hwnd());
        button = ChildRect(box.Control(IDOK));
        PressKey(box.Control(IDOK), VK_RETURN);
    });
    box.Show(text);
    EXPECT_GT(label.bottom - label.top, 5 * 12);  // five lines of a 12-pixel font
    EXPECT_GE(button.top, label.bottom);
    EXPECT_EQ(client.bottom - button.bottom, 102 - 89);  // the margin under the button stays

    WhileModal([&] {
        ::GetClientRect(box.hwnd(), &client);
        PressKey(box.Control(IDOK), VK_RETURN);
    });
    box.Show(L"已成功删除记录!");
    EXPECT_EQ(client.bottom, 102);
}

}  // namespace
}  // namespace taliveer
