#include "pages/autostart/autostart_page.h"

namespace taliveer {

void AutostartPage::Panel1Enter() {
    ClearPage(context_, 1);
    context_.bringToFront(1);
}

}  // namespace taliveer
