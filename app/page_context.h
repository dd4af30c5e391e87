// What a page's code reaches of the main window: the shared state, the controls, the
// shared image list and a few of the window's services.
#pragma once

#include "app/shared_state.h"
#include "ui/form_controls.h"

#include <functional>

namespace taliveer {

struct PageContext {
    SharedState& state;
    FormControls& controls;
    HIMAGELIST imageList;
    std::function<void(int page)> bringToFront;
    std::function<void(bool on)> setPanel3Timer;
    std::function<bool()> panel3TimerOn;
};

// Empties the page's list view and the shared image list and puts the count label back to
// its start text.
void ClearPage(PageContext& context, int page);

}  // namespace taliveer
