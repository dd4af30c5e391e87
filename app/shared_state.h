// The one shared-state object of the program: created at start-up, filled by the main
// window's CreateForm, reached by the pages through the main window.
#pragma once

#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/shortcut_reader.h"
#include "services/unique_handle.h"
#include "ui/confirm_box.h"
#include "ui/info_box.h"
#include "ui/message_loop.h"

#include <memory>
#include <string>

namespace taliveer {

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
    std::unique_ptr<StringList> BackingList;
    std::unique_ptr<RowIconSlot> RowIcon;
    std::unique_ptr<TForm3a> InfoBox;
    std::unique_ptr<TForm3b> ConfirmBox;
    bool BusyFlag = false;

    MessageLoop Loop;
    HWND MainWindow = nullptr;

    BoxHost Boxes() {
        return BoxHost{&Loop, [this] { return MainWindow; }};
    }
};

// Registry key of the program's settings under HKEY_CURRENT_USER.
inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Corvantis\\Taliveer";

}  // namespace taliveer
