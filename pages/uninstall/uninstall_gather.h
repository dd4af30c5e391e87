// Reads the installed programs of one registry root as plain rows.
#pragma once

#include "pages/row_sink.h"
#include "pages/uninstall/pure/uninstall_rules.h"

#include <windows.h>

#include <string>

namespace taliveer {

struct UninstallRow {
    std::wstring keyName;  // the record's subkey under the Uninstall key
    std::wstring name;     // DisplayName
    std::wstring command;  // QuietUninstallString, else UninstallString
    std::wstring date;     // InstallDate, formatted
    std::wstring iconSource;  // DisplayIcon's text when the value exists, else the command
};

using UninstallSink = RowSink<UninstallRow>;

// Every record of `root` that passes `filter`, in the registry's order (64-bit view).
// False when the reading was stopped.
bool ReadUninstallList(HKEY root, UninstallFilter filter, UninstallSink& sink);

}  // namespace taliveer
