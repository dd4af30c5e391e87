// The page of the file associations.
#pragma once

#include "app/page_context.h"

namespace taliveer {

class AssociationPage {
public:
    explicit AssociationPage(PageContext& context) : context_(context) {}

    // Rebuilds the page and brings it to the front.
    void Panel4Enter();

private:
    PageContext& context_;
};

}  // namespace taliveer
