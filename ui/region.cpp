#include "ui/region.h"

#include "ui/pure/strip_runs.h"

#include <cstdint>
#include <vector>

namespace taliveer {
namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void CutRuns(HRGN region, const std::vector<PixelRun>& runs) {
    for (const PixelRun& run : runs) {
        UniqueHRgn cut(::CreateRectRgn(run.x0, run.y, run.x1, run.y + 1));
        ::CombineRgn(region, region, cut.get(), RGN_DIFF);
    }
}

UniqueHRgn CombineBorder(UniqueHRgn top, UniqueHRgn left, UniqueHRgn right, UniqueHRgn bottom, SIZE size) {
    UniqueHRgn inner(::CreateRectRgn(3, 3, size.cx - 3, size.cy - 3));
    UniqueHRgn result(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(result.get(), top.get(), left.get(), RGN_AND);
    ::CombineRgn(result.get(), result.get(), right.get(), RGN_AND);
    ::CombineRgn(result.get(), result.get(), bottom.get(), RGN_AND);
    ::CombineRgn(result.get(), result.get(), inner.get(), RGN_OR);
    return result;
}

}  // namespace

UniqueHRgn CreateStripRegion(HBITMAP bitmap, int x0, int y0, int xEnd, int yEnd, const PendingMessages& pending) {
    const SIZE size = BitmapSize(bitmap);
    UniqueHRgn region(::CreateRectRgn(0, 0, size.cx, size.cy));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectInDc keep(dc.get(), bitmap);
    auto pixelAt = [&](int x, int y) { return static_cast<std::uint32_t>(::GetPixel(dc.get(), x, y)); };
    const std::uint32_t key = pixelAt(1, 1);
    if (pending) pending();
    CutRuns(region.get(), KeyColourRuns(pixelAt, x0, y0, xEnd, yEnd, key));
    return region;
}

UniqueHRgn CreateBitmapRegion(HBITMAP bitmap, const PendingMessages& pending) {
    const SIZE size = BitmapSize(bitmap);
    const BorderStrips strips = BorderStripsOf(size.cx, size.cy);
    auto strip = [&](const Strip& s) { return CreateStripRegion(bitmap, s.x0, s.y0, s.xEnd, s.yEnd, pending); };
    UniqueHRgn top = strip(strips.top);
    UniqueHRgn left = strip(strips.left);
    UniqueHRgn right = strip(strips.right);
    UniqueHRgn bottom = strip(strips.bottom);
    if (pending) pending();
    return CombineBorder(std::move(top), std::move(left), std::move(right), std::move(bottom), size);
}

UniqueHRgn CreateBitmapRegionFromBits(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &bi, DIB_RGB_COLORS);
    auto pixelAt = [&](int x, int y) {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(size.cx) + static_cast<size_t>(x)] & 0xFFFFFFu;
    };
    const std::uint32_t key = pixelAt(1, 1);
    const BorderStrips strips = BorderStripsOf(size.cx, size.cy);
    auto strip = [&](const Strip& s) {
        UniqueHRgn region(::CreateRectRgn(0, 0, size.cx, size.cy));
        CutRuns(region.get(), KeyColourRuns(pixelAt, s.x0, s.y0, s.xEnd, s.yEnd, key));
        return region;
    };
    return CombineBorder(strip(strips.top), strip(strips.left), strip(strips.right), strip(strips.bottom), size);
}

}  // namespace taliveer
