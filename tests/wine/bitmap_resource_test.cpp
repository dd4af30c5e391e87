// The skin's pictures, stored as PNG and decoded by the system's imaging component: each one
// comes out whole, the right way up, as the 24-bit section the skin and the region routine
// read; a damaged picture gives nothing rather than a wrong one.
#include "ui/bitmap_resource.h"
#include "ui/region.h"
#include "tests/wine/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace taliveer {
namespace {

std::vector<BYTE> ResourceBytes(const wchar_t* name) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, name, MAKEINTRESOURCEW(10));
    if (!info) return {};
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(module, info)));
    return bytes ? std::vector<BYTE>(bytes, bytes + ::SizeofResource(module, info)) : std::vector<BYTE>();
}

using test::PixelAt;

// The skin's pictures and their sizes at 96 DPI.
constexpr struct {
    const wchar_t* name;
    int width;
    int height;
} kPictures[] = {{L"FORM1IMAGE", 720, 540}, {L"TABIMAGE", 141, 26},    {L"BUTTONA", 161, 26},
                 {L"BUTTONB", 161, 26},     {L"ABOUTIMAGE", 350, 300}, {L"PROMOTIONIMAGE", 350, 300},
                 {L"OKBUTTONA", 103, 30},   {L"OKBUTTONB", 103, 30}};

TEST(PictureResources, EachDecodesWholeAsABottomUp24BitSectionTheRightWayUp) {
    for (const auto& picture : kPictures) {
        const std::vector<BYTE> bytes = ResourceBytes(picture.name);
        ASSERT_GT(bytes.size(), 8u);
        EXPECT_EQ(bytes[1], 'P') << "stored as PNG";
        UniqueHBitmap bitmap = LoadRcDataBitmap(::GetModuleHandleW(nullptr), picture.name);
        ASSERT_TRUE(bitmap);
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectW(bitmap.get(), sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, picture.width);
        EXPECT_EQ(section.dsBm.bmHeight, picture.height);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
        EXPECT_GT(section.dsBmih.biHeight, 0);
    }
    // The corner key, the tab strip near the top, the white page near the bottom.
    UniqueHBitmap art = LoadRcDataBitmap(::GetModuleHandleW(nullptr), L"FORM1IMAGE");
    EXPECT_EQ(PixelAt(art.get(), 1, 1), RGB(153, 153, 153));
    EXPECT_EQ(PixelAt(art.get(), 300, 70), RGB(233, 237, 243));
    EXPECT_EQ(PixelAt(art.get(), 300, 500), RGB(255, 255, 255));
}

// Every picture is drawn at every scale, at the size the layout tables give at that scale; a
// scale between them is made from the next larger picture, down to its exact size.
TEST(PictureResources, EachPictureIsDrawnAtEveryScaleAtItsScaledSize) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    for (const auto& picture : kPictures) {
        for (int dpi : {96, 120, 144, 168, 192, 106, 216}) {
            const DpiScale scale{dpi};
            SCOPED_TRACE(std::to_string(dpi) + " DPI");
            if (dpi % 24 == 0 && dpi <= 192) {
                // Drawn at this scale: stored as it is shown.
                EXPECT_EQ(ArtworkPercentFor(dpi), scale.Percent());
                EXPECT_FALSE(ResourceBytes(ArtworkName(picture.name, scale.Percent()).c_str()).empty());
            }
            UniqueHBitmap bitmap = LoadArtwork(module, picture.name, picture.width, picture.height, scale);
            ASSERT_TRUE(bitmap);
            BITMAP info{};
            ::GetObjectW(bitmap.get(), sizeof info, &info);
            EXPECT_EQ(info.bmWidth, scale(picture.width));
            EXPECT_EQ(info.bmHeight, scale(picture.height));
            EXPECT_EQ(info.bmBitsPixel, 24);
        }
    }
    // At 150 %: the corner key, the tab strip and the white page where the scaled table has them.
    const DpiScale s150{144};
    UniqueHBitmap art = LoadArtwork(module, L"FORM1IMAGE", 720, 540, s150);
    EXPECT_EQ(PixelAt(art.get(), 1, 1), RGB(153, 153, 153));
    EXPECT_EQ(PixelAt(art.get(), s150(300), s150(70)), RGB(233, 237, 243));
    EXPECT_EQ(PixelAt(art.get(), s150(300), s150(500)), RGB(255, 255, 255));
}

// Between the drawn scales (and beyond them) a picture is resized; its corners keep the key
// colour on their diagonal cut, so that the window's shape leaves them out exactly.
TEST(PictureResources, AResizedPictureKeepsItsCornerCutInTheKeyColour) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    for (int dpi : {106, 216, 240}) {
        for (const auto& [name, w, h] : {std::tuple{L"FORM1IMAGE", 720, 540}, std::tuple{L"ABOUTIMAGE", 350, 300}}) {
            SCOPED_TRACE(std::to_string(dpi) + " DPI");
            const DpiScale scale{dpi};
            UniqueHBitmap picture = LoadArtwork(module, name, w, h, scale, Skin::Dark);
            ASSERT_TRUE(picture);
            const int sw = scale(w);
            const int sh = scale(h);
            for (const POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{sw - 1, 0}, POINT{0, sh - 1}, POINT{sw - 2, sh - 2}}) {
                EXPECT_EQ(PixelAt(picture.get(), p.x, p.y), RGB(153, 153, 153)) << p.x << "," << p.y;
            }
            UniqueHRgn region = CreateBitmapRegion(picture.get(), {}, scale(kRegionBorder));
            EXPECT_FALSE(::PtInRegion(region.get(), 1, 1));
            EXPECT_FALSE(::PtInRegion(region.get(), sw - 2, sh - 2));
            EXPECT_TRUE(::PtInRegion(region.get(), sw / 2, 0));
            EXPECT_TRUE(::PtInRegion(region.get(), sw / 2, sh / 2));
        }
    }
}

TEST(PictureResources, ADamagedPictureGivesNothing) {
    std::vector<BYTE> bytes = ResourceBytes(L"FORM1IMAGE");
    ASSERT_GT(bytes.size(), 200u);
    EXPECT_TRUE(DecodePicture(bytes.data(), static_cast<DWORD>(bytes.size())));
    EXPECT_FALSE(DecodePicture(bytes.data(), 100)) << "cut short";
    std::vector<BYTE> garbled(bytes.begin(), bytes.begin() + 8);
    garbled.resize(4096, 0x5A);
    EXPECT_FALSE(DecodePicture(garbled.data(), static_cast<DWORD>(garbled.size()))) << "a PNG signature over garbage";
    const BYTE nothing[] = {'B', 'M', 0, 0};
    EXPECT_FALSE(DecodePicture(nothing, sizeof nothing));
}

}  // namespace
}  // namespace taliveer
