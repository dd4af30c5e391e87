#include "pages/uninstall/pure/uninstall_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(CleanUninstallCaption, TheUninstallPagesReplacements) {
    EXPECT_EQ(CleanUninstallCaption(L"App 1.2: Beta > Final"), L"App 1_2  Beta _  Final");
    EXPECT_EQ(CleanUninstallCaption(L"\"Q\"[x]{y}"), L"Qxy");
    EXPECT_EQ(CleanUninstallCaption(L"a\\b/c<d&e%f"), L"a_b_c_d_e_f");
    EXPECT_EQ(CleanUninstallCaption(L"a;b#c*d"), L"a b c d");
    // Left as they are: question mark, vertical bar, non-ASCII text.
    EXPECT_EQ(CleanUninstallCaption(L"何?|"), L"何?|");
}

TEST(FormatInstallDate, SlashesBeforeTheFifthAndEighthCharacter) {
    EXPECT_EQ(FormatInstallDate(L"20241231"), L"2024/12/31");
    EXPECT_EQ(FormatInstallDate(L"2024/12/31"), L"2024/12/31");
    EXPECT_EQ(FormatInstallDate(L"12/31/2024"), L"12/31/2024");
    EXPECT_EQ(FormatInstallDate(L"2024"), L"2024//");
    EXPECT_EQ(FormatInstallDate(L"20241"), L"2024/1/");
    EXPECT_EQ(FormatInstallDate(L"202412"), L"2024/12/");
    EXPECT_EQ(FormatInstallDate(L"24"), L"24//");
    EXPECT_EQ(FormatInstallDate(L""), L"");
    EXPECT_EQ(FormatInstallDate(L"2024123199"), L"2024/12/3199");
}

TEST(ChooseUninstallCommand, QuietWinsWhenThereIsOne) {
    EXPECT_EQ(ChooseUninstallCommand(L"C:\\u.exe /S", L"C:\\u.exe"), L"C:\\u.exe /S");
    EXPECT_EQ(ChooseUninstallCommand(L"", L"C:\\u.exe"), L"C:\\u.exe");
    EXPECT_EQ(ChooseUninstallCommand(L"", L""), L"");
}

TEST(IsWindowsUpdate, ReleaseTypeOrKbInTheName) {
    EXPECT_TRUE(IsWindowsUpdate(L"Security Update", L"Anything"));
    EXPECT_TRUE(IsWindowsUpdate(L"hotfix", L"Anything"));
    EXPECT_TRUE(IsWindowsUpdate(L"Update Rollup", L"x"));
    EXPECT_TRUE(IsWindowsUpdate(L"", L"Security Update for Windows (KB123456)"));
    EXPECT_TRUE(IsWindowsUpdate(L"", L"fix (kb999)"));
    EXPECT_FALSE(IsWindowsUpdate(L"", L"Update Manager"));  // only "(KB" counts in the name
    EXPECT_FALSE(IsWindowsUpdate(L"Service Pack", L"KB123 without a parenthesis"));
    EXPECT_FALSE(IsWindowsUpdate(L"", L""));
}

TEST(IsToolbar, ByWordAndByRegisteredToolbarNames) {
    const std::vector<std::wstring> none;
    const std::vector<std::wstring> registered{L"{AbC-123}", L"{0000-FFFF}"};
    EXPECT_TRUE(IsToolbar(L"SearchToolbar", L"x", L"y", none));
    EXPECT_TRUE(IsToolbar(L"k", L"Great toolBar", L"y", none));
    EXPECT_TRUE(IsToolbar(L"k", L"x", L"C:\\TOOLBAR\\u.exe", none));
    EXPECT_FALSE(IsToolbar(L"k", L"Plain program", L"C:\\u.exe", none));
    // In the key name only exactly as registered.
    EXPECT_TRUE(IsToolbar(L"Entry{AbC-123}", L"x", L"y", registered));
    EXPECT_FALSE(IsToolbar(L"Entry{ABC-123}", L"x", L"y", registered));
    // In the name or the command in any case.
    EXPECT_TRUE(IsToolbar(L"k", L"named {abc-123}", L"y", registered));
    EXPECT_TRUE(IsToolbar(L"k", L"x", L"C:\\{0000-ffff}\\u.exe", registered));
    // Every registered name is tried, the last one too.
    EXPECT_TRUE(IsToolbar(L"{0000-FFFF}", L"x", L"y", registered));
    EXPECT_FALSE(IsToolbar(L"k", L"x", L"y", registered));
}

TEST(UninstallCountText, CountsRows) { EXPECT_EQ(UninstallCountText(0), L"0 个已安装程序"); }

}  // namespace
}  // namespace taliveer
