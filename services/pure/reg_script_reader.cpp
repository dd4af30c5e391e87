#include "services/pure/reg_script_reader.h"

#include <cwctype>
#include <map>

namespace taliveer {
namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";

struct RootName {
    std::wstring_view full;
    std::wstring_view shortName;
};
constexpr RootName kRoots[] = {
    {L"HKEY_LOCAL_MACHINE", L"HKLM"}, {L"HKEY_CURRENT_USER", L"HKCU"}, {L"HKEY_CLASSES_ROOT", L"HKCR"},
    {L"HKEY_USERS", L"HKU"},          {L"HKEY_CURRENT_CONFIG", L"HKCC"},
};

wchar_t Fold(wchar_t c) {
    if (c < 128) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
}

std::wstring Folded(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = Fold(c);
    return out;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Hexadecimal number of 1 to `maxDigits` digits, the whole text.
bool ParseHexNumber(std::wstring_view text, size_t maxDigits, std::uint32_t& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    value = 0;
    for (wchar_t c : text) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return true;
}

std::wstring DefaultAnsi(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

class Lines {
public:
    explicit Lines(std::wstring_view text) : text_(text) {}
    // The next line without its end; false at the end of the text.
    bool Next(std::wstring_view& line) {
        if (at_ > text_.size() || (at_ == text_.size() && ended_)) return false;
        const size_t end = text_.find_first_of(L"\r\n", at_);
        ++number_;
        if (end == std::wstring_view::npos) {
            line = text_.substr(at_);
            at_ = text_.size();
            ended_ = true;
            return true;
        }
        line = text_.substr(at_, end - at_);
        at_ = end + ((text_[end] == L'\r' && end + 1 < text_.size() && text_[end + 1] == L'\n') ? 2 : 1);
        if (at_ == text_.size()) ended_ = true;
        return true;
    }
    int Number() const { return number_; }

private:
    std::wstring_view text_;
    size_t at_ = 0;
    int number_ = 0;
    bool ended_ = false;
};

// A quoted text starting at text[0] == '"': its unescaped content and the rest after the
// closing quote. \\ and \" are the editor's escapes; any other backslash stays as written.
bool ParseQuoted(std::wstring_view text, std::wstring& out, std::wstring_view& rest) {
    out.clear();
    for (size_t i = 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\' && i + 1 < text.size() && (text[i + 1] == L'\\' || text[i + 1] == L'"')) {
            out.push_back(text[++i]);
        } else if (c == L'"') {
            rest = text.substr(i + 1);
            return true;
        } else {
            out.push_back(c);
        }
    }
    return false;
}

class Reader {
public:
    Reader(std::wstring_view text, const AnsiDecoder& ansi) : lines_(text), ansi_(ansi ? ansi : AnsiDecoder(DefaultAnsi)) {}

    ScriptReading Read() {
        std::wstring_view line;
        while (lines_.Next(line)) {
            if (lines_.Number() == 1 && !line.empty() && line.front() == 0xFEFF) line.remove_prefix(1);
            const std::wstring_view trimmed = Trim(line);
            if (!headerSeen_) {
                if (trimmed.empty()) continue;
                if (trimmed == kHeader5) {
                    headerSeen_ = true;
                } else if (trimmed == kHeader4) {
                    headerSeen_ = true;
                    reading_.regedit4 = true;
                } else {
                    Bad(L"不是注册表脚本 (第一行应为 \"Windows Registry Editor Version 5.00\" 或 \"REGEDIT4\")");
                    return reading_;
                }
                continue;
            }
            if (trimmed.empty() || trimmed.front() == L';') continue;
            if (trimmed.front() == L'[') {
                if (!KeyLine(trimmed)) return reading_;
            } else if (trimmed.front() == L'@' || trimmed.front() == L'"') {
                if (!ValueLine(trimmed)) return reading_;
            } else {
                Bad(L"无法识别的行");
                return reading_;
            }
        }
        if (!headerSeen_) {
            Bad(L"文件是空的");
            reading_.errorLine = 1;
            return reading_;
        }
        reading_.ok = true;
        return std::move(reading_);
    }

private:
    // Nothing of a script that cannot be read wholly is kept: the reason and its line are.
    bool Bad(std::wstring why) {
        reading_.ok = false;
        reading_.keys.clear();
        reading_.errorLine = lines_.Number();
        reading_.error = std::move(why);
        return false;
    }

    bool KeyLine(std::wstring_view line) {
        if (line.back() != L']') return Bad(L"键行缺少 \"]\"");
        std::wstring_view name = line.substr(1, line.size() - 2);
        bool deleted = false;
        if (!name.empty() && name.front() == L'-') {
            deleted = true;
            name.remove_prefix(1);
        }
        const size_t slash = name.find(L'\\');
        const std::wstring_view rootPart = name.substr(0, slash);
        std::wstring_view path = slash == std::wstring_view::npos ? std::wstring_view() : name.substr(slash + 1);
        while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
        const RootName* root = nullptr;
        for (const RootName& r : kRoots)
            if (SameText(rootPart, r.full) || SameText(rootPart, r.shortName)) root = &r;
        if (!root) return Bad(L"无法识别的根键 \"" + std::wstring(rootPart) + L"\"");

        const std::wstring id = Folded(root->full) + L"\\" + Folded(path);
        auto found = index_.find(id);
        if (found == index_.end()) {
            ScriptKey key;
            key.root = root->full;
            key.path = path;
            key.line = lines_.Number();
            reading_.keys.push_back(std::move(key));
            found = index_.emplace(id, reading_.keys.size() - 1).first;
        }
        current_ = found->second;
        if (deleted) reading_.keys[current_].deleted = true;
        currentDeleted_ = deleted;
        return true;
    }

    bool ValueLine(std::wstring_view line) {
        if (current_ == kNoKey) return Bad(L"值不在任何键下");
        ScriptKey& key = reading_.keys[current_];
        std::wstring name;
        std::wstring_view rest;
        if (line.front() == L'@') {
            rest = line.substr(1);
        } else if (!ParseQuoted(line, name, rest)) {
            return Bad(L"值名缺少结尾的引号");
        }
        rest = Trim(rest);
        if (rest.empty() || rest.front() != L'=') return Bad(L"值名后缺少 \"=\"");
        rest = Trim(rest.substr(1));

        RegValueData value;
        value.name = name;
        if (rest == L"-") {
            if (!currentDeleted_) key.deletedValues.push_back(name);
            return true;
        }
        if (!rest.empty() && rest.front() == L'"') {
            std::wstring text;
            std::wstring_view after;
            if (!ParseQuoted(rest, text, after)) return Bad(L"字符串缺少结尾的引号");
            if (!Trim(after).empty()) return Bad(L"字符串后有多余的内容");
            value.type = reg_type::kString;
            value.data = RegStringBytes(text);
        } else if (StartsWithNoCase(rest, L"dword:")) {
            std::uint32_t number = 0;
            if (!ParseHexNumber(Trim(rest.substr(6)), 8, number)) return Bad(L"dword 数值无效");
            value.type = reg_type::kDword;
            value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
        } else if (StartsWithNoCase(rest, L"hex")) {
            std::wstring_view after = rest.substr(3);
            value.type = reg_type::kBinary;
            if (!after.empty() && after.front() == L'(') {
                const size_t close = after.find(L')');
                if (close == std::wstring_view::npos || !ParseHexNumber(after.substr(1, close - 1), 8, value.type)) {
                    return Bad(L"hex(类型) 无效");
                }
                after.remove_prefix(close + 1);
            }
            if (after.empty() || after.front() != L':') return Bad(L"hex 后缺少 \":\"");
            if (!HexData(after.substr(1), value.data)) return Bad(L"十六进制数据无效");
            if (reading_.regedit4 && (value.type == reg_type::kExpandString || value.type == reg_type::kMultiString)) {
                const std::string ansi(value.data.begin(), value.data.end());
                value.data = Utf16LeBytes(ansi_(ansi));
            }
        } else {
            return Bad(L"无法识别的数据");
        }
        if (currentDeleted_) return true;  // the editor ignores values under a deleted key
        for (RegValueData& existing : key.values) {
            if (SameText(existing.name, value.name)) {  // the name keeps its first spelling, as in the registry
                existing.type = value.type;
                existing.data = std::move(value.data);
                return true;
            }
        }
        key.values.push_back(std::move(value));
        return true;
    }

    // Bytes "xx,xx,..." continued over lines that end in a backslash.
    bool HexData(std::wstring_view first, std::vector<std::uint8_t>& data) {
        std::wstring_view part = Trim(first);
        for (;;) {
            const bool continued = !part.empty() && part.back() == L'\\';
            if (continued) part.remove_suffix(1);
            size_t at = 0;
            while (at < part.size()) {
                size_t comma = part.find(L',', at);
                if (comma == std::wstring_view::npos) comma = part.size();
                const std::wstring_view token = Trim(part.substr(at, comma - at));
                std::uint32_t byte = 0;
                if (!ParseHexNumber(token, 2, byte)) return false;  // also ",," and a leading comma
                data.push_back(static_cast<std::uint8_t>(byte));
                at = comma + 1;
            }
            if (!continued) return true;
            std::wstring_view next;
            if (!lines_.Next(next)) return true;  // a continuation at the end of the file ends the data
            part = Trim(next);
        }
    }

    Lines lines_;
    AnsiDecoder ansi_;
    ScriptReading reading_;
    std::map<std::wstring, size_t> index_;
    static constexpr size_t kNoKey = static_cast<size_t>(-1);
    size_t current_ = kNoKey;  // the key the values that follow belong to
    bool currentDeleted_ = false;
    bool headerSeen_ = false;
};

}  // namespace

bool ScriptReading::HasDeletions() const {
    for (const ScriptKey& key : keys)
        if (key.deleted || !key.deletedValues.empty()) return true;
    return false;
}

int ScriptReading::ValueCount() const {
    int count = 0;
    for (const ScriptKey& key : keys) count += static_cast<int>(key.values.size());
    return count;
}

ScriptReading ReadRegScriptText(std::wstring_view text, const AnsiDecoder& ansi) { return Reader(text, ansi).Read(); }

ScriptReading ReadRegScriptFile(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const std::uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
            if constexpr (sizeof(wchar_t) == 4) {
                // Native builds: a surrogate pair is one character.
                if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
                    const std::uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                        i += 2;
                        continue;
                    }
                }
            }
            text.push_back(static_cast<wchar_t>(unit));
        }
        return ReadRegScriptText(text, ansi);
    }
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ReadRegScriptText(ansi ? ansi(raw) : DefaultAnsi(raw), ansi);
}

std::wstring ScriptErrorText(const ScriptReading& reading) {
    return L"第 " + std::to_wstring(reading.errorLine) + L" 行: " + reading.error;
}

}  // namespace taliveer
