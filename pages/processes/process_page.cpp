#include "pages/processes/process_page.h"

#include "app/main_layout.h"
#include "pages/processes/process_ending.h"
#include "pages/processes/pure/process_rules.h"
#include "pages/processes/process_snapshot.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/file_system.h"

#include <commctrl.h>

#include <unordered_set>

namespace taliveer {
namespace {

class PassSink final : public ProcessSink {
public:
    PassSink(PageContext& context, std::vector<std::wstring>& captions, std::vector<int>& freeImages,
             const PageGeneration& generation, unsigned mine)
        : context_(context), captions_(captions), freeImages_(freeImages), generation_(generation), mine_(mine),
          list_(context.controls.Hwnd(ids::InfoList(3))) {
        shown_.insert(captions_.begin(), captions_.end());
    }

    bool PumpMessagesAndContinue() override { return PumpAndStillWanted(context_, generation_, mine_); }

    void Add(const ProcessEntry& entry) override {
        if (IsProcessHidden(entry.exeName, entry.path)) return;
        const std::wstring path = CleanImagePath(entry.path);
        seen_.insert(LocaleUpperCase(entry.exeName));
        if (shown_.count(entry.exeName)) return;  // one row per executable name, exact case

        HoldPainting();
        int reuse = -1;
        if (!freeImages_.empty()) {
            reuse = freeImages_.back();
            freeImages_.pop_back();
        }
        AppendListRow(list_, entry.exeName, path, PriorityText(entry.priorityClass), AddRowIcon(context_, path, reuse));
        captions_.push_back(entry.exeName);
        shown_.insert(entry.exeName);
    }

    // Rows whose program no longer runs (names compared in any case by the user's locale).
    void RemoveStaleRows() {
        for (size_t i = 0; i < captions_.size();) {
            if (seen_.count(LocaleUpperCase(captions_[i]))) {
                ++i;
                continue;
            }
            HoldPainting();
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = static_cast<int>(i);
            if (ListView_GetItem(list_, &item) && item.iImage >= 0) freeImages_.push_back(item.iImage);
            ListView_DeleteItem(list_, static_cast<int>(i));
            captions_.erase(captions_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    // A pass that changes rows paints the list once at its end, not once per change while
    // it lets messages run; a pass that changes nothing does not touch the list at all.
    void HoldPainting() {
        if (holding_) return;
        holding_ = true;
        ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }
    void ResumePainting() {
        if (!holding_) return;
        holding_ = false;
        ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
    }

private:
    PageContext& context_;
    std::vector<std::wstring>& captions_;
    std::vector<int>& freeImages_;
    const PageGeneration& generation_;
    unsigned mine_;
    HWND list_;
    std::unordered_set<std::wstring> shown_;
    std::unordered_set<std::wstring> seen_;
    bool holding_ = false;
};

}  // namespace

void ProcessPage::Panel3Enter() {
    ClearPage(context_, 3, generation_);
    captions_.clear();
    freeImages_.clear();
    context_.setPanel3Timer(true);
    Panel3TimerEvent();
    context_.bringToFront(3);
}

void ProcessPage::IconsDropped() {
    freeImages_.clear();
    HWND list = context_.controls.Hwnd(ids::InfoList(3));
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = AddRowIcon(context_, ListCellText(list, i, 1));
        ListView_SetItem(list, &item);
    }
}

void ProcessPage::SyncCaptions() {
    HWND list = context_.controls.Hwnd(ids::InfoList(3));
    const int count = ListView_GetItemCount(list);
    if (static_cast<size_t>(count) == captions_.size()) return;
    captions_.clear();
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH + 1] = {};
        ListView_GetItemText(list, i, 0, text, MAX_PATH);
        captions_.emplace_back(text);
    }
}

void ProcessPage::Panel3TimerEvent() {
    if (!context_.panel3TimerOn()) return;
    // A pass lets messages run; a tick that comes meanwhile must not start a second pass
    // inside it (both would append the same new programs), and the next tick will come. A
    // page entry meanwhile stops this pass and wants a fresh one from the emptied page.
    if (passRunning_) {
        passAgain_ = true;
        return;
    }
    passRunning_ = true;
    const ScopeExit passOver([this] { passRunning_ = false; });
    passAgain_ = false;
    while (!OnePass() && passAgain_ && context_.panel3TimerOn() && context_.state.MainWindow) passAgain_ = false;
}

bool ProcessPage::OnePass() {
    SharedState& state = context_.state;
    // Set for the pass; a pass that another one interrupted puts back what it found.
    const bool wasBusy = state.BusyFlag;
    state.BusyFlag = true;
    const ScopeExit clearBusy([&state, wasBusy] { state.BusyFlag = wasBusy; });

    SyncCaptions();
    // Icons are shared within one pass only, so that programs long ended keep none.
    context_.extracted.clear();
    PassSink sink(context_, captions_, freeImages_, generation_, generation_.current);
    const ScopeExit paint([&sink] { sink.ResumePainting(); });
    if (!WalkProcesses(sink)) return false;
    sink.RemoveStaleRows();
    context_.controls.Static(ids::InfoLabel(3)).SetText(ProcessCountText(static_cast<int>(captions_.size())));
    return true;
}

void ProcessPage::Panel3Button1Click() {
    SharedState& state = context_.state;
    HWND list = context_.controls.Hwnd(ids::InfoList(3));
    const int index = SelectedRow(list);
    if (index < 0 || index >= ListView_GetItemCount(list)) {
        state.InfoBox->Show(kSelectProgramToEnd);
        return;
    }
    const std::wstring name = ListCellText(list, index, 0);
    const std::wstring path = ListCellText(list, index, 1);
    if (IsOwnProgramRow(name, path)) {
        state.InfoBox->Show(kUseTheCloseButton);
        return;
    }
    // Every running copy of the program ends; where they come from more than one folder the
    // question names each, so that the user sees what will end.
    std::vector<RunningCopy> copies;
    if (!FindProcessesNamed(name, ::GetCurrentProcessId(), copies)) {
        state.InfoBox->Show(kNoProcessSnapshot);
        return;
    }
    std::vector<std::wstring> paths;
    for (const RunningCopy& copy : copies) paths.push_back(copy.path);
    if (!state.ConfirmBox->Ask(ConfirmEndText(name, CountByFolder(paths)))) return;
    const EndOutcome outcome = EndProcesses(name, copies, state.SystemFolder);
    Panel3TimerEvent();
    // Ended instances show as a shorter list; only what is still running is told.
    if (!outcome.failures.empty()) state.InfoBox->Show(EndFailureText(name, outcome.failures));
}

void ProcessPage::Panel3Button2Click() { context_.clickTab(4); }

}  // namespace taliveer
