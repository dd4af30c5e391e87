#include "ui/pure/strip_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taliveer {
namespace {

// A picture drawn as text rows: 'K' is the key colour, other letters other colours.
struct TextPicture {
    std::vector<std::string> rows;
    std::uint32_t operator()(int x, int y) const {
        const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        return c == 'K' ? 0x999999u : static_cast<std::uint32_t>(c);
    }
};

TEST(KeyColourRuns, CutsMaximalRunsOfTheKeyColourPerRow) {
    TextPicture p{{"KKaKK", "aKKKa", "aaaaa"}};
    const auto runs = KeyColourRuns(p, 0, 0, 5, 3, 0x999999u);
    const std::vector<PixelRun> expected{{0, 2, 0}, {3, 5, 0}, {1, 4, 1}};
    EXPECT_EQ(runs, expected);
}

TEST(KeyColourRuns, RunReachingTheStripEndIsClosedWithTheRow) {
    TextPicture p{{"abKKK"}};
    EXPECT_EQ(KeyColourRuns(p, 0, 0, 5, 1, 0x999999u), (std::vector<PixelRun>{{2, 5, 0}}));
    // Only the strip's columns count: the key pixels left of x0 are not seen.
    TextPicture q{{"KKKab"}};
    EXPECT_EQ(KeyColourRuns(q, 1, 0, 4, 1, 0x999999u), (std::vector<PixelRun>{{1, 3, 0}}));
}

TEST(KeyColourRuns, RunsOfOtherColoursCostNothingAndEmptyStripsGiveNone) {
    TextPicture p{{"abcab"}};
    EXPECT_TRUE(KeyColourRuns(p, 0, 0, 5, 1, 0x999999u).empty());
    EXPECT_TRUE(KeyColourRuns(p, 2, 0, 2, 1, 0x999999u).empty());
    EXPECT_TRUE(KeyColourRuns(p, 0, 1, 5, 1, 0x999999u).empty());
}

TEST(KeyColourRuns, TheStairCornerOfTheArtworkGivesFifteenPixels) {
    // The top-left corner as drawn: rows of 5, 4, 3, 2, 1 key pixels.
    TextPicture p{{"KKKKKaaaa", "KKKKaaaaa", "KKKaaaaaa", "KKaaaaaaa", "Kaaaaaaaa", "aaaaaaaaa"}};
    int pixels = 0;
    for (const PixelRun& run : KeyColourRuns(p, 0, 0, 9, 3, 0x999999u)) pixels += run.x1 - run.x0;
    for (const PixelRun& run : KeyColourRuns(p, 0, 3, 3, 6, 0x999999u)) pixels += run.x1 - run.x0;
    EXPECT_EQ(pixels, 15);
}

TEST(BorderStripsOf, CoversTheThreePixelBorderOnce) {
    constexpr auto s = BorderStripsOf(720, 540);
    EXPECT_EQ(s.top, (Strip{0, 0, 720, 3}));
    EXPECT_EQ(s.left, (Strip{0, 3, 3, 537}));
    EXPECT_EQ(s.right, (Strip{717, 3, 720, 537}));
    EXPECT_EQ(s.bottom, (Strip{0, 537, 720, 540}));
    const auto area = [](const Strip& x) { return (x.xEnd - x.x0) * (x.yEnd - x.y0); };
    EXPECT_EQ(area(s.top) + area(s.left) + area(s.right) + area(s.bottom), 7524);
}

}  // namespace
}  // namespace taliveer
