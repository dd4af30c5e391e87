#include "services/file_icon.h"

#include "services/file_system.h"

#include <shellapi.h>

namespace taliveer {

namespace {
// The 16 x 16 image of a file's icon, the one the lists show; not the large image, which a
// 16 x 16 list would have to scale down (a slow conversion, and under Wine a blotchy one).
// None for a file that is not an executable, a library or an icon file.
UniqueHIcon ExtractSmallIcon(const wchar_t* file, int index) {
    HICON small = nullptr;
    ::ExtractIconExW(file, index, nullptr, &small, 1);
    return UniqueHIcon(small);
}
}  // namespace

HICON GetOwnFileIcon(RowIconSlot& slot, const std::wstring& path) {
    slot.Icon.reset();
    if (FileExists(path)) slot.Icon = ExtractSmallIcon(path.c_str(), 0);
    return slot.Icon.get();
}

HICON GetStockFileIcon(RowIconSlot& slot) {
    slot.Icon = ExtractSmallIcon(L"shell32.dll", 2);
    return slot.Icon.get();
}

HICON GetFileIcon(RowIconSlot& slot, const std::wstring& path) {
    if (HICON own = GetOwnFileIcon(slot, path)) return own;
    return GetStockFileIcon(slot);
}

}  // namespace taliveer
