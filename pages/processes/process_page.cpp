#include "pages/processes/process_page.h"

namespace taliveer {

void ProcessPage::Panel3Enter() {
    ClearPage(context_, 3);
    context_.bringToFront(3);
    context_.setPanel3Timer(true);
}

void ProcessPage::Panel3TimerEvent() {}

}  // namespace taliveer
