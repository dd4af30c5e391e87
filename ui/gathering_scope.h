// A page gathering its rows under the wait box: the main window disabled, the wait box
// shown and BusyFlag set for the scope's life. Whatever way the scope ends, normally or by
// an exception halfway, BusyFlag is cleared, the main window enabled and the box destroyed.
#pragma once

#include "ui/wait_box.h"

#include <memory>

namespace taliveer {

class GatheringScope {
public:
    GatheringScope(const BoxHost& host, bool& busyFlag);
    GatheringScope(const GatheringScope&) = delete;
    GatheringScope& operator=(const GatheringScope&) = delete;
    ~GatheringScope();

    // Clears BusyFlag and enables the main window; the wait box goes with the scope.
    void EndBusy() noexcept;
    HWND WaitBoxWindow() const noexcept { return waitBox_ ? waitBox_->hwnd() : nullptr; }

private:
    HWND mainWindow_;
    bool& busyFlag_;
    bool ended_ = false;
    std::unique_ptr<TForm2c> waitBox_;
};

}  // namespace taliveer
