// The one shared-state object of the program: created at start-up, filled by the main
// window's CreateForm, reached by the pages through the main window.
#pragma once

#include "services/reg_unit.h"
#include "services/unique_handle.h"
#include "ui/confirm_box.h"
#include "ui/info_box.h"
#include "ui/message_loop.h"

#include <objidl.h>
#include <shobjidl.h>

#include <memory>
#include <string>

namespace taliveer {

// The one 16 x 16 icon that each row's icon lookup fills before the row adds it to
// ImageList1.
struct RowIconSlot {
    int Width = 0;
    int Height = 0;
    UniqueHIcon Icon;
};

// One shell-link object read through two of its interfaces.
struct ShellLinkReader {
    ComPtr<IUnknown> Object;
    ComPtr<IShellLinkW> Link;
    ComPtr<IPersistFile> File;
    bool Ready() const { return Link && File; }
};

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
