// A list view that fills row by row while messages run would repaint after every row,
// which costs more than the rows themselves. This paints it as soon as the rows fill its
// visible height (or 250 ms after the first row, when they come slowly), then every 250 ms
// while the new rows are in sight, every second once they fall below the visible rows (only
// the scroll bar changes then), and once more at the end.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace taliveer {

class ThrottledListPainting {
public:
    explicit ThrottledListPainting(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    ThrottledListPainting(const ThrottledListPainting&) = delete;
    ThrottledListPainting& operator=(const ThrottledListPainting&) = delete;
    ~ThrottledListPainting() {
        if (!::IsWindow(list_)) return;
        ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
    }

    // After a row was added.
    void RowAdded() {
        const ULONGLONG now = ::GetTickCount64();
        const int last = ListView_GetItemCount(list_) - 1;
        const int belowSight = ListView_GetTopIndex(list_) + ListView_GetCountPerPage(list_);
        const bool inSight = last <= belowSight;
        const bool screenFull = last == belowSight;
        if (last == 0) firstRow_ = now;
        const ULONGLONG since = painted_ ? lastPaint_ : firstRow_;
        if (!screenFull && now - since < (inSight ? 250u : 1000u)) return;
        painted_ = true;
        lastPaint_ = now;
        ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
        ::UpdateWindow(list_);
        ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }

private:
    HWND list_;
    bool painted_ = false;
    ULONGLONG firstRow_ = 0;
    ULONGLONG lastPaint_ = 0;
};

}  // namespace taliveer
