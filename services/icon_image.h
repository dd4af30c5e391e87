// Putting an icon into a 16 x 16 image list. The list's own call converts every icon it is
// given (under Wine that costs more than extracting the icon from its file); a 16 x 16 icon
// with colour needs no conversion, and its bitmaps go into the list as they are.
#pragma once

#include "services/unique_handle.h"

#include <commctrl.h>

namespace taliveer {

// Copies of a 16 x 16 colour icon's bitmaps; both empty for any other icon.
struct IconBitmaps {
    UniqueHBitmap color;
    UniqueHBitmap mask;
};
IconBitmaps BitmapsOfSmallIcon(HICON icon);

// Adds the icon to `list` (or, with `replacing` >= 0, puts it in place of that image): from
// `bitmaps` when it has them, else through the list's own conversion of `icon`. Returns the
// image's index, or -1 when the list refused it.
int PutIconImage(HIMAGELIST list, HICON icon, const IconBitmaps& bitmaps, int replacing = -1);

}  // namespace taliveer
