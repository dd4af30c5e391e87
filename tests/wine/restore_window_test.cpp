// The restore window against the real registry and Startup folder: backups made by each
// page's removal are listed with their state, a conflict is shown and what it replaces saved
// first, the system's registry editor puts everything back exactly in each key's real
// location, a shortcut goes back to its folder, and an unreadable backup is never restored.
#include "pages/autostart/autostart_page.h"
#include "services/pure/reg_script_reader.h"
#include "services/reg_unit.h"
#include "services/undo_backup.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"
#include "ui/restore_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;
using test::ScratchValue;

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kWowRun = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kWowUninstall = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A key with its values and its subkeys' values, as the 64-bit view shows it.
using KeyDump = std::vector<std::pair<std::wstring, std::vector<RegValueData>>>;
KeyDump Dump(HKEY root, const std::wstring& path) {
    KeyDump dump;
    std::vector<RegValueData> values;
    if (!ReadAllValues(root, path, RegView::Bits64, values)) return dump;
    dump.emplace_back(L"", values);
    StringList subkeys;
    ListSubkeys(root, path, RegView::Bits64, subkeys);
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::wstring& sub : subkeys) {
        for (auto& [name, subValues] : Dump(root, path + L"\\" + sub)) {
            dump.emplace_back(sub + (name.empty() ? L"" : L"\\" + name), std::move(subValues));
        }
    }
    return dump;
}

void ExpectSameDump(const KeyDump& before, const KeyDump& after) {
    ASSERT_EQ(before.size(), after.size());
    for (size_t k = 0; k < before.size(); ++k) {
        EXPECT_EQ(before[k].first, after[k].first);
        ASSERT_EQ(before[k].second.size(), after[k].second.size()) << Narrow(before[k].first);
        for (const RegValueData& value : before[k].second) {
            const auto it = std::find_if(after[k].second.begin(), after[k].second.end(),
                                         [&](const RegValueData& v) { return v.name == value.name; });
            ASSERT_NE(it, after[k].second.end()) << Narrow(value.name);
            EXPECT_EQ(it->type, value.type) << Narrow(value.name);
            EXPECT_EQ(it->data, value.data) << Narrow(value.name);
        }
    }
}

class RestoreWindowTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        state_.UndoFolder = undo_.Folder();
        ::SHCreateDirectoryExW(nullptr, state_.UserStartupFolder.c_str(), nullptr);
    }
    HWND List() { return Hwnd(ids::InfoList(1)); }
    void TickAndRemove(std::initializer_list<const wchar_t*> captions) {
        form_->Autostart().Panel1Enter();
        const auto rows = test::ReadRows(List(), 3);
        for (const wchar_t* caption : captions) {
            const int row = FindRow(rows, caption);
            ASSERT_GE(row, 0) << Narrow(caption);
            ListView_SetCheckState(List(), row, TRUE);
        }
        AnswerNextQuestion(true);
        ReadNextInfo(nullptr);
        Click(ids::ButtonLabel(1, 2));
        ASSERT_TRUE(test::AllShownActionsRan());
    }
    int IndexOf(const RestoreWindow& window, BackupKind kind) {
        const auto& backups = window.Backups();
        for (size_t i = 0; i < backups.size(); ++i)
            if (backups[i].kind == kind && backups[i].fileName.find(L"garbage") == std::wstring::npos) return static_cast<int>(i);
        return -1;
    }
    // Restores the backup at `index`, answering Yes; the question and the report.
    std::pair<std::wstring, std::wstring> Restore(RestoreWindow& window, int index) {
        std::wstring question;
        std::wstring report;
        window.Select(index);
        AnswerNextQuestion(true, &question);
        ReadNextInfo(&report);
        window.RestoreClick();
        EXPECT_TRUE(test::AllShownActionsRan());
        return {question, report};
    }
    test::UndoFolderGuard undo_{test::TempUndoFolder()};
};

