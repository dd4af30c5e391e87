// TForm3a: the information box, a short text and "确定".
#pragma once

#include "ui/box_window.h"

namespace taliveer {

class TForm3a : public BoxWindow {
public:
    explicit TForm3a(const BoxHost& host);

    // Shows `text` modally; returns after "确定".
    void Show(std::wstring_view text);

protected:
    void OnButton(int id) override;
    void OnCloseRequest() override { CloseBox(); }
};

}  // namespace taliveer
