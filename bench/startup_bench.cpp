// Start-up to window shown: creating the main window (CreateForm with its region and shared
// state), showing it and handling the start-up message that opens the first page. Wine's
// own process start is not part of it.
#include "app/main_window.h"
#include "bench/harness.h"
#include "services/reg_unit.h"

#include <memory>

namespace taliveer::bench {

void StartupBench() {
    const bool hadSettings = RegKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
    std::unique_ptr<SharedState> state;
    std::unique_ptr<TForm1> form;
    const double ms = MedianMs(
        15,
        [&] {
            form->Create();
            form->Show(SW_SHOWNOACTIVATE);
            // Until the start-up message has run.
            state->Loop.ProcessMessages();
            state->Loop.ProcessMessages();
        },
        [&] {
            form.reset();
            state = std::make_unique<SharedState>();
            form = std::make_unique<TForm1>(*state);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            }
        });
    Print("start-up to window shown (median of 15)", ms, "ms");
    // The launcher's answer for a file that cannot be started: no wait for anything.
    const double missing = MedianMs(15, [&] { form->RunProgram(L"C:\\no\\such\\uninstall.exe", L"/S"); });
    Print("launcher, a missing file refused (median of 15)", missing, "ms");
    form.reset();
    if (!hadSettings) {
        DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis\\Taliveer");
        DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
    }
}

}  // namespace taliveer::bench