TEST_F(RestoreWindowTest, EachPagesBackupIsListedRestoredExactlyAndAConflictIsSavedBeforeItIsReplaced) {
    // Autostart: a user value, a 32-bit program's machine value and a shortcut.
    ScratchValue user(HKEY_CURRENT_USER, kRun, 0, L"TalRsUser", L"%SystemRoot%\\tal \"q\".exe", REG_EXPAND_SZ);
    ScratchValue machine32(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, L"TalRs32", L"C:\\32\\中文.exe");
    const std::wstring link = state_.UserStartupFolder + L"TalRs.lnk";
    ASSERT_TRUE(test::MakeFile(link, std::string("L\0\0\0restore me", 14)));
    const std::string linkBytes = test::FileBytes(link);
    RegValueData userBefore;
    RegValueData machineBefore;
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"TalRsUser", RegView::Bits64, userBefore));
    ASSERT_TRUE(ReadValueData(HKEY_LOCAL_MACHINE, kWowRun, L"TalRs32", RegView::Bits64, machineBefore));
    TickAndRemove({L"TalRsUser", L"TalRs32", L"TalRs.lnk"});
    ASSERT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRsUser"));
    ASSERT_FALSE(test::FileBytes(link).size());

    // Uninstall: a 32-bit program's record with a subkey, removed as the page removes it.
    ScratchKey record(HKEY_LOCAL_MACHINE, kUninstall + L"TalRsApp", KEY_WOW64_32KEY);
    record.SetString(L"", L"DisplayName", L"Tal Restore App");
    record.SetString(L"", L"UninstallString", L"\"C:\\Tal\\unins.exe\" /x");
    const unsigned char blob[] = {0, 1, 2, 0xfe, 0xff};
    record.SetBytes(L"Sub", L"Blob", REG_BINARY, blob, sizeof blob);
    const KeyDump recordBefore = Dump(HKEY_LOCAL_MACHINE, kWowUninstall + L"TalRsApp");
    ASSERT_EQ(BackUpAndRemoveKey(undo_.Folder(), HKEY_LOCAL_MACHINE, kUninstall + L"TalRsApp", RegView::Bits32,
                                 L"Tal Restore App", L"_uninstall.reg")
                  .outcome,
              KeyRemoval::Outcome::Removed);

    // Association: the user's extension key.
    ScratchKey extension(HKEY_CURRENT_USER, L"Software\\Classes\\.talrs");
    extension.SetString(L"", L"", L"talrs_file");
    extension.SetString(L"OpenWithProgids", L"talrs_file", L"");
    const KeyDump extensionBefore = Dump(HKEY_CURRENT_USER, L"Software\\Classes\\.talrs");
    ASSERT_EQ(BackUpAndRemoveKeys(undo_.Folder(), {{HKEY_CURRENT_USER, L"Software\\Classes\\.talrs"}}, RegView::Bits64,
                                  L"talrs", L"_association.reg")
                  .at(0)
                  .outcome,
              KeyRemoval::Outcome::Removed);

    // A backup that cannot be read.
    const std::wstring bad = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\TalRsBad]\r\n"
                             L"\"v\"=hex:zz\r\n";
    const std::vector<std::uint8_t> badBytes = EncodeUtf16LeWithBom(bad);
    ASSERT_TRUE(test::MakeFile(undo_.Folder() + L"garbage_startup.reg", std::string(badBytes.begin(), badBytes.end())));

    // The page offers the window now that the folder holds backups.
    form_->Autostart().Panel1Enter();
    EXPECT_TRUE(::IsWindowVisible(Hwnd(ids::RestoreLabel(1))));

    // Changed after its removal: a conflict.
    ScratchValue changed(HKEY_CURRENT_USER, kRun, 0, L"TalRsUser", L"C:\\changed.exe");

    RestoreWindow window(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                         RestorePlaces{undo_.Folder(), state_.WindowsFolder, state_.UserStartupFolder});
    window.Refresh();
    ASSERT_EQ(window.Backups().size(), 5u);  // the shortcut's origin file is no backup of its own
    const int startup = IndexOf(window, BackupKind::Startup);
    const int shortcut = IndexOf(window, BackupKind::Shortcut);
    const int uninstall = IndexOf(window, BackupKind::Uninstall);
    const int association = IndexOf(window, BackupKind::Association);
    ASSERT_TRUE(startup >= 0 && shortcut >= 0 && uninstall >= 0 && association >= 0);
    const auto& backups = window.Backups();
    EXPECT_EQ(backups[static_cast<size_t>(startup)].state, BackupState::Conflict);
    EXPECT_EQ(backups[static_cast<size_t>(startup)].summary, L"TalRsUser, TalRs32");
    EXPECT_EQ(backups[static_cast<size_t>(shortcut)].state, BackupState::Restorable);
    EXPECT_EQ(backups[static_cast<size_t>(shortcut)].origin, link);
    EXPECT_EQ(backups[static_cast<size_t>(uninstall)].state, BackupState::Restorable);
    EXPECT_EQ(backups[static_cast<size_t>(uninstall)].summary, L"Tal Restore App");
    EXPECT_EQ(backups[static_cast<size_t>(association)].summary, L".talrs");
    const auto garbage = std::find_if(backups.begin(), backups.end(),
                                      [](const BackupFile& b) { return b.fileName == L"garbage_startup.reg"; });
    ASSERT_NE(garbage, backups.end());
    EXPECT_EQ(garbage->state, BackupState::Unreadable);
    EXPECT_NE(garbage->reason.find(L"第 4 行"), std::wstring::npos) << Narrow(garbage->reason);

    // The preview shows the changed value: now and saved.
    window.Select(startup);
    const auto preview = test::ReadRows(window.Control(restore_ids::kPreviewList), 4);
    const auto different = std::find_if(preview.begin(), preview.end(), [](const test::ListRow& row) {
        return row.cells[1] == L"不同";
    });
    ASSERT_NE(different, preview.end());
    EXPECT_EQ(different->cells[2], L"C:\\changed.exe (REG_SZ)");
    EXPECT_EQ(different->cells[3], L"%SystemRoot%\\tal \"q\".exe (REG_EXPAND_SZ)");

    // Restoring it names what is added and replaced, saves the replaced data first, and puts
    // both values back exactly where they were.
    const auto [question, report] = Restore(window, startup);
    EXPECT_NE(question.find(L"将添加 1 项"), std::wstring::npos) << Narrow(question);
    EXPECT_NE(question.find(L"将替换 1 项"), std::wstring::npos) << Narrow(question);
    EXPECT_NE(report.find(L"恢复全部 2 项"), std::wstring::npos) << Narrow(report);
    RegValueData now;
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"TalRsUser", RegView::Bits64, now));
    EXPECT_EQ(now.type, userBefore.type);
    EXPECT_EQ(now.data, userBefore.data);
    ASSERT_TRUE(ReadValueData(HKEY_LOCAL_MACHINE, kWowRun, L"TalRs32", RegView::Bits64, now));
    EXPECT_EQ(now.data, machineBefore.data);
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kRun, L"TalRs32"));  // not in the 64-bit programs' key
    const auto replaced = std::find_if(window.Backups().begin(), window.Backups().end(),
                                       [](const BackupFile& b) { return b.kind == BackupKind::Replaced; });
    ASSERT_NE(replaced, window.Backups().end());
    ASSERT_EQ(replaced->reading.ValueCount(), 1);
    EXPECT_EQ(replaced->reading.keys[0].values[0].data, RegStringBytes(L"C:\\changed.exe"));

    // The record and the extension, whole, in their real locations.
    Restore(window, IndexOf(window, BackupKind::Uninstall));
    ExpectSameDump(recordBefore, Dump(HKEY_LOCAL_MACHINE, kWowUninstall + L"TalRsApp"));
    Restore(window, IndexOf(window, BackupKind::Association));
    ExpectSameDump(extensionBefore, Dump(HKEY_CURRENT_USER, L"Software\\Classes\\.talrs"));

    // The shortcut goes back to its folder.
    const auto [linkQuestion, linkReport] = Restore(window, IndexOf(window, BackupKind::Shortcut));
    EXPECT_NE(linkQuestion.find(link), std::wstring::npos);
    EXPECT_EQ(test::FileBytes(link), linkBytes);

    // An unreadable backup is said to be so and nothing is asked.
    std::wstring refusal;
    const auto stillThere = std::find_if(window.Backups().begin(), window.Backups().end(),
                                         [](const BackupFile& b) { return b.fileName == L"garbage_startup.reg"; });
    ASSERT_NE(stillThere, window.Backups().end());
    window.Select(static_cast<int>(stillThere - window.Backups().begin()));
    ReadNextInfo(&refusal);
    window.RestoreClick();
    EXPECT_NE(refusal.find(L"不能恢复"), std::wstring::npos);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\TalRsBad"));

    window.Refresh();
    for (const BackupFile& backup : window.Backups()) {
        // The saved replaced data is not what the registry holds now, as it should be.
        if (backup.kind == BackupKind::Replaced) {
            EXPECT_EQ(backup.state, BackupState::Conflict);
        } else if (backup.fileName != L"garbage_startup.reg") {
            EXPECT_EQ(backup.state, BackupState::Restored) << Narrow(backup.fileName);
        }
    }
    ::DeleteFileW(link.c_str());
}

