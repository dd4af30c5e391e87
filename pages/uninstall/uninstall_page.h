// The page of the installed programs of both Uninstall keys, under three filters.
#pragma once

#include "app/page_context.h"
#include "pages/uninstall/pure/uninstall_rules.h"

namespace taliveer {

class UninstallPage {
public:
    explicit UninstallPage(PageContext& context) : context_(context) {}

    // Rebuilds the page under the wait box from both roots, current user first.
    void Panel2Enter();
    // A filter radio button was clicked: refills unless it was already the filter.
    void FilterClicked();

    UninstallFilter CheckedFilter() const;

private:
    PageContext& context_;
    UninstallFilter filledWith_ = UninstallFilter::All;
    PageGeneration generation_;
};

}  // namespace taliveer
