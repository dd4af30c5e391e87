// Pictures stored as complete PNG (or .bmp) files in RCDATA resources.
#pragma once

#include "services/unique_handle.h"

namespace taliveer {

// Loads the RCDATA resource `name` of `module` as a 24-bit bottom-up DIB section; empty when
// it is missing or is no picture this reads (PNG, through the system's imaging component, or
// a 24-bit .bmp file).
UniqueHBitmap LoadRcDataBitmap(HMODULE module, const wchar_t* name);
// The same for a picture file's bytes.
UniqueHBitmap DecodePicture(const BYTE* bytes, DWORD size);

}  // namespace taliveer
