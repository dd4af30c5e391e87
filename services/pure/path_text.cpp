#include "services/pure/path_text.h"

namespace taliveer {

std::wstring TrimBlanks(std::wstring_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned>(text[first]) <= 32u) ++first;
    while (last > first && static_cast<unsigned>(text[last - 1]) <= 32u) --last;
    return std::wstring(text.substr(first, last - first));
}

std::wstring WithTrailingBackslash(std::wstring_view folder) {
    std::wstring out(folder);
    if (!out.empty() && out.back() != L'\\') out.push_back(L'\\');
    return out;
}

std::wstring UpToLastBackslash(std::wstring_view path) {
    const size_t pos = path.rfind(L'\\');
    if (pos == std::wstring_view::npos) return {};
    return std::wstring(path.substr(0, pos + 1));
}

std::wstring_view UpToFirstNul(std::wstring_view text) {
    const size_t pos = text.find(L'\0');
    return pos == std::wstring_view::npos ? text : text.substr(0, pos);
}

}  // namespace taliveer
