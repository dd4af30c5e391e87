#include "ui/promotion_window.h"

#include "services/reg_unit.h"
#include "services/settings_key.h"
#include "ui/bitmap_resource.h"
#include "ui/web_addresses.h"

#include <shellapi.h>

#include <stdexcept>

namespace taliveer {
namespace {

using namespace promotion_ids;

constexpr COLORREF kGreen = RGB(0, 112, 0);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kButtonText = RGB(0, 90, 140);
constexpr COLORREF kButtonTextLit = RGB(0, 0, 128);
constexpr COLORREF kBody = RGB(195, 244, 255);
constexpr unsigned kCentredWrap = flag::kCentre | flag::kWrap;

constexpr ControlSpec Picture(int id, const wchar_t* name, int x, int y, int w, int h, unsigned flags) {
    return {id, name, ControlKind::Picture, 0, x, y, w, h, nullptr, FontId::Default, kBlack, flags};
}

constexpr ControlSpec kWndImageRow = Picture(kWndImage, L"WndImage", 0, 0, 350, 300, 0);
constexpr ControlSpec kCheckBoxRow = {kCheckBox1, L"CheckBox1", ControlKind::CheckBox, 0, 82, 216, 190, 17,
                                      L"不再显示该窗口", FontId::Arial11Bold, kBlack, 0};
constexpr ControlSpec kButton1ARow = Picture(kButton1A, L"Button1A", 124, 248, 103, 30, flag::kHand);
constexpr ControlSpec kButton1BRow = Picture(kButton1B, L"Button1B", 124, 248, 103, 30, flag::kHand | flag::kHidden);
constexpr ControlSpec kButton1LabelRow = {kButton1Label, L"Button1Label", ControlKind::Label, 0, 136, 256, 80, 14,
                                          L"确定", FontId::Verdana12Bold, kButtonText, flag::kCentre | flag::kHand};

constexpr ControlSpec kBrimleyLayout[] = {
    kWndImageRow,
    {kActionLabel, L"ActionLabel", ControlKind::Label, 0, 24, 16, 200, 16, L"Brimley", FontId::Verdana13Bold, kBlack,
     flag::kAutoSize},
    {kInfoLabel1, L"InfoLabel1", ControlKind::Label, 0, 24, 56, 300, 32, L"您确定您的电脑运作具有最大性能吗?",
     FontId::Arial13Bold, kBlack, kCentredWrap},
    {kInfoLabel2, L"InfoLabel2", ControlKind::Label, 0, 24, 100, 300, 32, L"在完美的条件下，你要保持注册表完整吗?",
     FontId::Arial13Bold, kBlack, kCentredWrap},
    {kInfoLabel3, L"InfoLabel3", ControlKind::Label, 0, 20, 152, 310, 16, L"修复注册表错误，清理并加快您的计算机!",
     FontId::Arial13Bold, kGreen, flag::kCentre},
    {kInfoLabel4, L"InfoLabel4", ControlKind::Label, 0, 24, 182, 300, 16, L"现在就下载Brimley!",
     FontId::Arial13BoldUnderline, kLinkBlue, flag::kCentre | flag::kHand},
    kCheckBoxRow, kButton1ARow, kButton1BRow, kButton1LabelRow,
};

constexpr ControlSpec kOstrelleLayout[] = {
    kWndImageRow,
    {kActionLabel, L"ActionLabel", ControlKind::Label, 0, 24, 16, 200, 16, L"Ostrelle", FontId::Verdana13Bold, kBlack,
     flag::kAutoSize},
    {kInfoLabel1, L"InfoLabel1", ControlKind::Label, 0, 24, 56, 300, 32, L"你需要从闪存驱动器恢复删除的文件吗? ",
     FontId::Arial13Bold, kGreen, kCentredWrap},
    {kInfoLabel2, L"InfoLabel2", ControlKind::Label, 0, 24, 108, 300, 64,
     L"尝试 Ostrelle：它允许从任何类型的数码相机和闪存驱动器（MMC，SD，XD，U3，闪存卡等）轻松恢复被删除的 JPG 文件。",
     FontId::Arial13Bold, kBlack, kCentredWrap},
    {kInfoLabel3, L"InfoLabel3", ControlKind::Label, 0, 24, 184, 300, 16, L"立即下载 Ostrelle!",
     FontId::Arial13BoldUnderline, kLinkBlue, flag::kCentre | flag::kHand},
    kCheckBoxRow, kButton1ARow, kButton1BRow, kButton1LabelRow,
};

SkinnedLook LookOf(Promoted product) {
    return SkinnedLook{product == Promoted::Brimley ? L"Brimley" : L"Ostrelle", L"PROMOTIONIMAGE", kBody,
                             DragBand{350, 60}, false, RGB(251, 240, 227)};
}

std::span<const ControlSpec> LayoutOf(Promoted product) {
    if (product == Promoted::Brimley) return kBrimleyLayout;
    return kOstrelleLayout;
}

}  // namespace

PromotionWindow::PromotionWindow(const BoxHost& host, Promoted product)
    : SkinnedWindow(host, LookOf(product), LayoutOf(product)), product_(product) {
    LoadPictures();
    FormControls& c = Controls();
    c.OnClick(DownloadLinkId(), [this] { DownloadClick(); });
    for (int id : {kButton1A, kButton1B, kButton1Label}) {
        c.OnClick(id, [this] { Button1Click(); });
        c.Static(id).onMouseMove = [this] { Button1MouseMove(); };
    }
    c.Static(kWndImage).onMouseMove = [this] { WndImageMouseMove(); };
}

void PromotionWindow::LoadPictures() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    const ControlSpec& row = kButton1ARow;
    UniqueHBitmap a = LoadArtwork(module, L"OKBUTTONA", row.width, row.height, Scale(), CurrentSkin());
    UniqueHBitmap b = LoadArtwork(module, L"OKBUTTONB", row.width, row.height, Scale(), CurrentSkin());
    if (!a || !b) throw std::runtime_error("the window artwork is missing");
    Controls().Static(kButton1A).SetBitmap(a.get());
    Controls().Static(kButton1B).SetBitmap(b.get());
    buttonA_ = std::move(a);
    buttonB_ = std::move(b);
}

