// CreateBitmapRegion on the 720 x 540 artwork (a copy of each border strip) against the same
// region from one GetDIBits copy of the whole picture, and the parts of that floor beside
// the per-pixel reads the routine once made: what the two builds pay differently shows
// there (a call per pixel against one buffer of 1.5 MB, made and freed).
#include "bench/harness.h"
#include "ui/bitmap_resource.h"
#include "ui/pure/strip_runs.h"
#include "ui/region.h"

#include <cstdint>
#include <vector>

namespace taliveer::bench {

void RegionBench() {
    UniqueHBitmap art = LoadRcDataBitmap(::GetModuleHandleW(nullptr), L"FORM1IMAGE");
    const double scan = MedianMs(41, [&] { UniqueHRgn r = CreateBitmapRegion(art.get()); });
    const double floor = MedianMs(41, [&] { UniqueHRgn r = CreateBitmapRegionFromBits(art.get()); });
    Print("CreateBitmapRegion, 720 x 540 artwork (median of 41)", scan, "ms");
    Print("floor: same region from one GetDIBits copy", floor, "ms");
    PrintRatio("CreateBitmapRegion / floor", scan, floor);

    BITMAP info{};
    ::GetObjectW(art.get(), sizeof info, &info);
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    Print("  floor's part: the whole picture's buffer, made and freed",
          MedianMs(41, [&] { std::vector<std::uint32_t> buffer(pixels); }), "ms");
    std::vector<std::uint32_t> buffer(pixels);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    Print("  floor's part: GetDIBits of the whole picture", MedianMs(41, [&] {
              ::GetDIBits(dc.get(), art.get(), 0, static_cast<UINT>(height), buffer.data(), &bi, DIB_RGB_COLORS);
          }),
          "ms");
    const BorderStrips strips = BorderStripsOf(width, height);
    SelectInDc keep(dc.get(), art.get());
    Print("  a GetPixel call per border pixel, as the routine once read", MedianMs(41, [&] {
              for (const Strip& s : {strips.top, strips.left, strips.right, strips.bottom}) {
                  for (int y = s.y0; y < s.yEnd; ++y) {
                      for (int x = s.x0; x < s.xEnd; ++x) ::GetPixel(dc.get(), x, y);
                  }
              }
          }),
          "ms");
}

}  // namespace taliveer::bench
