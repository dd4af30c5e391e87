// The display scale a window is drawn at. The program declares itself aware of each monitor's
// scale, so Windows never stretches it: every window asks for its own DPI and draws at it.
#pragma once

#include "ui/pure/dpi_scale.h"

#include <windows.h>

namespace taliveer {

// The DPI of the monitor `window` is on (Windows 10 1607 and later), else the system's DPI
// (Windows 7 and 8.1 scale every monitor alike); 96 when nothing says otherwise.
int WindowDpi(HWND window);
// The system's DPI: what a window that is not yet placed is drawn at.
int SystemDpi();
// The DPI a new window centred over `over` will have: that window's, or the system's.
int DpiForWindowOver(HWND over);

}  // namespace taliveer
