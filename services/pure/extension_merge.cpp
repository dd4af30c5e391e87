#include "services/pure/extension_merge.h"

#include <utility>

namespace taliveer {

namespace {
bool IsExtension(const std::wstring& name) { return !name.empty() && name.front() == L'.'; }
}  // namespace

ExtensionMerge::ExtensionMerge(std::vector<std::wstring> userExtensions, NextName machineNames, Compare compare)
    : user_(std::move(userExtensions)), machineNames_(std::move(machineNames)), compare_(compare) {}

std::optional<std::wstring> ExtensionMerge::Take() {
    if (readAll_) return std::nullopt;
    std::optional<std::wstring> name = machineNames_();
    if (!name) {
        readAll_ = true;
        return std::nullopt;
    }
    if (!last_.empty() && compare_(*name, last_) < 0) outOfOrder_ = true;
    last_ = *name;
    return name;
}

void ExtensionMerge::ReadMachine() {
    while (!pending_ && !machineDone_ && !outOfOrder_) {
        std::optional<std::wstring> name = Take();
        if (!name) {
            machineDone_ = true;
        } else if (IsExtension(*name)) {
            pending_ = std::move(name);
        } else if (compare_(*name, L".") > 0) {
            machineDone_ = true;  // past every name that begins with "."
        }
    }
}

std::optional<std::wstring> ExtensionMerge::Next() {
    ReadMachine();
    if (outOfOrder_) return std::nullopt;
    const bool haveUser = nextUser_ < user_.size();
    if (!haveUser && !pending_) return std::nullopt;
    const int order = !haveUser ? 1 : !pending_ ? -1 : compare_(user_[nextUser_], *pending_);
    if (order > 0) return std::exchange(pending_, std::nullopt);
    if (order == 0) pending_.reset();  // in both hives: once, as the user spells it
    return user_[nextUser_++];
}

bool ExtensionMerge::FinishInOrder() {
    while (!outOfOrder_ && Take()) {
    }
    return !outOfOrder_;
}

}  // namespace taliveer
