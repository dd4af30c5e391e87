// Rules of the association page that need no system: the search and the count. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

// The search text upper-cased (ASCII letters only), with a leading "." when it has none.
std::wstring AssociationSearchKey(std::wstring_view text);

// Index of the first caption that, upper-cased the same way, begins with the key made from
// `text`; -1 when none does or the text is empty.
int FindPrefixRow(const std::vector<std::wstring>& captions, std::wstring_view text);

// The file-type key under which a ProgID's values are read: "" names the root itself.
std::wstring ProgIdSubkey(std::wstring_view progId, std::wstring_view subkey);

// "12 个关联"
std::wstring AssociationCountText(int rows);

}  // namespace taliveer
