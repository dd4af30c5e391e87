// The autostart page against the real registry and Startup folders of the test prefix.
#include "pages/autostart/autostart_page.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "tests/wine/icon_bits.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>

namespace taliveer {
namespace {

using test::FindRow;
using test::ListRow;
using test::ScratchKey;
using test::ScratchValue;

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kMsConfig = L"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";

// A file or folder made by the test and removed after it.
class ScratchPath {
public:
    explicit ScratchPath(std::wstring path, bool folder) : path_(std::move(path)), folder_(folder) {}
    ~ScratchPath() {
        if (folder_) {
            ::RemoveDirectoryW(path_.c_str());
        } else {
            ::DeleteFileW(path_.c_str());
        }
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    bool folder_;
};

bool MakeShortcut(const std::wstring& file, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
        return false;
    }
    link->SetPath(target.c_str());
    ComPtr<IPersistFile> persist = link.As<IPersistFile>(IID_IPersistFile);
    return persist && SUCCEEDED(persist->Save(file.c_str(), TRUE));
}

void EnsureFolder(const std::wstring& folder) { ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr); }

using test::IconBits;
using test::ImageBits;

std::vector<BYTE> StockIconBits() { return test::ListImageBits(test::SmallIcon(L"shell32.dll", 2).get()); }

class AutostartPageTest : public test::MainWindowTest {
protected:
    std::vector<ListRow> Gather() {
        Click(ids::TabLabel(1));
        return test::ReadRows(Hwnd(ids::InfoList(1)), 3);
    }
    std::wstring Sources() { return form_->Autostart().AutostartSources(); }
    std::wstring CountLabel() { return form_->Controls().Static(ids::InfoLabel(1)).Text(); }
};

TEST_F(AutostartPageTest, NineSourcesInOrderWithTheirDigitsAccessTextsAndIcons) {
    const std::wstring notepad = state_.WindowsFolder + L"notepad.exe";
    ScratchValue a1(HKEY_CURRENT_USER, kRun, 0, L"TalA1", L"  \"" + notepad + L"\" /min \r\n");
    ScratchValue def(HKEY_CURRENT_USER, kRun, 0, L"", L"C:\\default\\value.exe");
    const DWORD number = 7;
    ScratchValue dword(HKEY_CURRENT_USER, kRun, 0, L"TalDword", &number, sizeof number, REG_DWORD);
    ScratchValue a2(HKEY_CURRENT_USER, kRunOnce, 0, L"TalA2", L"%SystemRoot%\\regedit.exe");
    ScratchValue a3(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY, L"TalSame", notepad);
    ScratchValue a7(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY, L"TalSame", notepad);
    ScratchValue a4(HKEY_LOCAL_MACHINE, kRunOnce, KEY_WOW64_64KEY, L"TalA4", L"C:\\missing\\nothing.exe");
    ScratchKey a5(HKEY_LOCAL_MACHINE, kMsConfig + L"\\TalA5", KEY_WOW64_64KEY);
    a5.SetString(L"", L"command", L"C:\\old\\tool.exe -q");

    EnsureFolder(state_.UserStartupFolder);
    EnsureFolder(state_.CommonStartupFolder);
    ScratchPath lnk8(state_.UserStartupFolder + L"TalA8.lnk", false);
    ScratchPath lnk9(state_.CommonStartupFolder + L"TalA9.lnk", false);
    ASSERT_TRUE(MakeShortcut(lnk8.Path(), notepad));
    ASSERT_TRUE(MakeShortcut(lnk9.Path(), L"C:\\missing\\target.exe"));

    const auto rows = Gather();
    const std::wstring sources = Sources();
    ASSERT_EQ(sources.size(), rows.size());

    struct Expected {
        const wchar_t* caption;
        wchar_t digit;
        std::wstring access;
    };
    const Expected expected[] = {
        {L"TalA1", L'1', state_.UserName}, {L"TalDword", L'1', state_.UserName}, {L"TalA2", L'2', state_.UserName},
        {L"TalSame", L'3', L"All users"},  {L"TalA4", L'4', L"All users"},       {L"TalA5", L'5', L"Disabled"},
        {L"TalSame", L'7', L"All users"},  {L"TalA8.lnk", L'8', state_.UserName}, {L"TalA9.lnk", L'9', L"All users"},
    };
    int from = 0;
    for (const Expected& e : expected) {
        const int at = FindRow(rows, e.caption, from);
        ASSERT_GE(at, 0) << "no row after row " << from;
        EXPECT_EQ(sources[static_cast<size_t>(at)], e.digit) << e.caption;
        EXPECT_EQ(rows[static_cast<size_t>(at)].cells[2], e.access) << e.caption;
        EXPECT_GE(rows[static_cast<size_t>(at)].image, 0) << e.caption;
        EXPECT_FALSE(rows[static_cast<size_t>(at)].checked);
        from = at + 1;
    }
    // The default value gives no row; texts are shown trimmed and unexpanded.
    EXPECT_EQ(FindRow(rows, L""), -1);
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalA1"))].cells[1], L"\"" + notepad + L"\" /min");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalA2"))].cells[1], L"%SystemRoot%\\regedit.exe");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalDword"))].cells[1], L"");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalA5"))].cells[1], L"C:\\old\\tool.exe -q");
    EXPECT_EQ(rows[static_cast<size_t>(FindRow(rows, L"TalA8.lnk"))].cells[1], notepad);

    // Every row has an image of its own; a program's own icon, or the stock icon when the
    // file is missing or the value is not a string.
    const auto stock = StockIconBits();
    HIMAGELIST images = form_->ImageList1();
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(rows.size()));
    EXPECT_NE(ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalA1"))].image), stock);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalDword"))].image), stock);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalA4"))].image), stock);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalA9.lnk"))].image), stock);

    // The count: every row, and the disabled items.
    int disabled = 0;
    for (wchar_t d : sources) disabled += d == L'5';
    EXPECT_EQ(CountLabel(), AutostartCountText(static_cast<int>(rows.size()), disabled));
    EXPECT_NE(CountLabel().find(L", "), std::wstring::npos);
}

