#include "services/file_icon.h"

#include "services/file_system.h"

#include <shellapi.h>

namespace taliveer {

namespace {
// ExtractIcon answers NULL for no icon, and (HICON)1 for a file that is not an executable:
// neither is an icon to show.
UniqueHIcon ExtractFirstIcon(const wchar_t* file, UINT index) {
    HICON icon = ::ExtractIconW(::GetModuleHandleW(nullptr), file, index);
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) return {};
    return UniqueHIcon(icon);
}
}  // namespace

HICON GetOwnFileIcon(RowIconSlot& slot, const std::wstring& path) {
    slot.Icon.reset();
    if (FileExists(path)) slot.Icon = ExtractFirstIcon(path.c_str(), 0);
    return slot.Icon.get();
}

HICON GetStockFileIcon(RowIconSlot& slot) {
    slot.Icon = ExtractFirstIcon(L"shell32.dll", 2);
    return slot.Icon.get();
}

HICON GetFileIcon(RowIconSlot& slot, const std::wstring& path) {
    if (HICON own = GetOwnFileIcon(slot, path)) return own;
    return GetStockFileIcon(slot);
}

}  // namespace taliveer
