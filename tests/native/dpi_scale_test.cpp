#include "ui/pure/dpi_scale.h"
#include "ui/pure/drag_band.h"
#include "ui/pure/strip_runs.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(DpiScale, RoundsHalfAwayFromZeroAsMulDivDoes) {
    constexpr DpiScale same{96};
    for (int v : {-13, -1, 0, 1, 3, 11, 161, 720}) EXPECT_EQ(same(v), v);
    constexpr DpiScale s125{120};
    EXPECT_EQ(s125(3), 4);      // 3.75
    EXPECT_EQ(s125(5), 6);      // 6.25
    EXPECT_EQ(s125(11), 14);    // 13.75
    EXPECT_EQ(s125(350), 438);  // 437.5: up
    EXPECT_EQ(s125(-11), -14);  // font heights are negative
    EXPECT_EQ(s125(-2), -3);    // -2.5: away from zero
    constexpr DpiScale s150{144};
    EXPECT_EQ(s150(3), 5);  // 4.5
    EXPECT_EQ(s150(-5), -8);
    EXPECT_EQ(s150(720), 1080);
    EXPECT_EQ(DpiScale{192}(540), 1080);
    EXPECT_EQ(DpiScale{168}(161), 282);  // 281.75
}

TEST(DpiScale, RectanglesScaleCornerAndSizeAlikeSoPicturesFillTheirControls) {
    // A button picture drawn at 125 % is 201 x 33 wherever its control stands.
    constexpr DpiScale s125{120};
    EXPECT_EQ(s125.Rect(182, 440, 161, 26), (PixelRect{228, 550, 201, 33}));
    EXPECT_EQ(s125.Rect(350, 440, 161, 26).width, 201);
    EXPECT_EQ(DpiScale{96}.Rect(7, 8, 9, 10), (PixelRect{7, 8, 9, 10}));
}

TEST(DpiScale, PercentAndTheDrawnPictureToStartFrom) {
    EXPECT_EQ(DpiScale{96}.Percent(), 100);
    EXPECT_EQ(DpiScale{120}.Percent(), 125);
    EXPECT_EQ(DpiScale{144}.Percent(), 150);
    EXPECT_EQ(DpiScale{168}.Percent(), 175);
    EXPECT_EQ(DpiScale{192}.Percent(), 200);
    // Exactly drawn scales are taken as they are; between them the next larger one, which
    // is only ever made smaller; below 100 % the 100 % picture; beyond 200 % the largest.
    EXPECT_EQ(ArtworkPercentFor(96), 100);
    EXPECT_EQ(ArtworkPercentFor(72), 100);
    EXPECT_EQ(ArtworkPercentFor(97), 125);
    EXPECT_EQ(ArtworkPercentFor(120), 125);
    EXPECT_EQ(ArtworkPercentFor(121), 150);
    EXPECT_EQ(ArtworkPercentFor(144), 150);
    EXPECT_EQ(ArtworkPercentFor(168), 175);
    EXPECT_EQ(ArtworkPercentFor(192), 200);
    EXPECT_EQ(ArtworkPercentFor(288), 200);
    EXPECT_EQ(ArtworkName(L"FORM1IMAGE", 100), L"FORM1IMAGE");
    EXPECT_EQ(ArtworkName(L"FORM1IMAGE", 150), L"FORM1IMAGE_150");
}

TEST(DpiScale, SmallIconsAtTheSystemsSizes) {
    EXPECT_EQ(SmallIconSide(96), 16);
    EXPECT_EQ(SmallIconSide(120), 20);
    EXPECT_EQ(SmallIconSide(144), 24);
    EXPECT_EQ(SmallIconSide(192), 32);
}

TEST(DpiScale, TheDragBandAtOneAndAHalfTimes) {
    const DragBand band = ScaledBand(DragBand{635, 60}, DpiScale{144});
    EXPECT_EQ(band.right, 953);  // 952.5
    EXPECT_EQ(band.height, 90);
    EXPECT_TRUE(InDragBand(band, 100 + 952, 200 + 89, 100, 200));
    EXPECT_FALSE(InDragBand(band, 100 + 953, 200 + 10, 100, 200));  // the "i" label, scaled
    EXPECT_FALSE(InDragBand(band, 100 + 10, 200 + 90, 100, 200));   // the tab strip, scaled
}

// The pictures' rounded corners are cut on the diagonal x + y < 5 (scaled); the region
// routine only reads its border strips, which must hold every pixel of that cut.
TEST(DpiScale, TheRegionBorderHoldsTheCornerCutAtEveryScale) {
    for (int dpi = 96; dpi <= 288; ++dpi) {
        const DpiScale scale{dpi};
        const int cut = scale(5);
        const int border = scale(kRegionBorder);
        const BorderStrips strips = BorderStripsOf(scale(720), scale(540), border);
        for (int y = 0; y < cut; ++y) {
            for (int x = 0; x + y < cut; ++x) {
                const bool inTop = y < strips.top.yEnd;
                const bool inLeft = x < strips.left.xEnd;
                EXPECT_TRUE(inTop || inLeft) << "dpi " << dpi << " pixel " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace taliveer
