// The one shared-state object of the program: created at start-up, filled by the main
// window's CreateForm, reached by the pages through the main window.
#pragma once

#include "app/made_when_needed.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/settings_key.h"
#include "services/shortcut_reader.h"
#include "services/unique_handle.h"
#include "ui/confirm_box.h"
#include "ui/info_box.h"
#include "ui/message_loop.h"

#include <memory>
#include <string>
#include <vector>

namespace taliveer {

// One row of the uninstall page: its record's key name and its command, and where the record
// lives (hive and registry view), so that running and removing act on that record. The key
// name is kept on its own, so that a name holding "=" is recovered exactly; Text() is the
// "name=command" form.
struct BackingEntry {
    std::wstring KeyName;
    std::wstring Command;
    HKEY Root = HKEY_LOCAL_MACHINE;
    RegView View = RegView::Bits64;
    bool WindowsInstaller = false;  // the record says WindowsInstaller = 1
    std::wstring Text() const { return KeyName + L"=" + Command; }
};
using BackingEntries = std::vector<BackingEntry>;

struct SharedState {
    UINT RestoreMessage = 0;
    std::wstring UserName;
    std::wstring ProgramFolder;
    std::wstring UndoFolder;
    std::wstring WindowsFolder;
    std::wstring SystemFolder;
    std::wstring ProgramFilesFolder;
    std::wstring ProfileFolder;
    std::wstring UserStartupFolder;
    std::wstring CommonStartupFolder;
    ShellLinkReader ShellLink;
    std::unique_ptr<BackingEntries> BackingList;
    int CurrentUserRowCount = 0;
    std::unique_ptr<RowIconSlot> RowIcon;
    MadeWhenNeeded<TForm3a> InfoBox;
    MadeWhenNeeded<TForm3b> ConfirmBox;
    bool BusyFlag = false;

    MessageLoop Loop;
    HWND MainWindow = nullptr;

    BoxHost Boxes() {
        return BoxHost{&Loop, [this] { return MainWindow; }};
    }
};


}  // namespace taliveer
