// The uninstall page's buttons against the real registry: running an uninstaller (a probe
// program) and removing records after a backup that the registry editor puts back whole.
#include "pages/processes/process_ending.h"
#include "pages/uninstall/uninstall_page.h"
#include "services/reg_unit.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

#include <map>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;

const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Every value of a key and of its subkeys, by path below the key.
using Tree = std::map<std::wstring, std::map<std::wstring, RegValueData>>;
Tree ReadTree(HKEY root, const std::wstring& path, RegView view = RegView::Bits64, const std::wstring& below = L"") {
    Tree tree;
    std::vector<RegValueData> values;
    if (!ReadAllValues(root, path, view, values)) return tree;
    for (auto& v : values) tree[below][v.name] = v;
    StringList subkeys;
    ReadKeyNamesIn(root, path, view, subkeys);
    for (const auto& sub : subkeys) {
        for (auto& [p, vs] : ReadTree(root, path + L"\\" + sub, view, below + L"\\" + sub)) tree[p] = vs;
    }
    return tree;
}

void ExpectSameTree(const Tree& before, const Tree& after) {
    ASSERT_EQ(before.size(), after.size());
    for (const auto& [path, values] : before) {
        const auto it = after.find(path);
        ASSERT_NE(it, after.end()) << test::Utf8(path);
        ASSERT_EQ(it->second.size(), values.size()) << test::Utf8(path);
        for (const auto& [name, value] : values) {
            const auto v = it->second.find(name);
            ASSERT_NE(v, it->second.end()) << test::Utf8(name);
            EXPECT_EQ(v->second.type, value.type) << test::Utf8(name);
            EXPECT_EQ(v->second.data, value.data) << test::Utf8(name);
        }
    }
}

std::vector<std::uint8_t> Bytes(const std::wstring& text, bool terminated = true) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return {p, p + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)};
}

class UninstallActionsTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        state_.UndoFolder = undo_.Folder();
    }
    ScratchKey& Program(HKEY root, const std::wstring& keyName, const std::wstring& name, const std::wstring& command,
                        REGSAM view = KEY_WOW64_64KEY) {
        records_.push_back(std::make_unique<ScratchKey>(root, kUninstall + keyName, view));
        records_.back()->SetString(L"", L"DisplayName", name);
        records_.back()->SetString(L"", L"UninstallString", command);
        return *records_.back();
    }
    HWND List() { return Hwnd(ids::InfoList(2)); }
    void Select(const std::wstring& caption) {
        form_->Uninstall().Panel2Enter();
        const int row = FindRow(test::ReadRows(List(), 1), caption);
        ASSERT_GE(row, 0) << test::Utf8(caption);
        ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Presses a button of the page, answers its question and returns what the InfoBox said.
    std::wstring Press(int button, bool yes, std::wstring* question = nullptr, bool expectInfo = true) {
        std::wstring info;
        AnswerNextQuestion(yes, question);
        if (yes && expectInfo) ReadNextInfo(&info);
        Click(ids::ButtonLabel(2, button));
        EXPECT_TRUE(test::AllShownActionsRan());
        test::ForgetShownActions();
        return info;
    }
    test::UndoFolderGuard undo_{test::TempUndoFolder()};
    std::vector<std::unique_ptr<ScratchKey>> records_;
};

TEST_F(UninstallActionsTest, TheUninstallerGetsItsParametersAtHighPriorityAndThePageIsRebuilt) {
    const std::wstring probe = test::WindowsPathFromEnv("TALIVEER_PROBE_CHILD");
    ASSERT_FALSE(probe.empty());
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring line = std::wstring(temp) + L"tal_uninstall_line.txt";
    const std::wstring priority = std::wstring(temp) + L"tal_uninstall_priority.txt";
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", line.c_str());
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_PRIORITY_OUT", priority.c_str());
    Program(HKEY_CURRENT_USER, L"TalProbeApp", L"Tal Probe App", L"\"" + probe + L"\" /S /D=x");
    Select(L"Tal Probe App");

    std::wstring question;
    // The probe exits and leaves its record: the page says so.
    EXPECT_EQ(Press(1, true, &question), RecordStillPresentText(L"Tal Probe App"));
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", nullptr);
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_PRIORITY_OUT", nullptr);
    EXPECT_EQ(question, L"你确定你要卸载\rTal Probe App ?");
    const std::string received = test::FileBytes(line);
    const std::string klass = test::FileBytes(priority);
    ::DeleteFileW(line.c_str());
    ::DeleteFileW(priority.c_str());
    EXPECT_EQ(test::FromUtf8(std::string()) + std::wstring(reinterpret_cast<const wchar_t*>(received.data()),
                                                           received.size() / sizeof(wchar_t)),
              L" /S /D=x");
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(klass.data()), klass.size() / sizeof(wchar_t)),
              std::to_wstring(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), -1);  // rebuilt
}

