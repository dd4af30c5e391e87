// A shown main window for a benchmark; the program's settings key is put back as it was.
#pragma once

#include "app/main_window.h"
#include "services/reg_unit.h"

#include <memory>

namespace taliveer::bench {

class BenchWindow {
public:
    BenchWindow() {
        form->Create();
        form->Show(SW_SHOWNOACTIVATE);
        state->Loop.ProcessMessages();
    }
    ~BenchWindow() {
        form.reset();
        if (!hadSettings_) {
            DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis\\Taliveer");
            DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
        }
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

private:
    bool hadSettings_ = RegKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");

public:
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(*state);
};

}  // namespace taliveer::bench
