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

private:
    void SyncCaptions();

    PageContext& context_;
    // The rows' captions in row order, kept with every insertion and deletion so that a
    // pass need not read the list view back.
    std::vector<std::wstring> captions_;
    // Re-entering the page while a pass lets messages run ends that older pass.
    unsigned generation_ = 0;
};

}  // namespace taliveer
