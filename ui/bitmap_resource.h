// Bitmaps stored as complete .bmp files in RCDATA resources.
#pragma once

#include "services/unique_handle.h"

namespace taliveer {

// Loads the RCDATA resource `name` of `module` as a bitmap; empty when it is missing or is
// not a bitmap file.
UniqueHBitmap LoadRcDataBitmap(HMODULE module, const wchar_t* name);

}  // namespace taliveer