TEST_F(UninstallActionsTest, TheWaitLastsUntilWhatTheUninstallerStartedHasEndedAndTheRecordIsReadAgain) {
    // As many uninstallers do: a copy in the temporary folder removes the record after the
    // program itself has ended.
    const std::wstring probe = test::WindowsPathFromEnv("TALIVEER_PROBE_CHILD");
    ASSERT_FALSE(probe.empty());
    Program(HKEY_CURRENT_USER, L"TalLate", L"Tal Late", L"\"" + probe + L"\" /S");
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_LATE_CHILD", (kUninstall + L"TalLate").c_str());
    Select(L"Tal Late");
    AnswerNextQuestion(true);
    std::wstring info;
    ReadNextInfo(&info);  // there should be none: the record is gone
    Click(ids::ButtonLabel(2, 1));
    test::ForgetShownActions();
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_LATE_CHILD", nullptr);
    EXPECT_EQ(info, L"");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kUninstall + L"TalLate"));
    EXPECT_EQ(FindRow(test::ReadRows(List(), 1), L"Tal Late"), -1);
}

TEST_F(UninstallActionsTest, ACommandWithoutAProgramOpensTheSystemsListAndSaysSo) {
    Program(HKEY_CURRENT_USER, L"TalNoProgram", L"Tal No Program", L"C:\\no\\such\\uninstall.exe /S");
    Select(L"Tal No Program");
    const std::wstring info = Press(1, true);
    EXPECT_EQ(info, L"请按“确定”，程序将被卸载。");
    // The system's list of programs was opened; close it again.
    int ended = 0;
    test::PumpUntil([&] {
        for (const wchar_t* name : {L"control.exe", L"rundll32.exe"}) ended += EndProcessesNamed(name, ::GetCurrentProcessId(), L"").ended;
        return ended > 0;
    }, 10000);
    EXPECT_GT(ended, 0);
}

TEST_F(UninstallActionsTest, AnUninstallerThatCannotStartIsSaidWithWhyAndNothingElseIsOpened) {
    // A program for a processor this system does not have (an ARM64 image header): named by
    // the record, it cannot be started. (A file that is no image at all would be handed to
    // the DOS subsystem by 32-bit Wine.)
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring broken = std::wstring(temp) + L"tal broken unins.exe";
    std::string image(0x200, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x40;  // where the PE header starts
    image.replace(0x40, 4, std::string("PE\0\0", 4));
    image[0x44] = static_cast<char>(0x64);  // IMAGE_FILE_MACHINE_ARM64, 0xAA64
    image[0x45] = static_cast<char>(0xAA);
    ASSERT_TRUE(test::MakeFile(broken, image));
    Program(HKEY_CURRENT_USER, L"TalBroken", L"Tal Broken", L"\"" + broken + L"\"");
    Select(L"Tal Broken");
    const std::wstring info = Press(1, true);
    ::DeleteFileW(broken.c_str());
    EXPECT_EQ(info.rfind(L"无法启动 \"Tal Broken\" 的卸载程序", 0), 0u) << test::Utf8(info);
    EXPECT_NE(info.find(broken), std::wstring::npos);
    EXPECT_EQ(info.find(L"程序将被卸载"), std::wstring::npos);
    test::PumpFor(500);
    int listOpened = 0;
    for (const wchar_t* name : {L"control.exe", L"rundll32.exe"}) {
        listOpened += EndProcessesNamed(name, ::GetCurrentProcessId(), L"").ended;
    }
    EXPECT_EQ(listOpened, 0);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kUninstall + L"TalBroken"));
}

