// The system's own text for an error code, for messages that name what failed.
#pragma once

#include <windows.h>

#include <string>

namespace taliveer {

// "Access denied." and the like, without the line break; "error N" when the system has no text.
std::wstring SystemMessage(DWORD code);

}  // namespace taliveer
