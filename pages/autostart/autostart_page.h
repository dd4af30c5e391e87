// The autostart page: every program that Windows starts at log-on, from nine sources.
#pragma once

#include "app/page_context.h"
#include "pages/autostart/autostart_removal.h"
#include "pages/autostart/autostart_switch.h"

#include <functional>
#include <string>
#include <vector>

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

    // "禁用" / "启用": switches the ticked entries (or the selected one) off as Windows does,
    // or on when every one of them is off; saves their state first, tells how it went and
    // rebuilds the page with the same rows selected.
    void Panel1Button3Click();
    // The switch button's caption follows the rows it would act on.
    void UpdateSwitchCaption();

    // The system's way of switching (its Windows version, Wine, the time), for the Undo
    // folder given; a test may choose either Windows' way.
    std::function<AutostartSwitchOptions(const std::wstring&)> switchOptions = SystemSwitchOptions;

    // One source digit ('1'..'9') per row, in row order.
    const std::wstring& AutostartSources() const { return autostartSources_; }

private:
    // The ticked rows, or the selected one when none is ticked.
    std::vector<int> RowsToActOn() const;
    // Switches the entries and reports; the page is rebuilt unless nothing could be saved.
    void Switch(const std::vector<AutostartEntry>& entries, bool on);

    PageContext& context_;
    std::wstring autostartSources_;
    PageGeneration generation_;
};

}  // namespace taliveer