TEST_F(UninstallActionsTest, NoRunsNothingAndTheGuardIgnoresClicksWhileBusyOrWithoutASelection) {
    const std::wstring probe = test::WindowsPathFromEnv("TALIVEER_PROBE_CHILD");
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring line = std::wstring(temp) + L"tal_uninstall_no.txt";
    ::DeleteFileW(line.c_str());
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", line.c_str());
    Program(HKEY_CURRENT_USER, L"TalNo", L"Tal No", L"\"" + probe + L"\" /S");
    Select(L"Tal No");
    Press(1, false);
    Press(2, false);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kUninstall + L"TalNo"));
    EXPECT_TRUE(undo_.Files().empty());

    // No question at all while busy or with nothing selected.
    TForm3b& box = *state_.ConfirmBox;
    bool asked = false;
    test::WhenShown(box.hwnd(), [&] {
        asked = true;
        ::SendMessageW(box.hwnd(), WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(box.Control(IDNO)));
    });
    state_.BusyFlag = true;
    Click(ids::ButtonLabel(2, 1));
    Click(ids::ButtonLabel(2, 2));
    state_.BusyFlag = false;
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    Click(ids::ButtonLabel(2, 1));
    Click(ids::ButtonLabel(2, 2));
    test::PumpFor(200);
    EXPECT_FALSE(asked);
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", nullptr);
    EXPECT_TRUE(test::FileBytes(line).empty());
    ::DeleteFileW(line.c_str());
}

TEST_F(UninstallActionsTest, ARecordOfEachHiveAndViewIsSavedWholeRemovedAndPutBackExactlyByTheRegistryEditor) {
    struct Source {
        HKEY root;
        RegView view;
        const wchar_t* name;
        const wchar_t* keyName;
        const wchar_t* file;
    };
    // The machine's 32-bit programs keep their records in the 32-bit view (Wow6432Node).
    for (const Source& source :
         {Source{HKEY_CURRENT_USER, RegView::Bits64, L"Tal Record User 1.0", L"TalRecord=User",
                 L"Tal Record User 1_0_uninstall.reg"},
          Source{HKEY_LOCAL_MACHINE, RegView::Bits64, L"Tal Record Machine 2.0", L"{TalRecord-Machine}",
                 L"Tal Record Machine 2_0_uninstall.reg"},
          Source{HKEY_LOCAL_MACHINE, RegView::Bits32, L"Tal Record 32 3.0", L"{TalRecord-32}",
                 L"Tal Record 32 3_0_uninstall.reg"}}) {
        const HKEY root = source.root;
        const std::wstring name = source.name;
        const std::wstring keyName = source.keyName;
        const REGSAM sam = source.view == RegView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        ScratchKey& record = Program(root, keyName, name, L"\"C:\\Program Files\\Tal\\uninst.exe\" /S", sam);
        record.SetString(L"", L"DisplayIcon", L"%ProgramFiles%\\Tal\\app.exe,0", REG_EXPAND_SZ);
        record.SetDword(L"", L"EstimatedSize", 4096);
        const std::uint64_t qword = 0x0102030405060708ull;
        record.SetBytes(L"", L"Q", REG_QWORD, &qword, sizeof qword);
        const std::wstring multi(L"one\0二\0\0", 7);
        record.SetBytes(L"", L"Multi", REG_MULTI_SZ, multi.c_str(), static_cast<DWORD>(multi.size() * sizeof(wchar_t)));
        const std::uint8_t odd[] = {1, 2, 3};
        record.SetBytes(L"", L"Odd", REG_BINARY, odd, sizeof odd);
        record.SetBytes(L"", L"None", REG_NONE, odd, 2);
        const auto unterminated = Bytes(L"no end", false);
        record.SetBytes(L"", L"Unterminated", REG_SZ, unterminated.data(), static_cast<DWORD>(unterminated.size()));
        record.SetString(L"Sub\\Deeper", L"", L"默认 \"quoted\" \\ back");
        record.SetString(L"Empty", L"x", L"");
        const Tree before = ReadTree(root, kUninstall + keyName, source.view);
        if (source.view == RegView::Bits32) {
            ASSERT_TRUE(ReadTree(HKEY_LOCAL_MACHINE, kUninstall + keyName).empty()) << "not in the 64-bit view";
        }

        Select(name);
        std::wstring question;
        const std::wstring info = Press(2, true, &question);
        EXPECT_EQ(question, L"您确定您要删除卸载记录 \"" + name + L"\" ?");
        const std::wstring file = source.file;
        EXPECT_EQ(info, L"已成功删除记录,\r创建撤消文件" + file);
        EXPECT_TRUE(ReadTree(root, kUninstall + keyName, source.view).empty());
        EXPECT_EQ(FindRow(test::ReadRows(List(), 1), name), -1);
        if (source.view == RegView::Bits32) {
            // Saved under where it really lives, and put back there by the 64-bit editor.
            const std::wstring wow = L"\\Wow6432Node\\";
            const std::string wowBytes(reinterpret_cast<const char*>(wow.data()), wow.size() * sizeof(wchar_t));
            EXPECT_NE(test::FileBytes(undo_.Folder() + file).find(wowBytes), std::string::npos);
        }

        test::RestoreWithRegistryEditor(undo_.Folder() + file);
        const Tree after = ReadTree(root, kUninstall + keyName, source.view);
        // The editor adds a terminator to a string stored without one; everything else is
        // as it was.
        Tree expected = before;
        expected[L""][L"Unterminated"].data = Bytes(L"no end");
        if (after.count(L"") && after.at(L"").count(L"Unterminated") &&
            after.at(L"").at(L"Unterminated").data == unterminated) {
            expected[L""][L"Unterminated"].data = unterminated;
        }
        ExpectSameTree(expected, after);
    }
}

