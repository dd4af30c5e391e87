// TForm2c: the wait box shown, without buttons, while a page gathers its rows.
#pragma once

#include "ui/box_window.h"

namespace taliveer {

class TForm2c : public BoxWindow {
public:
    explicit TForm2c(const BoxHost& host);

protected:
    void OnButton(int) override {}
    void OnCloseRequest() override {}  // it goes when the gathering ends, not before
};

}  // namespace taliveer
