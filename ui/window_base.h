// One window-procedure trampoline for every window class of the program: `this` is bound at
// WM_NCCREATE (or WM_INITDIALOG for dialogs) and each message goes to HandleMessage. No
// exception crosses into Win32: what escapes a handler is shown in the error box.
#pragma once

#include <windows.h>

namespace taliveer {

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND hwnd() const noexcept { return hwnd_; }

protected:
    // Registers `className` once per process with the shared procedure.
    static void RegisterClassOnce(const wchar_t* className, UINT style, HBRUSH background,
                                  HICON icon = nullptr);
    // Creates the window; `this` receives its messages from WM_NCCREATE on.
    HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU idOrMenu);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    // Called after WM_NCDESTROY; the window handle is gone.
    virtual void OnWindowGone() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
};

void ShowExceptionBox(const wchar_t* text) noexcept;
void ShowCurrentException() noexcept;

// The answer to `message` that lets Win32 carry on when its handler failed: a window whose
// creation failed is not created; anything else counts as handled.
LRESULT SafeResult(UINT message) noexcept;

// Every entry from Win32 into the program (window, dialog and subclass procedures) runs its
// handler through this: whatever the handler throws is shown once in the error box and the
// message gets its safe answer, so that no exception crosses into the system.
template <typename Body>
LRESULT GuardedDispatch(UINT message, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        ShowCurrentException();
        return SafeResult(message);
    }
}

// The same for code that has no message to answer (start-up steps, hooks).
template <typename Body>
void GuardedCall(Body&& body) noexcept;

template <typename Body>
void GuardedCall(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        ShowCurrentException();
    }
}

}  // namespace taliveer
