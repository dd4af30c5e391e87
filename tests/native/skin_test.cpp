#include "ui/pure/dpi_scale.h"
#include "ui/pure/skin.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(Skin, TheAppModeChoosesDarkOnlyForAZero) {
    EXPECT_EQ(SkinOfAppMode(std::nullopt), Skin::Light);  // Windows 7 and 8.1, or never set
    EXPECT_EQ(SkinOfAppMode(0u), Skin::Dark);
    EXPECT_EQ(SkinOfAppMode(1u), Skin::Light);
    EXPECT_EQ(SkinOfAppMode(2u), Skin::Light);
    EXPECT_EQ(SkinOfAppMode(0xFFFFFFFFu), Skin::Light);
}

TEST(Skin, ContrastFollowsWcag) {
    EXPECT_NEAR(ContrastRatio(Rgb(0, 0, 0), Rgb(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Rgb(255, 255, 255), Rgb(0, 0, 0)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Rgb(119, 119, 119), Rgb(255, 255, 255)), 4.48, 0.01);
    EXPECT_NEAR(ContrastRatio(Rgb(12, 34, 56), Rgb(12, 34, 56)), 1.0, 1e-9);
    // COLORREF order: red in the low byte.
    EXPECT_EQ(Rgb(1, 2, 3), 0x030201u);
    EXPECT_GT(RelativeLuminance(Rgb(0, 255, 0)), RelativeLuminance(Rgb(255, 0, 0)));
}

TEST(Skin, TheLightSkinDrawsTheTablesColoursAsTheyAre) {
    for (Colour c : {Rgb(0, 0, 0), Rgb(0, 70, 190), Rgb(255, 255, 255), Rgb(12, 34, 56)}) {
        EXPECT_EQ(ShownTextColour(c, Skin::Light), c);
        EXPECT_EQ(ShownSurfaceColour(c, Skin::Light), c);
    }
    EXPECT_EQ(ListColoursOf(Skin::Light).background, Rgb(255, 255, 255));
    EXPECT_EQ(ArtworkName(L"TABIMAGE", 150, DarkSuffix(Skin::Light)), L"TABIMAGE_150");
    EXPECT_EQ(ArtworkName(L"TABIMAGE", 150, DarkSuffix(Skin::Dark)), L"TABIMAGE_DARK_150");
    EXPECT_EQ(ArtworkName(L"TABIMAGE", 100, DarkSuffix(Skin::Dark)), L"TABIMAGE_DARK");
}

TEST(Skin, DarkTextsAreLightAndReadableOnTheDarkSurfaces) {
    const Colour page = ShownSurfaceColour(Rgb(255, 255, 255), Skin::Dark);
    const Colour dialog = ShownSurfaceColour(Rgb(240, 240, 240), Skin::Dark);
    EXPECT_LT(RelativeLuminance(page), 0.05);
    for (Colour table : {Rgb(0, 0, 0), Rgb(0, 70, 190), Rgb(0, 0, 255), Rgb(0, 112, 0), Rgb(102, 102, 102),
                         Rgb(5, 6, 7)}) {
        const Colour shown = ShownTextColour(table, Skin::Dark);
        EXPECT_GE(ContrastRatio(shown, page), 4.5) << std::hex << table;
        EXPECT_GE(ContrastRatio(shown, dialog), 4.5) << std::hex << table;
    }
    // Unknown surfaces go dark, unknown texts light.
    EXPECT_LT(RelativeLuminance(ShownSurfaceColour(Rgb(200, 220, 180), Skin::Dark)), 0.05);
    EXPECT_GT(RelativeLuminance(ShownTextColour(Rgb(90, 10, 10), Skin::Dark)), 0.5);
    const ListColours list = ListColoursOf(Skin::Dark);
    EXPECT_GE(ContrastRatio(list.text, list.background), 7.0);
}

}  // namespace
}  // namespace taliveer
