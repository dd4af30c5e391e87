// Gathers the autostart entries of the nine sources, in order, as plain rows.
#pragma once

#include "pages/row_sink.h"
#include "services/pure/command_line.h"
#include "services/shortcut_reader.h"

#include <string>

namespace taliveer {

struct AutostartRow {
    std::wstring caption;  // value name, disabled item's name or shortcut file name
    std::wstring command;  // command line as read (trimmed) or shortcut target
    std::wstring access;   // UserName, "All users" or "Disabled"
    wchar_t digit = L'0';  // the source, '1' to '9'
    bool hasIcon = false;  // false only for a shortcut that cannot be read
    std::wstring iconFile;
};

using AutostartSink = RowSink<AutostartRow>;

struct AutostartEnvironment {
    std::wstring userName;
    std::wstring userStartupFolder;
    std::wstring commonStartupFolder;
    PrefixFolders prefixes;
    UpperCaseFunction upperCase;
    ShellLinkReader* shortcuts = nullptr;
};

struct AutostartTotals {
    int rows = 0;
    int disabled = 0;
    bool completed = true;
};

AutostartTotals GatherAutostart(const AutostartEnvironment& env, AutostartSink& sink);

}  // namespace taliveer
