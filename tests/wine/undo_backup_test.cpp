// Backups restore exactly what they saved, through the real registry tools of the prefix.
#include "services/reg_unit.h"
#include "services/undo_backup.h"
#include "tests/wine/main_window_fixture.h"

#include <map>

namespace taliveer {
namespace {

using test::TempUndoFolder;
using test::UndoFolderGuard;

using test::ScratchKey;

const std::wstring kScratch = L"Software\\TaliveerTests\\Undo";


std::vector<std::uint8_t> Bytes(const std::wstring& text, bool terminator = true) {
    std::vector<std::uint8_t> out;
    for (wchar_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminator) out.insert(out.end(), {0, 0});
    return out;
}

// Values that are hard to carry through a script exactly.
std::vector<RegValueData> TrickyValues() {
    const std::wstring longText(10000, L'长');
    return {
        {L"", reg_type::kString, Bytes(L"the default value")},
        {L"中文名称", reg_type::kString, Bytes(L"C:\\程序\\应用.exe /参数")},
        {L"Quotes \"and\" \\backslashes\\", reg_type::kString, Bytes(L"\"C:\\Program Files\\A\\a.exe\" -min \\\\server\\share\\")},
        {L"name=with=equals", reg_type::kString, Bytes(L"a=b")},
        {L"name/with/slashes", reg_type::kString, Bytes(L"x/y")},
        {L"Long", reg_type::kString, Bytes(longText)},
        {L"Trailing blanks", reg_type::kString, Bytes(L"  spaced  \t")},
        {L"Empty", reg_type::kString, Bytes(L"")},
        {L"NoTerminator", reg_type::kString, Bytes(L"abc", false)},
        {L"Line\tbreak data", reg_type::kString, Bytes(L"first\r\nsecond")},
        {L"Expand", reg_type::kExpandString, Bytes(L"%SystemRoot%\\system32\\x.exe")},
        {L"Multi", reg_type::kMultiString, Bytes(std::wstring(L"one\0two\0", 8))},
        {L"Dword", reg_type::kDword, {0x78, 0x56, 0x34, 0x12}},
        {L"Qword", reg_type::kQword, {1, 2, 3, 4, 5, 6, 7, 8}},
        {L"Binary", reg_type::kBinary, {0, 255, 16, 1}},
        {L"BinaryEmpty", reg_type::kBinary, {}},
        {L"None", reg_type::kNone, {9, 8}},
    };
}

void Write(HKEY root, const std::wstring& path, REGSAM view, const RegValueData& v) {
    UniqueHKey key;
    ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size())),
              ERROR_SUCCESS);
}

std::map<std::wstring, RegValueData> ValuesOf(HKEY root, const std::wstring& path) {
    std::vector<RegValueData> values;
    ReadAllValues(root, path, RegView::Bits64, values);
    std::map<std::wstring, RegValueData> byName;
    for (auto& v : values) byName[v.name] = v;
    return byName;
}

// Imports with the system's 64-bit reg.exe (it reports failures; regedit /s always exits 0).
int Import(const std::wstring& file) {
    return test::RunSystemProgram(L"C:\\windows\\system32\\reg.exe import \"" + file + L"\"");
}

TEST(UndoBackup, AWrittenScriptRestoresEveryValueByteForByte) {
    ScratchKey k(HKEY_CURRENT_USER, kScratch);
    UndoFolderGuard undo(TempUndoFolder());
    const auto values = TrickyValues();
    for (const auto& v : values) Write(HKEY_CURRENT_USER, k.Path(), 0, v);

    RegScript script;
    for (const auto& v : values) {
        RegValueData stored;
        ASSERT_TRUE(ReadRegValueData(HKEY_CURRENT_USER, k.Path(), v.name, stored));
        script.AddValue(L"HKEY_CURRENT_USER", k.Path() + L"\\", stored);
    }
    const BackupResult backup = SaveRegScript(undo.Folder(), L"中文名称,Long", L"_startup.reg", script);
    ASSERT_TRUE(backup.written);
    EXPECT_EQ(backup.fileName, L"中文名称,Long_startup.reg");
    for (const auto& v : values) ASSERT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, k.Path(), v.name) || v.name.empty());
    DeleteRegValue(HKEY_CURRENT_USER, k.Path(), L"");
    ASSERT_TRUE(ValuesOf(HKEY_CURRENT_USER, k.Path()).empty());

    ASSERT_EQ(Import(undo.Folder() + backup.fileName), 0);
    const auto restored = ValuesOf(HKEY_CURRENT_USER, k.Path());
    EXPECT_EQ(restored.size(), values.size());
    for (const auto& v : values) {
        const auto it = restored.find(v.name);
        ASSERT_NE(it, restored.end()) << "value " << values.size();
        EXPECT_EQ(it->second.type, v.type) << "value name length " << v.name.size();
        if (v.name == L"NoTerminator") {
            // Wine's importer terminates hex(1) data it writes back; the string reads the same.
            auto terminated = v.data;
            terminated.insert(terminated.end(), {0, 0});
            EXPECT_TRUE(it->second.data == v.data || it->second.data == terminated);
            continue;
        }
        EXPECT_EQ(it->second.data, v.data) << "value name length " << v.name.size();
    }
}

