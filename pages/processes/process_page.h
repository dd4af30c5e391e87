// The page of the running programs: one row per executable name, brought up to date in
// place every 3000 ms while the page is shown.
#pragma once

#include "app/page_context.h"

#include <string>
#include <vector>

namespace taliveer {

class ProcessPage {
public:
    explicit ProcessPage(PageContext& context) : context_(context) {}

    // Empties the page, switches the refresh timer on, runs one pass and brings the page
    // to the front.
    void Panel3Enter();
    // One refresh pass (every 3000 ms while the timer runs); nothing when it is off.
    void Panel3TimerEvent();

    // "结束进程": after the question, ends every instance of the selected row's program,
    // then refreshes at once and names the instances that could not be ended.
    void Panel3Button1Click();
    // "继续": on to the association page, as its tab does.
    void Panel3Button2Click();
    // The shared image list was emptied for a new icon size: every row takes its icon again.
    void IconsDropped();

private:
    void SyncCaptions();
    // One pass; false when it stopped before the end (the page was entered anew, or the
    // main window went, while it let messages run).
    bool OnePass();

    PageContext& context_;
    // The rows' captions in row order, kept with every insertion and deletion so that a
    // pass need not read the list view back.
    std::vector<std::wstring> captions_;
    // Images of the rows that were removed, which the next new rows take over: the image
    // list stays as long as the list, however many programs come and go.
    std::vector<int> freeImages_;
    bool passRunning_ = false;
    bool passAgain_ = false;
    // Re-entering the page while a pass lets messages run ends that older pass.
    PageGeneration generation_;
};

}  // namespace taliveer
