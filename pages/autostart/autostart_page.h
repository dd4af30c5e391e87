// The autostart page: every program that Windows starts at log-on, from nine sources.
#pragma once

#include "app/page_context.h"

#include <string>

namespace taliveer {

class AutostartPage {
public:
    explicit AutostartPage(PageContext& context) : context_(context) {}

    // Rebuilds the page from the nine sources and brings it to the front. Rows appear one
    // by one while the window stays responsive.
    void Panel1Enter();

    // One source digit ('1'..'9') per row, in row order.
    const std::wstring& AutostartSources() const { return autostartSources_; }

private:
    PageContext& context_;
    std::wstring autostartSources_;
    PageGeneration generation_;
};

}  // namespace taliveer
