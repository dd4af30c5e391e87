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

// A file system of a few files, for the command split.
bool Exists(const std::wstring& path) {
    for (const wchar_t* file : {L"C:\\Program Files\\App\\uninst.exe  ", L"C:\\Tools\\remove.exe ", L"C:\\Program Files\\App\\uninst.exe",
                                L"C:\\Tools\\remove.exe", L"C:\\Tools\\setup.exe", L"D:\\软件\\卸载.exe ",
                                L"C:\\App\\unins000.exe "}) {
        if (path == file) return true;
    }
    return false;
}

TEST(SplitUninstallCommand, EachKindOfCommandGivesItsProgramAndParameters) {
    struct Case {
        const wchar_t* command;
        const wchar_t* file;        // nullptr: the Control Panel instead
        const wchar_t* parameters;
    };
    const Case cases[] = {
        // A quoted path and /S: the quotes became spaces, and the file part keeps the spaces
        // before the "/" (the system ignores them when it opens the file).
        {L"\"C:\\Program Files\\App\\uninst.exe\" /S", L"C:\\Program Files\\App\\uninst.exe  ", L"/S"},
        {L"MsiExec.exe /X{12345678-ABCD}", L"C:\\Windows\\system32\\MsiExec.exe", L"/X{12345678-ABCD}"},
        {L"msiexec.exe   /I{X}  ", L"C:\\Windows\\system32\\MsiExec.exe", L"/I{X}"},
        // Without the suffix the first 11 characters go all the same.
        {L"MsiExec /X{12345678-ABCD}", L"C:\\Windows\\system32\\MsiExec.exe", L"12345678-ABCD}"},
        {L"  C:\\Tools\\remove.exe  ", L"C:\\Tools\\remove.exe", L""},
        {L"C:\\Tools\\setup.exe-uninstall", L"C:\\Tools\\setup.exe", L"-uninstall"},
        {L"C:\\App\\unins000.exe /SILENT /NORESTART", L"C:\\App\\unins000.exe ", L"/SILENT /NORESTART"},
        {L"D:\\软件\\卸载.exe /quiet", L"D:\\软件\\卸载.exe ", L"/quiet"},
        {L"C:\\Tools\\remove.exe  --all", L"C:\\Tools\\remove.exe ", L" --all"},
        {L"C:\\Missing\\gone.exe /S", nullptr, nullptr},
        {L"rundll32 advpack.dll,LaunchINFSection x.inf", nullptr, nullptr},
        {L"", nullptr, nullptr},
        {L"\"\"", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const auto launch = SplitUninstallCommand(c.command, L"C:\\Windows\\system32\\", &Exists);
        if (!c.file) {
            EXPECT_FALSE(launch) << c.command;
            continue;
        }
        ASSERT_TRUE(launch) << c.command;
        EXPECT_EQ(launch->file, c.file) << c.command;
        EXPECT_EQ(launch->parameters, c.parameters) << c.command;
    }
}

TEST(UninstallTexts, QuestionsAndMessages) {
    EXPECT_EQ(ConfirmUninstallText(L"App 1.0"), L"你确定你要卸载\rApp 1.0 ?");
    EXPECT_EQ(ConfirmRemoveRecordText(L"App"), L"您确定您要删除卸载记录 \"App\" ?");
}

TEST(WindowsInstallerRemoveCommand, OnlyAnInstallerRecordsMaintenanceCommandBecomesARemoval) {
    struct Case {
        const wchar_t* command;
        bool installer;
        const wchar_t* expected;
    };
    for (const Case& c : {
             Case{L"MsiExec.exe /I{1234-ABCD}", true, L"MsiExec.exe /X{1234-ABCD}"},
             Case{L"msiexec.exe /i{1234-ABCD} /qb", true, L"msiexec.exe /x{1234-ABCD} /qb"},
             Case{L"MsiExec.exe /I {1234-ABCD}", true, L"MsiExec.exe /X {1234-ABCD}"},
             Case{L"\"C:\\Windows\\System32\\MsiExec.exe\" /I{1234}", true, L"\"C:\\Windows\\System32\\MsiExec.exe\" /X{1234}"},
             Case{L"MsiExec.exe /X{1234-ABCD}", true, L"MsiExec.exe /X{1234-ABCD}"},
             Case{L"MsiExec.exe /I{1234-ABCD}", false, L"MsiExec.exe /I{1234-ABCD}"},
             Case{L"MsiExec.exe /Install foo.msi", true, L"MsiExec.exe /Install foo.msi"},
             Case{L"C:\\setup.exe /I{1234}", true, L"C:\\setup.exe /I{1234}"},
             Case{L"", true, L""},
         }) {
        EXPECT_EQ(WindowsInstallerRemoveCommand(c.command, c.installer), c.expected) << static_cast<int>(std::wstring(c.command).size());
    }
}

TEST(InstallerExitText, KnownCodesInPlainWordsOthersByNumber) {
    EXPECT_EQ(InstallerExitText(0, L"App"), L"");
    EXPECT_NE(InstallerExitText(1605, L"App").find(L"删除记录"), std::wstring::npos);
    EXPECT_NE(InstallerExitText(1618, L"App").find(L"稍后再试"), std::wstring::npos);
    EXPECT_NE(InstallerExitText(3010, L"App").find(L"重新启动"), std::wstring::npos);
    EXPECT_EQ(InstallerExitText(1641, L"App"), InstallerExitText(3010, L"App"));
    EXPECT_NE(InstallerExitText(1602, L"App").find(L"取消"), std::wstring::npos);
    EXPECT_NE(InstallerExitText(1603, L"App").find(L"1603"), std::wstring::npos);
    EXPECT_TRUE(ExitCodeExplainsTheRecord(1605));
    EXPECT_FALSE(ExitCodeExplainsTheRecord(0));
    EXPECT_FALSE(ExitCodeExplainsTheRecord(1603));
    EXPECT_NE(ConfirmRemoveRecordText(L"App", true).find(L"Windows Installer"), std::wstring::npos);
    EXPECT_EQ(ConfirmRemoveRecordText(L"App", false), ConfirmRemoveRecordText(L"App"));
}

}  // namespace
}  // namespace taliveer
