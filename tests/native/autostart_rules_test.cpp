#include "pages/autostart/pure/autostart_rules.h"
#include "services/pure/backup_name.h"

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

TEST(CleanedAutostartName, QuotesExeAndBackslashesAreCut) {
    struct Case {
        const wchar_t* name;
        const wchar_t* cleaned;
    };
    const Case cases[] = {
        {L"Tool.exe", L"Tool"},
        {L"Tool.EXE.bak", L"Tool"},
        {L"\"My \"\"Best\"\" Tool\" extra", L"My \"Best\" Tool"},  // a doubled quote counts as one
        {L"\"\" rest", L"\"\" rest"},                                // nothing between the quotes: unchanged
        {L"\"open ended", L"open ended"},                             // no closing quote: every quote goes
        {L"\"C:\\Tools\\x.exe\"", L"C:"},
        {L"a\\b.exe", L"a"},
        {L"中文.exe", L"中文"},
        {L".exe", L""},
        {L"plain", L"plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(CleanedAutostartName(c.name), c.cleaned);
}

TEST(CleanedAutostartName, WithTheFileNameRulesNoNameLeavesTheUndoFolder) {
    // Every cleaned name, joined with others and made a backup name, stays one file name.
    const wchar_t* hostile[] = {L"..\\..\\evil", L"\"a/b:c\"", L"CON", L"nul.exe", L"x\x01y", L"a|b?c*d<e>f",
                                L"   ", L"....", L"\"\"\"\"", L"COM1.exe"};
    for (const wchar_t* name : hostile) {
        const std::wstring base = CleanedAutostartName(name) + L"," + CleanedAutostartName(name);
        const std::wstring file = BackupFileName(L"C:\\Undo\\", base, L"_startup.reg", 1);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(file.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << name;
        EXPECT_NE(file, L"..");
        EXPECT_NE(file, L".");
    }
}

TEST(PlaceOfSource, EachDigitNamesItsHiveAndKey) {
    EXPECT_EQ(PlaceOfSource(L'1').removal, AutostartRemoval::Value);
    EXPECT_FALSE(PlaceOfSource(L'2').machine);
    EXPECT_TRUE(PlaceOfSource(L'3').machine);
    EXPECT_EQ(PlaceOfSource(L'5').removal, AutostartRemoval::DisabledItem);
    EXPECT_EQ(std::wstring(PlaceOfSource(L'6').key), kWow64RunKey);
    EXPECT_FALSE(PlaceOfSource(L'6').machine);
    EXPECT_EQ(PlaceOfSource(L'8').removal, AutostartRemoval::UserShortcut);
    EXPECT_EQ(PlaceOfSource(L'9').removal, AutostartRemoval::CommonShortcut);
    EXPECT_EQ(PlaceOfSource(L'0').removal, AutostartRemoval::Nothing);
    EXPECT_EQ(ProgramValueName(L"C:\\Program Files\\Tal Add\\tal add.exe"), L"tal add.exe");
    EXPECT_EQ(ProgramValueName(L"D:x.exe"), L"x.exe");
}

TEST(PartialRemovalText, AWrittenBackupIsNamedEvenWhenNothingWasRemoved) {
    const std::wstring none = PartialRemovalText(0, L"a_startup.reg", {{L"a", L"Access denied."}});
    EXPECT_NE(none.find(L"a_startup.reg"), std::wstring::npos);
    EXPECT_NE(none.find(L"未能删除 1 项"), std::wstring::npos);
    EXPECT_EQ(PartialRemovalText(0, L"", {{L"a", L"已不存在"}}), L"未能删除 1 项:\n\"a\": 已不存在");
}

}  // namespace
}  // namespace taliveer
