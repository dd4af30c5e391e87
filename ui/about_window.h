// TForm4, "关于": the program's name and version and the maker's home and support pages.
// Its "x" label closes it; it takes no keys.
#pragma once

#include "ui/skinned_window.h"

namespace taliveer {

namespace about_ids {
inline constexpr int kWndImage = 101;
inline constexpr int kProgramLabel = 102;
inline constexpr int kVersionLabel = 103;
inline constexpr int kHomePageLabel1 = 104;
inline constexpr int kHomePageLabel2 = 105;
inline constexpr int kSupportLabel1 = 106;
inline constexpr int kSupportLabel2 = 107;
inline constexpr int kTopLabel = 108;
}  // namespace about_ids

class TForm4 : public SkinnedWindow {
public:
    explicit TForm4(const BoxHost& host);

private:
    void HomePageLabel2Click();
    void SupportLabel2Click();
    void TopButtonClick() { Close(); }
};

}  // namespace taliveer
