#include "services/pure/reg_script.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

std::vector<std::uint8_t> Utf16(const std::wstring& text, bool terminator = true) {
    std::vector<std::uint8_t> out;
    for (wchar_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    if (terminator) out.insert(out.end(), {0, 0});
    return out;
}

TEST(EscapeRegText, BackslashesFirstThenQuotes) {
    EXPECT_EQ(EscapeRegText(L"\"C:\\Program Files\\A\\a.exe\" -min"), L"\\\"C:\\\\Program Files\\\\A\\\\a.exe\\\" -min");
    EXPECT_EQ(EscapeRegText(L"\\\""), L"\\\\\\\"");  // the other order would give four backslashes
    EXPECT_EQ(EscapeRegText(L""), L"");
    EXPECT_EQ(EscapeRegText(L"中文 = /"), L"中文 = /");
}

TEST(FormatRegValue, QuotedStringsEscapeQuotesAndBackslashesAndTheDefaultValueIsAt) {
    EXPECT_EQ(FormatRegValue({L"A", reg_type::kString, Utf16(L"\"C:\\Program Files\\A\\a.exe\" -min")}),
              L"\"A\"=\"\\\"C:\\\\Program Files\\\\A\\\\a.exe\\\" -min\"");
    EXPECT_EQ(FormatRegValue({L"", reg_type::kString, Utf16(L"x")}), L"@=\"x\"");
    EXPECT_EQ(FormatRegValue({L"Empty", reg_type::kString, Utf16(L"")}), L"\"Empty\"=\"\"");
    EXPECT_EQ(FormatRegValue({L"Na\"me\\", reg_type::kString, Utf16(L"v")}), L"\"Na\\\"me\\\\\"=\"v\"");
    EXPECT_EQ(FormatRegValue({L"a=b/c", reg_type::kString, Utf16(L"  kept  ")}), L"\"a=b/c\"=\"  kept  \"");
}

TEST(FormatRegValue, StringsTheQuotedFormCannotCarryGoAsHex1) {
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kString, Utf16(L"ab", false)}), L"\"N\"=hex(1):61,00,62,00");
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kString, {}}), L"\"N\"=hex(1):");
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kString, {0x61}}), L"\"N\"=hex(1):61");
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kString, Utf16(std::wstring(L"a\0b", 3))}),
              L"\"N\"=hex(1):61,00,00,00,62,00,00,00");
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kString, Utf16(L"a\nb")}), L"\"N\"=hex(1):61,00,0a,00,62,00,00,00");
}

TEST(FormatRegValue, EveryOtherType) {
    EXPECT_EQ(FormatRegValue({L"D", reg_type::kDword, {0x0a, 0, 0, 0}}), L"\"D\"=dword:0000000a");
    EXPECT_EQ(FormatRegValue({L"D", reg_type::kDword, {0x78, 0x56, 0x34, 0x12}}), L"\"D\"=dword:12345678");
    EXPECT_EQ(FormatRegValue({L"D", reg_type::kDword, {1, 2}}), L"\"D\"=hex(4):01,02");  // not four bytes
    EXPECT_EQ(FormatRegValue({L"E", reg_type::kExpandString, Utf16(L"%A%")}), L"\"E\"=hex(2):25,00,41,00,25,00,00,00");
    EXPECT_EQ(FormatRegValue({L"M", reg_type::kMultiString, Utf16(std::wstring(L"a\0", 2))}),
              L"\"M\"=hex(7):61,00,00,00,00,00");
    EXPECT_EQ(FormatRegValue({L"B", reg_type::kBinary, {0, 0xff}}), L"\"B\"=hex:00,ff");
    EXPECT_EQ(FormatRegValue({L"B", reg_type::kBinary, {}}), L"\"B\"=hex:");
    EXPECT_EQ(FormatRegValue({L"Q", reg_type::kQword, {1, 0, 0, 0, 0, 0, 0, 0}}), L"\"Q\"=hex(b):01,00,00,00,00,00,00,00");
    EXPECT_EQ(FormatRegValue({L"N", reg_type::kNone, {7}}), L"\"N\"=hex(0):07");
    EXPECT_EQ(FormatRegValue({L"X", 0x12345, {7}}), L"\"X\"=hex(12345):07");
}