TEST_F(UninstallActionsTest, UnsafeNamesGiveASafeBackupNameAndTheSameRecordTwiceKeepsBoth) {
    Program(HKEY_CURRENT_USER, L"TalUnsafe", L"Tal? A|B: C>D", L"C:\\x.exe");
    Select(L"Tal? A|B: C>D");
    EXPECT_EQ(Press(2, true), L"已成功删除记录,\r创建撤消文件Tal_ A_B  C_ D_uninstall.reg");
    Program(HKEY_CURRENT_USER, L"TalUnsafe", L"Tal? A|B: C>D", L"C:\\x.exe");
    Select(L"Tal? A|B: C>D");
    EXPECT_EQ(Press(2, true), L"已成功删除记录,\r创建撤消文件Tal_ A_B  C_ D (2)_uninstall.reg");
    EXPECT_EQ(undo_.Files().size(), 2u);
}

TEST_F(UninstallActionsTest, ARecordAlreadyGoneIsSaidAndNoBackupIsWritten) {
    Program(HKEY_CURRENT_USER, L"TalVanishing", L"Tal Vanishing", L"C:\\x.exe");
    Select(L"Tal Vanishing");
    ScratchKey gone(HKEY_CURRENT_USER, kUninstall + L"TalVanishing");  // removed behind the page's back
    EXPECT_EQ(Press(2, true), L"记录已不存在，没有写入撤消文件。");
    EXPECT_TRUE(undo_.Files().empty());
}

TEST_F(UninstallActionsTest, ABackupThatCannotBeWrittenDeletesNothing) {
    Program(HKEY_CURRENT_USER, L"TalKeptRecord", L"Tal Kept Record", L"C:\\x.exe");
    ::CreateDirectoryW(undo_.Folder().substr(0, undo_.Folder().size() - 5).c_str(), nullptr);
    ASSERT_TRUE(test::MakeFile(undo_.Folder().substr(0, undo_.Folder().size() - 1), "in the way"));
    Select(L"Tal Kept Record");
    const std::wstring info = Press(2, true);
    EXPECT_EQ(info.rfind(L"无法写入撤消文件，没有删除记录。\n", 0), 0u) << test::Utf8(info);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kUninstall + L"TalKeptRecord"));
}

}  // namespace
}  // namespace taliveer
