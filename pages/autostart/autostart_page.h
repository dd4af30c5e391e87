// The page of the autostart list.
#pragma once

#include "app/page_context.h"

namespace taliveer {

class AutostartPage {
public:
    explicit AutostartPage(PageContext& context) : context_(context) {}

    // Rebuilds the page and brings it to the front.
    void Panel1Enter();

private:
    PageContext& context_;
};

}  // namespace taliveer
