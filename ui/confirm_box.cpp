#include "ui/confirm_box.h"

namespace taliveer {
namespace {

constexpr ControlSpec kConfirmBoxLayout[] = {
    {kInfoLabelId, L"InfoLabel", ControlKind::Label, 0, 16, 16, 270, 50, L"", FontId::Arial12, kBlack,
     flag::kCentre | flag::kVCentre | flag::kWrap},
    {IDYES, L"Button1", ControlKind::PushButton, 0, 64, 80, 75, 25, L"是", FontId::Default, kBlack, 0},
    {IDNO, L"Button2", ControlKind::PushButton, 0, 160, 80, 75, 25, L"否", FontId::Default, kBlack, flag::kDefault},
};

}  // namespace

TForm3b::TForm3b(const BoxHost& host) : BoxWindow(host, L"确认", 300, 116, kConfirmBoxLayout) {}

bool TForm3b::Ask(std::wstring_view question) {
    InfoLabel().SetText(question);
    FitInfoLabel();
    Answer = 0;  // a loop that ends without an answer (the program told to quit) is No
    ShowModal();
    return Answer == 1;
}

void TForm3b::OnButton(int id) {
    if (id == IDYES) {  // Button1Click
        Answer = 1;
        CloseBox();
    } else if (id == IDNO) {  // Button2Click
        Answer = 2;
        CloseBox();
    }
}

void TForm3b::OnCloseRequest() {
    // The callers know only Yes and No; any other way out must not go ahead.
    Answer = 2;
    CloseBox();
}

}  // namespace taliveer
