// Registry scripts ("Windows Registry Editor Version 5.00"), as the registry editor writes
// and reads them: composed here from values, written to disk elsewhere. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

// Registry value types, as numbers (the pure layer has no Windows headers).
namespace reg_type {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kString = 1;
inline constexpr std::uint32_t kExpandString = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiString = 7;
inline constexpr std::uint32_t kQword = 11;
}  // namespace reg_type

struct RegValueData {
    std::wstring name;  // empty: the key's default value
    std::uint32_t type = reg_type::kString;
    std::vector<std::uint8_t> data;  // exactly as stored
};

// Doubles every backslash, then puts a backslash before every double quote.
std::wstring EscapeRegText(std::wstring_view text);

// One value as the editor writes it: "name"="text", @=dword:0000000a, "n"=hex(2):25,00,...
// (long hex data continued over lines ending in a backslash). Strings that the quoted form
// cannot carry exactly (no single terminating NUL, a NUL inside, a line break) are written
// as hex(1) so that the bytes come back as they were.
std::wstring FormatRegValue(const RegValueData& value);

// A value or key name holding a line break cannot be written as a script line.
bool RegNameWritable(std::wstring_view name);

// "[HKEY_CURRENT_USER\path]"
std::wstring FormatRegKeyLine(std::wstring_view rootName, std::wstring_view path);

// String data of an odd number of bytes: Wine's registry editor loses the last byte of it,
// and with a single byte it fails outright, leaving the rest of the file unread.
bool EditorMayStumbleOn(const RegValueData& value);

// Values the registry editor may stumble on are written after all others, each under its
// own repeated key line, so that whatever happens to them the rest comes back.
class RegScript {
public:
    // A key line, this one value and an empty line (the key line is written for every value).
    void AddValue(std::wstring_view rootName, std::wstring_view path, const RegValueData& value);
    // A key line, all its values and an empty line, as an export writes each key.
    void AddKey(std::wstring_view rootName, std::wstring_view path, const std::vector<RegValueData>& values);

    bool Empty() const { return body_.empty(); }
    int ValueCount() const { return values_; }
    // The header, the empty line and the body; CRLF line ends.
    std::wstring Text() const;

private:
    std::wstring body_;
    std::wstring tail_;
    int values_ = 0;
};

// UTF-16LE with a byte-order mark: the encoding the registry editor reads this header in.
std::vector<std::uint8_t> EncodeUtf16LeWithBom(std::wstring_view text);

// `text` as UTF-16LE, no mark, no terminator.
std::vector<std::uint8_t> Utf16LeBytes(std::wstring_view text);

// The bytes a string value holds for `text`: UTF-16LE with its terminator, no mark.
std::vector<std::uint8_t> RegStringBytes(std::wstring_view text);

}  // namespace taliveer