TEST_F(AutostartPageTest, WithoutDisabledItemsTheLabelEndsAfterTheCount) {
    // The prefix's own disabled items, if any, are set aside for the test.
    StringList names;
    ReadKeyNames(HKEY_LOCAL_MACHINE, kMsConfig, names);
    if (!names.empty()) GTEST_SKIP() << "the prefix has disabled items of its own";
    const auto rows = Gather();
    EXPECT_EQ(CountLabel(), std::to_wstring(rows.size()) + L" 个自动启动程序");
}

TEST_F(AutostartPageTest, UnreadableShortcutsKeepTheirRowAndFoldersNamedLnkAreSkipped) {
    EnsureFolder(state_.UserStartupFolder);
    ScratchPath broken(state_.UserStartupFolder + L"TalBroken.lnk", false);
    {
        std::ofstream out(std::string(broken.Path().begin(), broken.Path().end()), std::ios::binary);
        out << "this is not a shell link";
    }
    ScratchPath folder(state_.UserStartupFolder + L"TalDir.lnk", true);
    ASSERT_TRUE(::CreateDirectoryW(folder.Path().c_str(), nullptr));

    const auto rows = Gather();
    const int at = FindRow(rows, L"TalBroken.lnk");
    ASSERT_GE(at, 0);
    EXPECT_EQ(rows[static_cast<size_t>(at)].cells[1], L"");
    EXPECT_EQ(rows[static_cast<size_t>(at)].cells[2], state_.UserName);
    EXPECT_EQ(rows[static_cast<size_t>(at)].image, -1);
    EXPECT_EQ(Sources()[static_cast<size_t>(at)], L'8');
    EXPECT_EQ(FindRow(rows, L"TalDir.lnk"), -1);
    EXPECT_EQ(ImageList_GetImageCount(form_->ImageList1()), static_cast<int>(rows.size()) - 1);
}