const wchar_t* PromotionWindow::SettingName() const {
    return product_ == Promoted::Brimley ? L"BrimleyAds" : L"OstrelleAds";
}

int PromotionWindow::DownloadLinkId() const { return product_ == Promoted::Brimley ? kInfoLabel4 : kInfoLabel3; }

bool PromotionWindow::ButtonLit() const {
    return (::GetWindowLongPtrW(const_cast<PromotionWindow*>(this)->Controls().Hwnd(kButton1B), GWL_STYLE) &
            WS_VISIBLE) != 0;
}

void PromotionWindow::DownloadClick() {
    const wchar_t* address = product_ == Promoted::Brimley ? kBrimleyDownload : kOstrelleDownload;
    ::ShellExecuteW(hwnd(), L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
    WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, SettingName(), false);
}

void PromotionWindow::Button1Click() {
    if (::SendMessageW(Controls().Hwnd(kCheckBox1), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        WriteRegFlag(HKEY_CURRENT_USER, kSettingsKey, SettingName(), false);
    }
    Close();
}

void PromotionWindow::SetLit(bool lit) {
    FormControls& c = Controls();
    ::ShowWindow(c.Hwnd(lit ? kButton1B : kButton1A), SW_SHOWNA);
    ::ShowWindow(c.Hwnd(lit ? kButton1A : kButton1B), SW_HIDE);
    c.Static(kButton1Label).SetTextColour(lit ? kButtonTextLit : kButtonText);
    ::InvalidateRect(c.Hwnd(kButton1Label), nullptr, FALSE);  // its backdrop changed with the picture
}

void PromotionWindow::Button1MouseMove() {
    if (!ButtonLit()) SetLit(true);
}

void PromotionWindow::WndImageMouseMove() {
    if (ButtonLit()) SetLit(false);
}

}  // namespace taliveer