TEST(UndoBackup, TheFileIsUtf16WithBomCrlfAndTheEditorsHeader) {
    ScratchKey k(HKEY_CURRENT_USER, kScratch);
    UndoFolderGuard undo(TempUndoFolder());
    RegScript script;
    script.AddValue(L"HKEY_CURRENT_USER", L"Software\\Run\\", {L"A", reg_type::kString, Bytes(L"x")});
    script.AddValue(L"HKEY_CURRENT_USER", L"Software\\Run\\", {L"B", reg_type::kString, Bytes(L"y")});
    const BackupResult backup = SaveRegScript(undo.Folder(), L"A,B", L"_startup.reg", script);
    ASSERT_TRUE(backup.written);
    HANDLE file = ::CreateFileW((undo.Folder() + backup.fileName).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<char> bytes(4096);
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), 4096, &got, nullptr);
    ::CloseHandle(file);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), got / 2);
    EXPECT_EQ(text, L"\xFEFF" L"Windows Registry Editor Version 5.00\r\n\r\n"
                    L"[HKEY_CURRENT_USER\\Software\\Run\\]\r\n\"A\"=\"x\"\r\n\r\n"
                    L"[HKEY_CURRENT_USER\\Software\\Run\\]\r\n\"B\"=\"y\"\r\n\r\n");
}

