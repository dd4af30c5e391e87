// The uninstall page against the real registry: both hives, the machine's in the 64-bit view.
#include "pages/uninstall/uninstall_gather.h"
#include "pages/uninstall/uninstall_page.h"
#include "services/reg_unit.h"
#include "tests/wine/icon_bits.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

#include <memory>
#include <set>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;

const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// What the list view and the window looked like whenever a row was inserted.
struct DuringFill {
    int inserts = 0;
    bool mainEnabled = false;
    bool waitBoxShown = true;
    bool busy = true;
    HWND main = nullptr;
    const bool* busyFlag = nullptr;
};
LRESULT CALLBACK WatchFill(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* seen = reinterpret_cast<DuringFill*>(ref);
    if (msg == LVM_INSERTITEMW) {
        ++seen->inserts;
        seen->mainEnabled = seen->mainEnabled || ::IsWindowEnabled(seen->main);
        HWND box = ::FindWindowW(nullptr, L"收集数据");
        seen->waitBoxShown = seen->waitBoxShown && box && ::IsWindowVisible(box);
        seen->busy = seen->busy && *seen->busyFlag;
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

class UninstallPageTest : public test::MainWindowTest {
protected:
    // A record under the Uninstall key of `root` (the machine's in the 64-bit view).
    ScratchKey& Record(HKEY root, const std::wstring& keyName) {
        records_.push_back(std::make_unique<ScratchKey>(root, kUninstall + keyName,
                                                        root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0));
        return *records_.back();
    }
    ScratchKey& Program(HKEY root, const std::wstring& keyName, const std::wstring& name, const std::wstring& command) {
        ScratchKey& k = Record(root, keyName);
        k.SetString(L"", L"DisplayName", name);
        k.SetString(L"", L"UninstallString", command);
        return k;
    }
    std::vector<test::ListRow> Rows() { return test::ReadRows(Hwnd(ids::InfoList(2)), 3); }
    void ChooseFilter(int radio) {
        ::SendMessageW(Hwnd(ids::FilterRadio(radio)), BM_CLICK, 0, 0);
        test::PumpFor(20);
    }
    std::vector<std::unique_ptr<ScratchKey>> records_;
};

TEST_F(UninstallPageTest, BothHivesCurrentUserFirstWithCommandsDatesAndTheBackingList) {
    Program(HKEY_CURRENT_USER, L"TalUserApp", L"Tal User App", L"C:\\u\\unins.exe").SetString(L"", L"InstallDate", L"20240131");
    ScratchKey& quiet = Program(HKEY_CURRENT_USER, L"TalQuiet=Odd", L"Tal Quiet", L"C:\\q\\unins.exe");
    quiet.SetString(L"", L"QuietUninstallString", L"  C:\\q\\unins.exe /S  ");
    quiet.SetString(L"", L"InstallDate", L"2024/01/31");
    Program(HKEY_LOCAL_MACHINE, L"TalBoth", L"Tal Both", L"C:\\b\\m.exe").SetString(L"", L"InstallDate", L"2024");
    Program(HKEY_CURRENT_USER, L"TalBoth", L"Tal Both", L"C:\\b\\u.exe");
    Record(HKEY_CURRENT_USER, L"TalNoName").SetString(L"", L"UninstallString", L"C:\\x.exe");
    Record(HKEY_LOCAL_MACHINE, L"TalNoCommand").SetString(L"", L"DisplayName", L"Tal No Command");
    ScratchKey& dword = Record(HKEY_LOCAL_MACHINE, L"TalDwordName");
    dword.SetDword(L"", L"DisplayName", 5);
    dword.SetString(L"", L"UninstallString", L"C:\\x.exe");

    Click(ids::TabLabel(2));
    const auto rows = Rows();
    const auto& backing = *state_.BackingList;
    ASSERT_EQ(backing.size(), rows.size());
    const int user = FindRow(rows, L"Tal User App");
    const int quietRow = FindRow(rows, L"Tal Quiet");
    const int bothUser = FindRow(rows, L"Tal Both");
    const int bothMachine = FindRow(rows, L"Tal Both", bothUser + 1);
    ASSERT_GE(user, 0);
    ASSERT_GE(quietRow, 0);
    ASSERT_GE(bothUser, 0);
    ASSERT_GE(bothMachine, 0);
    // The current user's rows come first and are counted.
    EXPECT_LT(bothUser, state_.CurrentUserRowCount);
    EXPECT_LT(user, state_.CurrentUserRowCount);
    EXPECT_GE(bothMachine, state_.CurrentUserRowCount);
    EXPECT_EQ(rows[static_cast<size_t>(bothUser)].cells[1], L"C:\\b\\u.exe");
    EXPECT_EQ(rows[static_cast<size_t>(bothMachine)].cells[1], L"C:\\b\\m.exe");

    EXPECT_EQ(rows[static_cast<size_t>(user)].cells[2], L"2024/01/31");
    EXPECT_EQ(rows[static_cast<size_t>(quietRow)].cells[1], L"C:\\q\\unins.exe /S");
    EXPECT_EQ(rows[static_cast<size_t>(quietRow)].cells[2], L"2024/01/31");
    EXPECT_EQ(rows[static_cast<size_t>(bothMachine)].cells[2], L"2024//");
    // A key name with "=" is kept whole beside the command.
    EXPECT_EQ(backing[static_cast<size_t>(quietRow)].KeyName, L"TalQuiet=Odd");
    EXPECT_EQ(backing[static_cast<size_t>(quietRow)].Command, L"C:\\q\\unins.exe /S");
    EXPECT_EQ(backing[static_cast<size_t>(user)].Text(), L"TalUserApp=C:\\u\\unins.exe");

    for (const auto& row : rows) {
        EXPECT_NE(row.cells[0], L"Tal No Command");
        EXPECT_GE(row.image, 0);
    }
    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(2)).Text(), std::to_wstring(rows.size()) + L" 个已安装程序");
}

