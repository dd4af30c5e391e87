#include "ui/wait_box.h"

namespace taliveer {
namespace {

constexpr ControlSpec kWaitBoxLayout[] = {
    {kInfoLabelId, L"InfoLabel", ControlKind::Label, 0, 16, 24, 270, 14, L"请稍候....", FontId::Arial12, kBlack,
     flag::kCentre},
};

}  // namespace

TForm2c::TForm2c(const BoxHost& host) : BoxWindow(host, L"收集数据", 300, 70, kWaitBoxLayout) {}

}  // namespace taliveer
