// The association page's editor and removal against the real HKEY_CLASSES_ROOT.
#include "pages/associations/association_editor.h"
#include "pages/associations/association_page.h"
#include "pages/associations/pure/association_rules.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;
using namespace editor_ids;

// A key's default text as Windows shows it in HKEY_CLASSES_ROOT (the user's classes over the
// machine's), and whether either holds the key.
std::wstring Default(const std::wstring& key) { return ReadClassString(key, L""); }
bool ClassKey(const std::wstring& key) { return ClassKeyIn(ClassHive::User, key) || ClassKeyIn(ClassHive::Machine, key); }

class AssociationActionsTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        state_.UndoFolder = undo_.Folder();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"Tal Tools\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        viewer_ = folder_ + L"view.exe";
        test::MakeFile(viewer_, "MZ");
    }
    void TearDown() override {
        ::DeleteFileW(viewer_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        MainWindowTest::TearDown();
    }
    // A key of HKEY_CLASSES_ROOT that the test owns.
    // A key of the machine's classes that the test owns; the same name in the user's classes
    // goes with it.
    ScratchKey& Classes(const std::wstring& name) {
        keys_.push_back(std::make_unique<ScratchKey>(HKEY_CURRENT_USER, ClassPath(ClassHive::User, name)));
        keys_.push_back(std::make_unique<ScratchKey>(HKEY_CLASSES_ROOT, name));
        return *keys_.back();
    }
    HWND List() { return Hwnd(ids::InfoList(4)); }
    void Select(const std::wstring& extension) {
        form_->Associations().Panel4Enter();
        const int row = FindRow(test::ReadRows(List(), 1), extension);
        ASSERT_GE(row, 0) << test::Utf8(extension);
        ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Fills the editor's boxes once it is up and presses "保存".
    static void FillAndSave(TForm2b& editor, const std::wstring& extension, const std::wstring& description,
                            const std::wstring& program) {
        test::WhenShown(editor.hwnd(), [&editor, extension, description, program] {
            ::SetWindowTextW(editor.Control(kEdit1), extension.c_str());
            ::SetWindowTextW(editor.Control(kEdit2), description.c_str());
            ::SetWindowTextW(editor.Control(kEdit3), program.c_str());
            ::SendMessageW(editor.Control(kButton1), BM_CLICK, 0, 0);
        });
    }
    TForm2b& NewEditor(std::uint8_t mode) {
        editor_ = std::make_unique<TForm2b>(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox);
        editor_->EditMode = mode;
        editor_->UndoFolder = undo_.Folder();
        return *editor_;
    }
    test::UndoFolderGuard undo_{test::TempUndoFolder()};
    std::wstring folder_;
    std::wstring viewer_;
    std::vector<std::unique_ptr<ScratchKey>> keys_;
    std::unique_ptr<TForm2b> editor_;
};

TEST_F(AssociationActionsTest, AddingWritesTheFourValuesInTheirForm) {
    Classes(L".taltxt");
    Classes(L"taltxt.file");
    TForm2b& editor = NewEditor(1);
    FillAndSave(editor, L".taltxt", L"Tal 文本", viewer_);
    std::wstring question, said;
    AnswerNextQuestion(true, &question);
    ReadNextInfo(&said);
    editor.Show();
    EXPECT_EQ(question, L"你确定你要添加新的关联吗?");
    EXPECT_EQ(editor.Saved, 1);
    // Where it went: the user's classes, or the machine's for a program that runs elevated.
    const std::wstring where = RunsElevated() ? L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes" : L"HKEY_CURRENT_USER\\Software\\Classes";
    EXPECT_EQ(said, L"关联 .taltxt 已保存到 " + where + L"。");
    EXPECT_TRUE(ClassKeyIn(RunsElevated() ? ClassHive::Machine : ClassHive::User, L"taltxt.file"));
    EXPECT_EQ(Default(L".taltxt"), L"taltxt.file");
    EXPECT_EQ(Default(L"taltxt.file"), L"Tal 文本");
    // The program unquoted (though it holds a space), then "%1" in quotes.
    EXPECT_EQ(Default(L"taltxt.file\\shell\\open\\command"), viewer_ + L" \"%1\"");
    EXPECT_EQ(Default(L"taltxt.file\\DefaultIcon"), L"\"" + viewer_ + L"\", -1");
}

TEST_F(AssociationActionsTest, ReplacingAnExtensionAsksAndLeavesItsOldFileTypeAlone) {
    ScratchKey& ext = Classes(L".talold");
    ScratchKey& old = Classes(L"TalOld.Type");
    Classes(L"talold.file");
    ext.SetString(L"", L"", L"TalOld.Type");
    old.SetString(L"", L"", L"Old type");
    old.SetString(L"shell\\open\\command", L"", L"C:\\old.exe \"%1\"");
    TForm2b& editor = NewEditor(1);
    FillAndSave(editor, L".talold", L"New", viewer_);
    std::wstring question, said;
    AnswerNextQuestion(true, &question);
    ReadNextInfo(&said);
    editor.Show();
    EXPECT_NE(said.find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes"), std::wstring::npos) << test::Utf8(said);
    EXPECT_EQ(question, L"该关联已经存在!你确定要更换新的吗?");
    EXPECT_EQ(Default(L".talold"), L"talold.file");
    EXPECT_EQ(Default(L"TalOld.Type"), L"Old type");
    EXPECT_EQ(Default(L"TalOld.Type\\shell\\open\\command"), L"C:\\old.exe \"%1\"");
}

TEST_F(AssociationActionsTest, EditingFromTheListKeepsTheCommandAndWritesUnderTheCurrentFileType) {
    ScratchKey& ext = Classes(L".taledit");
    ScratchKey& type = Classes(L"TalEdit.Prog");
    ext.SetString(L"", L"", L"TalEdit.Prog");
    type.SetString(L"", L"", L"Tal Edit");
    type.SetString(L"shell\\open\\command", L"", L"\"C:\\x.exe\" \"%1\"");
    Select(L".taledit");
    // A double click opens the editor with the row's texts; save them as they are.
    std::wstring caption, extension, description, program, question;
    test::WhileModal([&] {
        HWND editor = ::FindWindowW(nullptr, L"编辑关联");
        ASSERT_NE(editor, nullptr);
        caption = L"编辑关联";
        wchar_t text[256];
        ::GetWindowTextW(::GetDlgItem(editor, kEdit1), text, 256);
        extension = text;
        ::GetWindowTextW(::GetDlgItem(editor, kEdit2), text, 256);
        description = text;
        ::GetWindowTextW(::GetDlgItem(editor, kEdit3), text, 256);
        program = text;
        AnswerNextQuestion(true, &question);
        ::SendMessageW(::GetDlgItem(editor, kButton1), BM_CLICK, 0, 0);
    });
    NMHDR click{List(), static_cast<UINT_PTR>(ids::InfoList(4)), static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageW(form_->hwnd(), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(extension, L".taledit");
    EXPECT_EQ(description, L"Tal Edit");
    EXPECT_EQ(program, L"\"C:\\x.exe\" \"%1\"");
    EXPECT_EQ(question, L"你确定你要保存这个关联吗?");
    EXPECT_EQ(Default(L".taledit"), L"TalEdit.Prog");
    EXPECT_EQ(Default(L"TalEdit.Prog\\shell\\open\\command"), L"\"C:\\x.exe\" \"%1\"");
    // Nothing the user left as it was is written again: no icon made from the command, no
    // backup of values that did not change.
    EXPECT_FALSE(ClassKey(L"TalEdit.Prog\\DefaultIcon"));
    EXPECT_TRUE(undo_.Files().empty());
    EXPECT_FALSE(ClassKey(L"taledit.file"));
}

TEST_F(AssociationActionsTest, AChangedExtensionInEditModeIsWrittenAndTheOldOneStays) {
    ScratchKey& ext = Classes(L".talfrom");
    Classes(L".talto");
    Classes(L"talto.file");
    ext.SetString(L"", L"", L"TalFrom.Prog");
    Classes(L"TalFrom.Prog").SetString(L"", L"", L"From");
    TForm2b& editor = NewEditor(2);
    editor.Extension = L".talfrom";
    FillAndSave(editor, L".talto", L"To", L"C:\\to.exe /open");
    AnswerNextQuestion(true);
    ReadNextInfo(nullptr);
    editor.Show();
    EXPECT_EQ(Default(L".talfrom"), L"TalFrom.Prog");
    EXPECT_EQ(Default(L".talto"), L"talto.file");
    EXPECT_EQ(Default(L"talto.file\\shell\\open\\command"), L"C:\\to.exe /open");  // its own arguments
}

TEST_F(AssociationActionsTest, TheDefaultDescriptionFollowsTheExtensionAndCancelWritesNothing) {
    Classes(L".taldesc");
    TForm2b& editor = NewEditor(1);
    std::wstring description;
    test::WhenShown(editor.hwnd(), [&] {
        ::SetFocus(editor.Control(kEdit1));
        ::SetWindowTextW(editor.Control(kEdit1), L"taldesc");
        ::SetWindowTextW(editor.Control(kEdit2), L"typed");
        ::SetFocus(editor.Control(kEdit2));  // leaving the extension box
        wchar_t text[64];
        ::GetWindowTextW(editor.Control(kEdit2), text, 64);
        description = text;
        ::SendMessageW(editor.hwnd(), WM_COMMAND, IDCANCEL, 0);  // Escape
    });
    editor.Show();
    EXPECT_EQ(description, L"taldesc.file");
    EXPECT_EQ(editor.Saved, 0);
    EXPECT_FALSE(ClassKey(L".taldesc"));
}

TEST_F(AssociationActionsTest, ARefusedWriteIsNamedAndTheEditorStaysOpenUnsaved) {
    Classes(L".tallocked");
    ScratchKey& locked = Classes(L"tallocked.file");
    locked.SetString(L"", L"", L"locked");
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CLASSES_ROOT, L"tallocked.file", 0, L"D:P(A;;KR;;;WD)"));
    TForm2b& editor = NewEditor(1);
    FillAndSave(editor, L".tallocked", L"Locked", viewer_);
    AnswerNextQuestion(true);
    std::wstring info;
    bool openAfter = false;
    ReadNextInfo(&info);
    test::WhenShown(editor.hwnd(), [&] {
        openAfter = true;
        ::SendMessageW(editor.hwnd(), WM_COMMAND, IDCANCEL, 0);
    });
    editor.Show();
    test::SetKeySecurity(HKEY_CLASSES_ROOT, L"tallocked.file", 0, L"D:(A;;KA;;;WD)");
    if (Default(L"tallocked.file") == L"Locked") GTEST_SKIP() << "this platform does not check key rights";
    EXPECT_EQ(info.rfind(L"无法写入 HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\tallocked.file 的默认值\n", 0), 0u)
        << test::Utf8(info);
    EXPECT_TRUE(openAfter);
    EXPECT_EQ(editor.Saved, 0);
    // What was written before the refusal went back: the association is as it was, and the
    // message says so and names the backup of what was to be replaced.
    RegValueData extensionDefault;
    EXPECT_FALSE(ReadValueData(HKEY_CLASSES_ROOT, L".tallocked", L"", RegView::Bits64, extensionDefault));
    EXPECT_NE(info.find(L"关联保持原样"), std::wstring::npos) << test::Utf8(info);
    EXPECT_NE(info.find(L"tallocked_association.reg"), std::wstring::npos) << test::Utf8(info);
}

TEST_F(AssociationActionsTest, AChangedProgramKeepsAnExpandedCommandSavesWhatItReplacesAndNamesTheSharers) {
    ScratchKey& ext = Classes(L".talexp");
    ScratchKey& twin = Classes(L".talexp2");
    ScratchKey& type = Classes(L"TalExp.Prog");
    ext.SetString(L"", L"", L"TalExp.Prog");
    twin.SetString(L"", L"", L"talexp.prog");  // the same file type, in other letters
    type.SetString(L"", L"", L"Tal Exp");
    const std::wstring oldCommand = L"%SystemRoot%\\system32\\notepad.exe %1";
    type.SetString(L"shell\\open\\command", L"", oldCommand, REG_EXPAND_SZ);
    RegValueData before;
    ASSERT_TRUE(ReadValueData(HKEY_CLASSES_ROOT, L"TalExp.Prog\\shell\\open\\command", L"", RegView::Bits64, before));

    TForm2b& editor = NewEditor(2);
    editor.Extension = L".talexp";
    editor.Description = L"Tal Exp";
    editor.ProgramPath = oldCommand;
    const std::wstring newCommand = L"%SystemRoot%\\system32\\write.exe %1";
    FillAndSave(editor, L".talexp", L"Tal Exp 2", newCommand);
    AnswerNextQuestion(true);
    std::wstring info;
    ReadNextInfo(&info);
    editor.Show();
    EXPECT_EQ(editor.Saved, 1);
    RegValueData now;
    ASSERT_TRUE(ReadValueData(HKEY_CLASSES_ROOT, L"TalExp.Prog\\shell\\open\\command", L"", RegView::Bits64, now));
    EXPECT_EQ(now.type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(Default(L"TalExp.Prog\\shell\\open\\command"), newCommand);
    EXPECT_NE(info.find(L".talexp2"), std::wstring::npos) << test::Utf8(info);
    EXPECT_NE(info.find(L"talexp_association.reg"), std::wstring::npos) << test::Utf8(info);

    // The backup puts back exactly what was replaced.
    ASSERT_EQ(undo_.Files(), std::vector<std::wstring>{L"talexp_association.reg"});
    test::RestoreWithRegistryEditor(undo_.Folder() + L"talexp_association.reg");
    RegValueData back;
    ASSERT_TRUE(ReadValueData(HKEY_CLASSES_ROOT, L"TalExp.Prog\\shell\\open\\command", L"", RegView::Bits64, back));
    EXPECT_EQ(back.type, before.type);
    EXPECT_EQ(back.data, before.data);
    EXPECT_EQ(Default(L"TalExp.Prog"), L"Tal Exp");
}

TEST_F(AssociationActionsTest, RemovalSavesTheKeyWholeLeavesItsFileTypeAndTheEditorPutsItBack) {
    ScratchKey& ext = Classes(L".talrm");
    ScratchKey& type = Classes(L"TalRm.Prog");
    ext.SetString(L"", L"", L"TalRm.Prog");
    ext.SetString(L"", L"Content Type", L"text/tal");
    ext.SetString(L"OpenWithProgids", L"TalRm.Prog", L"");
    ext.SetString(L"ShellNew", L"NullFile", L"");
    const DWORD flags = 7;
    ext.SetBytes(L"ShellNew\\Deeper", L"Flags", REG_DWORD, &flags, sizeof flags);
    type.SetString(L"", L"", L"Tal Rm");
    std::vector<RegValueData> before, beforeNew;
    ASSERT_TRUE(ReadAllValues(HKEY_CLASSES_ROOT, L".talrm", RegView::Bits64, before));
    Select(L".talrm");
    std::wstring question, info;
    AnswerNextQuestion(true, &question);
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(4, 3));
    EXPECT_EQ(question, L"您确定您要删除关联 \".talrm\" ?");
    EXPECT_EQ(info, L"已成功删除记录,\r创建撤消文件talrm_association.reg");
    EXPECT_FALSE(ClassKey(L".talrm"));
    EXPECT_EQ(Default(L"TalRm.Prog"), L"Tal Rm");
    EXPECT_EQ(FindRow(test::ReadRows(List(), 1), L".talrm"), -1);

    test::RestoreWithRegistryEditor(undo_.Folder() + L"talrm_association.reg");
    std::vector<RegValueData> after;
    ASSERT_TRUE(ReadAllValues(HKEY_CLASSES_ROOT, L".talrm", RegView::Bits64, after));
    ASSERT_EQ(after.size(), before.size());
    for (const auto& v : before) {
        const auto it = std::find_if(after.begin(), after.end(), [&](const RegValueData& a) { return a.name == v.name; });
        ASSERT_NE(it, after.end());
        EXPECT_EQ(it->type, v.type);
        EXPECT_EQ(it->data, v.data);
    }
    EXPECT_TRUE(RegValueExists(HKEY_CLASSES_ROOT, L".talrm\\OpenWithProgids", L"TalRm.Prog"));
    RegValueData deeper;
    ASSERT_TRUE(ReadValueData(HKEY_CLASSES_ROOT, L".talrm\\ShellNew\\Deeper", L"Flags", RegView::Bits64, deeper));
    EXPECT_EQ(deeper.type, static_cast<std::uint32_t>(REG_DWORD));

    // Removed again, the second backup stands beside the first.
    Select(L".talrm");
    AnswerNextQuestion(true);
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(4, 3));
    EXPECT_EQ(info, L"已成功删除记录,\r创建撤消文件talrm (2)_association.reg");
    EXPECT_EQ(undo_.Files().size(), 2u);
}

TEST_F(AssociationActionsTest, AnExtensionWithSlashesKeepsItsBackupInsideTheUndoFolder) {
    Classes(L".tal/..\\x").SetString(L"", L"", L"x");
    ScratchKey& odd = Classes(L".tal/..");
    odd.SetString(L"", L"", L"odd");
    Select(L".tal/..");
    std::wstring info;
    AnswerNextQuestion(true);
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(4, 3));
    EXPECT_EQ(info, L"已成功删除记录,\r创建撤消文件tal__association.reg") << test::Utf8(info);
    ASSERT_EQ(undo_.Files().size(), 1u);
    EXPECT_FALSE(ClassKey(L".tal/.."));
}

