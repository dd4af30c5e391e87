#include "pages/associations/pure/association_rules.h"

#include "services/pure/command_line.h"

namespace taliveer {

std::wstring AssociationSearchKey(std::wstring_view text) {
    std::wstring key = AsciiUpperCase(text);
    if (key.empty() || key.front() != L'.') key.insert(key.begin(), L'.');
    return key;
}

int FindPrefixRow(const std::vector<std::wstring>& captions, std::wstring_view text) {
    if (text.empty()) return -1;
    const std::wstring key = AssociationSearchKey(text);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (AsciiUpperCase(captions[i]).compare(0, key.size(), key) == 0) return static_cast<int>(i);
    }
    return -1;
}

std::wstring ProgIdSubkey(std::wstring_view progId, std::wstring_view subkey) {
    return std::wstring(progId) + std::wstring(subkey);
}

std::wstring AssociationCountText(int rows) { return std::to_wstring(rows) + L" 个关联"; }

}  // namespace taliveer