TEST_F(UninstallPageTest, CurrentUserRowCountIsZeroWithoutUserRecords) {
    StringList existing;
    if (ReadKeyNames(HKEY_CURRENT_USER, kUninstall, existing) > 0) GTEST_SKIP() << "the user has records of their own";
    Program(HKEY_LOCAL_MACHINE, L"TalMachineOnly", L"Tal Machine Only", L"C:\\m.exe");
    Click(ids::TabLabel(2));
    EXPECT_EQ(state_.CurrentUserRowCount, 0);
    EXPECT_GE(FindRow(Rows(), L"Tal Machine Only"), 0);
}

TEST_F(UninstallPageTest, TheFillRunsUnderTheWaitBoxWithTheWindowDisabled) {
    Program(HKEY_CURRENT_USER, L"TalWatched", L"Tal Watched", L"C:\\w.exe");
    DuringFill seen;
    seen.main = form_->hwnd();
    seen.busyFlag = &state_.BusyFlag;
    ::SetWindowSubclass(Hwnd(ids::InfoList(2)), &WatchFill, 1, reinterpret_cast<DWORD_PTR>(&seen));
    Click(ids::TabLabel(2));
    ::RemoveWindowSubclass(Hwnd(ids::InfoList(2)), &WatchFill, 1);
    EXPECT_GT(seen.inserts, 0);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_TRUE(seen.waitBoxShown);
    EXPECT_TRUE(seen.busy);
    // Afterwards: enabled, idle, no wait box.
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
    EXPECT_FALSE(state_.BusyFlag);
    EXPECT_EQ(::FindWindowW(nullptr, L"收集数据"), nullptr);
}

