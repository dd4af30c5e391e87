// The user-interface thread's message loop. Every message taken from the queue, by the main
// loop, by a modal box or by a long loop letting pending messages run, passes the hook first.
#pragma once

#include <windows.h>

#include <functional>

namespace taliveer {

class MessageLoop {
public:
    // Sees each message first; true when it took the message (a key it acted on), which then
    // goes no further.
    using Hook = std::function<bool(const MSG&)>;

    void SetHook(Hook hook) { hook_ = std::move(hook); }

    // Runs until WM_QUIT; returns its exit code.
    int Run();

    // Lets the messages already waiting run once. Returns false after WM_QUIT, which is
    // posted again so that the outer loop also ends.
    bool ProcessMessages();

    // Nested loop of a modal window: runs until `done()` or WM_QUIT. Keyboard navigation
    // (Enter, Tab, Escape) goes to `dialog`.
    void RunModal(HWND dialog, const std::function<bool()>& done);

private:
    void Dispatch(MSG& msg, HWND dialog);
    Hook hook_;
};

}  // namespace taliveer
