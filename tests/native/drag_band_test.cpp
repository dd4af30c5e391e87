#include "ui/pure/drag_band.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

// The main window's band: left of the "i" label at x 635, above the tab strip at y 60.
constexpr DragBand kMain{635, 60};

TEST(InDragBand, StrictEdgesRelativeToTheWindow) {
    // Window at (100, 200).
    EXPECT_TRUE(InDragBand(kMain, 100, 200, 100, 200));
    EXPECT_TRUE(InDragBand(kMain, 734, 259, 100, 200));   // x = 634, y = 59 inside
    EXPECT_FALSE(InDragBand(kMain, 735, 230, 100, 200));  // x = 635: the "i" label stays clickable
    EXPECT_FALSE(InDragBand(kMain, 300, 260, 100, 200));  // y = 60: the tab strip
}

TEST(InDragBand, SignedComparisonsLeftOfAndAboveTheWindow) {
    // Points left of or above the window compare as smaller (the window may sit at
    // negative coordinates on a monitor left of the primary one).
    EXPECT_TRUE(InDragBand(kMain, -500, -400, -450, -380));
    EXPECT_FALSE(InDragBand(kMain, -450 + 635, -380, -450, -380));
    EXPECT_TRUE(InDragBand(kMain, -1, -1, 0, 0));
}

TEST(InDragBand, EachWindowHasItsOwnBand) {
    constexpr DragBand about{316, 48};
    EXPECT_TRUE(InDragBand(about, 315, 47, 0, 0));
    EXPECT_FALSE(InDragBand(about, 316, 10, 0, 0));  // the "x" label
    EXPECT_FALSE(InDragBand(about, 10, 48, 0, 0));
}

}  // namespace
}  // namespace taliveer
