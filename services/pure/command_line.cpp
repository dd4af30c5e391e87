#include "services/pure/command_line.h"

#include "services/pure/path_text.h"

#include <array>

namespace taliveer {
namespace {

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

// Position of `token` in `text` from `from`, ASCII letters compared in any case.
size_t FindIgnoringCase(std::wstring_view text, std::wstring_view token, size_t from) {
    if (token.empty() || text.size() < token.size()) return std::wstring_view::npos;
    for (size_t i = from; i + token.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < token.size() && AsciiUpper(text[i + k]) == AsciiUpper(token[k])) ++k;
        if (k == token.size()) return i;
    }
    return std::wstring_view::npos;
}

std::wstring ReplaceAllIgnoringCase(std::wstring_view text, std::wstring_view token, std::wstring_view by) {
    std::wstring out;
    size_t from = 0;
    for (;;) {
        const size_t at = FindIgnoringCase(text, token, from);
        if (at == std::wstring_view::npos) break;
        out.append(text.substr(from, at - from));
        out.append(by);
        from = at + token.size();
    }
    out.append(text.substr(from));
    return out;
}

// 1-based position of `what` in `s`, 0 when absent (the rules below count that way).
size_t Pos(std::wstring_view s, std::wstring_view what) {
    const size_t at = s.find(what);
    return at == std::wstring_view::npos ? 0 : at + 1;
}

}  // namespace

std::wstring AsciiUpperCase(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = AsciiUpper(c);
    return out;
}

std::wstring ExpandPathPrefixes(std::wstring_view text, const PrefixFolders& folders) {
    const std::array<std::pair<std::wstring_view, std::wstring_view>, 6> rules{{
        {L"%WINDIR%\\", folders.windowsFolder},
        {L"%SYSTEMROOT%\\", folders.windowsFolder},
        {L"%PROGRAMFILES%\\", L"C:\\Program Files\\"},
        {L"%PROGRAMFILES(X86)%\\", L"C:\\Program Files (x86)\\"},
        {L"%PROGRAMW6432%\\", L"C:\\Program Files\\"},
        {L"%USERPROFILE%\\", folders.profileFolder},
    }};
    std::wstring s(text);
    for (const auto& [token, by] : rules) {
        if (s.find(token) != std::wstring::npos) s = ReplaceAllIgnoringCase(s, token, by);
    }
    return s;
}

std::wstring ExtractProgramFile(std::wstring_view commandLine, const PrefixFolders& folders,
                                const UpperCaseFunction& upperCase) {
    // Blanks around the command do not belong to the file name.
    std::wstring s = TrimBlanks(commandLine);
    if (s.empty()) return s;
    // Compared in upper case, with the folder variables spelt out and no quotes.
    s = upperCase ? upperCase(s) : AsciiUpperCase(s);
    s = ExpandPathPrefixes(s, folders);
    std::erase(s, L'"');
    // Whatever stands before the first absolute path goes.
    if (const size_t p = Pos(s, L":\\"); p > 2) s.erase(0, p - 2);
    // A second absolute path ends the text just before its drive letter.
    if (s.size() > 2) {
        if (const size_t q = Pos(std::wstring_view(s).substr(2), L":\\"); q > 2) s.resize(q);
    }
    // Up to the earliest of the known extensions.
    for (std::wstring_view ext : {L".EXE", L".DLL", L".BAT", L".CMD", L".CPL", L".APL", L".OCX"}) {
        if (const size_t at = Pos(s, ext); at != 0) s.resize(at + 3);
    }
    // "start x.exe" names x.exe.
    if (s.compare(0, 6, L"START ") == 0) s.erase(0, 6);
    // A comma: a host program in front of it, or an argument or icon index after it.
    if (const size_t c = Pos(s, L","); c != 0) {
        if (c < Pos(s, L":")) s.erase(0, c);
        if (const size_t dot = Pos(s, L"."); dot != 0 && dot < c) {
            const size_t last = s.rfind(L'.') + 1;
            if (last + 3 < s.size()) s.resize(last + 3);
        }
    }
    return s;
}

}  // namespace taliveer
