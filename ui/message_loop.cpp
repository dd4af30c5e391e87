#include "ui/message_loop.h"

namespace taliveer {

void MessageLoop::Dispatch(MSG& msg, HWND dialog) {
    if (hook_ && hook_(msg)) return;
    if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

int MessageLoop::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Dispatch(msg, nullptr);
    }
    return static_cast<int>(msg.wParam);
}

bool MessageLoop::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Dispatch(msg, nullptr);
    }
    return true;
}

void MessageLoop::RunModal(HWND dialog, const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Dispatch(msg, dialog);
    }
}

}  // namespace taliveer
