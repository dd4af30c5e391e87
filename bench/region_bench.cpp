// CreateBitmapRegion on the 720 x 540 artwork (pixel by pixel, as the region routine reads
// it) against the same region from one GetDIBits copy.
#include "bench/harness.h"
#include "ui/bitmap_resource.h"
#include "ui/region.h"

namespace taliveer::bench {

void RegionBench() {
    UniqueHBitmap art = LoadRcDataBitmap(::GetModuleHandleW(nullptr), L"FORM1IMAGE");
    const double scan = MedianMs(41, [&] { UniqueHRgn r = CreateBitmapRegion(art.get()); });
    const double floor = MedianMs(41, [&] { UniqueHRgn r = CreateBitmapRegionFromBits(art.get()); });
    Print("CreateBitmapRegion, 720 x 540 artwork (median of 41)", scan, "ms");
    Print("floor: same region from one GetDIBits copy", floor, "ms");
    PrintRatio("CreateBitmapRegion / floor", scan, floor);
}

}  // namespace taliveer::bench
