#include "services/pure/reg_script_reader.h"

#include <gtest/gtest.h>

#include <random>

namespace taliveer {
namespace {

std::vector<std::uint8_t> Utf16(const std::wstring& text) { return RegStringBytes(text); }

const ScriptKey* Find(const ScriptReading& reading, std::wstring_view path) {
    for (const ScriptKey& key : reading.keys)
        if (key.path == path) return &key;
    return nullptr;
}

// Any values the writer gets, in keys written whole and value by value, come back from the
// reader with the same keys, names, types and bytes.
TEST(ReadRegScript, WhatTheWriterWritesComesBackExactly) {
    std::mt19937 random(20261209);
    const std::vector<std::uint32_t> types{reg_type::kNone,  reg_type::kString, reg_type::kExpandString,
                                           reg_type::kBinary, reg_type::kDword, reg_type::kMultiString,
                                           reg_type::kQword, 0x12345};
    const std::wstring alphabet = L"abcXYZ09 \"\\=@[]-;,:中文é\t";
    auto text = [&](size_t most) {
        std::wstring out;
        const size_t n = random() % (most + 1);
        for (size_t i = 0; i < n; ++i) out.push_back(alphabet[random() % alphabet.size()]);
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        RegScript script;
        std::vector<std::pair<std::wstring, std::vector<RegValueData>>> written;
        const int keys = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < keys; ++k) {
            std::wstring part = text(12);  // a key's own name holds no backslash
            std::erase(part, L'\\');
            const std::wstring path = L"Software\\K" + std::to_wstring(k) + L"\\k" + part;
            std::vector<RegValueData> values;
            const int count = static_cast<int>(random() % 6);
            for (int v = 0; v < count; ++v) {
                RegValueData value;
                value.name = v == 0 && random() % 3 == 0 ? std::wstring() : L"n" + std::to_wstring(v) + text(10);
                value.type = types[random() % types.size()];
                const bool asText = value.type == reg_type::kString && random() % 2;
                if (asText) {
                    value.data = Utf16(text(40));
                } else if (value.type == reg_type::kDword && random() % 2) {
                    value.data.resize(4);
                } else {
                    value.data.resize(random() % 200);
                }
                if (!asText)
                    for (auto& byte : value.data) byte = static_cast<std::uint8_t>(random());
                values.push_back(value);
            }
            if (random() % 2) {
                script.AddKey(L"HKEY_CURRENT_USER", path, values);
            } else {
                for (const RegValueData& value : values) script.AddValue(L"HKEY_CURRENT_USER", path, value);
                if (values.empty()) script.AddKey(L"HKEY_CURRENT_USER", path, values);
            }
            written.emplace_back(path, values);
        }
        const std::vector<std::uint8_t> file = EncodeUtf16LeWithBom(script.Text());
        const ScriptReading reading = ReadRegScriptFile(file);
        ASSERT_TRUE(reading.ok) << ScriptErrorText(reading);
        ASSERT_EQ(reading.keys.size(), written.size());
        for (const auto& [path, values] : written) {
            const ScriptKey* key = Find(reading, path);
            ASSERT_NE(key, nullptr);
            EXPECT_EQ(key->root, L"HKEY_CURRENT_USER");
            ASSERT_EQ(key->values.size(), values.size());
            for (const RegValueData& value : values) {
                bool found = false;
                for (const RegValueData& read : key->values) {
                    if (read.name != value.name) continue;
                    found = true;
                    EXPECT_EQ(read.type, value.type);
                    EXPECT_EQ(read.data, value.data);
                }
                EXPECT_TRUE(found);
            }
        }
    }
}

// The editor's own export: mixed-case type tags, a wrapped hex(2) line, comments, a key
// written twice, short root names, a REGEDIT4 file with ANSI text in hex(2).
TEST(ReadRegScript, ExportsOfTheSystemEditorAndRegedit4) {
    const ScriptReading five = ReadRegScriptText(
        L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        L"; a comment\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\T\\]\r\n"
        L"@=\"default \\\"q\\\" c:\\\\x\"\r\n"
        L"\"Path\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
        L"  00,25,00,00,00\r\n"
        L"\"N\" = DWORD:1A\r\n"
        L"\"B\"=hex:\r\n"
        L"\r\n"
        L"[hkcu\\Other]\n"
        L"\"v\"=\"1\"\n"
        L"[HKEY_LOCAL_MACHINE\\software\\wow6432node\\t]\n"
        L"\"n\"=dword:00000002\n");
    ASSERT_TRUE(five.ok) << ScriptErrorText(five);
    ASSERT_EQ(five.keys.size(), 2u);
    const ScriptKey& t = five.keys[0];
    EXPECT_EQ(t.root, L"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(t.path, L"SOFTWARE\\Wow6432Node\\T");
    ASSERT_EQ(t.values.size(), 4u);
    EXPECT_EQ(t.values[0].data, Utf16(L"default \"q\" c:\\x"));
    EXPECT_EQ(t.values[1].type, reg_type::kExpandString);
    EXPECT_EQ(t.values[1].data, Utf16(L"%SystemRoot%"));
    EXPECT_EQ(t.values[2].name, L"N");  // written twice: the last data, the first name
    EXPECT_EQ(t.values[2].data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_TRUE(t.values[3].data.empty());
    EXPECT_EQ(five.keys[1].root, L"HKEY_CURRENT_USER");

    const std::string ansi = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"S\"=\"caf\xe9\"\r\n\"E\"=hex(2):25,41,25,00\r\n";
    const ScriptReading four = ReadRegScriptFile(std::span(reinterpret_cast<const std::uint8_t*>(ansi.data()), ansi.size()));
    ASSERT_TRUE(four.ok) << ScriptErrorText(four);
    EXPECT_TRUE(four.regedit4);
    ASSERT_EQ(four.keys.at(0).values.size(), 2u);
    EXPECT_EQ(four.keys[0].values[0].data, Utf16(L"caf\u00e9"));
    EXPECT_EQ(four.keys[0].values[1].data, Utf16(L"%A%"));  // stored as UTF-16, as the editor does
}

TEST(ReadRegScript, DeletionsAreListedAndNeverTakenForValues) {
    const ScriptReading reading = ReadRegScriptText(
        L"Windows Registry Editor Version 5.00\r\n"
        L"[-HKEY_CURRENT_USER\\Gone]\r\n"
        L"\"ignored\"=\"under a deleted key\"\r\n"
        L"[HKEY_CURRENT_USER\\Kept]\r\n"
        L"\"a\"=-\r\n"
        L"\"b\"=\"x\"\r\n");
    ASSERT_TRUE(reading.ok) << ScriptErrorText(reading);
    EXPECT_TRUE(reading.HasDeletions());
    ASSERT_EQ(reading.keys.size(), 2u);
    EXPECT_TRUE(reading.keys[0].deleted);
    EXPECT_TRUE(reading.keys[0].values.empty());
    EXPECT_FALSE(reading.keys[1].deleted);
    EXPECT_EQ(reading.keys[1].deletedValues, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(reading.ValueCount(), 1);
}

TEST(ReadRegScript, WhatCannotBeReadIsNamedWithItsLineAndNothingIsKept) {
    struct Case {
        const wchar_t* text;
        int line;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {L"", 1, L"空"},
        {L"hello\r\n[HKEY_CURRENT_USER\\A]", 1, L"不是注册表脚本"},
        {L"REGEDIT4\r\n\"a\"=\"b\"", 2, L"不在任何键下"},
        {L"REGEDIT4\r\n[HKEY_CURRENT_USER\\A", 2, L"]"},
        {L"REGEDIT4\r\n[HKEY_NOWHERE\\A]", 2, L"根键"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a=\"b\"", 3, L"="},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=\"b", 3, L"引号"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=\"b\" x", 3, L"多余"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=dword:123456789", 3, L"dword"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=hex:01,\\\r\n  02,zz", 4, L"十六进制"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=hex:01,,02", 3, L"十六进制"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=hex(x):01", 3, L"hex("},
        {L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=word:1", 3, L"无法识别"},
        {L"REGEDIT4\r\n[HKCU\\A]\r\nrandom", 3, L"无法识别"},
    };
    for (const Case& c : cases) {
        const ScriptReading reading = ReadRegScriptText(c.text);
        EXPECT_FALSE(reading.ok) << c.line;
        EXPECT_TRUE(reading.keys.empty());
        EXPECT_EQ(reading.errorLine, c.line) << reading.errorLine;
        EXPECT_NE(reading.error.find(c.reason), std::wstring::npos) << c.line;
    }
}

}  // namespace
}  // namespace taliveer
