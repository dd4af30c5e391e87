#include "services/pure/reg_path.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(RelativeKeyPath, DropsOneLeadingBackslash) {
    EXPECT_EQ(RelativeKeyPath(L"\\SOFTWARE\\Run"), L"SOFTWARE\\Run");
    EXPECT_EQ(RelativeKeyPath(L"SOFTWARE\\Run\\"), L"SOFTWARE\\Run\\");  // trailing kept
    EXPECT_EQ(RelativeKeyPath(L"\\"), L"");                              // the root itself
    EXPECT_EQ(RelativeKeyPath(L""), L"");
    EXPECT_EQ(RelativeKeyPath(L"\\\\x"), L"\\x");  // only one
}

TEST(SplitParentAndName, CutsAtTheLastBackslashAfterDroppingOneTrailing) {
    auto s = SplitParentAndName(L"SOFTWARE\\A\\B");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->parent, L"SOFTWARE\\A");
    EXPECT_EQ(s->name, L"B");

    s = SplitParentAndName(L"SOFTWARE\\A\\B\\");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->parent, L"SOFTWARE\\A");
    EXPECT_EQ(s->name, L"B");

    s = SplitParentAndName(L"\\Top");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->parent, L"");
    EXPECT_EQ(s->name, L"Top");

    EXPECT_FALSE(SplitParentAndName(L""));
    EXPECT_FALSE(SplitParentAndName(L"NoBackslash"));
    EXPECT_FALSE(SplitParentAndName(L"NoBackslash\\"));
}

TEST(FormatValueError, PutsTheValueNameInPlaceOfTheMarker) {
    EXPECT_EQ(FormatValueError(L"Failed to set data for '%s'", L"BrimleyAds"), L"Failed to set data for 'BrimleyAds'");
    EXPECT_EQ(FormatValueError(L"Invalid data type for '%s'", L""), L"Invalid data type for ''");
    // A name with its own marker is not expanded again.
    EXPECT_EQ(FormatValueError(L"x '%s'", L"%s"), L"x '%s'");
}

}  // namespace
}  // namespace taliveer
