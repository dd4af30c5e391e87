// Pictures stored as complete PNG (or .bmp) files in RCDATA resources.
#pragma once

#include "services/unique_handle.h"
#include "ui/pure/dpi_scale.h"
#include "ui/pure/skin.h"

namespace taliveer {

// Loads the RCDATA resource `name` of `module` as a 24-bit bottom-up DIB section; empty when
// it is missing or is no picture this reads (PNG, through the system's imaging component, or
// a 24-bit .bmp file). A PNG of another size than `wanted` (when given) is resized to it.
UniqueHBitmap LoadRcDataBitmap(HMODULE module, const wchar_t* name, SIZE wanted = {});
// The same for a picture file's bytes.
UniqueHBitmap DecodePicture(const BYTE* bytes, DWORD size, SIZE wanted = {});

// A picture of the skin, `baseWidth` x `baseHeight` at 96 DPI, at `scale`: the one drawn at
// that scale, or the nearest larger one made smaller to fit; the dark skin's own picture.
UniqueHBitmap LoadArtwork(HMODULE module, const wchar_t* name, int baseWidth, int baseHeight, const DpiScale& scale,
                          Skin skin = Skin::Light);

}  // namespace taliveer
