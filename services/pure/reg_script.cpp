#include "services/pure/reg_script.h"

namespace taliveer {
namespace {

constexpr wchar_t kHeader[] = L"Windows Registry Editor Version 5.00";
constexpr size_t kLineWidth = 80;  // the editor's hex lines stay within 80 characters

std::wstring Hex2(std::uint8_t byte) {
    constexpr wchar_t digits[] = L"0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 15]};
}

std::wstring TypeTag(std::uint32_t type) {
    if (type == reg_type::kBinary) return L"hex:";
    constexpr wchar_t digits[] = L"0123456789abcdef";
    std::wstring n;
    do {
        n.insert(n.begin(), digits[type & 15]);
        type >>= 4;
    } while (type);
    return L"hex(" + n + L"):";
}

std::wstring NamePart(const std::wstring& name) {
    return name.empty() ? L"@=" : L"\"" + EscapeRegText(name) + L"\"=";
}

// The data as one string when it is exactly text plus one terminating NUL, without line
// breaks; nothing otherwise.
bool AsQuotedString(const std::vector<std::uint8_t>& data, std::wstring& text) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    const size_t units = data.size() / 2;
    text.clear();
    for (size_t i = 0; i < units; ++i) {
        const wchar_t c = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (i + 1 == units) return c == L'\0';
        if (c == L'\0' || c == L'\r' || c == L'\n') return false;
        text.push_back(c);
    }
    return false;
}

std::wstring HexValue(const std::wstring& prefix, const std::vector<std::uint8_t>& data) {
    std::wstring out;
    std::wstring line = prefix;
    for (size_t i = 0; i < data.size(); ++i) {
        std::wstring token = Hex2(data[i]);
        if (i + 1 < data.size()) token.push_back(L',');
        // Keep room for the continuation backslash.
        if (line.size() + token.size() > kLineWidth - 1 && line.size() > 2) {
            out += line + L"\\\r\n";
            line = L"  ";
        }
        line += token;
    }
    return out + line;
}

}  // namespace

std::wstring EscapeRegText(std::wstring_view text) {
    std::wstring doubled;
    for (wchar_t c : text) {
        doubled.push_back(c);
        if (c == L'\\') doubled.push_back(L'\\');
    }
    std::wstring out;
    for (wchar_t c : doubled) {
        if (c == L'"') out.push_back(L'\\');
        out.push_back(c);
    }
    return out;
}

std::wstring FormatRegValue(const RegValueData& value) {
    const std::wstring prefix = NamePart(value.name);
    if (value.type == reg_type::kString) {
        std::wstring text;
        if (AsQuotedString(value.data, text)) return prefix + L"\"" + EscapeRegText(text) + L"\"";
    }
    if (value.type == reg_type::kDword && value.data.size() == 4) {
        std::wstring digits;
        for (int i = 3; i >= 0; --i) digits += Hex2(value.data[static_cast<size_t>(i)]);
        return prefix + L"dword:" + digits;
    }
    return HexValue(prefix + TypeTag(value.type), value.data);
}

bool RegNameWritable(std::wstring_view name) { return name.find_first_of(L"\r\n") == std::wstring_view::npos; }

std::wstring FormatRegKeyLine(std::wstring_view rootName, std::wstring_view path) {
    std::wstring line = L"[";
    line += rootName;
    if (!path.empty()) {
        line += L"\\";
        line += path;
    }
    line += L"]";
    return line;
}

bool EditorMayStumbleOn(const RegValueData& value) {
    const bool text = value.type == reg_type::kString || value.type == reg_type::kExpandString ||
                      value.type == reg_type::kMultiString;
    return text && value.data.size() % 2 != 0;
}

void RegScript::AddValue(std::wstring_view rootName, std::wstring_view path, const RegValueData& value) {
    std::wstring& into = EditorMayStumbleOn(value) ? tail_ : body_;
    into += FormatRegKeyLine(rootName, path) + L"\r\n" + FormatRegValue(value) + L"\r\n\r\n";
    ++values_;
}

void RegScript::AddKey(std::wstring_view rootName, std::wstring_view path, const std::vector<RegValueData>& values) {
    const std::wstring keyLine = FormatRegKeyLine(rootName, path) + L"\r\n";
    body_ += keyLine;
    for (const RegValueData& value : values) {
        if (EditorMayStumbleOn(value)) {
            tail_ += keyLine + FormatRegValue(value) + L"\r\n\r\n";
        } else {
            body_ += FormatRegValue(value) + L"\r\n";
        }
        ++values_;
    }
    body_ += L"\r\n";
}

std::wstring RegScript::Text() const { return std::wstring(kHeader) + L"\r\n\r\n" + body_ + tail_; }

std::vector<std::uint8_t> EncodeUtf16LeWithBom(std::wstring_view text) {
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    out.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        auto unit = static_cast<std::uint32_t>(c);
        if (unit > 0xFFFF) {  // a UTF-32 wchar_t (native builds): write a surrogate pair
            unit -= 0x10000;
            const std::uint32_t high = 0xD800 + (unit >> 10);
            const std::uint32_t low = 0xDC00 + (unit & 0x3FF);
            out.push_back(static_cast<std::uint8_t>(high & 0xFF));
            out.push_back(static_cast<std::uint8_t>(high >> 8));
            out.push_back(static_cast<std::uint8_t>(low & 0xFF));
            out.push_back(static_cast<std::uint8_t>(low >> 8));
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return out;
}

std::vector<std::uint8_t> Utf16LeBytes(std::wstring_view text) {
    std::vector<std::uint8_t> bytes = EncodeUtf16LeWithBom(text);
    bytes.erase(bytes.begin(), bytes.begin() + 2);
    return bytes;
}

std::vector<std::uint8_t> RegStringBytes(std::wstring_view text) { return Utf16LeBytes(std::wstring(text) + L'\0'); }

}  // namespace taliveer
