// TForm5a (Brimley) and TForm5b (Ostrelle): the maker's other products, one of which may be
// shown when the user leaves through the close label. Each writes false to its own
// settings value when its download link is used, or when OK is pressed with
// "不再显示该窗口" checked; Escape closes it without writing.
#pragma once

#include "ui/skinned_window.h"

namespace taliveer {

namespace promotion_ids {
inline constexpr int kWndImage = 101;
inline constexpr int kActionLabel = 102;
inline constexpr int kInfoLabel1 = 103;
inline constexpr int kInfoLabel2 = 104;
inline constexpr int kInfoLabel3 = 105;
inline constexpr int kInfoLabel4 = 106;
inline constexpr int kCheckBox1 = 107;
inline constexpr int kButton1A = 108;
inline constexpr int kButton1B = 109;
inline constexpr int kButton1Label = 110;
}  // namespace promotion_ids

enum class Promoted { Brimley, Ostrelle };

class PromotionWindow : public SkinnedWindow {
public:
    PromotionWindow(const BoxHost& host, Promoted product);

    // The settings value this window answers to.
    const wchar_t* SettingName() const;
    int DownloadLinkId() const;
    bool ButtonLit() const;

protected:
    void OnEscape() override { Close(); }
    void LoadPictures() override;

private:
    void DownloadClick();
    void Button1Click();
    void Button1MouseMove();
    void WndImageMouseMove();
    void SetLit(bool lit);

    Promoted product_;
    UniqueHBitmap buttonA_;
    UniqueHBitmap buttonB_;
};

// The Brimley window, TForm5a, and the Ostrelle window, TForm5b.
class TForm5a : public PromotionWindow {
public:
    explicit TForm5a(const BoxHost& host) : PromotionWindow(host, Promoted::Brimley) {}
};
class TForm5b : public PromotionWindow {
public:
    explicit TForm5b(const BoxHost& host) : PromotionWindow(host, Promoted::Ostrelle) {}
};

}  // namespace taliveer
