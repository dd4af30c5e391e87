// Reads what a list view shows, for the page tests.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace taliveer::test {

struct ListRow {
    std::vector<std::wstring> cells;
    int image = -1;
    bool checked = false;
};

inline std::vector<ListRow> ReadRows(HWND list, int columns) {
    std::vector<ListRow> rows;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        ListRow row;
        for (int c = 0; c < columns; ++c) {
            wchar_t buffer[1024] = {};
            ListView_GetItemText(list, i, c, buffer, 1024);
            row.cells.emplace_back(buffer);
        }
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        ListView_GetItem(list, &item);
        row.image = item.iImage;
        row.checked = ListView_GetCheckState(list, i) != 0;
        rows.push_back(std::move(row));
    }
    return rows;
}

// Index of the first row whose caption is `caption`, -1 when none.
inline int FindRow(const std::vector<ListRow>& rows, const std::wstring& caption, int from = 0) {
    for (int i = from; i < static_cast<int>(rows.size()); ++i) {
        if (rows[static_cast<size_t>(i)].cells[0] == caption) return i;
    }
    return -1;
}

}  // namespace taliveer::test