TEST_F(AssociationActionsTest, NoAndNothingSelectedChangeNothing) {
    Classes(L".talkeep").SetString(L"", L"", L"x");
    Select(L".talkeep");
    AnswerNextQuestion(false);
    Click(ids::ButtonLabel(4, 3));
    EXPECT_TRUE(ClassKey(L".talkeep"));
    EXPECT_TRUE(undo_.Files().empty());
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    std::wstring first, second;
    ReadNextInfo(&first);
    Click(ids::ButtonLabel(4, 3));
    ReadNextInfo(&second);
    Click(ids::ButtonLabel(4, 2));
    EXPECT_EQ(first, L"请选择一个关联!");
    EXPECT_EQ(second, L"请选择一个关联!");
}

// Windows merges the user's classes over the machine's; each copy is read, removed and
// restored where it lives.
TEST_F(AssociationActionsTest, TheUsersClassesAreListedOverTheMachinesAndEachCopyIsRemovedWhereItLives) {
    ScratchKey userOnly(HKEY_CURRENT_USER, ClassPath(ClassHive::User, L".talmine"));
    ScratchKey userType(HKEY_CURRENT_USER, ClassPath(ClassHive::User, L"TalMine.Prog"));
    userOnly.SetString(L"", L"", L"TalMine.Prog");
    userType.SetString(L"", L"", L"Mine only");
    userType.SetString(L"shell\\open\\command", L"", L"C:\\mine.exe \"%1\"");
    ScratchKey& machineBoth = Classes(L".talboth");
    ScratchKey userBoth(HKEY_CURRENT_USER, ClassPath(ClassHive::User, L".talboth"));
    machineBoth.SetString(L"", L"", L"TalMachine.Prog");
    userBoth.SetString(L"", L"", L"TalUser.Prog");
    Classes(L"TalUser.Prog").SetString(L"", L"", L"The user's type");

    form_->Associations().Panel4Enter();
    auto rows = test::ReadRows(List(), 3);
    const int mine = FindRow(rows, L".talmine");
    const int both = FindRow(rows, L".talboth");
    ASSERT_GE(mine, 0) << "an extension of the user's classes only is missing";
    ASSERT_GE(both, 0);
    EXPECT_EQ(FindRow(rows, L".talboth", both + 1), -1) << "listed twice";
    EXPECT_EQ(rows[static_cast<size_t>(mine)].cells[1], L"Mine only");
    EXPECT_EQ(rows[static_cast<size_t>(both)].cells[1], L"The user's type");

    // Removed from the user's classes, and put back there by the registry editor.
    Select(L".talmine");
    std::wstring info;
    AnswerNextQuestion(true);
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(4, 3));
    EXPECT_EQ(info, L"已成功删除记录,\r创建撤消文件talmine_association.reg");
    EXPECT_FALSE(userOnly.Exists());
    test::RestoreWithRegistryEditor(undo_.Folder() + L"talmine_association.reg");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, ClassPath(ClassHive::User, L".talmine"), L""), L"TalMine.Prog");
    EXPECT_FALSE(ClassKeyIn(ClassHive::Machine, L".talmine"));

    // Both copies go into one backup; one that may not be removed is named, never called removed.
    ASSERT_TRUE(test::SetKeySecurity(HKEY_LOCAL_MACHINE, ClassPath(ClassHive::Machine, L".talboth"), 0, L"D:P(A;;KR;;;WD)"));
    Select(L".talboth");
    AnswerNextQuestion(true);
    ReadNextInfo(&info);
    Click(ids::ButtonLabel(4, 3));
    test::SetKeySecurity(HKEY_LOCAL_MACHINE, ClassPath(ClassHive::Machine, L".talboth"), 0, L"D:(A;;KA;;;WD)");
    EXPECT_FALSE(userBoth.Exists());
    EXPECT_TRUE(ClassKeyIn(ClassHive::Machine, L".talboth"));
    EXPECT_NE(info.find(L"计算机的关联: 未能删除关联 \".talboth\""), std::wstring::npos) << test::Utf8(info);
    EXPECT_NE(info.find(L"再次出现"), std::wstring::npos) << test::Utf8(info);
    test::RestoreWithRegistryEditor(undo_.Folder() + L"talboth_association.reg");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, ClassPath(ClassHive::User, L".talboth"), L""), L"TalUser.Prog");
}

