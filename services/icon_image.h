// Putting an icon into the lists' image list (16 x 16 at 96 DPI, scaled). The list's own call
// converts every icon it is given (under Wine that costs more than extracting the icon from
// its file); a colour icon of the list's size needs no conversion, and its bitmaps go into
// the list as they are.
#pragma once

#include "services/unique_handle.h"

#include <commctrl.h>

namespace taliveer {

// Copies of a `side` x `side` colour icon's bitmaps; both empty for any other icon.
struct IconBitmaps {
    UniqueHBitmap color;
    UniqueHBitmap mask;
};
IconBitmaps BitmapsOfSmallIcon(HICON icon, int side = 16);

// Adds the icon to `list` (or, with `replacing` >= 0, puts it in place of that image): from
// `bitmaps` when it has them, else through the list's own conversion of `icon`. Returns the
// image's index, or -1 when the list refused it.
int PutIconImage(HIMAGELIST list, HICON icon, const IconBitmaps& bitmaps, int replacing = -1);

}  // namespace taliveer
