#include "pages/autostart/autostart_page.h"

#include "app/list_row_sink.h"
#include "app/main_layout.h"
#include "pages/autostart/autostart_gather.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_icon.h"
#include "services/file_system.h"

#include <commctrl.h>

namespace taliveer {
void AutostartPage::Panel1Enter() {
    SharedState& state = context_.state;
    ClearPage(context_, 1, generation_);
    autostartSources_.clear();
    context_.bringToFront(1);

    AutostartEnvironment env;
    env.userName = state.UserName;
    env.userStartupFolder = state.UserStartupFolder;
    env.commonStartupFolder = state.CommonStartupFolder;
    env.prefixes = {state.WindowsFolder, state.ProfileFolder};
    env.upperCase = &LocaleUpperCase;
    env.shortcuts = &state.ShellLink;

    ListRowSink<AutostartRow> sink(context_, 1, generation_, [this](HWND list, const AutostartRow& row) {
        // The registry rows carry their resolved file; a shortcut's target is used as it is.
        const int image = row.hasIcon ? AddFileIcon(context_, row.iconFile) : -1;
        AppendListRow(list, row.caption, row.command, row.access, image);
        autostartSources_.push_back(row.digit);
    });
    const AutostartTotals totals = GatherAutostart(env, sink);
    if (!totals.completed) return;

    context_.controls.Static(ids::InfoLabel(1)).SetText(AutostartCountText(totals.rows, totals.disabled));
    ShowUndoLink(context_, 1);
}

}  // namespace taliveer