TEST_F(AssociationActionsTest, AnExtensionThatCannotBeReadIsNamedNeverCalledGoneAndNeitherRemovedNorWrittenOver) {
    const std::wstring path = ClassPath(ClassHive::User, L".tallocked");
    keys_.push_back(std::make_unique<ScratchKey>(HKEY_CURRENT_USER, path));
    keys_.back()->SetString(L"", L"", L"TalLocked.Prog");
    const auto unlock = [&] { test::SetKeySecurity(HKEY_CURRENT_USER, path, 0, L"D:(A;;KA;;;WD)"); };
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, path, 0, L"D:P(A;;WD;;;WD)"));  // may change rights only
    if (ClassKeyStatus(ClassHive::User, L".tallocked") != ERROR_ACCESS_DENIED) {
        unlock();
        GTEST_SKIP() << "this platform does not check key rights";
    }
    const std::wstring named = L"\"HKEY_CURRENT_USER\\Software\\Classes\\.tallocked\"";
    const std::wstring reason = SystemMessage(ERROR_ACCESS_DENIED);

    // Listed (its parent can be read), and its removal says that it cannot be read.
    Select(L".tallocked");
    std::wstring removed;
    AnswerNextQuestion(true);
    ReadNextInfo(&removed);
    Click(ids::ButtonLabel(4, 3));

    // The editor neither guesses where it lives nor writes over what it cannot save first.
    TForm2b& editor = NewEditor(1);
    test::WhenShown(editor.hwnd(), [&editor, this] {
        ::SetWindowTextW(editor.Control(kEdit1), L".tallocked");
        ::SetWindowTextW(editor.Control(kEdit2), L"New");
        ::SetWindowTextW(editor.Control(kEdit3), viewer_.c_str());
        ::SendMessageW(editor.Control(kButton1), BM_CLICK, 0, 0);
        ::SendMessageW(editor.hwnd(), WM_COMMAND, IDCANCEL, 0);
    });
    std::wstring edited;
    ReadNextInfo(&edited);
    editor.Show();
    unlock();

    EXPECT_EQ(removed.find(L"已不存在"), std::wstring::npos) << test::Utf8(removed);
    EXPECT_NE(removed.find(L"无法读取关联 " + named), std::wstring::npos) << test::Utf8(removed);
    EXPECT_NE(removed.find(reason), std::wstring::npos) << test::Utf8(removed);
    EXPECT_EQ(edited, UnreadableAssociationText(named.substr(1, named.size() - 2), reason));
    EXPECT_EQ(editor.Saved, 0);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, L""), L"TalLocked.Prog");
    EXPECT_FALSE(ClassKeyIn(ClassHive::Machine, L".tallocked"));
    EXPECT_TRUE(undo_.Files().empty()) << "no backup is claimed or written";
}

