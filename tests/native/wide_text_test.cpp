#include "services/pure/wide_text.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(WideFromRegistryBytes, ReadsLittleEndianUnitsAndDropsAnOddByte) {
    const unsigned char data[] = {'a', 0, 0x2D, 0x4E, 'b'};  // "a中" plus a stray byte
    EXPECT_EQ(WideFromRegistryBytes(data, 5), std::wstring(L"a\x4E2D"));
    EXPECT_EQ(WideFromRegistryBytes(data, 0), L"");
    EXPECT_EQ(WideFromRegistryBytes(data, 1), L"");
}

TEST(NarrowForLog, EncodesUtf8) {
    EXPECT_EQ(NarrowForLog(L"abc"), "abc");
    EXPECT_EQ(NarrowForLog(L"\x4E2D"), "\xE4\xB8\xAD");
    EXPECT_EQ(NarrowForLog(L"\x00E9"), "\xC3\xA9");
    EXPECT_EQ(NarrowForLog(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace taliveer
