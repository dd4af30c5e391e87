#include "pages/autostart/autostart_page.h"

#include "app/main_layout.h"
#include "pages/autostart/autostart_gather.h"
#include "pages/autostart/autostart_text.h"
#include "services/file_icon.h"
#include "ui/list_painting.h"

#include <commctrl.h>

namespace taliveer {
namespace {

class ListSink : public AutostartSink {
public:
    ListSink(PageContext& context, std::wstring& sources, const unsigned& generation, unsigned mine)
        : context_(context), sources_(sources), generation_(generation), mine_(mine),
          list_(context.controls.Hwnd(ids::InfoList(1))) {}

    bool Pending() override {
        if (!context_.state.Loop.ProcessMessages()) return false;
        // The window closed, or a newer gather took over the list.
        return context_.state.MainWindow != nullptr && generation_ == mine_ && context_.state.RowIcon;
    }

    void Add(const AutostartRow& row) override {
        // Procedures A and B resolved the file already; a shortcut's target is used as it is.
        const int image = row.hasIcon ? AddFileIcon(context_, row.iconFile) : -1;
        AppendListRow(list_, row.caption, row.command, row.access, image);
        sources_.push_back(row.digit);
        painting_.RowAdded();
    }

private:
    PageContext& context_;
    std::wstring& sources_;
    const unsigned& generation_;
    unsigned mine_;
    HWND list_;
    ThrottledListPainting painting_{list_};
};

}  // namespace

void AutostartPage::Panel1Enter() {
    const unsigned mine = ++generation_;
    SharedState& state = context_.state;
    ListView_DeleteAllItems(context_.controls.Hwnd(ids::InfoList(1)));
    ImageList_RemoveAll(context_.imageList);
    autostartSources_.clear();
    context_.bringToFront(1);

    AutostartEnvironment env;
    env.userName = state.UserName;
    env.userStartupFolder = state.UserStartupFolder;
    env.commonStartupFolder = state.CommonStartupFolder;
    env.prefixes = {state.WindowsFolder, state.ProfileFolder};
    env.upperCase = &LocaleUpperCase;
    env.shortcuts = &state.ShellLink;

    ListSink sink(context_, autostartSources_, generation_, mine);
    const AutostartTotals totals = GatherAutostart(env, sink);
    if (!totals.completed) return;

    context_.controls.Static(ids::InfoLabel(1)).SetText(AutostartCountText(totals.rows, totals.disabled));
    ::ShowWindow(context_.controls.Hwnd(ids::UndoLabel(1)), DirectoryExists(state.UndoFolder) ? SW_SHOW : SW_HIDE);
}

}  // namespace taliveer