TEST(FormatRegValue, LongHexDataIsContinuedOverLinesOfAtMost80Characters) {
    const std::wstring text = FormatRegValue({L"Bin", reg_type::kBinary, std::vector<std::uint8_t>(200, 0xab)});
    size_t start = 0;
    int lines = 0;
    std::wstring joined;
    while (start <= text.size()) {
        const size_t end = text.find(L"\r\n", start);
        const std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        EXPECT_LE(line.size(), 80u);
        if (end != std::wstring::npos) {
            EXPECT_EQ(line.back(), L'\\');
            joined += line.substr(0, line.size() - 1);
        } else {
            joined += line;
        }
        if (lines > 0) {
            EXPECT_EQ(line.substr(0, 2), L"  ");
        }
        ++lines;
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    EXPECT_GT(lines, 5);
    // Joined back and without the indents, it is the plain list of 200 bytes.
    std::wstring compact;
    for (size_t i = 0; i < joined.size(); ++i) {
        if (joined[i] == L' ' && i + 1 < joined.size() && joined[i + 1] == L' ') {
            ++i;
            continue;
        }
        compact.push_back(joined[i]);
    }
    std::wstring expected = L"\"Bin\"=hex:";
    for (int i = 0; i < 200; ++i) expected += i ? L",ab" : L"ab";
    EXPECT_EQ(compact, expected);
}

TEST(RegScript, HeaderEmptyLineAndAKeyLineForEveryValue) {
    RegScript script;
    EXPECT_TRUE(script.Empty());
    EXPECT_EQ(script.Text(), L"Windows Registry Editor Version 5.00\r\n\r\n");
    script.AddValue(L"HKEY_CURRENT_USER", L"SOFTWARE\\Run\\", {L"A", reg_type::kString, Utf16(L"1")});
    script.AddValue(L"HKEY_CURRENT_USER", L"SOFTWARE\\Run\\", {L"B", reg_type::kString, Utf16(L"2")});
    EXPECT_EQ(script.ValueCount(), 2);
    EXPECT_EQ(script.Text(),
              L"Windows Registry Editor Version 5.00\r\n\r\n"
              L"[HKEY_CURRENT_USER\\SOFTWARE\\Run\\]\r\n\"A\"=\"1\"\r\n\r\n"
              L"[HKEY_CURRENT_USER\\SOFTWARE\\Run\\]\r\n\"B\"=\"2\"\r\n\r\n");
}

TEST(RegScript, ExportLayoutKeyThenItsValues) {
    RegScript script;
    script.AddKey(L"HKEY_CLASSES_ROOT", L".txt", {{L"", reg_type::kString, Utf16(L"txtfile")}});
    script.AddKey(L"HKEY_CLASSES_ROOT", L".txt\\ShellNew", {});
    EXPECT_EQ(script.Text(),
              L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n\r\n"
              L"[HKEY_CLASSES_ROOT\\.txt\\ShellNew]\r\n\r\n");
    EXPECT_EQ(FormatRegKeyLine(L"HKEY_CLASSES_ROOT", L""), L"[HKEY_CLASSES_ROOT]");
    EXPECT_FALSE(RegNameWritable(L"a\nb"));
    EXPECT_TRUE(RegNameWritable(L"a=b/\"c\""));
}

TEST(RegScript, OddSizedStringsComeLastUnderTheirOwnKeyLines) {
    RegScript script;
    script.AddKey(L"HKEY_CURRENT_USER", L"K", {{L"odd", reg_type::kString, {0x61}},
                                               {L"even", reg_type::kString, Utf16(L"x")},
                                               {L"bin", reg_type::kBinary, {0x01}}});
    script.AddValue(L"HKEY_CURRENT_USER", L"R", {L"multi", reg_type::kMultiString, {0x61, 0x00, 0x62}});
    script.AddKey(L"HKEY_CURRENT_USER", L"K\\Sub", {});
    EXPECT_EQ(script.ValueCount(), 4);
    EXPECT_EQ(script.Text(),
              L"Windows Registry Editor Version 5.00\r\n\r\n"
              L"[HKEY_CURRENT_USER\\K]\r\n\"even\"=\"x\"\r\n\"bin\"=hex:01\r\n\r\n"
              L"[HKEY_CURRENT_USER\\K\\Sub]\r\n\r\n"
              L"[HKEY_CURRENT_USER\\K]\r\n\"odd\"=hex(1):61\r\n\r\n"
              L"[HKEY_CURRENT_USER\\R]\r\n\"multi\"=hex(7):61,00,62\r\n\r\n");
    EXPECT_FALSE(EditorMayStumbleOn({L"", reg_type::kExpandString, {0x61, 0x00}}));
    EXPECT_FALSE(EditorMayStumbleOn({L"", reg_type::kNone, {0x61}}));
}

TEST(EncodeUtf16LeWithBom, ByteOrderMarkThenLittleEndianUnits) {
    EXPECT_EQ(EncodeUtf16LeWithBom(L"A中"), (std::vector<std::uint8_t>{0xFF, 0xFE, 0x41, 0x00, 0x2D, 0x4E}));
    EXPECT_EQ(EncodeUtf16LeWithBom(L""), (std::vector<std::uint8_t>{0xFF, 0xFE}));
}

}  // namespace
}  // namespace taliveer
