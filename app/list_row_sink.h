// The sink every page gathers into: it lets waiting messages run between rows, stops when
// the window has closed or a newer gathering of the same page has begun, and shows each row
// in the page's list view, painting the list now and then while rows arrive.
#pragma once

#include "app/page_context.h"
#include "pages/row_sink.h"
#include "ui/list_painting.h"

#include <functional>
#include <utility>

namespace taliveer {

template <typename Row>
class ListRowSink final : public RowSink<Row> {
public:
    using ShowRow = std::function<void(HWND list, const Row& row)>;

    ListRowSink(PageContext& context, int page, const PageGeneration& generation, ShowRow show)
        : context_(context), generation_(generation), mine_(generation.current), show_(std::move(show)),
          list_(context.controls.Hwnd(ids::InfoList(page))), painting_(list_) {}

    bool PumpMessagesAndContinue() override { return PumpAndStillWanted(context_, generation_, mine_); }

    void Add(const Row& row) override {
        show_(list_, row);
        ++rows_;
        painting_.RowAdded();
    }

    int Rows() const { return rows_; }

private:
    PageContext& context_;
    const PageGeneration& generation_;
    unsigned mine_;
    ShowRow show_;
    HWND list_;
    ThrottledListPainting painting_;
    int rows_ = 0;
};

}  // namespace taliveer
