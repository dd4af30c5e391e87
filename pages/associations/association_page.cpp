#include "pages/associations/association_page.h"

namespace taliveer {

void AssociationPage::Panel4Enter() {
    ClearPage(context_, 4);
    context_.bringToFront(4);
}

}  // namespace taliveer
