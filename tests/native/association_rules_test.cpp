#include "pages/associations/pure/association_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(AssociationSearchKey, UpperCasesAsciiAndAddsTheDot) {
    EXPECT_EQ(AssociationSearchKey(L"t"), L".T");
    EXPECT_EQ(AssociationSearchKey(L"T"), L".T");
    EXPECT_EQ(AssociationSearchKey(L".t"), L".T");
    EXPECT_EQ(AssociationSearchKey(L"txt"), L".TXT");
    EXPECT_EQ(AssociationSearchKey(L"é"), L".é");
    EXPECT_EQ(AssociationSearchKey(L"..x"), L"..X");
}

TEST(FindPrefixRow, FirstCaptionBeginningWithTheKeyInAnyCase) {
    const std::vector<std::wstring> captions{L".bat", L".TIF", L".txt", L".Tx2", L".doc", L"no dot"};
    EXPECT_EQ(FindPrefixRow(captions, L"t"), 1);
    EXPECT_EQ(FindPrefixRow(captions, L".T"), 1);
    EXPECT_EQ(FindPrefixRow(captions, L"tx"), 2);
    EXPECT_EQ(FindPrefixRow(captions, L"txt"), 2);
    EXPECT_EQ(FindPrefixRow(captions, L"TX2"), 3);
    EXPECT_EQ(FindPrefixRow(captions, L"xt"), -1);  // a prefix, not a substring
    EXPECT_EQ(FindPrefixRow(captions, L"zzz"), -1);
    EXPECT_EQ(FindPrefixRow(captions, L""), -1);
    EXPECT_EQ(FindPrefixRow({}, L"t"), -1);
}

TEST(ProgIdSubkey, AnEmptyProgIdAddressesTheRoot) {
    EXPECT_EQ(ProgIdSubkey(L"txtfile", L"\\shell\\open\\command"), L"txtfile\\shell\\open\\command");
    EXPECT_EQ(ProgIdSubkey(L"", L"\\DefaultIcon"), L"\\DefaultIcon");
    EXPECT_EQ(AssociationCountText(3), L"3 个关联");
}

}  // namespace
}  // namespace taliveer
