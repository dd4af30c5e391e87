#include "services/pure/reg_path.h"

namespace taliveer {

std::wstring_view RelativeKeyPath(std::wstring_view path) {
    if (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
    return path;
}

std::optional<ParentAndName> SplitParentAndName(std::wstring_view path) {
    if (path.empty()) return std::nullopt;
    if (path.back() == L'\\') path.remove_suffix(1);
    const size_t pos = path.rfind(L'\\');
    if (pos == std::wstring_view::npos) return std::nullopt;
    return ParentAndName{std::wstring(path.substr(0, pos)), std::wstring(path.substr(pos + 1))};
}

std::wstring FormatValueError(std::wstring_view pattern, std::wstring_view valueName) {
    std::wstring out;
    out.reserve(pattern.size() + valueName.size());
    const size_t pos = pattern.find(L"%s");
    if (pos == std::wstring_view::npos) return std::wstring(pattern);
    out.append(pattern.substr(0, pos));
    out.append(valueName);
    out.append(pattern.substr(pos + 2));
    return out;
}

}  // namespace taliveer
