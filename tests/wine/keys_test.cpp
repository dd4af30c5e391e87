// The row menu of the main window's pages: the page's own actions, 打开文件位置 greyed when the
// row names no file that exists, 复制 and 导出….
#include "pages/autostart/autostart_page.h"
#include "services/reg_unit.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

namespace taliveer {
namespace {

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The entries of the popup menu this thread opens next ("text" or "text|greyed"); it is
// closed once read.
std::vector<std::wstring> g_entries;
void CALLBACK ReadMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (!popup || !::IsWindowVisible(popup)) return;
    ::KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (!text[0]) continue;
        const bool greyed = (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0;
        g_entries.push_back(std::wstring(text) + (greyed ? L"|greyed" : L""));
    }
    ::EndMenu();
}

class RowMenuTest : public test::MainWindowTest {};

TEST_F(RowMenuTest, ThePagesActionsThenTheFileLocationGreyedWithoutAFileThenCopyAndExport) {
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    test::ScratchValue there(HKEY_CURRENT_USER, kRun, 0, L"TalMenuThere", L"\"" + std::wstring(windows) + L"\\notepad.exe\" /x");
    test::ScratchValue missing(HKEY_CURRENT_USER, kRun, 0, L"TalMenuMissing", L"C:\\nowhere\\missing.exe");
    form_->Autostart().Panel1Enter();
    HWND list = Hwnd(ids::InfoList(1));
    const auto rows = test::ReadRows(list, 2);
    for (const auto& [caption, file] : {std::pair{L"TalMenuThere", true}, std::pair{L"TalMenuMissing", false}}) {
        const int row = test::FindRow(rows, caption);
        ASSERT_GE(row, 0);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        g_entries.clear();
        ::SetTimer(nullptr, 0, 50, &ReadMenu);
        form_->ShowRowMenu(1, POINT{-1, -1});
        // The page's buttons as they stand, left to right, the switch with its key.
        const std::vector<std::wstring> expected{L"添加程序", L"禁用\tCtrl+D", L"删除程序",
                                                 file ? L"打开文件位置" : L"打开文件位置|greyed", L"复制\tCtrl+C",
                                                 L"导出…\tCtrl+S"};
        EXPECT_EQ(g_entries, expected);
    }
}

}  // namespace
}  // namespace taliveer
