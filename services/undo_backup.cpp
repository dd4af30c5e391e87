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
        result.error = L"无法创建撤消文件夹: " + SystemMessage(::GetLastError());
        return result;
    }
    for (int n = 1; n < 10000; ++n) {
        const std::wstring name = BackupFileName(undoFolder, base, suffix, n);
        if (name.empty()) {
            result.error = L"撤消文件夹的路径太长";
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
    result.error = L"没有可用的文件名";
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

bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view path, RegView view, std::wstring& error) {
    const std::wstring keyPath = WithoutTrailingBackslash(path);
    std::vector<RegValueData> values;
    if (!ReadAllValues(root, keyPath, view, values)) {
        error = L"无法读取 " + keyPath + L" (已不存在?)";
        return false;
    }
    const std::wstring location = RealKeyName(root, keyPath, view);
    if (location.empty()) {
        error = L"无法确定 " + keyPath + L" 的位置";
        return false;
    }
    if (!RegNameWritable(location)) {
        error = L"名称含有换行符，无法写入撤消文件";
        return false;
    }
    for (const RegValueData& value : values) {
        if (!RegNameWritable(value.name)) {
            error = L"名称含有换行符，无法写入撤消文件";
            return false;
        }
    }
    script.AddKey(location, L"", values);
    StringList subkeys;
    ReadKeyNamesIn(root, keyPath, view, subkeys);
    for (const std::wstring& subkey : subkeys) {
        if (!AppendRegKey(script, root, keyPath + L"\\" + subkey, view, error)) return false;
    }
    return true;
}

bool AppendRegValue(RegScript& script, HKEY root, std::wstring_view path, std::wstring_view name, RegView view,
                    std::wstring& error) {
    const std::wstring keyPath = WithoutTrailingBackslash(path);
    RegValueData value;
    if (!ReadValueData(root, keyPath, name, view, value)) {
        error = L"无法读取 (已不存在?)";
        return false;
    }
    const std::wstring location = RealKeyName(root, keyPath, view);
    if (location.empty()) {
        error = L"无法确定 " + keyPath + L" 的位置";
        return false;
    }
    if (!RegNameWritable(location) || !RegNameWritable(value.name)) {
        error = L"名称含有换行符，无法写入撤消文件";
        return false;
    }
    script.AddValue(location, L"", value);
    return true;
}

BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                          std::wstring_view base, std::wstring_view suffix) {
    RegScript script;
    std::wstring error;
    if (!AppendRegKey(script, root, path, view, error)) return BackupResult{false, {}, error};
    return WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
}

KeyRemoval BackUpAndRemoveKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                              std::wstring_view base, std::wstring_view suffix) {
    KeyRemoval removal;
    if (path.empty() || RealKeyName(root, path, view).empty()) return removal;  // already gone
    const BackupResult backup = ExportRegKey(undoFolder, root, path, view, base, suffix);
    if (!backup.written) {
        removal.outcome = KeyRemoval::Outcome::BackupFailed;
        removal.reason = backup.error;
        return removal;
    }
    removal.backupFile = backup.fileName;
    const LSTATUS status = RemoveRegTree(root, path, view);
    removal.outcome = status == ERROR_SUCCESS ? KeyRemoval::Outcome::Removed : KeyRemoval::Outcome::NotRemoved;
    if (status != ERROR_SUCCESS) removal.reason = SystemMessage(static_cast<DWORD>(status));
    return removal;
}

BackupResult CopyIntoUndo(const std::wstring& undoFolder, const std::wstring& file, std::wstring_view base,
                          std::wstring_view suffix) {
    UniqueFileHandle source(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source) return BackupResult{false, {}, file + L": " + SystemMessage(::GetLastError())};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(source.get(), &size) || size.QuadPart > (1 << 26)) {
        return BackupResult{false, {}, file + L": the file cannot be read whole"};
    }
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!::ReadFile(source.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size())) {
        return BackupResult{false, {}, file + L": " + SystemMessage(::GetLastError())};
    }
    return WriteNewFile(undoFolder, base, suffix, bytes);
}

bool ReadRegValueData(HKEY root, std::wstring_view path, std::wstring_view name, RegValueData& value) {
    return ReadValueData(root, path, name, RegView::Bits64, value);
}

}  // namespace taliveer
