#include "ui/pure/corner_cut.h"

#include <gtest/gtest.h>

#include <vector>

namespace taliveer {
namespace {

constexpr std::uint8_t kKey[3] = {153, 153, 153};
constexpr std::uint8_t kFrame[3] = {176, 78, 20};

struct Picture {
    int width, height;
    std::size_t stride;
    std::vector<std::uint8_t> pixels;
    Picture(int w, int h) : width(w), height(h), stride(static_cast<std::size_t>(((w * 24 + 31) / 32) * 4)),
                            pixels(stride * static_cast<std::size_t>(h)) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) std::memcpy(At(x, y), kFrame, 3);
        }
    }
    std::uint8_t* At(int x, int y) { return pixels.data() + stride * static_cast<std::size_t>(y) + 3 * x; }
    bool IsKey(int x, int y) { return std::memcmp(At(x, y), kKey, 3) == 0; }
};

TEST(CornerCut, TheDrawnCutIsMeasuredAndScaled) {
    Picture drawn(900, 10);
    StampCornerCut(drawn.pixels.data(), drawn.stride, drawn.width, drawn.height, 6, kKey);
    EXPECT_EQ(LeadingKeyRun(drawn.At(0, 0), drawn.width, kKey), 6);
    EXPECT_EQ(LeadingKeyRun(drawn.At(0, 1), drawn.width, kKey), 5);
    // 125 % (900 wide, cut 6) made 110 % (792 wide): 5.28 -> 5; made 250 % (1800): 12.
    EXPECT_EQ(ScaledCut(6, 900, 792), 5);
    EXPECT_EQ(ScaledCut(10, 1440, 1800), 13);  // 12.5 rounds up
    EXPECT_EQ(ScaledCut(6, 0, 792), 0);
}

TEST(CornerCut, AllFourCornersGetTheDiagonalAndNothingElse) {
    Picture p(20, 12);
    StampCornerCut(p.pixels.data(), p.stride, p.width, p.height, 4, kKey);
    int keys = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) keys += p.IsKey(x, y) ? 1 : 0;
    }
    EXPECT_EQ(keys, 4 * (4 + 3 + 2 + 1));
    EXPECT_TRUE(p.IsKey(3, 0));
    EXPECT_FALSE(p.IsKey(4, 0));
    EXPECT_TRUE(p.IsKey(0, 3));
    EXPECT_FALSE(p.IsKey(1, 3));
    EXPECT_TRUE(p.IsKey(19, 11));
    EXPECT_TRUE(p.IsKey(16, 11));
    EXPECT_FALSE(p.IsKey(15, 11));
    EXPECT_TRUE(p.IsKey(19, 8));
    // A cut larger than a tiny picture stays inside it.
    Picture tiny(2, 2);
    StampCornerCut(tiny.pixels.data(), tiny.stride, tiny.width, tiny.height, 5, kKey);
    EXPECT_TRUE(tiny.IsKey(1, 1));
}

}  // namespace
}  // namespace taliveer