TEST(UndoBackup, AnOlderBackupIsNeverReplacedAndEmptyScriptsAreNotWritten) {
    UndoFolderGuard undo(TempUndoFolder());
    RegScript script;
    script.AddValue(L"HKEY_CURRENT_USER", L"K\\", {L"A", reg_type::kString, Bytes(L"1")});
    const BackupResult first = SaveRegScript(undo.Folder(), L"txt", L"_association.reg", script);
    const BackupResult second = SaveRegScript(undo.Folder(), L"txt", L"_association.reg", script);
    const BackupResult third = SaveRegScript(undo.Folder(), L"txt", L"_association.reg", script);
    ASSERT_TRUE(first.written && second.written && third.written);
    EXPECT_EQ(first.fileName, L"txt_association.reg");
    EXPECT_EQ(second.fileName, L"txt (2)_association.reg");
    EXPECT_EQ(third.fileName, L"txt (3)_association.reg");

    const BackupResult none = SaveRegScript(undo.Folder(), L"empty", L"_startup.reg", RegScript());
    EXPECT_FALSE(none.written);
    EXPECT_EQ(::GetFileAttributesW((undo.Folder() + L"empty_startup.reg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(UndoBackup, NoRegistryNameCanPutAFileOutsideTheUndoFolder) {
    UndoFolderGuard undo(TempUndoFolder());
    RegScript script;
    script.AddValue(L"HKEY_CURRENT_USER", L"K\\", {L"A", reg_type::kString, Bytes(L"1")});
    for (const wchar_t* base : {L"..\\..\\escape", L"../../escape", L"C:\\windows\\escape", L"a:b*c?d\"e<f>g|h", L"CON",
                                L"...", L"name. . ."}) {
        const BackupResult backup = SaveRegScript(undo.Folder(), base, L"_uninstall.reg", script);
        ASSERT_TRUE(backup.written) << "base " << std::wstring(base).size();
        EXPECT_EQ(backup.fileName.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos);
        EXPECT_NE(::GetFileAttributesW((undo.Folder() + backup.fileName).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    // Nothing was written above the folder.
    EXPECT_EQ(::GetFileAttributesW((undo.Folder() + L"..\\escape_uninstall.reg").c_str()), INVALID_FILE_ATTRIBUTES);
    // A name too long for the system is cut to fit.
    const BackupResult longName = SaveRegScript(undo.Folder(), std::wstring(400, L'n'), L"_uninstall.reg", script);
    ASSERT_TRUE(longName.written);
    EXPECT_LE(undo.Folder().size() + longName.fileName.size(), 259u);
}

class ExportTest : public testing::Test {
protected:
    const std::wstring path_ = L"SOFTWARE\\TaliveerTests64";
    ScratchKey only64_{HKEY_LOCAL_MACHINE, path_, KEY_WOW64_64KEY};
    ScratchKey only32_{HKEY_LOCAL_MACHINE, path_, KEY_WOW64_32KEY};
    UndoFolderGuard undo_{TempUndoFolder()};
};

TEST_F(ExportTest, AnExportedKeyComesBackWholeInThe64BitView) {
    const std::wstring victim = path_ + L"\\Uninstall\\{App=1}";
    const auto values = TrickyValues();
    for (const auto& v : values) Write(HKEY_LOCAL_MACHINE, victim, KEY_WOW64_64KEY, v);
    Write(HKEY_LOCAL_MACHINE, victim + L"\\Sub\\Deeper", KEY_WOW64_64KEY, {L"x", reg_type::kString, Bytes(L"deep")});
    Write(HKEY_LOCAL_MACHINE, victim + L"\\Empty key", KEY_WOW64_64KEY, {L"y", reg_type::kDword, {1, 0, 0, 0}});
    // The 32-bit mirror of the same path holds something else, which must not be saved.
    Write(HKEY_LOCAL_MACHINE, victim, KEY_WOW64_32KEY, {L"Mirror only", reg_type::kString, Bytes(L"32")});

    const BackupResult backup =
        ExportRegKey(undo_.Folder(), HKEY_LOCAL_MACHINE, victim, RegView::Bits64, L"App", L"_uninstall.reg");
    ASSERT_TRUE(backup.written);
    ASSERT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, victim));
    ASSERT_FALSE(only64_.Exists(L"Uninstall\\{App=1}", KEY_WOW64_64KEY));

    ASSERT_EQ(Import(undo_.Folder() + backup.fileName), 0);
    const auto restored = ValuesOf(HKEY_LOCAL_MACHINE, victim);
    EXPECT_EQ(restored.size(), values.size());
    EXPECT_EQ(restored.count(L"Mirror only"), 0u);
    for (const auto& v : values) {
        const auto it = restored.find(v.name);
        ASSERT_NE(it, restored.end());
        EXPECT_EQ(it->second.type, v.type);
        if (v.name != L"NoTerminator") {
            EXPECT_EQ(it->second.data, v.data);
        }
    }
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, victim + L"\\Sub\\Deeper", L"x"), L"deep");
    EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, victim + L"\\Empty key", L"y"));
}

TEST_F(ExportTest, AMissingKeyWritesNoFile) {
    const BackupResult backup =
        ExportRegKey(undo_.Folder(), HKEY_LOCAL_MACHINE, path_ + L"\\Gone", RegView::Bits64, L"Gone", L"_uninstall.reg");
    EXPECT_FALSE(backup.written);
    EXPECT_FALSE(backup.error.empty());
}

