// Icons into the shared 16 x 16 image list: the bitmaps path must give exactly what the
// list's own conversion gives, and every icon it cannot take goes the conversion's way.
#include "services/file_icon.h"
#include "services/icon_image.h"
#include "tests/wine/icon_bits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taliveer {
namespace {

using test::ImageBits;
using test::ListImageBits;

std::wstring Notepad() {
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\notepad.exe";
}

// A black-and-white 16 x 16 icon: its image and mask share one bitmap.
UniqueHIcon MonochromeIcon() {
    std::vector<BYTE> andBits(16 * 2, 0x0F), xorBits(16 * 2, 0xF0);
    return UniqueHIcon(::CreateIcon(::GetModuleHandleW(nullptr), 16, 16, 1, 1, andBits.data(), xorBits.data()));
}

TEST(IconImage, EachIconGivesTheImageTheListsOwnConversionGives) {
    const std::wstring notepad = Notepad();
    UniqueHIcon small = test::SmallIcon(notepad.c_str(), 0);
    UniqueHIcon stock = test::SmallIcon(L"shell32.dll", 2);
    UniqueHIcon large(::ExtractIconW(::GetModuleHandleW(nullptr), notepad.c_str(), 0));  // 32 x 32
    UniqueHIcon mono = MonochromeIcon();
    ASSERT_TRUE(small && stock && large && mono);

    UniqueHImageList list(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
    int expectedIndex = 0;
    for (HICON icon : {small.get(), stock.get(), large.get(), mono.get()}) {
        const IconBitmaps bitmaps = BitmapsOfSmallIcon(icon);
        // Only a 16 x 16 colour icon goes in as its bitmaps; the others need the conversion.
        EXPECT_EQ(static_cast<bool>(bitmaps.color), icon == small.get() || icon == stock.get());
        const int index = PutIconImage(list.get(), icon, bitmaps);
        ASSERT_EQ(index, expectedIndex++);
        EXPECT_EQ(ImageBits(list.get(), index), ListImageBits(icon)) << "image " << index;
    }
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 4);
}

SIZE ColourSize(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return {};
    BITMAP bm{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return {bm.bmWidth, bm.bmHeight};
}

// At a larger display scale the rows' icons are extracted at the scaled side (the image the
// file has for it, not a 16 x 16 one stretched) and go into a list of that side as they are.
TEST(IconImage, AtEachScaledSideTheFilesOwnImageOfThatSide) {
    const std::wstring notepad = Notepad();
    for (int side : {16, 20, 24, 32}) {
        RowIconSlot own;
        RowIconSlot stock;
        for (RowIconSlot* slot : {&own, &stock}) {
            slot->Width = side;
            slot->Height = side;
        }
        for (HICON icon : {GetOwnFileIcon(own, notepad), GetStockFileIcon(stock)}) {
            ASSERT_TRUE(icon) << side;
            const SIZE size = ColourSize(icon);
            EXPECT_EQ(size.cx, side);
            EXPECT_EQ(size.cy, side);
            EXPECT_TRUE(BitmapsOfSmallIcon(icon, side).color) << side;
            EXPECT_EQ(static_cast<bool>(BitmapsOfSmallIcon(icon, 16).color), side == 16);
            UniqueHImageList list(ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 0, 4));
            EXPECT_EQ(PutIconImage(list.get(), icon, BitmapsOfSmallIcon(icon, side)), 0);
        }
    }
}

TEST(IconImage, ReplacingPutsTheImageInPlaceAndAddsNone) {
    UniqueHIcon small = test::SmallIcon(Notepad().c_str(), 0);
    UniqueHIcon stock = test::SmallIcon(L"shell32.dll", 2);
    UniqueHIcon mono = MonochromeIcon();
    UniqueHImageList list(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
    for (int i = 0; i < 3; ++i) ASSERT_EQ(PutIconImage(list.get(), stock.get(), BitmapsOfSmallIcon(stock.get())), i);

    EXPECT_EQ(PutIconImage(list.get(), small.get(), BitmapsOfSmallIcon(small.get()), 1), 1);
    EXPECT_EQ(PutIconImage(list.get(), mono.get(), BitmapsOfSmallIcon(mono.get()), 2), 2);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 3);
    EXPECT_EQ(ImageBits(list.get(), 0), ListImageBits(stock.get()));
    EXPECT_EQ(ImageBits(list.get(), 1), ListImageBits(small.get()));
    EXPECT_EQ(ImageBits(list.get(), 2), ListImageBits(mono.get()));
    // No such image to replace: refused, nothing added.
    EXPECT_EQ(PutIconImage(list.get(), small.get(), BitmapsOfSmallIcon(small.get()), 7), -1);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 3);
}

}  // namespace
}  // namespace taliveer