TEST_F(UninstallPageTest, TheIconComesFromDisplayIconOfAnyTypeElseFromTheCommand) {
    const std::wstring notepad = state_.WindowsFolder + L"notepad.exe";
    Program(HKEY_CURRENT_USER, L"TalIconFromCommand", L"Tal Icon From Command", L"\"" + notepad + L"\" /u");
    Program(HKEY_CURRENT_USER, L"TalIconDword", L"Tal Icon Dword", L"\"" + notepad + L"\" /u").SetDword(L"", L"DisplayIcon", 1);
    Program(HKEY_CURRENT_USER, L"TalIconFile", L"Tal Icon File", L"C:\\missing.exe").SetString(L"", L"DisplayIcon", notepad + L",0");
    Click(ids::TabLabel(2));
    const auto rows = Rows();
    HIMAGELIST images = form_->ImageList1();
    auto bits = [&](const std::wstring& caption) {
        return test::ImageBits(images, rows[static_cast<size_t>(FindRow(rows, caption))].image);
    };
    // A DisplayIcon that is not a string reads as empty text: the stock icon, not the command's.
    EXPECT_NE(bits(L"Tal Icon Dword"), bits(L"Tal Icon From Command"));
    EXPECT_EQ(bits(L"Tal Icon File"), bits(L"Tal Icon From Command"));
}

TEST_F(UninstallPageTest, OnlyTheRowsShownCostAnIconAndEachRowKeepsItsOwn) {
    // 150 records, every other one with a program of its own; the list shows about 20.
    const std::wstring notepad = state_.WindowsFolder + L"notepad.exe";
    constexpr int kRecords = 150;
    for (int i = 0; i < kRecords; ++i) {
        wchar_t name[32];
        ::wsprintfW(name, L"TalLazy%03d", i);
        Program(HKEY_CURRENT_USER, name, name, i % 2 ? L"\"" + notepad + L"\" /u" : L"C:\\missing\\u.exe");
    }
    Click(ids::TabLabel(2));
    HIMAGELIST images = form_->ImageList1();
    const int afterFill = ImageList_GetImageCount(images);
    EXPECT_GT(afterFill, 0);
    EXPECT_LT(afterFill, 60) << "icons were made for rows that were never shown";

    // Read from outside, every row asks for its image once and gets its own file's icon.
    const auto rows = Rows();
    const auto own = test::ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalLazy001"))].image);
    const auto stock = test::ImageBits(images, rows[static_cast<size_t>(FindRow(rows, L"TalLazy000"))].image);
    ASSERT_NE(own, stock);
    std::set<int> indices;
    for (int i = 0; i < kRecords; ++i) {
        wchar_t name[32];
        ::wsprintfW(name, L"TalLazy%03d", i);
        const int row = FindRow(rows, name);
        ASSERT_GE(row, 0) << i;
        const int image = rows[static_cast<size_t>(row)].image;
        EXPECT_TRUE(indices.insert(image).second) << "row " << i << " shares image " << image;
        EXPECT_EQ(test::ImageBits(images, image), i % 2 ? own : stock) << i;
    }
    const int afterReading = ImageList_GetImageCount(images);
    EXPECT_EQ(afterReading, static_cast<int>(rows.size()));
    // The list keeps what it was given: reading again adds nothing.
    const auto again = Rows();
    EXPECT_EQ(ImageList_GetImageCount(images), afterReading);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(again[i].image, rows[i].image);
}

