#include "services/undo_backup.h"

#include "services/pure/backup_name.h"
#include "services/file_writer.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/unique_handle.h"

#include <shlobj.h>

#include <algorithm>

namespace taliveer {
namespace {

// Writes the bytes to a file that did not exist before: the first free name of base +
// suffix, base + " (2)" + suffix, ...
BackupResult WriteNewFile(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                          const std::vector<std::uint8_t>& bytes) {
    BackupResult result;
    std::wstring folderProblem;
    if (!EnsureUndoFolder(undoFolder, &folderProblem)) {
        result.error = L"无法创建撤消文件夹: " + folderProblem;
        return result;
    }
    for (int n = 1; n < 10000; ++n) {
        const std::wstring name = BackupFileName(undoFolder, base, suffix, n);
        if (name.empty()) {
            result.error = L"撤消文件夹的路径太长";
            return result;
        }
        const DWORD status = WriteWholeFile(undoFolder + name, bytes, WriteMode::CreateNew);
        if (status == ERROR_FILE_EXISTS || status == ERROR_ALREADY_EXISTS) continue;
        if (status != ERROR_SUCCESS) {
            result.error = name + L": " + SystemMessage(status);
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

bool EnsureUndoFolder(const std::wstring& undoFolder, std::wstring* reason) {
    const std::wstring withoutSlash = WithoutTrailingBackslash(undoFolder);
    const DWORD attributes = ::GetFileAttributesW(withoutSlash.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
        if (reason) *reason = withoutSlash + L" 是一个文件，不是文件夹";
        return false;
    }
    const int code = ::SHCreateDirectoryExW(nullptr, undoFolder.c_str(), nullptr);
    if (code == ERROR_SUCCESS || code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) {
        // Another name in the path may be a file: only a folder counts.
        const DWORD made = ::GetFileAttributesW(withoutSlash.c_str());
        if (made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_DIRECTORY)) return true;
        if (reason) *reason = withoutSlash + L" 不是文件夹";
        return false;
    }
    if (reason) *reason = SystemMessage(static_cast<DWORD>(code));
    return false;
}

BackupResult SaveRegScript(const std::wstring& undoFolder, std::wstring_view base, std::wstring_view suffix,
                           const RegScript& script) {
    if (script.Empty()) return BackupResult{false, {}, L"nothing to save"};
    return WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
}

bool AppendRegKey(RegScript& script, HKEY root, std::wstring_view path, RegView view, std::wstring& error,
                  SavedKey* saved) {
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
    if (const LSTATUS listed = ListSubkeys(root, keyPath, view, subkeys); listed != ERROR_SUCCESS) {
        error = L"无法列出 " + keyPath + L" 的子项: " + SystemMessage(static_cast<DWORD>(listed));
        return false;
    }
    if (saved) {
        saved->path = keyPath;
        saved->values = std::move(values);
        saved->subkeys.assign(subkeys.size(), SavedKey{});
    }
    for (size_t i = 0; i < subkeys.size(); ++i) {
        if (!AppendRegKey(script, root, keyPath + L"\\" + subkeys[i], view, error, saved ? &saved->subkeys[i] : nullptr)) {
            return false;
        }
    }
    return true;
}

bool AppendRegValue(RegScript& script, HKEY root, std::wstring_view path, std::wstring_view name, RegView view,
                    std::wstring& error, RegValueData* saved) {
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
    if (saved) *saved = value;
    return true;
}

BackupResult ExportRegKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                          std::wstring_view base, std::wstring_view suffix) {
    RegScript script;
    std::wstring error;
    if (!AppendRegKey(script, root, path, view, error)) return BackupResult{false, {}, error};
    return WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
}

LSTATUS DeleteSavedValue(HKEY root, std::wstring_view path, const RegValueData& saved, RegView view) {
    RegValueData now;
    if (!ReadValueData(root, path, saved.name, view, now)) {
        const LSTATUS status = RegKeyReadStatus(root, path, view);
        return status == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : status;
    }
    if (now.type != saved.type || now.data != saved.data) return ERROR_INVALID_DATA;
    return RemoveRegValue(root, path, saved.name, view);
}

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

void DeleteSaved(HKEY root, const SavedKey& saved, RegView view, SavedKeyDeletion& out) {
    const auto failed = [&out](LSTATUS status) {
        if (out.error == ERROR_SUCCESS) out.error = status;
    };
    for (const SavedKey& subkey : saved.subkeys) DeleteSaved(root, subkey, view, out);
    const LSTATUS present = RegKeyReadStatus(root, saved.path, view);
    if (present == ERROR_FILE_NOT_FOUND || present == ERROR_PATH_NOT_FOUND) return;  // gone already
    if (present != ERROR_SUCCESS) return failed(present);
    for (const RegValueData& value : saved.values) {
        const LSTATUS status = DeleteSavedValue(root, saved.path, value, view);
        if (status == ERROR_SUCCESS) {
            ++out.deleted;
        } else if (status == ERROR_INVALID_DATA) {
            ++out.leftBehind;  // changed since it was saved
        } else if (status != ERROR_FILE_NOT_FOUND) {
            failed(status);
        }
    }
    // What is there now that the backup does not hold stays, and with it the key.
    StringList values;
    StringList subkeys;
    ReadValueNamesIn(root, saved.path, view, values);
    if (const LSTATUS listed = ListSubkeys(root, saved.path, view, subkeys); listed != ERROR_SUCCESS) {
        return failed(listed);
    }
    for (const std::wstring& name : values) {
        const bool wasSaved = std::any_of(saved.values.begin(), saved.values.end(),
                                          [&](const RegValueData& v) { return SameName(v.name, name); });
        if (!wasSaved) ++out.leftBehind;
    }
    for (const std::wstring& name : subkeys) {
        const bool wasSaved = std::any_of(saved.subkeys.begin(), saved.subkeys.end(), [&](const SavedKey& k) {
            return SameName(k.path.substr(k.path.rfind(L'\\') + 1), name);
        });
        if (!wasSaved) ++out.leftBehind;
    }
    if (!values.empty() || !subkeys.empty()) return;
    const LSTATUS status = RemoveRegTree(root, saved.path, view);  // empty: the key alone
    if (status == ERROR_SUCCESS) {
        ++out.deleted;
    } else if (status != ERROR_FILE_NOT_FOUND) {
        failed(status);
    }
}

}  // namespace

SavedKeyDeletion DeleteSavedKey(HKEY root, const SavedKey& saved, RegView view) {
    SavedKeyDeletion out;
    DeleteSaved(root, saved, view, out);
    return out;
}

KeyRemoval BackUpAndRemoveKey(const std::wstring& undoFolder, HKEY root, std::wstring_view path, RegView view,
                              std::wstring_view base, std::wstring_view suffix) {
    return BackUpAndRemoveKeys(undoFolder, {KeyToRemove{root, std::wstring(path)}}, view, base, suffix).front();
}

std::vector<KeyRemoval> BackUpAndRemoveKeys(const std::wstring& undoFolder, const std::vector<KeyToRemove>& keys,
                                            RegView view, std::wstring_view base, std::wstring_view suffix) {
    std::vector<KeyRemoval> removals(keys.size());
    std::vector<size_t> present;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].path.empty()) continue;  // never a whole root
        const LSTATUS readable = RegKeyReadStatus(keys[i].root, WithoutTrailingBackslash(keys[i].path), view);
        if (readable == ERROR_FILE_NOT_FOUND || readable == ERROR_PATH_NOT_FOUND) continue;  // already gone
        if (readable != ERROR_SUCCESS) {
            removals[i].outcome = KeyRemoval::Outcome::Unreadable;
            removals[i].reason = SystemMessage(static_cast<DWORD>(readable));
            continue;
        }
        present.push_back(i);
    }
    const bool unreadable = std::any_of(removals.begin(), removals.end(), [](const KeyRemoval& r) {
        return r.outcome == KeyRemoval::Outcome::Unreadable;
    });
    if (unreadable) {
        // Saved together or not at all: the copies that could be read stay as well.
        for (size_t i : present) {
            removals[i].outcome = KeyRemoval::Outcome::NotRemoved;
            removals[i].reason = L"另一份无法读取，两份都没有删除";
        }
    }
    if (present.empty() || unreadable) return removals;

    RegScript script;
    std::vector<SavedKey> saved(keys.size());
    std::wstring error;
    BackupResult backup;
    const bool read = std::all_of(present.begin(), present.end(), [&](size_t i) {
        return AppendRegKey(script, keys[i].root, keys[i].path, view, error, &saved[i]);
    });
    if (read) {
        backup = WriteNewFile(undoFolder, base, suffix, EncodeUtf16LeWithBom(script.Text()));
    } else {
        backup.error = error;
    }
    for (size_t i : present) {
        KeyRemoval& removal = removals[i];
        if (!backup.written) {
            removal.outcome = KeyRemoval::Outcome::BackupFailed;
            removal.reason = backup.error;
            continue;
        }
        removal.backupFile = backup.fileName;
        const SavedKeyDeletion deletion = DeleteSavedKey(keys[i].root, saved[i], view);
        if (deletion.error != ERROR_SUCCESS) {
            removal.outcome = KeyRemoval::Outcome::NotRemoved;
            removal.reason = SystemMessage(static_cast<DWORD>(deletion.error));
            removal.partly = deletion.deleted > 0;
            continue;
        }
        removal.outcome = KeyRemoval::Outcome::Removed;
        removal.leftBehind = deletion.leftBehind;
    }
    return removals;
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