// Only what the backup holds is deleted: whatever appears or changes between the backup and
// the deletion stays, is counted, and keeps its key.
TEST(UndoBackupRemoval, WhatAppearedOrChangedAfterTheBackupStaysAndIsCounted) {
    ScratchKey k(HKEY_CURRENT_USER, kScratch);
    const std::wstring victim = k.Path() + L"\\Record";
    Write(HKEY_CURRENT_USER, victim, 0, {L"Kept", reg_type::kString, Bytes(L"saved")});
    Write(HKEY_CURRENT_USER, victim, 0, {L"Changes", reg_type::kString, Bytes(L"saved")});
    Write(HKEY_CURRENT_USER, victim + L"\\Sub", 0, {L"s", reg_type::kDword, {1, 0, 0, 0}});
    Write(HKEY_CURRENT_USER, victim + L"\\Whole", 0, {L"w", reg_type::kDword, {2, 0, 0, 0}});
    RegScript script;
    SavedKey saved;
    std::wstring error;
    ASSERT_TRUE(AppendRegKey(script, HKEY_CURRENT_USER, victim, RegView::Bits64, error, &saved)) << test::Utf8(error);
    // Another program writes meanwhile.
    Write(HKEY_CURRENT_USER, victim, 0, {L"Changes", reg_type::kString, Bytes(L"new data")});
    Write(HKEY_CURRENT_USER, victim, 0, {L"Appeared", reg_type::kString, Bytes(L"new")});
    Write(HKEY_CURRENT_USER, victim + L"\\Sub\\Late", 0, {L"", reg_type::kString, Bytes(L"late")});

    const SavedKeyDeletion deletion = DeleteSavedKey(HKEY_CURRENT_USER, saved, RegView::Bits64);
    EXPECT_EQ(deletion.error, ERROR_SUCCESS);
    EXPECT_EQ(deletion.leftBehind, 3);  // Changes, Appeared, Sub\Late
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, victim, L"Kept"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, victim + L"\\Whole"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, victim + L"\\Sub", L"s"));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, victim, L"Changes"), L"new data");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, victim, L"Appeared"), L"new");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, victim + L"\\Sub\\Late", L""), L"late");

    // A single value the same way.
    RegValueData value{L"Changes", reg_type::kString, Bytes(L"saved")};
    EXPECT_EQ(DeleteSavedValue(HKEY_CURRENT_USER, victim, value, RegView::Bits64), ERROR_INVALID_DATA);
    value.data = Bytes(L"new data");
    EXPECT_EQ(DeleteSavedValue(HKEY_CURRENT_USER, victim, value, RegView::Bits64), ERROR_SUCCESS);
    EXPECT_EQ(DeleteSavedValue(HKEY_CURRENT_USER, victim, value, RegView::Bits64), ERROR_FILE_NOT_FOUND);
}

TEST(UndoBackupRemoval, AKeyThatCannotBeReadIsSaidToBeUnreadableNotGone) {
    ScratchKey k(HKEY_CURRENT_USER, kScratch);
    UndoFolderGuard undo(TempUndoFolder());
    const std::wstring closed = k.Path() + L"\\Closed";
    Write(HKEY_CURRENT_USER, closed, 0, {L"v", reg_type::kString, Bytes(L"x")});
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, closed, 0, L"D:P(A;;WD;;;WD)"));  // may change rights only
    const KeyRemoval removal =
        BackUpAndRemoveKey(undo.Folder(), HKEY_CURRENT_USER, closed, RegView::Bits64, L"Closed", L"_uninstall.reg");
    const bool enforced = RegKeyReadStatus(HKEY_CURRENT_USER, closed, RegView::Bits64) == ERROR_ACCESS_DENIED;
    test::SetKeySecurity(HKEY_CURRENT_USER, closed, 0, L"D:(A;;KA;;;WD)");
    if (!enforced) GTEST_SKIP() << "this platform does not check key rights";
    EXPECT_EQ(removal.outcome, KeyRemoval::Outcome::Unreadable);
    EXPECT_FALSE(removal.reason.empty());
    EXPECT_NE(KeyRemovalText(removal, L"关联", L".x", undo.Folder()).find(L"无法读取"), std::wstring::npos);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, closed, L"v"));
    EXPECT_TRUE(undo.Files().empty());

}

TEST(UndoBackupEditor, TheRegistryEditorImportsAnExport) {
    // What a user does with a backup: open it with the registry editor.
    ScratchKey k(HKEY_CURRENT_USER, kScratch);
    UndoFolderGuard undo(TempUndoFolder());
    const std::wstring victim = k.Path() + L"\\Editor";
    Write(HKEY_CURRENT_USER, victim, 0, {L"中文", reg_type::kString, Bytes(L"\"C:\\x.exe\" /s")});
    Write(HKEY_CURRENT_USER, victim + L"\\Sub", 0, {L"", reg_type::kExpandString, Bytes(L"%TEMP%\\y")});
    const BackupResult backup =
        ExportRegKey(undo.Folder(), HKEY_CURRENT_USER, victim + L"\\", RegView::Bits64, L"Editor", L"_uninstall.reg");
    ASSERT_TRUE(backup.written);
    ASSERT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, victim));
    test::RestoreWithRegistryEditor(undo.Folder() + backup.fileName);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, victim, L"中文"), L"\"C:\\x.exe\" /s");
    RegValueData sub;
    ASSERT_TRUE(ReadRegValueData(HKEY_CURRENT_USER, victim + L"\\Sub", L"", sub));
    EXPECT_EQ(sub.type, reg_type::kExpandString);
    EXPECT_EQ(sub.data, Bytes(L"%TEMP%\\y"));
}

}  // namespace
}  // namespace taliveer
