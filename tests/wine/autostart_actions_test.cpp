// The autostart page's buttons against the real registry and Startup folders: adding a
// program, and removing entries of every source after a backup that the registry editor
// puts back exactly.
#include "pages/autostart/add_program_dialog.h"
#include "pages/autostart/autostart_page.h"
#include "services/reg_unit.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/autostart_fixture.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;
using test::ScratchValue;

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kWowRun = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kMsConfig = L"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";

using test::FileBytes;
using test::MakeFile;

// One registry value as it stood before a removal.
struct Saved {
    HKEY root;
    std::wstring key;
    RegView view;
    RegValueData value;
};

class AutostartActionsTest : public test::AutostartFixture {
protected:
    // Presses "删除程序", answers the question and returns what the InfoBox said.
    std::wstring Remove(bool yes = true) {
        std::wstring info;
        AnswerNextQuestion(yes);
        if (yes) ReadNextInfo(&info);
        Click(ids::ButtonLabel(1, 2));
        EXPECT_TRUE(test::AllShownActionsRan());
        return info;
    }
    Saved Keep(HKEY root, const std::wstring& key, RegView view, const std::wstring& name) {
        Saved saved{root, key, view, {}};
        EXPECT_TRUE(ReadValueData(root, key, name, view, saved.value));
        return saved;
    }
    bool Exists(const Saved& saved) {
        RegValueData now;
        return ReadValueData(saved.root, saved.key, saved.value.name, saved.view, now);
    }
    // The value is back under its name, with its type and bytes.
    void ExpectBack(const Saved& saved) {
        RegValueData now;
        ASSERT_TRUE(ReadValueData(saved.root, saved.key, saved.value.name, saved.view, now))
            << std::string(saved.value.name.begin(), saved.value.name.end());
        EXPECT_EQ(now.type, saved.value.type);
        EXPECT_EQ(now.data, saved.value.data);
    }
    void RestoreAll() {
        for (const std::wstring& file : undo_.Files()) {
            if (file.size() > 4 && file.substr(file.size() - 4) == L".reg") {
                test::RestoreWithRegistryEditor(undo_.Folder() + file);
            }
        }
    }
};

