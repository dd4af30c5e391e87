// The page of the installed programs of both Uninstall keys, under three filters.
#pragma once

#include "app/page_context.h"
#include "pages/uninstall/pure/uninstall_rules.h"

namespace taliveer {

class UninstallPage {
public:
    explicit UninstallPage(PageContext& context) : context_(context) {}

    // Rebuilds the page under the wait box from both roots, current user first.
    void Panel2Enter();
    // A filter radio button was clicked: refills unless it was already the filter.
    void FilterClicked();

    UninstallFilter CheckedFilter() const;

    // "卸载": after the question, runs the selected program's uninstaller and waits for it;
    // when no program can be started, opens the system's list of programs instead.
    void Panel2Button1Click();
    // "删除记录": after the question, saves the selected record whole in the Undo folder,
    // removes it, tells how it went and rebuilds the page.
    void Panel2Button2Click();

private:
    // The selected row's index, or -1 when the buttons must do nothing (a gather runs, the
    // list is empty, nothing is selected).
    int ActionRow() const;

    PageContext& context_;
    UninstallFilter filledWith_ = UninstallFilter::All;
    PageGeneration generation_;
};

}  // namespace taliveer
