#include "services/file_writer.h"

#include "services/unique_handle.h"

namespace taliveer {
namespace {

// Writes into a file this call has just made, then flushes it; the handle is closed after.
DWORD WriteAndFlush(UniqueFileHandle file, std::string_view bytes) {
    DWORD written = 0;
    if (!bytes.empty() && !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return ::GetLastError();
    }
    if (written != bytes.size()) return ERROR_WRITE_FAULT;
    if (!::FlushFileBuffers(file.get())) return ::GetLastError();
    return ERROR_SUCCESS;
}

DWORD CreateAndWrite(const std::wstring& path, std::string_view bytes) {
    UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    const DWORD status = WriteAndFlush(std::move(file), bytes);
    if (status != ERROR_SUCCESS) ::DeleteFileW(path.c_str());  // a part of a file is nothing the user wants
    return status;
}

}  // namespace

DWORD WriteWholeFile(const std::wstring& path, std::string_view bytes, WriteMode mode) {
    if (bytes.size() > MAXDWORD) return ERROR_FILE_TOO_LARGE;
    if (mode == WriteMode::CreateNew) return CreateAndWrite(path, bytes);
    const DWORD made = CreateAndWrite(path, bytes);
    if (made != ERROR_FILE_EXISTS && made != ERROR_ALREADY_EXISTS) return made;
    // Written beside it first, then put in its place: the old file stays until the new one is whole.
    for (int n = 1; n < 100; ++n) {
        const std::wstring temporary = path + L".taliveer-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(n) + L".tmp";
        const DWORD status = CreateAndWrite(temporary, bytes);
        if (status == ERROR_FILE_EXISTS || status == ERROR_ALREADY_EXISTS) continue;
        if (status != ERROR_SUCCESS) return status;
        if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return ERROR_SUCCESS;
        }
        const DWORD moved = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return moved;
    }
    return ERROR_FILE_EXISTS;
}

DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, WriteMode mode) {
    return WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), mode);
}

}  // namespace taliveer