TEST_F(AutostartActionsTest, TickedEntriesOfEverySourceGoAndTheRegistryEditorPutsEachBackExactly) {
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring notepad = std::wstring(windows) + L"\\notepad.exe";
    // Names and data a removal must not change: quotes, backslashes, Chinese, a name that
    // ends in .exe, an unexpanded variable, trailing spaces, two values of one key.
    const std::wstring quoted = L"\"C:\\Program Files\\Tal\\a.exe\" /q \"x\\y\"   ";
    ScratchValue v1(HKEY_CURRENT_USER, kRun, 0, L"TalRm Tool.exe", quoted);
    ScratchValue v1b(HKEY_CURRENT_USER, kRun, 0, L"自启动测试", L"%SystemRoot%\\regedit.exe", REG_EXPAND_SZ);
    ScratchValue v2(HKEY_CURRENT_USER, kRunOnce, 0, L"TalRmOnce", L"C:\\once.exe");
    ScratchValue v3a(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, L"TalRmM1", L"C:\\m1.exe");
    ScratchValue v3b(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, L"TalRmM2", L"C:\\m2.exe -x");
    ScratchValue v4(HKEY_LOCAL_MACHINE, kRunOnce, KEY_WOW64_64KEY, L"TalRmMOnce", L"C:\\mo.exe");
    ScratchValue v7(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, L"TalRm32", L"C:\\32.exe");
    ScratchKey item(HKEY_LOCAL_MACHINE, kMsConfig + L"\\TalRmDisabled", KEY_WOW64_64KEY);
    item.SetString(L"", L"command", L"\"C:\\old\\tool.exe\" -q");
    item.SetString(L"", L"item", L"TalRmDisabled");
    item.SetString(L"", L"hkey", L"HKLM");
    item.SetDword(L"", L"inimapping", 0);
    const std::wstring link8 = state_.UserStartupFolder + L"TalRm8.lnk";
    const std::wstring link9 = state_.CommonStartupFolder + L"TalRm9.lnk";
    ASSERT_TRUE(MakeFile(link8, std::string("L\0\0\0shortcut eight", 18)));
    ASSERT_TRUE(MakeFile(link9, "nine"));
    const auto bytes8 = FileBytes(link8);

    const std::vector<Saved> saved = {
        Keep(HKEY_CURRENT_USER, kRun, RegView::Bits64, L"TalRm Tool.exe"),
        Keep(HKEY_CURRENT_USER, kRun, RegView::Bits64, L"自启动测试"),
        Keep(HKEY_CURRENT_USER, kRunOnce, RegView::Bits64, L"TalRmOnce"),
        Keep(HKEY_LOCAL_MACHINE, kRun, RegView::Bits64, L"TalRmM1"),
        Keep(HKEY_LOCAL_MACHINE, kRun, RegView::Bits64, L"TalRmM2"),
        Keep(HKEY_LOCAL_MACHINE, kRunOnce, RegView::Bits64, L"TalRmMOnce"),
        Keep(HKEY_LOCAL_MACHINE, kWowRun, RegView::Bits64, L"TalRm32"),
    };
    std::vector<RegValueData> itemValues;
    ASSERT_TRUE(ReadAllValues(HKEY_LOCAL_MACHINE, kMsConfig + L"\\TalRmDisabled", RegView::Bits64, itemValues));

    Gather();
    for (const wchar_t* caption : {L"TalRm Tool.exe", L"自启动测试", L"TalRmOnce", L"TalRmM1", L"TalRmM2", L"TalRmMOnce",
                                   L"TalRm32", L"TalRmDisabled", L"TalRm8.lnk", L"TalRm9.lnk"}) {
        Tick(caption);
    }
    // The selection plays no part when rows are ticked.
    ScratchValue bystander(HKEY_CURRENT_USER, kRun, 0, L"TalRmBystander", L"C:\\b.exe");
    Gather();
    for (const wchar_t* caption : {L"TalRm Tool.exe", L"自启动测试", L"TalRmOnce", L"TalRmM1", L"TalRmM2", L"TalRmMOnce",
                                   L"TalRm32", L"TalRmDisabled", L"TalRm8.lnk", L"TalRm9.lnk"}) {
        Tick(caption);
    }
    ListView_SetItemState(List(), FindRow(Rows(), L"TalRmBystander"), LVIS_SELECTED, LVIS_SELECTED);

    EXPECT_EQ(Remove(), L"记录被成功删除，创建撤消文件。");
    for (const Saved& s : saved) EXPECT_FALSE(Exists(s)) << std::string(s.value.name.begin(), s.value.name.end());
    EXPECT_FALSE(item.Exists(L"", KEY_WOW64_64KEY));
    EXPECT_EQ(::GetFileAttributesW(link8.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(link9.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmBystander"));
    // The page was rebuilt without them.
    for (const wchar_t* caption : {L"TalRm Tool.exe", L"TalRmDisabled", L"TalRm8.lnk"}) EXPECT_EQ(FindRow(Rows(), caption), -1);

    // The backups: one script named after the cleaned names, one copy per shortcut, and beside
    // each copy the file that says where it was.
    const auto files = undo_.Files();
    ASSERT_EQ(files.size(), 5u);
    EXPECT_NE(std::find(files.begin(), files.end(), L"TalRm8.lnk.origin.txt"), files.end());
    const auto script = std::find_if(files.begin(), files.end(), [](const std::wstring& f) {
        return f.size() > 12 && f.substr(f.size() - 12) == L"_startup.reg";
    });
    ASSERT_NE(script, files.end());
    // Each removed entry's cleaned name, in row order, joined by commas.
    for (const wchar_t* name : {L"TalRm Tool,", L"自启动测试,", L"TalRmOnce,", L"TalRmM1,", L"TalRmM2,", L"TalRmMOnce,",
                                L"TalRm32,", L"TalRmDisabled,", L"TalRm8.lnk,", L"TalRm9.lnk_startup.reg"}) {
        EXPECT_NE(script->find(name), std::wstring::npos) << std::string(script->begin(), script->end());
    }
    EXPECT_EQ(FileBytes(undo_.Folder() + L"TalRm8.lnk"), bytes8);
    EXPECT_EQ(FileBytes(undo_.Folder() + L"TalRm9.lnk"), FileBytes(undo_.Folder() + L"TalRm9.lnk"));

    RestoreAll();
    for (const Saved& s : saved) ExpectBack(s);
    // The disabled item comes back disabled, whole, and not as a Run entry of the user.
    std::vector<RegValueData> restoredItem;
    ASSERT_TRUE(ReadAllValues(HKEY_LOCAL_MACHINE, kMsConfig + L"\\TalRmDisabled", RegView::Bits64, restoredItem));
    ASSERT_EQ(restoredItem.size(), itemValues.size());
    for (size_t i = 0; i < itemValues.size(); ++i) {
        const auto it = std::find_if(restoredItem.begin(), restoredItem.end(),
                                     [&](const RegValueData& v) { return v.name == itemValues[i].name; });
        ASSERT_NE(it, restoredItem.end());
        EXPECT_EQ(it->type, itemValues[i].type);
        EXPECT_EQ(it->data, itemValues[i].data);
    }
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmDisabled"));
    // A shortcut comes back by copying its file back.
    ASSERT_TRUE(::CopyFileW((undo_.Folder() + L"TalRm8.lnk").c_str(), link8.c_str(), TRUE));
    EXPECT_EQ(FileBytes(link8), bytes8);
    ::DeleteFileW(link8.c_str());
}

TEST_F(AutostartActionsTest, WhatTaskManagerDisabledShowsAsDisabledAndComesBackDisabledWithItsEntry) {
    const std::wstring approved = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
    ScratchValue user(HKEY_CURRENT_USER, kRun, 0, L"TalTmUser", L"C:\\tm\\user.exe");
    ScratchValue thirtyTwo(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, L"TalTm32", L"C:\\tm\\32.exe");
    ScratchValue enabled(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, L"TalTmOn", L"C:\\tm\\on.exe");
    const std::wstring link = state_.UserStartupFolder + L"TalTmLink.lnk";
    ASSERT_TRUE(MakeFile(link, "not really a shortcut"));
    const BYTE off[12] = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
    const BYTE offToo[12] = {7, 0, 0, 0};
    const BYTE on[12] = {2, 0, 0, 0};
    ScratchValue a1(HKEY_CURRENT_USER, approved + L"Run", 0, L"TalTmUser", off, sizeof off, REG_BINARY);
    ScratchValue a7(HKEY_LOCAL_MACHINE, approved + L"Run32", 0, L"TalTm32", offToo, sizeof offToo, REG_BINARY);
    ScratchValue a8(HKEY_CURRENT_USER, approved + L"StartupFolder", 0, L"TalTmLink.lnk", off, sizeof off, REG_BINARY);
    ScratchValue a3(HKEY_LOCAL_MACHINE, approved + L"Run", 0, L"TalTmOn", on, sizeof on, REG_BINARY);
    const std::vector<Saved> approvals = {Keep(HKEY_CURRENT_USER, approved + L"Run", RegView::Bits64, L"TalTmUser"),
                                          Keep(HKEY_LOCAL_MACHINE, approved + L"Run32", RegView::Bits64, L"TalTm32"),
                                          Keep(HKEY_CURRENT_USER, approved + L"StartupFolder", RegView::Bits64,
                                               L"TalTmLink.lnk")};
    auto accessOf = [&](const std::wstring& caption) {
        const auto rows = Rows();
        const int row = FindRow(rows, caption);
        return row < 0 ? std::wstring(L"(no row)") : rows[static_cast<size_t>(row)].cells[2];
    };
    Gather();
    for (const wchar_t* name : {L"TalTmUser", L"TalTm32", L"TalTmLink.lnk"}) EXPECT_EQ(accessOf(name), L"Disabled") << test::Utf8(name);
    EXPECT_EQ(accessOf(L"TalTmOn"), L"All users");
    EXPECT_NE(form_->Controls().Static(ids::InfoLabel(1)).Text().find(L"disabled"), std::wstring::npos);

    // Removed with its entry, saved in the same backup, and back with it.
    for (const wchar_t* name : {L"TalTmUser", L"TalTm32", L"TalTmLink.lnk"}) Tick(name);
    EXPECT_EQ(Remove(), L"记录被成功删除，创建撤消文件。");
    for (const Saved& approval : approvals) EXPECT_FALSE(Exists(approval)) << test::Utf8(approval.value.name);
    RestoreAll();
    ASSERT_TRUE(::CopyFileW((undo_.Folder() + L"TalTmLink.lnk").c_str(), link.c_str(), TRUE));
    for (const Saved& approval : approvals) ExpectBack(approval);
    Gather();
    for (const wchar_t* name : {L"TalTmUser", L"TalTm32", L"TalTmLink.lnk"}) EXPECT_EQ(accessOf(name), L"Disabled") << test::Utf8(name);
    ::DeleteFileW(link.c_str());
}

TEST_F(AutostartActionsTest, TheUsersWow6432NodeRunValueComesBackWhereItWas) {
    test::UserWow6432NodeGuard wow;
    {
        ScratchValue v6(HKEY_CURRENT_USER, kWowRun, KEY_WOW64_64KEY, L"TalRm6", L"C:\\six.exe \"arg\"");
        const Saved saved = Keep(HKEY_CURRENT_USER, kWowRun, RegView::Bits64, L"TalRm6");
        Gather();
        Tick(L"TalRm6");
        EXPECT_EQ(Remove(), L"记录被成功删除，创建撤消文件。");
        EXPECT_FALSE(Exists(saved));
        RestoreAll();
        ExpectBack(saved);
    }
}

TEST_F(AutostartActionsTest, TheSelectedRowIsRemovedWhenNoneIsTickedAndNoKeepsEverythingAndTheTick) {
    ScratchValue one(HKEY_CURRENT_USER, kRun, 0, L"TalRmSelected", L"C:\\s.exe");
    Gather();
    const int row = FindRow(Rows(), L"TalRmSelected");
    ASSERT_GE(row, 0);
    ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    Remove(false);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmSelected"));
    EXPECT_TRUE(Rows()[static_cast<size_t>(row)].checked);
    EXPECT_TRUE(undo_.Files().empty());

    EXPECT_EQ(Remove(true), L"记录被成功删除，创建撤消文件。");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmSelected"));
    EXPECT_EQ(undo_.Files().size(), 1u);
}

TEST_F(AutostartActionsTest, WithNothingTickedOrSelectedTheUserIsAskedToChoose) {
    ScratchValue one(HKEY_CURRENT_USER, kRun, 0, L"TalRmUnchosen", L"C:\\u.exe");
    Gather();
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    std::wstring info;
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(1, 2));
    EXPECT_EQ(info, L"请选择一个程序。");
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmUnchosen"));
}

TEST_F(AutostartActionsTest, ABackupThatCannotBeWrittenRemovesNothing) {
    ScratchValue one(HKEY_CURRENT_USER, kRun, 0, L"TalRmKept", L"C:\\k.exe");
    const std::wstring link = state_.UserStartupFolder + L"TalRmKept.lnk";
    ASSERT_TRUE(MakeFile(link, "kept"));
    // A file stands where the Undo folder should be made.
    ::SHCreateDirectoryExW(nullptr, undo_.Folder().substr(0, undo_.Folder().size() - 5).c_str(), nullptr);
    ASSERT_TRUE(MakeFile(undo_.Folder().substr(0, undo_.Folder().size() - 1), "in the way"));
    Gather();
    Tick(L"TalRmKept");
    Tick(L"TalRmKept.lnk");
    const std::wstring info = Remove();
    EXPECT_EQ(info.rfind(L"无法写入撤消文件，没有删除任何项目。\n" + undo_.Folder() + L"\n", 0), 0u)
        << std::string(info.begin(), info.end());
    // The reason is the true one, not the last error of some other call.
    EXPECT_NE(info.find(L"不是文件夹"), std::wstring::npos) << test::Utf8(info);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmKept"));
    EXPECT_NE(::GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(Rows()[static_cast<size_t>(FindRow(Rows(), L"TalRmKept"))].checked);  // for another try
    ::DeleteFileW(link.c_str());
}

TEST_F(AutostartActionsTest, EntriesThatCannotBeRemovedOrAreGoneAreNamedAndNeverReportedAsRemoved) {
    test::UserWow6432NodeGuard wow;
    {
        ScratchValue gone(HKEY_CURRENT_USER, kRun, 0, L"TalRmGone", L"C:\\g.exe");
        ScratchValue fine(HKEY_CURRENT_USER, kRun, 0, L"TalRmFine", L"C:\\f.exe");
        // A key the user may read but not change.
        ScratchValue locked(HKEY_CURRENT_USER, kWowRun, KEY_WOW64_64KEY, L"TalRmLocked", L"C:\\l.exe");
        ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, kWowRun, KEY_WOW64_64KEY, L"D:P(A;;KR;;;WD)"));
        Gather();
        Tick(L"TalRmGone");
        Tick(L"TalRmFine");
        Tick(L"TalRmLocked");
        DeleteRegValue(HKEY_CURRENT_USER, kRun, L"TalRmGone");  // behind the page's back
        const std::wstring info = Remove();
        test::SetKeySecurity(HKEY_CURRENT_USER, kWowRun, KEY_WOW64_64KEY, L"D:(A;;KA;;;WD)");
        const bool enforced = RegValueExists(HKEY_CURRENT_USER, kWowRun, L"TalRmLocked");

        const std::string said = test::Utf8(info);
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalRmFine"));
        EXPECT_EQ(info.find(L"记录被成功删除"), std::wstring::npos) << said;
        EXPECT_NE(info.find(L"\"TalRmGone\": "), std::wstring::npos) << said;
        if (enforced) {
            EXPECT_NE(info.find(L"已删除 1 项"), std::wstring::npos) << said;
            EXPECT_NE(info.find(L"未能删除 2 项"), std::wstring::npos) << said;
            EXPECT_NE(info.find(L"\"TalRmLocked\": "), std::wstring::npos) << said;
        } else {
            std::printf("registry access checks are not enforced by this platform\n");
        }
    }
}

// The add dialog, driven as a user would: a path in the box, a scope, a button.
class AddProgramTest : public AutostartActionsTest {
protected:
    void SetUp() override {
        AutostartActionsTest::SetUp();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tal add dir\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        program_ = folder_ + L"Tal Add.exe";
        MakeFile(program_, "MZ");
    }
    void TearDown() override {
        ::DeleteFileW(program_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        AutostartActionsTest::TearDown();
    }
    // Types `path`, picks the scope and presses "添加程序" in the dialog once it is up.
    void Fill(TForm2a& dialog, const std::wstring& path, bool machine) {
        test::WhenShown(dialog.hwnd(), [&dialog, path, machine] {
            ::SetWindowTextW(dialog.Control(add_dialog_ids::kEdit1), path.c_str());
            ::SendMessageW(dialog.Control(machine ? add_dialog_ids::kCheck2 : add_dialog_ids::kCheck1), BM_CLICK, 0, 0);
            ::SendMessageW(dialog.Control(add_dialog_ids::kButton1), BM_CLICK, 0, 0);
        });
    }
    std::wstring folder_;
    std::wstring program_;
};

TEST_F(AddProgramTest, TheDialogIsLaidOutAsAWhiteFormWithTheUserChosenAtStart) {
    TForm2a dialog(state_.Boxes(), *state_.InfoBox);
    RECT client;
    ::GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(client.right, 382);
    EXPECT_EQ(client.bottom, 150);
    wchar_t caption[32] = {};
    ::GetWindowTextW(dialog.hwnd(), caption, 32);
    EXPECT_STREQ(caption, L"添加到自动启动");
    EXPECT_EQ(::SendMessageW(dialog.Control(add_dialog_ids::kCheck1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(::GetWindowLongPtrW(dialog.Control(add_dialog_ids::kEdit1), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(dialog.Added, 0);
}

TEST_F(AddProgramTest, AProgramIsAddedUnquotedUnderItsFileNameOnceForEachScope) {
    ScratchValue user(HKEY_CURRENT_USER, kRun, 0, L"Tal Add.exe", L"");
    ScratchValue machine(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, L"Tal Add.exe", L"");
    DeleteRegValue(HKEY_CURRENT_USER, kRun, L"Tal Add.exe");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kRun, L"Tal Add.exe");
    for (bool toMachine : {false, true, true}) {
        TForm2a dialog(state_.Boxes(), *state_.InfoBox);
        Fill(dialog, program_, toMachine);
        dialog.ShowModal();
        EXPECT_EQ(dialog.Added, 1);
    }
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRun, L"Tal Add.exe"), program_);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kRun, L"Tal Add.exe"), program_);
    StringList names;
    ReadValueNames(HKEY_LOCAL_MACHINE, kRun, names);
    EXPECT_EQ(std::count(names.begin(), names.end(), L"Tal Add.exe"), 1);
}

TEST_F(AddProgramTest, AReplacedCommandIsSavedFirstAndTheSameCommandIsLeftAlone) {
    ScratchValue value(HKEY_CURRENT_USER, kRun, 0, L"Tal Add.exe", program_);
    auto add = [&](std::wstring* info) {
        TForm2a dialog(state_.Boxes(), *state_.InfoBox);
        dialog.UndoFolder = undo_.Folder();
        Fill(dialog, program_, false);
        if (info) ReadNextInfo(info);
        dialog.ShowModal();
        EXPECT_EQ(dialog.Added, 1);
    };
    add(nullptr);  // the very command it holds: nothing to save, nothing written
    EXPECT_TRUE(undo_.Files().empty());

    const std::wstring vendor = L"%ProgramFiles%\\Vendor\\tal add.exe --bg";
    ScratchValue old(HKEY_CURRENT_USER, kRun, 0, L"Tal Add.exe", vendor, REG_EXPAND_SZ);
    std::wstring info;
    add(&info);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRun, L"Tal Add.exe"), program_);
    ASSERT_EQ(undo_.Files(), std::vector<std::wstring>{L"Tal Add_startup.reg"});
    EXPECT_NE(info.find(L"Tal Add_startup.reg"), std::wstring::npos) << test::Utf8(info);
    test::RestoreWithRegistryEditor(undo_.Folder() + L"Tal Add_startup.reg");
    RegValueData back;
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"Tal Add.exe", RegView::Bits64, back));
    EXPECT_EQ(back.type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRun, L"Tal Add.exe"), vendor);

    // A backup that cannot be written replaces nothing.
    ::DeleteFileW((undo_.Folder() + L"Tal Add_startup.reg").c_str());
    ::RemoveDirectoryW(undo_.Folder().c_str());
    ASSERT_TRUE(MakeFile(undo_.Folder().substr(0, undo_.Folder().size() - 1), "in the way"));
    TForm2a dialog(state_.Boxes(), *state_.InfoBox);
    dialog.UndoFolder = undo_.Folder();
    Fill(dialog, program_, false);
    ReadNextInfo(&info);
    test::WhenShown(dialog.hwnd(), [&] { ::SendMessageW(dialog.Control(add_dialog_ids::kButton2), BM_CLICK, 0, 0); });
    dialog.ShowModal();
    EXPECT_EQ(dialog.Added, 0);
    EXPECT_EQ(info.rfind(L"无法写入撤消文件，没有替换", 0), 0u) << test::Utf8(info);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRun, L"Tal Add.exe"), vendor);
}

