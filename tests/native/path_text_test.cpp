#include "services/pure/path_text.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(TrimBlanks, RemovesCodesUpTo32AtBothEndsOnly) {
    EXPECT_EQ(TrimBlanks(L"  C:\\a b\\x.exe \r\n"), L"C:\\a b\\x.exe");
    EXPECT_EQ(TrimBlanks(L"\t\x01" L"abc\x1F"), L"abc");
    EXPECT_EQ(TrimBlanks(L"a  b"), L"a  b");
    EXPECT_EQ(TrimBlanks(L""), L"");
    EXPECT_EQ(TrimBlanks(L" \r\n\t "), L"");
    // Code 33 and non-ASCII text stay.
    EXPECT_EQ(TrimBlanks(L"!中文!"), L"!中文!");
    EXPECT_EQ(TrimBlanks(L"\x3000x\x3000"), L"\x3000x\x3000");  // ideographic space is above 32
}

TEST(WithTrailingBackslash, AddsOneOnlyWhenMissingAndKeepsEmpty) {
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Windows"), L"C:\\Windows\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\Windows\\"), L"C:\\Windows\\");
    EXPECT_EQ(WithTrailingBackslash(L""), L"");
    EXPECT_EQ(WithTrailingBackslash(L"C:"), L"C:\\");
}

TEST(UpToLastBackslash, CutsAfterTheLastBackslash) {
    EXPECT_EQ(UpToLastBackslash(L"C:\\Users\\me\\AppData\\Roaming"), L"C:\\Users\\me\\AppData\\");
    EXPECT_EQ(UpToLastBackslash(L"C:\\dir\\"), L"C:\\dir\\");
    EXPECT_EQ(UpToLastBackslash(L"nothing"), L"");
    EXPECT_EQ(UpToLastBackslash(L""), L"");
}

TEST(UpToFirstNul, StopsAtTheFirstNulOrTheEnd) {
    const std::wstring withNul(L"abc\0def", 7);
    EXPECT_EQ(UpToFirstNul(withNul), L"abc");
    EXPECT_EQ(UpToFirstNul(L"abc"), L"abc");
    EXPECT_EQ(UpToFirstNul(std::wstring(L"\0x", 2)), L"");
}

}  // namespace
}  // namespace taliveer
