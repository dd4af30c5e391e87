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

UniqueHRgn CombineBorder(UniqueHRgn top, UniqueHRgn left, UniqueHRgn right, UniqueHRgn bottom, SIZE size,
                         int border) {
    UniqueHRgn inner(::CreateRectRgn(border, border, size.cx - border, size.cy - border));
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
    UniqueMemoryDc source(::CreateCompatibleDC(nullptr));
    SelectInDc keepSource(source.get(), bitmap);
    const std::uint32_t key = static_cast<std::uint32_t>(::GetPixel(source.get(), 1, 1));
    if (pending) pending();
    const int width = xEnd - x0;
    const int height = yEnd - y0;
    if (width <= 0 || height <= 0) return region;

    // The strip is copied at once into 32-bit pixels of its own: a call per pixel would cost
    // the system's per-call price 7,500 times for the border of the artwork.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueHBitmap strip(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!strip || !bits) return region;
    UniqueMemoryDc copy(::CreateCompatibleDC(nullptr));
    {
        SelectInDc keepCopy(copy.get(), strip.get());
        ::BitBlt(copy.get(), 0, 0, width, height, source.get(), x0, y0, SRCCOPY);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    // The copy holds 0x00RRGGBB; GetPixel's key is a COLORREF (0x00BBGGRR).
    auto pixelAt = [&](int x, int y) {
        const std::uint32_t p = pixels[static_cast<size_t>(y - y0) * static_cast<size_t>(width) + static_cast<size_t>(x - x0)];
        return static_cast<std::uint32_t>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    };
    CutRuns(region.get(), KeyColourRuns(pixelAt, x0, y0, xEnd, yEnd, key));
    return region;
}

UniqueHRgn CreateBitmapRegion(HBITMAP bitmap, const PendingMessages& pending, int border) {
    const SIZE size = BitmapSize(bitmap);
    const BorderStrips strips = BorderStripsOf(size.cx, size.cy, border);
    auto strip = [&](const Strip& s) { return CreateStripRegion(bitmap, s.x0, s.y0, s.xEnd, s.yEnd, pending); };
    UniqueHRgn top = strip(strips.top);
    UniqueHRgn left = strip(strips.left);
    UniqueHRgn right = strip(strips.right);
    UniqueHRgn bottom = strip(strips.bottom);
    if (pending) pending();
    return CombineBorder(std::move(top), std::move(left), std::move(right), std::move(bottom), size, border);
}

UniqueHRgn CreateBitmapRegionFromBits(HBITMAP bitmap, int border) {
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
    const BorderStrips strips = BorderStripsOf(size.cx, size.cy, border);
    auto strip = [&](const Strip& s) {
        UniqueHRgn region(::CreateRectRgn(0, 0, size.cx, size.cy));
        CutRuns(region.get(), KeyColourRuns(pixelAt, s.x0, s.y0, s.xEnd, s.yEnd, key));
        return region;
    };
    return CombineBorder(strip(strips.top), strip(strips.left), strip(strips.right), strip(strips.bottom), size,
                         border);
}

}  // namespace taliveer
