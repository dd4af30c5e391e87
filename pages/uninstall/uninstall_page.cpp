#include "pages/uninstall/uninstall_page.h"

namespace taliveer {

void UninstallPage::Panel2Enter() {
    ClearPage(context_, 2);
    context_.bringToFront(2);
}

}  // namespace taliveer
