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

TEST(IsCriticalSystemProcessName, TheProcessesWhoseEndStopsWindowsInAnyCase) {
    for (const wchar_t* name : {L"csrss.exe", L"WININIT.EXE", L"smss.exe", L"Services.exe", L"lsass.exe", L"winlogon.exe"}) {
        EXPECT_TRUE(IsCriticalSystemProcessName(name)) << name;
    }
    for (const wchar_t* name : {L"csrss", L"csrss.exe ", L"explorer.exe", L"xcsrss.exe", L"", L"svchost.exe"}) {
        EXPECT_FALSE(IsCriticalSystemProcessName(name)) << name;
    }
}

TEST(IsWindowsCriticalProgram, ByFullPathInTheSystemFolderNotByNameAlone) {
    const std::wstring system = L"C:\\Windows\\System32\\";
    for (const wchar_t* path : {L"C:\\Windows\\System32\\svchost.exe", L"c:\\windows\\system32\\DWM.EXE",
                                L"C:\\Windows\\System32\\lsass.exe", L"C:\\Windows\\System32\\fontdrvhost.exe"}) {
        EXPECT_TRUE(IsWindowsCriticalProgram(path, system)) << path;
    }
    for (const wchar_t* path : {L"C:\\Users\\me\\svchost.exe", L"C:\\Windows\\System32\\sub\\svchost.exe",
                                L"C:\\Windows\\System32\\notepad.exe", L"C:\\Windows\\System32\\", L""}) {
        EXPECT_FALSE(IsWindowsCriticalProgram(path, system)) << path;
    }
    EXPECT_FALSE(IsWindowsCriticalProgram(L"C:\\Windows\\System32\\svchost.exe", L""));
}

TEST(ConfirmEndText, CopiesFromSeveralFoldersAreEachNamedWithTheirCount) {
    const auto folders = CountByFolder({L"C:\\Tools\\python.exe", L"C:\\Other\\python.exe", L"c:\\tools\\python.exe", L""});
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].folder, L"C:\\Tools\\");
    EXPECT_EQ(folders[0].count, 2);
    EXPECT_EQ(folders[1].count, 1);
    const std::wstring text = ConfirmEndText(L"python.exe", folders);
    EXPECT_EQ(text.rfind(ConfirmEndText(L"python.exe"), 0), 0u);
    EXPECT_NE(text.find(L"\nC:\\Tools\\ (2 个)"), std::wstring::npos);
    EXPECT_NE(text.find(L"\nC:\\Other\\ (1 个)"), std::wstring::npos);
    // One folder: the question as it always was.
    EXPECT_EQ(ConfirmEndText(L"a.exe", CountByFolder({L"C:\\A\\a.exe", L"C:\\A\\a.exe"})), ConfirmEndText(L"a.exe"));
}

TEST(EndFailureText, NamesEachInstanceStillRunningWithTheCount) {
    EXPECT_EQ(EndFailureText(L"a.exe", {{12, false, L"Access denied."}, {40, true, L""}}),
              L"无法结束 2 个 \"a.exe\" 进程:\n进程 12: Access denied.\n进程 40: Windows 的关键进程，结束它会让 Windows 立即停止。");
    EXPECT_EQ(ConfirmEndText(L"程序.exe"), L"您确定要卸载 \"程序.exe\" 从内存?");
}

}  // namespace
}  // namespace taliveer
