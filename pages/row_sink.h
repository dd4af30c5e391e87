// Where a page's gathering puts its rows. Gathering code knows nothing of windows: it reads
// the system, makes plain rows and hands each to a sink; the page's sink shows them.
#pragma once

namespace taliveer {

template <typename Row>
class RowSink {
public:
    // Lets the window messages that are waiting run once, then says whether the gathering
    // should go on (false: the window closed, or a newer gathering took over the list).
    virtual bool PumpMessagesAndContinue() = 0;
    virtual void Add(const Row& row) = 0;

protected:
    ~RowSink() = default;
};

}  // namespace taliveer
