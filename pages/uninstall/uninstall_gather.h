// Reads the installed programs of one registry root as plain rows.
#pragma once

#include "pages/row_sink.h"
#include "pages/uninstall/pure/uninstall_rules.h"
#include "services/reg_unit.h"

#include <windows.h>

#include <string>
#include <vector>

namespace taliveer {

struct UninstallRow {
    std::wstring keyName;  // the record's subkey under the Uninstall key
    std::wstring name;     // DisplayName
    std::wstring command;  // QuietUninstallString, else UninstallString
    std::wstring date;     // InstallDate, formatted
    std::wstring iconSource;  // DisplayIcon's text when the value exists, else the command
    HKEY root = HKEY_LOCAL_MACHINE;
    RegView view = RegView::Bits64;
    bool windowsInstaller = false;  // WindowsInstaller = 1
};

using UninstallSink = RowSink<UninstallRow>;

// Every record of `root` in `view` that passes `filter`, in the registry's order. False when
// the reading was stopped.
bool ReadUninstallList(HKEY root, RegView view, UninstallFilter filter, UninstallSink& sink);

// The sources of the page in their order: the user's records, the machine's in the 64-bit
// view, then the machine's in the 32-bit view, where most 32-bit programs keep theirs. A
// source that is the same real key as an earlier one (32-bit Windows, where the views are
// one) is left out, so that each record is listed once.
struct UninstallSource {
    HKEY root;
    RegView view;
};
std::vector<UninstallSource> UninstallSources(std::wstring_view uninstallKey = kUninstallKey);

}  // namespace taliveer
