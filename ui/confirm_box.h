// TForm3b: the confirmation box. `Answer` is 0 until a button is pressed, then 1 for "是"
// (Yes) and 2 for "否" (No). Closed any other way it answers No.
#pragma once

#include "ui/box_window.h"

#include <cstdint>

namespace taliveer {

class TForm3b : public BoxWindow {
public:
    explicit TForm3b(const BoxHost& host);

    std::uint8_t Answer = 0;

    // Asks `question` modally; true when the answer is Yes.
    bool Ask(std::wstring_view question);

protected:
    void OnButton(int id) override;
    void OnCloseRequest() override;
};

}  // namespace taliveer
