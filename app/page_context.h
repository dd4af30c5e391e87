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

// The icon of the file a command line or location names, added to the shared image list;
// its index there, or -1 when not even the stock icon could be loaded.
int AddRowIcon(PageContext& context, const std::wstring& commandOrLocation);
// The same for a file path used as it is.
int AddFileIcon(PageContext& context, const std::wstring& file);

}  // namespace taliveer
