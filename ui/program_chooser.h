// The program chooser of the add and edit dialogs: the system's open-file dialog.
#pragma once

#include <windows.h>

#include <string>

namespace taliveer {

// Opens the file dialog in `initialFolder` with the filter "程序|*.exe|所有文件|*.*"
// (programs first); the chosen file's full path, or empty when the user cancels.
std::wstring ChooseProgramFile(HWND owner, const std::wstring& initialFolder);

}  // namespace taliveer
