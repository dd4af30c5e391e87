#include "services/pure/backup_listing.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(BackupListing, KindsComeFromTheEndingInAnyCase) {
    EXPECT_EQ(BackupKindOf(L"Tal,Other_startup.reg"), BackupKind::Startup);
    EXPECT_EQ(BackupKindOf(L"App (2)_UNINSTALL.REG"), BackupKind::Uninstall);
    EXPECT_EQ(BackupKindOf(L"txt_association.reg"), BackupKind::Association);
    EXPECT_EQ(BackupKindOf(L"txt_association_replaced.reg"), BackupKind::Replaced);
    EXPECT_EQ(BackupKindOf(L"Tool.LNK"), BackupKind::Shortcut);
    EXPECT_EQ(BackupKindOf(L"exported.reg"), BackupKind::Other);
    EXPECT_TRUE(IsBackupFileName(L"a.REG"));
    EXPECT_FALSE(IsBackupFileName(L"Tool.lnk.origin.txt"));
    EXPECT_FALSE(IsBackupFileName(L"reg"));
}

TEST(BackupListing, ACopysNumberIsNotPartOfTheShortcutsName) {
    EXPECT_EQ(OriginalShortcutName(L"Tool (2).lnk"), L"Tool.lnk");
    EXPECT_EQ(OriginalShortcutName(L"Tool (12).lnk"), L"Tool.lnk");
    EXPECT_EQ(OriginalShortcutName(L"Tool (v2).lnk"), L"Tool (v2).lnk");
    EXPECT_EQ(OriginalShortcutName(L"Tool (0).lnk"), L"Tool (0).lnk");
    EXPECT_EQ(OriginalShortcutName(L"(2).lnk"), L"(2).lnk");
    EXPECT_EQ(OriginalShortcutName(L"Tool.lnk"), L"Tool.lnk");
}

TEST(BackupListing, AnyDifferenceIsAConflictAndOnlyAllEqualIsRestored) {
    using E = EntryState;
    EXPECT_EQ(StateOf(std::vector<E>{}), BackupState::Restored);
    EXPECT_EQ(StateOf(std::vector<E>{E::Equal, E::Equal}), BackupState::Restored);
    EXPECT_EQ(StateOf(std::vector<E>{E::Equal, E::Missing}), BackupState::Restorable);
    EXPECT_EQ(StateOf(std::vector<E>{E::Missing, E::Different, E::Equal}), BackupState::Conflict);
}

TEST(BackupListing, SummariesAndDataReadAsTheUserKnowsThem) {
    const ScriptReading record = ReadRegScriptText(
        L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Uninstall\\{GUID}]\n\"DisplayName\"=\"Tal 编辑器\"\n");
    EXPECT_EQ(BackupSummary(BackupKind::Uninstall, record), L"Tal 编辑器");
    const ScriptReading classes = ReadRegScriptText(
        L"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Classes\\.tal]\n@=\"t\"\n[HKEY_CURRENT_USER\\Software\\Classes\\.tal\\Shell]\n"
        L"[HKEY_LOCAL_MACHINE\\Software\\Classes\\.tal]\n");
    EXPECT_EQ(BackupSummary(BackupKind::Association, classes), L".tal");
    const ScriptReading run = ReadRegScriptText(L"REGEDIT4\n[HKEY_CURRENT_USER\\Run]\n\"A\"=\"1\"\n@=\"2\"\n[HKEY_CURRENT_USER\\Approved]\n\"A\"=hex:02\n");
    EXPECT_EQ(BackupSummary(BackupKind::Startup, run), L"A, (默认)");

    EXPECT_EQ(ValueDataText({L"", reg_type::kExpandString, RegStringBytes(L"%A%\\b")}), L"%A%\\b");
    EXPECT_EQ(ValueDataText({L"", reg_type::kDword, {0x0a, 0, 0, 0}}), L"0x0000000a (10)");
    EXPECT_EQ(ValueDataText({L"", reg_type::kString, {0x61}}), L"61");  // not text: its bytes
    std::vector<std::uint8_t> multi = RegStringBytes(std::wstring(L"a\0b\0", 4));
    EXPECT_EQ(ValueDataText({L"", reg_type::kMultiString, multi}), L"a|b");
}

}  // namespace
}  // namespace taliveer