TEST_F(AddProgramTest, AnEmptyOrMissingPathIsToldAndTheDialogStaysOpenUntilCancelled) {
    TForm2a dialog(state_.Boxes(), *state_.InfoBox);
    std::wstring first, second;
    bool openAfter = false;
    Fill(dialog, L"", false);
    ReadNextInfo(&first);
    Fill(dialog, L"C:\\no\\such\\program.exe", false);
    ReadNextInfo(&second);
    test::WhenShown(dialog.hwnd(), [&] {
        openAfter = ::IsWindowVisible(dialog.hwnd()) != FALSE;
        ::SendMessageW(dialog.Control(add_dialog_ids::kButton2), BM_CLICK, 0, 0);
    });
    dialog.ShowModal();
    EXPECT_EQ(first, L"Please specify a program!");
    EXPECT_EQ(second, L"File not found!");
    EXPECT_TRUE(openAfter);
    EXPECT_EQ(dialog.Added, 0);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"program.exe"));
}

TEST_F(AddProgramTest, EscapeClosesWithoutWriting) {
    TForm2a dialog(state_.Boxes(), *state_.InfoBox);
    test::WhenShown(dialog.hwnd(), [&] {
        ::SetWindowTextW(dialog.Control(add_dialog_ids::kEdit1), program_.c_str());
        ::SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    });
    dialog.ShowModal();
    EXPECT_EQ(dialog.Added, 0);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"Tal Add.exe"));
}

TEST_F(AddProgramTest, TheButtonOpensTheDialogAndTheRebuiltPageShowsTheProgram) {
    ScratchValue cleanup(HKEY_CURRENT_USER, kRun, 0, L"Tal Add.exe", L"");
    DeleteRegValue(HKEY_CURRENT_USER, kRun, L"Tal Add.exe");
    // The dialog is made by the button; find it by its caption once it is up.
    test::WhileModal([&] {
        HWND dialog = ::FindWindowW(nullptr, L"添加到自动启动");
        ASSERT_NE(dialog, nullptr);
        ::SetWindowTextW(::GetDlgItem(dialog, add_dialog_ids::kEdit1), program_.c_str());
        ::SendMessageW(::GetDlgItem(dialog, add_dialog_ids::kButton1), BM_CLICK, 0, 0);
    });
    Click(ids::ButtonLabel(1, 1));
    const auto rows = Rows();
    const int row = FindRow(rows, L"Tal Add.exe");
    ASSERT_GE(row, 0);
    EXPECT_EQ(rows[static_cast<size_t>(row)].cells[1], program_);
}

}  // namespace
}  // namespace taliveer
