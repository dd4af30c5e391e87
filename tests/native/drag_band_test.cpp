#include "ui/drag_band.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(InDragBand, StrictEdgesRelativeToTheWindow) {
    // Window at (100, 200).
    EXPECT_TRUE(InDragBand(100, 200, 100, 200));
    EXPECT_TRUE(InDragBand(734, 259, 100, 200));   // x = 634, y = 59 inside
    EXPECT_FALSE(InDragBand(735, 230, 100, 200));  // x = 635: the "i" label stays clickable
    EXPECT_FALSE(InDragBand(300, 260, 100, 200));  // y = 60: the tab strip
}

TEST(InDragBand, SignedComparisonsLeftOfAndAboveTheWindow) {
    // Points left of or above the window compare as smaller (the window may sit at
    // negative coordinates on a monitor left of the primary one).
    EXPECT_TRUE(InDragBand(-500, -400, -450, -380));
    EXPECT_FALSE(InDragBand(-450 + 635, -380, -450, -380));
    EXPECT_TRUE(InDragBand(-1, -1, 0, 0));
}

}  // namespace
}  // namespace taliveer
