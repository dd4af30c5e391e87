#include "ui/about_window.h"

#include "ui/web_addresses.h"

#include <shellapi.h>

namespace taliveer {
namespace {

using namespace about_ids;

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

constexpr ControlSpec kAboutLayout[] = {
    {kWndImage, L"WndImage", ControlKind::Picture, 0, 0, 0, 350, 300, nullptr, FontId::Default, kBlack, 0},
    {kProgramLabel, L"ProgramLabel", ControlKind::Label, 0, 24, 10, 120, 24, L"Taliveer", FontId::Verdana19, kBlack,
     flag::kAutoSize},
    {kVersionLabel, L"VersionLabel", ControlKind::Label, 0, 216, 18, 40, 14, L"v2.0", FontId::SansSerif11,
     RGB(102, 102, 102), flag::kCentre},
    {kHomePageLabel1, L"HomePageLabel1", ControlKind::Label, 0, 33, 232, 50, 14, L"主页:", FontId::Arial11, kBlack,
     flag::kRight},
    {kHomePageLabel2, L"HomePageLabel2", ControlKind::Label, 0, 120, 232, 220, 14, kHomePage,
     FontId::SansSerif11Underline, kLinkBlue, flag::kHand},
    {kSupportLabel1, L"SupportLabel1", ControlKind::Label, 0, 33, 252, 50, 14, L"支持:", FontId::Arial11, kBlack,
     flag::kRight},
    {kSupportLabel2, L"SupportLabel2", ControlKind::Label, 0, 120, 252, 220, 14, kSupportPage,
     FontId::SansSerif11Underline, kLinkBlue, flag::kHand},
    {kTopLabel, L"TopLabel", ControlKind::Label, 0, 316, 14, 16, 16, L"x", FontId::Arial13Bold, kBlack,
     flag::kHand | flag::kCentre | flag::kVCentre},
};

}  // namespace

TForm4::TForm4(const BoxHost& host)
    : SkinnedWindow(host, SkinnedLook{L"关于", L"ABOUTIMAGE", RGB(255, 255, 255), DragBand{316, 48}, true},
                    kAboutLayout) {
    Controls().OnClick(kHomePageLabel2, [this] { HomePageLabel2Click(); });
    Controls().OnClick(kSupportLabel2, [this] { SupportLabel2Click(); });
    Controls().OnClick(kTopLabel, [this] { TopButtonClick(); });
}

// A page that cannot be opened (no browser) gives no message and never holds the window up.
void TForm4::HomePageLabel2Click() { ::ShellExecuteW(hwnd(), L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }

void TForm4::SupportLabel2Click() {
    ::ShellExecuteW(hwnd(), L"open", kSupportPage, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace taliveer
