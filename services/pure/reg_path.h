// Key-path rules of the registry helpers. Pure: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taliveer {

// One leading backslash names the path from the root and is dropped; "" and "\" name the
// root itself (the result is then empty). A trailing backslash is kept: the registry
// accepts it.
std::wstring_view RelativeKeyPath(std::wstring_view path);

struct ParentAndName {
    std::wstring parent;
    std::wstring name;
};

// Splits a path for deletion from its parent: one trailing backslash is dropped, then the
// path is cut at its last backslash. No result for an empty path or a path without a
// backslash (the key would be a root's direct child named without its parent).
std::optional<ParentAndName> SplitParentAndName(std::wstring_view path);

// "Failed to set data for '%s'" and its siblings, with the value name in place of %s.
std::wstring FormatValueError(std::wstring_view pattern, std::wstring_view valueName);

}  // namespace taliveer
