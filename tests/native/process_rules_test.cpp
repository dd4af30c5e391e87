#include "pages/processes/pure/process_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(IsProcessHidden, SystemNamesEmptyPathsAndPathsWithoutADrive) {
    EXPECT_TRUE(IsProcessHidden(L"System", L"C:\\x.exe"));
    EXPECT_TRUE(IsProcessHidden(L"[System Process]", L""));
    EXPECT_TRUE(IsProcessHidden(L"mysystemtool.exe", L"C:\\t\\mysystemtool.exe"));
    EXPECT_TRUE(IsProcessHidden(L"SyStEm32host.exe", L"C:\\a.exe"));
    EXPECT_TRUE(IsProcessHidden(L"app.exe", L""));
    EXPECT_TRUE(IsProcessHidden(L"smss.exe", L"\\SystemRoot\\System32\\smss.exe"));
    EXPECT_FALSE(IsProcessHidden(L"app.exe", L"C:\\apps\\app.exe"));
    EXPECT_FALSE(IsProcessHidden(L"app.exe", L"\\??\\C:\\apps\\app.exe"));
    EXPECT_FALSE(IsProcessHidden(L"系统.exe", L"D:\\系统.exe"));  // only the ASCII word counts
}

TEST(CleanImagePath, LeadingQuestionMarkAndNtPrefixes) {
    EXPECT_EQ(CleanImagePath(L"\\??\\C:\\Windows\\x.exe"), L"C:\\Windows\\x.exe");
    EXPECT_EQ(CleanImagePath(L"?:\\x.exe"), L"C:\\x.exe");
    EXPECT_EQ(CleanImagePath(L"C:\\a\\??\\b\\??\\c.exe"), L"C:\\abc.exe");
    EXPECT_EQ(CleanImagePath(L"\\??\\\\??\\C:\\x"), L"C:\\x");
    EXPECT_EQ(CleanImagePath(L"C:\\plain.exe"), L"C:\\plain.exe");
    EXPECT_EQ(CleanImagePath(L""), L"");
}

TEST(PriorityText, OnlyTheLowEightBitsCount) {
    EXPECT_STREQ(PriorityText(0x80), L"High");
    EXPECT_STREQ(PriorityText(0x20), L"Normal");
    EXPECT_STREQ(PriorityText(0x40), L"Normal");
    EXPECT_STREQ(PriorityText(0x100), L"Normal");   // realtime
    EXPECT_STREQ(PriorityText(0x4000), L"Normal");  // below normal
    EXPECT_STREQ(PriorityText(0x8000), L"Normal");  // above normal
    EXPECT_STREQ(PriorityText(0), L"Normal");       // the query failed
    EXPECT_STREQ(PriorityText(0x180), L"High");
}

TEST(ProcessCountText, CountsRows) {
    EXPECT_EQ(ProcessCountText(12), L"12 个程序工作");
    EXPECT_EQ(ProcessCountText(0), L"0 个程序工作");
}

}  // namespace
}  // namespace taliveer
