#include "services/file_icon.h"

#include "services/file_system.h"

#include <shellapi.h>

namespace taliveer {

namespace {
// The image of a file's icon at the lists' side (16 x 16 at 96 DPI, scaled with the window),
// the one drawn for that size; not a larger image that the list would have to scale down (a
// slow conversion, and under Wine a blotchy one). None for a file that is not an executable,
// a library or an icon file.
UniqueHIcon ExtractSmallIcon(const wchar_t* file, int index, int side) {
    HICON small = nullptr;
    const UINT got = ::PrivateExtractIconsW(file, index, side, side, &small, nullptr, 1, 0);
    if (got == 0 || got == 0xFFFFFFFF) return {};
    return UniqueHIcon(small);
}

int SideOf(const RowIconSlot& slot) { return slot.Width > 0 ? slot.Width : 16; }
}  // namespace

HICON GetOwnFileIcon(RowIconSlot& slot, const std::wstring& path) {
    slot.Icon.reset();
    if (FileExists(path)) slot.Icon = ExtractSmallIcon(path.c_str(), 0, SideOf(slot));
    return slot.Icon.get();
}

HICON GetStockFileIcon(RowIconSlot& slot) {
    slot.Icon = ExtractSmallIcon(L"shell32.dll", 2, SideOf(slot));
    return slot.Icon.get();
}

HICON GetFileIcon(RowIconSlot& slot, const std::wstring& path) {
    if (HICON own = GetOwnFileIcon(slot, path)) return own;
    return GetStockFileIcon(slot);
}

}  // namespace taliveer
