#include "services/pure/reg_location.h"

namespace taliveer {
namespace {

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

// True when `text` begins with `prefix` in any letter case (ASCII), followed by the end or
// a backslash; `rest` is what follows, without that backslash.
bool StartsWithKey(std::wstring_view text, std::wstring_view prefix, std::wstring_view& rest) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
    }
    if (text.size() == prefix.size()) {
        rest = {};
        return true;
    }
    if (text[prefix.size()] != L'\\') return false;
    rest = text.substr(prefix.size() + 1);
    return true;
}

std::wstring Join(std::wstring_view root, std::wstring_view rest) {
    std::wstring name(root);
    if (!rest.empty()) {
        name += L'\\';
        name += rest;
    }
    return name;
}

}  // namespace

std::wstring ScriptKeyName(std::wstring_view kernelName, std::wstring_view currentUserSid) {
    std::wstring_view rest;
    if (StartsWithKey(kernelName, L"\\REGISTRY\\MACHINE", rest)) return Join(L"HKEY_LOCAL_MACHINE", rest);
    if (!currentUserSid.empty()) {
        const std::wstring user = L"\\REGISTRY\\USER\\" + std::wstring(currentUserSid);
        if (StartsWithKey(kernelName, user + L"_Classes", rest)) return Join(L"HKEY_CURRENT_USER\\Software\\Classes", rest);
        if (StartsWithKey(kernelName, user, rest)) return Join(L"HKEY_CURRENT_USER", rest);
    }
    if (StartsWithKey(kernelName, L"\\REGISTRY\\USER", rest) && !rest.empty()) return Join(L"HKEY_USERS", rest);
    return {};
}

}  // namespace taliveer
