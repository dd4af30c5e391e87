// The page of the file associations: every extension under HKEY_CLASSES_ROOT, with a
// prefix search.
#pragma once

#include "app/page_context.h"
#include "pages/associations/association_gather.h"

#include <vector>

namespace taliveer {

class AssociationPage {
public:
    explicit AssociationPage(PageContext& context) : context_(context) {}

    // Rebuilds the page under the wait box.
    void Panel4Enter();
    // The search box changed: scrolls the first matching extension to the top.
    void Panel4FindEditChange();

    // "添加": the editor for a new association; the page is rebuilt after a save.
    void Panel4Button1Click();
    // "编辑" and a double click on a row: the editor for the selected association.
    void Panel4Button2Click();
    // "删除": after the question, saves the selected extension's key whole in the Undo
    // folder, removes it, tells how it went and rebuilds the page.
    void Panel4Button3Click();

private:
    // The selected row for the edit and remove buttons; -1 (after telling the user when
    // nothing is selected) when they must do nothing.
    int ActionRow() const;

    PageContext& context_;
    PageGeneration generation_;
    std::vector<AssociationRow> rows_;  // as listed, for the editor
};

}  // namespace taliveer
