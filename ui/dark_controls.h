// The system's dark control themes (list views, their headers and scroll bars, buttons): on
// Windows 10 1809 and later only. Windows 7 and 8.1 and Wine lack them; there the program's
// own colours are all there is.
#pragma once

#include <windows.h>

namespace taliveer {

bool SystemHasDarkControlThemes();
// Gives `control` the system's dark theme, or its default one again; nothing where the system
// has no dark themes.
void UseDarkControlTheme(HWND control, bool dark);
// Asks for a dark (or the light) caption bar of a framed top-level window; nothing where the
// system has no dark themes.
void UseDarkTitleBar(HWND window, bool dark);

}  // namespace taliveer
