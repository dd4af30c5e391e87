// A real main window in the test process, shown and past its start-up message.
#pragma once

#include "app/main_layout.h"
#include "app/main_window.h"
#include "tests/wine/test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace taliveer::test {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<TForm1>(state_);
        state_.Loop.SetHook([this](const MSG& msg) { return form_->EventsMessage(msg); });
        form_->Create();
        form_->Show(SW_SHOWNOACTIVATE);
        // The start-up message opens the autostart page once the window is on screen.
        PumpFor(100);
    }
    void TearDown() override {
        ForgetShownActions();
        state_.BusyFlag = false;
        form_.reset();
        PumpFor(20);
    }

    HWND Hwnd(int id) { return form_->Controls().Hwnd(id); }
    void Click(int id) {
        HWND h = Hwnd(id);
        ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        PumpFor(10);
    }
    void MouseOver(HWND h) {
        ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    }
    // Answers the next question of the confirmation box: Yes or No.
    void AnswerNextQuestion(bool yes, std::wstring* question = nullptr) {
        TForm3b& box = *state_.ConfirmBox;
        WhenShown(box.hwnd(), [&box, yes, question] {
            if (question) *question = box.InfoLabel().Text();
            const int id = yes ? IDYES : IDNO;
            ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(id)));
        });
    }
    // Closes the next information box with its button, keeping its text.
    void ReadNextInfo(std::wstring* text) {
        TForm3a& box = *state_.InfoBox;
        WhenShown(box.hwnd(), [&box, text] {
            if (text) *text = box.InfoLabel().Text();
            ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(IDOK)));
        });
    }
    COLORREF LabelColour(int id) { return form_->Controls().Static(id).TextColour(); }
    RECT Rect(int id) { return ChildRect(Hwnd(id)); }

    SettingsGuard settings_;
    SharedState state_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace taliveer::test
