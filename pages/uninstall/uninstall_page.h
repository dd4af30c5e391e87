// The page of the installed programs.
#pragma once

#include "app/page_context.h"

namespace taliveer {

class UninstallPage {
public:
    explicit UninstallPage(PageContext& context) : context_(context) {}

    // Rebuilds the page and brings it to the front.
    void Panel2Enter();

private:
    PageContext& context_;
};

}  // namespace taliveer