TEST_F(AssociationActionsTest, TheProgramTheUserChoseIsShownMarkedAndTheEditorWarnsBeforeSaving) {
    ScratchKey& ext = Classes(L".talchosen");
    ext.SetString(L"", L"", L"TalOwn.Prog");
    Classes(L"TalOwn.Prog").SetString(L"shell\\open\\command", L"", L"C:\\own.exe \"%1\"");
    Classes(L"TalChosen.App").SetString(L"shell\\open\\command", L"", L"C:\\chosen.exe \"%1\"");
    ScratchKey choice(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.talchosen");
    choice.SetString(L"UserChoice", L"ProgId", L"TalChosen.App");

    Select(L".talchosen");
    const auto rows = test::ReadRows(List(), 3);
    const int row = FindRow(rows, L".talchosen");
    ASSERT_GE(row, 0);
    EXPECT_EQ(rows[static_cast<size_t>(row)].cells[2], L"[TalChosen.App] C:\\chosen.exe \"%1\"");

    // The editor opens on the extension's own program and says that the choice stays.
    std::wstring program, question;
    test::WhileModal([&] {
        HWND editor = ::FindWindowW(nullptr, L"编辑关联");
        ASSERT_NE(editor, nullptr);
        wchar_t text[256];
        ::GetWindowTextW(::GetDlgItem(editor, kEdit3), text, 256);
        program = text;
        AnswerNextQuestion(false, &question);
        ::SendMessageW(::GetDlgItem(editor, kButton1), BM_CLICK, 0, 0);
        ::SendMessageW(editor, WM_COMMAND, IDCANCEL, 0);
    });
    Click(ids::ButtonLabel(4, 2));
    EXPECT_EQ(program, L"C:\\own.exe \"%1\"");
    EXPECT_EQ(question.rfind(UserChoiceWarningText(L".talchosen", L"TalChosen.App"), 0), 0u) << test::Utf8(question);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, choice.Path() + L"\\UserChoice", L"ProgId"), L"TalChosen.App");
}

}  // namespace
}  // namespace taliveer
