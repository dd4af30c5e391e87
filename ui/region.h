// The region routine of every skinned window: the picture's rectangle less each pixel of its
// border (three pixels at 96 DPI, scaled with the picture) that has the key colour (the
// colour at (1, 1)).
#pragma once

#include "services/unique_handle.h"
#include "ui/pure/strip_runs.h"

#include <functional>

namespace taliveer {

using PendingMessages = std::function<void()>;

// Columns x0..xEnd-1, rows y0..yEnd-1 of `bitmap`: the whole picture rectangle less the
// key-coloured runs of that strip, read from one copy of the strip. Lets pending messages
// run once.
UniqueHRgn CreateStripRegion(HBITMAP bitmap, int x0, int y0, int xEnd, int yEnd,
                             const PendingMessages& pending = {});

// The window region for a picture: its four border strips intersected, then the inside
// added back. The caller owns the result until it hands it to SetWindowRgn.
UniqueHRgn CreateBitmapRegion(HBITMAP bitmap, const PendingMessages& pending = {}, int border = kRegionBorder);

// The same region computed from one GetDIBits copy of the picture; the floor that the
// benchmark compares CreateBitmapRegion with.
UniqueHRgn CreateBitmapRegionFromBits(HBITMAP bitmap, int border = kRegionBorder);

}  // namespace taliveer
