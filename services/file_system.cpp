#include "services/file_system.h"

#include "services/unique_handle.h"

#include <windows.h>

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

bool ReadFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes, unsigned long* error) {
    bytes.clear();
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    DWORD got = 0;
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        if (error) *error = ::GetLastError();
        return false;
    }
    if (size.QuadPart > (1 << 26)) {
        if (error) *error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size())) {
        if (error) *error = ::GetLastError();
        bytes.clear();
        return false;
    }
    return true;
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
