// The region routine on the program's artwork and on small pictures drawn for the test.
#include "services/unique_handle.h"
#include "ui/bitmap_resource.h"
#include "ui/region.h"

#include <gtest/gtest.h>

#include <vector>

namespace taliveer {
namespace {

constexpr COLORREF kKey = RGB(153, 153, 153);

long RegionArea(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<BYTE> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ::GetRegionData(region, size, data);
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    long area = 0;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    }
    return area;
}

// A DIB of w x h filled with `fill`, with `keyPixels` in the key colour and (1, 1) too.
UniqueHBitmap Picture(int w, int h, COLORREF fill, std::initializer_list<POINT> keyPixels) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectInDc keep(dc.get(), bitmap.get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ::SetPixel(dc.get(), x, y, fill);
    ::SetPixel(dc.get(), 1, 1, kKey);
    for (POINT p : keyPixels) ::SetPixel(dc.get(), p.x, p.y, kKey);
    ::GdiFlush();
    return bitmap;
}

TEST(CreateBitmapRegion, TheArtworkLosesExactlyItsSixtyCornerPixels) {
    UniqueHBitmap art = LoadRcDataBitmap(::GetModuleHandleW(nullptr), L"FORM1IMAGE");
    ASSERT_TRUE(art);
    UniqueHRgn region = CreateBitmapRegion(art.get());
    ASSERT_TRUE(region);
    EXPECT_EQ(RegionArea(region.get()), 720L * 540L - 60L);
    // Stepped corners: 5, 4, 3, 2, 1 pixels on rows 0..4, mirrored on the other corners.
    const int counts[] = {5, 4, 3, 2, 1};
    for (int row = 0; row < 5; ++row) {
        for (int y : {row, 539 - row}) {
            EXPECT_FALSE(::PtInRegion(region.get(), counts[row] - 1, y)) << row;
            EXPECT_TRUE(::PtInRegion(region.get(), counts[row], y)) << row;
            EXPECT_FALSE(::PtInRegion(region.get(), 720 - counts[row], y)) << row;
            EXPECT_TRUE(::PtInRegion(region.get(), 719 - counts[row], y)) << row;
        }
    }
    UniqueHRgn floor = CreateBitmapRegionFromBits(art.get());
    EXPECT_TRUE(::EqualRgn(region.get(), floor.get()));
}

TEST(CreateBitmapRegion, OnlyTheThreePixelBorderIsCut) {
    // 20 x 12: key pixels on each strip, and one just inside the border that must stay.
    UniqueHBitmap pic = Picture(20, 12, RGB(10, 20, 30),
                                {{0, 0}, {2, 0}, {19, 5}, {17, 6}, {0, 11}, {19, 11}, {3, 3}, {16, 8}, {10, 2}});
    UniqueHRgn region = CreateBitmapRegion(pic.get());
    for (POINT p : std::initializer_list<POINT>{{0, 0}, {1, 1}, {2, 0}, {19, 5}, {17, 6}, {0, 11}, {19, 11}, {10, 2}}) {
        EXPECT_FALSE(::PtInRegion(region.get(), p.x, p.y)) << p.x << "," << p.y;
    }
    for (POINT p : std::initializer_list<POINT>{{3, 3}, {16, 8}, {1, 0}, {10, 3}, {18, 6}}) {
        EXPECT_TRUE(::PtInRegion(region.get(), p.x, p.y)) << p.x << "," << p.y;
    }
    EXPECT_EQ(RegionArea(region.get()), 240L - 8L);
    UniqueHRgn floor = CreateBitmapRegionFromBits(pic.get());
    EXPECT_TRUE(::EqualRgn(region.get(), floor.get()));
}

TEST(CreateBitmapRegion, RunsAcrossAWholeRowAndThePendingMessagesHook) {
    // The whole top row in the key colour: one run reaching the strip's end.
    std::initializer_list<POINT> row{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}};
    UniqueHBitmap pic = Picture(8, 8, RGB(200, 0, 0), row);
    int pending = 0;
    UniqueHRgn region = CreateBitmapRegion(pic.get(), [&] { ++pending; });
    EXPECT_EQ(RegionArea(region.get()), 64L - 9L);  // the row and (1, 1)
    EXPECT_EQ(pending, 5);                          // once per strip, once before combining
    UniqueHRgn strip = CreateStripRegion(pic.get(), 0, 0, 8, 1);
    EXPECT_EQ(RegionArea(strip.get()), 64L - 8L);
}

}  // namespace
}  // namespace taliveer
