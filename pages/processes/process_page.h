// The page of the running programs, refreshed by Panel3Timer while it is shown.
#pragma once

#include "app/page_context.h"

namespace taliveer {

class ProcessPage {
public:
    explicit ProcessPage(PageContext& context) : context_(context) {}

    // Rebuilds the page, brings it to the front and switches the refresh timer on.
    void Panel3Enter();
    // One refresh pass, every 3000 ms while the timer runs.
    void Panel3TimerEvent();

private:
    PageContext& context_;
};

}  // namespace taliveer