TEST_F(UninstallPageTest, TheThreeFiltersAndTheRadioButtons) {
    Program(HKEY_CURRENT_USER, L"TalPlain", L"Tal Plain Update Manager", L"C:\\p.exe");
    Program(HKEY_CURRENT_USER, L"TalSecurity", L"Tal Security", L"C:\\s.exe").SetString(L"", L"ReleaseType", L"security update");
    Program(HKEY_CURRENT_USER, L"TalHotfix", L"Tal Hotfix", L"C:\\h.exe").SetString(L"", L"ReleaseType", L"HotFix");
    Program(HKEY_CURRENT_USER, L"TalKb", L"Tal Fix (kb123456)", L"C:\\k.exe");
    Program(HKEY_CURRENT_USER, L"TalBar", L"Tal Search ToolBar", L"C:\\t.exe");
    Program(HKEY_LOCAL_MACHINE, L"TalEntry{Tal-Toolbar-Clsid}", L"Tal Registered", L"C:\\r.exe");
    // One registered toolbar beside whatever the prefix holds; only that value is removed.
    const std::wstring toolbarKey = L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
    WriteRegString(HKEY_LOCAL_MACHINE, toolbarKey, L"{Tal-Toolbar-Clsid}", L"");
    const ScopeExit removeToolbar([&] { DeleteRegValue(HKEY_LOCAL_MACHINE, toolbarKey, L"{Tal-Toolbar-Clsid}"); });

    Click(ids::TabLabel(2));
    auto has = [&](const std::wstring& caption) { return FindRow(Rows(), caption) >= 0; };
    for (const wchar_t* name : {L"Tal Plain Update Manager", L"Tal Security", L"Tal Hotfix", L"Tal Fix (kb123456)",
                                L"Tal Search ToolBar", L"Tal Registered"}) {
        EXPECT_TRUE(has(name));
    }

    DuringFill seen;
    seen.main = form_->hwnd();
    seen.busyFlag = &state_.BusyFlag;
    ChooseFilter(2);
    EXPECT_TRUE(has(L"Tal Plain Update Manager"));
    EXPECT_FALSE(has(L"Tal Security"));
    EXPECT_FALSE(has(L"Tal Hotfix"));
    EXPECT_FALSE(has(L"Tal Fix (kb123456)"));
    EXPECT_TRUE(has(L"Tal Search ToolBar"));

    // Choosing the checked button again does not refill.
    ::SetWindowSubclass(Hwnd(ids::InfoList(2)), &WatchFill, 1, reinterpret_cast<DWORD_PTR>(&seen));
    ChooseFilter(2);
    EXPECT_EQ(seen.inserts, 0);
    ::RemoveWindowSubclass(Hwnd(ids::InfoList(2)), &WatchFill, 1);

    ChooseFilter(3);
    EXPECT_TRUE(has(L"Tal Search ToolBar"));
    EXPECT_TRUE(has(L"Tal Registered"));
    EXPECT_FALSE(has(L"Tal Plain Update Manager"));
    EXPECT_FALSE(has(L"Tal Security"));
    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(2)).Text(), std::to_wstring(Rows().size()) + L" 个已安装程序");

    ChooseFilter(1);
    EXPECT_TRUE(has(L"Tal Security"));
}

// On 32-bit Windows both views are one registry: a key seen through both is listed once. A
// registry link from the 32-bit view's key to the 64-bit one makes the same here.
TEST(UninstallSources, AKeySeenThroughBothViewsIsOneSource) {
    const std::wstring key = L"SOFTWARE\\TaliveerTests\\Records\\";
    ScratchKey real(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TaliveerTests\\Records", KEY_WOW64_64KEY);
    ScratchKey parent32(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TaliveerTests", KEY_WOW64_32KEY);
    real.SetString(L"App", L"DisplayName", L"x");
    EXPECT_EQ(UninstallSources(key).size(), 3u);  // two views, two keys

    UniqueHKey link;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TaliveerTests\\Records", 0, nullptr,
                                REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                                link.put(), nullptr),
              ERROR_SUCCESS);
    const std::wstring target = L"\\REGISTRY\\Machine\\SOFTWARE\\TaliveerTests\\Records";
    ASSERT_EQ(::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                               static_cast<DWORD>(target.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    link.reset();
    const auto sources = UninstallSources(key);
    EXPECT_EQ(sources.size(), 2u);
    // The link itself goes: a link is deleted by opening it as one.
    UniqueHKey opened;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TaliveerTests\\Records", REG_OPTION_OPEN_LINK,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, opened.put()) == ERROR_SUCCESS) {
        using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
        const auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
        if (deleteKey) deleteKey(opened.get());
    }
    EXPECT_EQ(RegKeyReadStatus(HKEY_LOCAL_MACHINE, key, RegView::Bits32), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace taliveer