TEST_F(RestoreWindowTest, AShortcutOverAnotherFileOfItsNameIsKeptUnlessTheUserSaysOtherwise) {
    const std::wstring link = state_.UserStartupFolder + L"TalRsKeep.lnk";
    ASSERT_TRUE(test::MakeFile(link, "the removed one"));
    TickAndRemove({L"TalRsKeep.lnk"});
    ASSERT_TRUE(test::MakeFile(link, "a new one"));

    RestoreWindow window(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                         RestorePlaces{undo_.Folder(), state_.WindowsFolder, state_.UserStartupFolder});
    window.Refresh();
    const int index = IndexOf(window, BackupKind::Shortcut);
    ASSERT_GE(index, 0);
    EXPECT_EQ(window.Backups()[static_cast<size_t>(index)].state, BackupState::Conflict);
    window.Select(index);
    AnswerNextQuestion(false);
    window.RestoreClick();
    EXPECT_EQ(test::FileBytes(link), "a new one");

    std::wstring report;
    AnswerNextQuestion(true);
    ReadNextInfo(&report);
    window.RestoreClick();
    EXPECT_EQ(test::FileBytes(link), "the removed one");
    // The file it replaced is in the Undo folder now, with where it was.
    window.Refresh();
    int copies = 0;
    for (const BackupFile& backup : window.Backups()) {
        if (backup.kind != BackupKind::Shortcut) continue;
        ++copies;
        EXPECT_EQ(backup.origin, link);
        const bool replacedOne = test::FileBytes(undo_.Folder() + backup.fileName) == "a new one";
        EXPECT_EQ(backup.state, replacedOne ? BackupState::Conflict : BackupState::Restored);
    }
    EXPECT_EQ(copies, 2);
    ::DeleteFileW(link.c_str());
}

