#include "ui/gathering_scope.h"

namespace taliveer {

GatheringScope::GatheringScope(const BoxHost& host, bool& busyFlag)
    : mainWindow_(host.mainWindow ? host.mainWindow() : nullptr), busyFlag_(busyFlag) {
    if (mainWindow_) ::EnableWindow(mainWindow_, FALSE);
    try {
        waitBox_ = std::make_unique<TForm2c>(host);
        waitBox_->ShowModeless();
    } catch (...) {
        if (mainWindow_) ::EnableWindow(mainWindow_, TRUE);
        throw;
    }
    busyFlag_ = true;
}

void GatheringScope::EndBusy() noexcept {
    if (ended_) return;
    ended_ = true;
    busyFlag_ = false;
    if (mainWindow_) ::EnableWindow(mainWindow_, TRUE);
}

GatheringScope::~GatheringScope() {
    EndBusy();
    waitBox_.reset();
}

}  // namespace taliveer
