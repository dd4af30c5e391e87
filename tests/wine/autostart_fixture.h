// The main window with the autostart page's own Undo folder and both Startup folders, and the
// page's rows at hand.
#pragma once

#include "pages/autostart/autostart_page.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace taliveer::test {

class AutostartFixture : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        state_.UndoFolder = undo_.Folder();
        ::SHCreateDirectoryExW(nullptr, state_.UserStartupFolder.c_str(), nullptr);
        ::SHCreateDirectoryExW(nullptr, state_.CommonStartupFolder.c_str(), nullptr);
    }
    HWND List() { return Hwnd(ids::InfoList(1)); }
    std::vector<ListRow> Rows() { return ReadRows(List(), 3); }
    void Gather() { form_->Autostart().Panel1Enter(); }
    // Ticks the first row of that caption at or after row `from`.
    void Tick(const std::wstring& caption, int from = 0) {
        const int row = FindRow(Rows(), caption, from);
        ASSERT_GE(row, 0) << "no row " << std::string(caption.begin(), caption.end());
        ListView_SetCheckState(List(), row, TRUE);
    }
    UndoFolderGuard undo_{TempUndoFolder()};
};

}  // namespace taliveer::test
