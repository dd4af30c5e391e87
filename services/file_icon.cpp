#include "services/file_icon.h"

#include <shellapi.h>

namespace taliveer {

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {
// ExtractIcon answers NULL for no icon, and (HICON)1 for a file that is not an executable:
// neither is an icon to show.
UniqueHIcon ExtractFirstIcon(const wchar_t* file, UINT index) {
    HICON icon = ::ExtractIconW(::GetModuleHandleW(nullptr), file, index);
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) return {};
    return UniqueHIcon(icon);
}
}  // namespace

HICON GetFileIcon(RowIconSlot& slot, const std::wstring& path) {
    slot.Icon.reset();
    if (FileExists(path)) slot.Icon = ExtractFirstIcon(path.c_str(), 0);
    if (!slot.Icon) slot.Icon = ExtractFirstIcon(L"shell32.dll", 2);
    return slot.Icon.get();
}

std::wstring LocaleUpperCase(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::wstring out(text.size(), L'\0');
    const int got = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, out.data(), length);
    if (got != length) return std::wstring(text);  // never changes a length in practice
    return out;
}

}  // namespace taliveer