// What the system's registry editor itself exports (its own line wrapping, its own forms of
// each type) reads back as exactly what the registry holds.
TEST(RestoreChecks, AValueInAKeyThatCannotBeReadIsNeverCalledMissing) {
    ScratchKey key(HKEY_CURRENT_USER, L"Software\\TalRsLocked");
    key.SetString(L"", L"Kept", L"C:\\kept.exe");
    test::UndoFolderGuard undo(test::TempUndoFolder());
    const BackupResult backup = ExportRegKey(undo.Folder(), HKEY_CURRENT_USER, key.Path(), RegView::Bits64,
                                             L"TalRsLocked", L"_uninstall.reg");
    ASSERT_TRUE(backup.written);
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, key.Path(), 0, L"D:P(A;;WD;;;WD)"));
    const bool enforced = RegKeyReadStatus(HKEY_CURRENT_USER, key.Path(), RegView::Bits64) == ERROR_ACCESS_DENIED;
    const std::vector<BackupFile> backups = ListBackups(undo.Folder());
    test::SetKeySecurity(HKEY_CURRENT_USER, key.Path(), 0, L"D:(A;;KA;;;WD)");
    if (!enforced) GTEST_SKIP() << "this platform does not check key rights";
    ASSERT_EQ(backups.size(), 1u);
    // Nothing is offered as merely added over what may well be there.
    EXPECT_EQ(backups[0].state, BackupState::Conflict);
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, key.Path(), 0, L"D:P(A;;WD;;;WD)"));
    const std::vector<BackupCheck> checks = CheckBackup(backups[0]);
    test::SetKeySecurity(HKEY_CURRENT_USER, key.Path(), 0, L"D:(A;;KA;;;WD)");
    ASSERT_EQ(checks.size(), 2u);
    for (const BackupCheck& check : checks) {
        EXPECT_EQ(check.state, EntryState::Different) << Narrow(check.item);
        EXPECT_EQ(check.now.rfind(L"无法读取", 0), 0u) << Narrow(check.now);
    }
}

