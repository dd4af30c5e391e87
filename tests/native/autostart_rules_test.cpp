#include "pages/autostart/pure/autostart_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(AutostartCountText, DisabledPartOnlyWhenThereAreDisabledItems) {
    EXPECT_EQ(AutostartCountText(12, 2), L"12 个自动启动程序, 2 disabled");
    EXPECT_EQ(AutostartCountText(12, 0), L"12 个自动启动程序");
    EXPECT_EQ(AutostartCountText(0, 0), L"0 个自动启动程序");
}

TEST(IsShortcutName, EndsInLnkInAnyCase) {
    EXPECT_TRUE(IsShortcutName(L"App.lnk"));
    EXPECT_TRUE(IsShortcutName(L"程序.LNK"));
    EXPECT_TRUE(IsShortcutName(L".lnk"));
    EXPECT_FALSE(IsShortcutName(L"App.lnk2"));
    EXPECT_FALSE(IsShortcutName(L"lnk"));
    EXPECT_FALSE(IsShortcutName(L"App.lnk.txt"));
}

}  // namespace
}  // namespace taliveer
