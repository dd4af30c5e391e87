// The icon of the file a row names: its first icon, or the stock program icon.
#pragma once

#include "services/unique_handle.h"

#include <string>

namespace taliveer {

// The one icon that each row's lookup fills, Width x Height (the lists' small-icon side: 16
// at 96 DPI, 20, 24, 32 at 120, 144, 192); the caller adds it to the image list (which copies
// it) before the next lookup replaces it.
struct RowIconSlot {
    int Width = 0;
    int Height = 0;
    UniqueHIcon Icon;
};

// Fills `slot` with the slot-sized image of the first icon of `path` when that names an
// existing file and the shell gives an icon for it; otherwise with icon 2 of shell32.dll.
// Returns the icon (possibly none when even the stock icon cannot be loaded).
HICON GetFileIcon(RowIconSlot& slot, const std::wstring& path);

// The two halves of GetFileIcon, for callers that keep icons between rows: the file's own
// first icon (none for a missing file or one without icons), and the stock icon.
HICON GetOwnFileIcon(RowIconSlot& slot, const std::wstring& path);
HICON GetStockFileIcon(RowIconSlot& slot);

}  // namespace taliveer
