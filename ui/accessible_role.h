// What a skinned label is to accessibility tools: a tab, a button or a link, not plain text.
// The window's standard accessible object answers everything else (name, position, state);
// only the role is the label's own.
#pragma once

#include <windows.h>

namespace taliveer {

// The answer to WM_GETOBJECT for OBJID_CLIENT of a label with `role` (ROLE_SYSTEM_PAGETAB,
// ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_LINK); 0 when the standard object cannot be made, so
// that the system makes its own.
LRESULT AccessibleWithRole(HWND hwnd, WPARAM wParam, long role);

}  // namespace taliveer