TEST_F(AutostartPageTest, TheUndoLinkShowsExactlyWhenTheUndoFolderExists) {
    ::RemoveDirectoryW(state_.UndoFolder.c_str());
    Gather();
    EXPECT_FALSE(::IsWindowVisible(Hwnd(ids::UndoLabel(1))));
    ASSERT_TRUE(::CreateDirectoryW(state_.UndoFolder.c_str(), nullptr));
    ScratchPath undo(state_.UndoFolder, true);
    Gather();
    EXPECT_TRUE(::IsWindowVisible(Hwnd(ids::UndoLabel(1))));
}

TEST_F(AutostartPageTest, TheUsersWow64RunKeyIsSourceSixAndTheirRealRunKeyStaysSourceOne) {
    // Under Wine, once HKCU\Software\Wow6432Node exists a 32-bit program's default view of
    // HKCU\Software moves into it (Windows shares HKCU\Software between the views): the page
    // still lists the user's real Run value, and the Wow6432Node one once.
    test::UserWow6432NodeGuard wow;
    ScratchValue a6(HKEY_CURRENT_USER, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                    KEY_WOW64_64KEY, L"TalA6", L"C:\\six.exe");
    ScratchValue a1(HKEY_CURRENT_USER, kRun, KEY_WOW64_64KEY, L"TalA1Real", L"C:\\one.exe");
    const auto rows = Gather();
    const int six = FindRow(rows, L"TalA6");
    ASSERT_GE(six, 0);
    EXPECT_EQ(Sources()[static_cast<size_t>(six)], L'6');
    EXPECT_EQ(rows[static_cast<size_t>(six)].cells[2], state_.UserName);
    EXPECT_EQ(FindRow(rows, L"TalA6", six + 1), -1) << "listed twice";
    const int one = FindRow(rows, L"TalA1Real");
    ASSERT_GE(one, 0) << "the user's real Run value is hidden";
    EXPECT_EQ(Sources()[static_cast<size_t>(one)], L'1');
    EXPECT_EQ(FindRow(rows, L"TalA1Real", one + 1), -1);
}

TEST_F(AutostartPageTest, GatheringAgainRebuildsFromNothing) {
    ScratchValue a1(HKEY_CURRENT_USER, kRun, 0, L"TalOnce", L"C:\\x.exe");
    const auto first = Gather();
    ListView_SetCheckState(Hwnd(ids::InfoList(1)), FindRow(first, L"TalOnce"), TRUE);
    const auto second = Gather();
    EXPECT_EQ(second.size(), first.size());
    EXPECT_EQ(Sources().size(), second.size());
    EXPECT_FALSE(second[static_cast<size_t>(FindRow(second, L"TalOnce"))].checked);
    EXPECT_EQ(ImageList_GetImageCount(form_->ImageList1()), static_cast<int>(second.size()));
}

TEST(GetFileIcon, StockIconUnlessAnExistingFileGivesOne) {
    RowIconSlot slot;
    const auto stock = IconBits(test::SmallIcon(L"shell32.dll", 2).get());
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring folder = std::wstring(windows) + L"\\";
    ASSERT_NE(GetFileIcon(slot, L""), nullptr);
    EXPECT_EQ(IconBits(slot.Icon.get()), stock);
    GetFileIcon(slot, L"C:\\no\\such\\file.exe");
    EXPECT_EQ(IconBits(slot.Icon.get()), stock);
    GetFileIcon(slot, folder);  // a folder is not a file
    EXPECT_EQ(IconBits(slot.Icon.get()), stock);
    GetFileIcon(slot, folder + L"win.ini");  // a file without icons
    EXPECT_EQ(IconBits(slot.Icon.get()), stock);
    GetFileIcon(slot, folder + L"notepad.exe");
    EXPECT_NE(IconBits(slot.Icon.get()), stock);
    // The file's own 16 x 16 image, not its large one scaled down.
    EXPECT_EQ(IconBits(slot.Icon.get()), IconBits(test::SmallIcon((folder + L"notepad.exe").c_str(), 0).get()));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(slot.Icon.get(), &info));
    const UniqueHBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectW(color.get(), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 16);
    EXPECT_EQ(bitmap.bmHeight, 16);
}

}  // namespace
}  // namespace taliveer
