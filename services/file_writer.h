// The one way the program writes a file: every byte or nothing. A new file is made only where
// no file of that name exists; a file is replaced only where the caller asks for it (after
// saving it first), and then only once the new content is wholly on disk, so that a failed
// write leaves the old file as it was and no part of the new one behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

enum class WriteMode {
    CreateNew,  // ERROR_FILE_EXISTS (or ERROR_ALREADY_EXISTS) when the name is taken
    Replace,    // a new file, or in place of the one there
};

// ERROR_SUCCESS once every byte is written and flushed; otherwise the system's reason, and
// nothing of this write is left on disk.
DWORD WriteWholeFile(const std::wstring& path, std::string_view bytes, WriteMode mode);
DWORD WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, WriteMode mode);

}  // namespace taliveer