TEST(RegScriptReaderWine, TheSystemEditorsOwnExportReadsBackAsTheRegistryHoldsIt) {
    ScratchKey key(HKEY_CURRENT_USER, L"Software\\TalRsExport");
    key.SetString(L"", L"", L"default");
    key.SetString(L"", L"Quoted \"name\" \\ 中文", L"\"C:\\Program Files\\中文\\a.exe\" /x \"y\"");
    key.SetString(L"", L"Expand", L"%SystemRoot%\\" + std::wstring(120, L'x'), REG_EXPAND_SZ);
    const wchar_t multi[] = L"one\0two 二\0";
    key.SetBytes(L"", L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    std::vector<unsigned char> binary(200);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<unsigned char>(i * 7);
    key.SetBytes(L"", L"Binary", REG_BINARY, binary.data(), static_cast<DWORD>(binary.size()));
    key.SetDword(L"", L"Dword", 0x8000000a);
    const unsigned long long qword = 0x0102030405060708ull;
    key.SetBytes(L"", L"Qword", REG_QWORD, &qword, sizeof qword);
    key.SetBytes(L"", L"None", REG_NONE, "\x01\x02", 2);
    key.SetString(L"Sub key", L"In sub", L"s");

    test::UndoFolderGuard folder(test::TempUndoFolder());
    ::SHCreateDirectoryExW(nullptr, folder.Folder().c_str(), nullptr);
    const std::wstring file = folder.Folder() + L"export.reg";
    test::RunRegistryEditor(L"/e \"" + file + L"\" \"HKEY_CURRENT_USER\\Software\\TalRsExport\"");
    const std::string bytes = test::FileBytes(file);
    ASSERT_FALSE(bytes.empty());
    const ScriptReading reading =
        ReadRegScriptFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_TRUE(reading.ok) << Narrow(ScriptErrorText(reading));
    ASSERT_EQ(reading.keys.size(), 2u);
    for (const ScriptKey& read : reading.keys) {
        ASSERT_EQ(read.root, L"HKEY_CURRENT_USER");
        std::vector<RegValueData> values;
        ASSERT_TRUE(ReadAllValues(HKEY_CURRENT_USER, read.path, RegView::Bits64, values)) << Narrow(read.path);
        ASSERT_EQ(read.values.size(), values.size()) << Narrow(read.path);
        for (const RegValueData& value : values) {
            const auto it = std::find_if(read.values.begin(), read.values.end(),
                                         [&](const RegValueData& v) { return v.name == value.name; });
            ASSERT_NE(it, read.values.end()) << Narrow(value.name);
            EXPECT_EQ(it->type, value.type) << Narrow(value.name);
            EXPECT_EQ(it->data, value.data) << Narrow(value.name);
        }
    }
}

}  // namespace
}  // namespace taliveer
