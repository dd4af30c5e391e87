#include "ui/info_box.h"

namespace taliveer {
namespace {

constexpr ControlSpec kInfoBoxLayout[] = {
    {kInfoLabelId, L"InfoLabel", ControlKind::Label, 0, 16, 16, 270, 32, L"", FontId::Arial12, kBlack,
     flag::kCentre | flag::kVCentre | flag::kWrap},
    {IDOK, L"Button1", ControlKind::PushButton, 0, 112, 64, 75, 25, L"确定", FontId::Default, kBlack, flag::kDefault},
};

}  // namespace

TForm3a::TForm3a(const BoxHost& host) : BoxWindow(host, L"信息", 300, 102, kInfoBoxLayout) {}

void TForm3a::Show(std::wstring_view text) {
    InfoLabel().SetText(text);
    FitInfoLabel();
    ShowModal();
}

void TForm3a::OnButton(int id) {
    if (id == IDOK) CloseBox();  // Button1Click
}

}  // namespace taliveer
