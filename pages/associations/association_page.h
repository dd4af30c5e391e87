// The page of the file associations: every extension under HKEY_CLASSES_ROOT, with a
// prefix search.
#pragma once

#include "app/page_context.h"

namespace taliveer {

class AssociationPage {
public:
    explicit AssociationPage(PageContext& context) : context_(context) {}

    // Rebuilds the page under the wait box.
    void Panel4Enter();
    // The search box changed: scrolls the first matching extension to the top.
    void Panel4FindEditChange();

private:
    PageContext& context_;
    PageGeneration generation_;
};

}  // namespace taliveer
