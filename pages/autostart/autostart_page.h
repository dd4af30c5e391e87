// The autostart page: every program that Windows starts at log-on, from nine sources.
#pragma once

#include "app/page_context.h"

#include <string>

namespace taliveer {

class AutostartPage {
public:
    explicit AutostartPage(PageContext& context) : context_(context) {}

    // Rebuilds the page from the nine sources and brings it to the front. Rows appear one
    // by one while the window stays responsive.
    void Panel1Enter();

    // "添加程序": the add dialog; the page is rebuilt when a program was added.
    void Panel1Button1Click();
    // "删除程序": removes the ticked rows (or the selected one) after the question, each
    // saved in the Undo folder first; tells how it went and rebuilds the page.
    void Panel1Button2Click();

    // One source digit ('1'..'9') per row, in row order.
    const std::wstring& AutostartSources() const { return autostartSources_; }

private:
    PageContext& context_;
    std::wstring autostartSources_;
    PageGeneration generation_;
};

}  // namespace taliveer
