#include "services/undo_backup.h"

#include "services/pure/backup_name.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/unique_handle.h"

#include <shlobj.h>

namespace taliveer {
namespace {

// Writes the bytes to a file that did not exist before: the first free name of base +
// suffix, base + " (2)" + suffix, ...
BackupResult WriteNewFile(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                          const std::vector<std::uint8_t>& bytes) {
    BackupResult result;
    if (!EnsureUndoFolder(undoFolder)) {
        result.error = L"the Undo folder cannot be created: " + SystemMessage(::GetLastError());
        return result;
    }
    for (int n = 1; n < 10000; ++n) {
        const std::wstring name = BackupFileName(undoFolder, base, suffix, n);
        if (name.empty()) {
            result.error = L"the Undo folder's path is too long for a file name";
            return result;
        }
        const std::wstring path = undoFolder + name;
        UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
            result.error = name + L": " + SystemMessage(code);
            return result;
        }
        DWORD written = 0;
        const bool ok = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && ::FlushFileBuffers(file.get());
        const DWORD code = ::GetLastError();
        file.reset();
        if (!ok) {
            ::DeleteFileW(path.c_str());  // a half-written backup would restore something else
            result.error = name + L": " + SystemMessage(code);
            return result;
        }
        result.written = true;
        result.fileName = name;
        return result;
    }
    result.error = L"no free backup file name";
    return result;
}

std::wstring WithoutTrailingBackslash(std::wstring_view path) {
    std::wstring out(path);
    if (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}

}  // namespace

bool EnsureUndoFolder(const std::wstring& undoFolder) {
    const DWORD attributes = ::GetFileAttributesW(undoFolder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const int code = ::SHCreateDirectoryExW(nullptr, undoFolder.c_str(), nullptr);
    if (code != ERROR_SUCCESS && code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) {
        ::SetLastError(static_cast<DWORD>(code));
        return false;
    }
    return true;
}

BackupResult SaveRegScript(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                           const RegScript& script) {
    if (script.Empty()) return BackupResult{false, {}, L"nothing to save"};
    return WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
}

bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view rootName, std::wstring_view path, std::wstring& error) {
    const std::wstring keyPath = WithoutTrailingBackslash(path);
    std::vector<RegValueData> values;
    if (!ReadAllValues64(root, keyPath, values)) {
        error = L"the key " + std::wstring(rootName) + L"\\" + keyPath + L" cannot be read";
        return false;
    }
    if (!RegNameWritable(keyPath)) {
        error = L"a key name holds a line break";
        return false;
    }
    for (const RegValueData& value : values) {
        if (!RegNameWritable(value.name)) {
            error = L"a value name holds a line break";
            return false;
        }
    }
    script.AddKey(rootName, keyPath, values);
    StringList subkeys;
    ReadKeyNames64(root, keyPath, subkeys);
    for (const std::wstring& subkey : subkeys) {
        if (!AppendRegKey(script, root, rootName, keyPath + L"\\" + subkey, error)) return false;
    }
    return true;
}

BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view rootName, std::wstring_view path,
                          std::wstring_view base, std::wstring_view suffix) {
    RegScript script;
    std::wstring error;
    if (!AppendRegKey(script, root, rootName, path, error)) return BackupResult{false, {}, error};
    return WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
}

bool ReadRegValueData(HKEY root, std::wstring_view path, std::wstring_view name, RegValueData& value) {
    return ReadValueData64(root, path, name, value);
}

}  // namespace taliveer
