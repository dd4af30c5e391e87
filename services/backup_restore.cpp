#include "services/backup_restore.h"

#include "services/file_system.h"
#include "services/file_writer.h"
#include "services/program_launcher.h"
#include "services/pure/wide_text.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"
#include "services/unique_handle.h"

#include <algorithm>

namespace taliveer {
namespace {

struct RootEntry {
    std::wstring_view name;
    std::wstring_view shortName;
    HKEY key;
};
const RootEntry kRootKeys[] = {
    {L"HKEY_LOCAL_MACHINE", L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_CURRENT_USER", L"HKCU", HKEY_CURRENT_USER},
    {L"HKEY_CLASSES_ROOT", L"HKCR", HKEY_CLASSES_ROOT},   {L"HKEY_USERS", L"HKU", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", L"HKCC", HKEY_CURRENT_CONFIG},
};

std::wstring ShortKeyName(const std::wstring& root, const std::wstring& path) {
    std::wstring name = root;
    for (const RootEntry& entry : kRootKeys)
        if (root == entry.name) name = entry.shortName;
    return path.empty() ? name : name + L"\\" + path;
}

std::wstring ValueItem(const std::wstring& key, const std::wstring& valueName) {
    return key + L" : " + (valueName.empty() ? std::wstring(L"(默认)") : valueName);
}

std::wstring AnsiText(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), needed);
    return text;
}

std::vector<EntryState> StatesOf(const std::vector<BackupCheck>& checks) {
    std::vector<EntryState> states;
    states.reserve(checks.size());
    for (const BackupCheck& check : checks) states.push_back(check.state);
    return states;
}

std::vector<BackupCheck> CheckScript(const ScriptReading& reading) {
    std::vector<BackupCheck> checks;
    for (const ScriptKey& key : reading.keys) {
        if (key.deleted) continue;
        const HKEY root = RootKeyOf(key.root);
        const std::wstring keyName = ShortKeyName(key.root, key.path);
        const LSTATUS status = root ? RegKeyReadStatus(root, key.path, RegView::Bits64) : ERROR_FILE_NOT_FOUND;
        BackupCheck keyCheck;
        keyCheck.item = keyName;
        keyCheck.isKey = true;
        keyCheck.root = key.root;
        keyCheck.path = key.path;
        keyCheck.state = status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND ? EntryState::Missing
                         : status == ERROR_SUCCESS                                        ? EntryState::Equal
                                                                                          : EntryState::Different;
        if (keyCheck.state == EntryState::Different) keyCheck.now = L"无法读取: " + SystemMessage(static_cast<DWORD>(status));
        const bool keyThere = keyCheck.state == EntryState::Equal;
        checks.push_back(keyCheck);
        for (const RegValueData& value : key.values) {
            BackupCheck check;
            check.item = ValueItem(keyName, value.name);
            check.root = key.root;
            check.path = key.path;
            check.valueName = value.name;
            check.saved = ValueDataText(value);
            RegValueData now;
            if (keyCheck.state == EntryState::Different) {
                // In a key that cannot be read a value may well be there: never said missing.
                check.state = EntryState::Different;
                check.now = keyCheck.now;
            } else if (!keyThere || !ReadValueData(root, key.path, value.name, RegView::Bits64, now)) {
                check.state = EntryState::Missing;
            } else if (now.type == value.type && now.data == value.data) {
                check.state = EntryState::Equal;
            } else {
                check.state = EntryState::Different;
                check.now = ValueDataText(now);
                if (now.type != value.type) {
                    check.now += L" (" + RegTypeName(now.type) + L")";
                    check.saved += L" (" + RegTypeName(value.type) + L")";
                }
            }
            checks.push_back(std::move(check));
        }
    }
    return checks;
}

std::vector<BackupCheck> CheckShortcut(const std::wstring& undoFolder, const BackupFile& backup) {
    BackupCheck check;
    check.item = backup.origin.empty() ? OriginalShortcutName(backup.fileName) + L" (来源未知)" : backup.origin;
    check.path = backup.origin;
    if (backup.origin.empty() || !FileExists(backup.origin)) {
        check.state = EntryState::Missing;
        return {check};
    }
    std::vector<std::uint8_t> copy;
    std::vector<std::uint8_t> there;
    const bool same = ReadFileBytes(undoFolder + backup.fileName, copy) && ReadFileBytes(backup.origin, there) &&
                      copy == there;
    check.state = same ? EntryState::Equal : EntryState::Different;
    if (!same) check.now = L"另一个同名文件";
    return {check};
}

}  // namespace

HKEY RootKeyOf(std::wstring_view rootName) {
    for (const RootEntry& entry : kRootKeys)
        if (rootName == entry.name) return entry.key;
    return nullptr;
}

bool UndoFolderHoldsBackups(const std::wstring& undoFolder) {
    if (undoFolder.empty()) return false;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(::FindFirstFileExW((undoFolder + L"*").c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, 0));
    if (!search) return false;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsBackupFileName(found.cFileName)) return true;
    } while (::FindNextFileW(search.get(), &found));
    return false;
}

BackupFile ReadBackup(const std::wstring& undoFolder, const std::wstring& fileName, const FILETIME& written) {
    BackupFile backup;
    backup.fileName = fileName;
    backup.written = written;
    backup.kind = BackupKindOf(fileName);
    if (backup.kind == BackupKind::Shortcut) {
        backup.origin = ReadShortcutOrigin(undoFolder, fileName);
        backup.summary = OriginalShortcutName(fileName);
        backup.state = StateOf(StatesOf(CheckShortcut(undoFolder, backup)));
        if (backup.origin.empty()) backup.reason = L"不知道这个快捷方式原来在哪个启动文件夹";
        return backup;
    }
    std::vector<std::uint8_t> bytes;
    DWORD error = 0;
    if (!ReadFileBytes(undoFolder + fileName, bytes, &error)) {
        backup.reason = L"无法读取文件: " + SystemMessage(error);
        return backup;
    }
    backup.reading = ReadRegScriptFile(bytes, AnsiText);
    if (!backup.reading.ok) {
        backup.reason = ScriptErrorText(backup.reading);
        return backup;
    }
    backup.summary = BackupSummary(backup.kind, backup.reading);
    if (backup.reading.HasDeletions()) backup.reason = L"文件中有删除项，本程序不会执行删除，不能在这里恢复";
    backup.state = StateOf(StatesOf(CheckScript(backup.reading)));
    return backup;
}

std::vector<BackupFile> ListBackups(const std::wstring& undoFolder) {
    std::vector<BackupFile> backups;
    if (undoFolder.empty()) return backups;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(::FindFirstFileExW((undoFolder + L"*").c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return backups;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsBackupFileName(found.cFileName)) {
            backups.push_back(ReadBackup(undoFolder, found.cFileName, found.ftLastWriteTime));
        }
    } while (::FindNextFileW(search.get(), &found));
    std::stable_sort(backups.begin(), backups.end(), [](const BackupFile& a, const BackupFile& b) {
        const ULONGLONG ta = (ULONGLONG{a.written.dwHighDateTime} << 32) | a.written.dwLowDateTime;
        const ULONGLONG tb = (ULONGLONG{b.written.dwHighDateTime} << 32) | b.written.dwLowDateTime;
        return ta != tb ? ta > tb : a.fileName > b.fileName;
    });
    return backups;
}

std::vector<BackupCheck> CheckBackup(const BackupFile& backup) {
    if (backup.kind == BackupKind::Shortcut) return {};
    return CheckScript(backup.reading);
}

bool WriteShortcutOrigin(const std::wstring& undoFolder, const std::wstring& copyName, const std::wstring& originalPath) {
    // The copy's name is new, so an origin file of that name belongs to no copy that still exists.
    return WriteWholeFile(undoFolder + copyName + kOriginSuffix, EncodeUtf16LeWithBom(originalPath + L"\r\n"),
                          WriteMode::Replace) == ERROR_SUCCESS;
}

std::wstring ReadShortcutOrigin(const std::wstring& undoFolder, const std::wstring& copyName) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(undoFolder + copyName + kOriginSuffix, bytes) || bytes.size() < 2 || bytes[0] != 0xFF ||
        bytes[1] != 0xFE) {
        return {};
    }
    std::wstring text = WideFromRegistryBytes(bytes.data() + 2, bytes.size() - 2);
    text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
    // Only a full path of a shortcut is taken as where it was.
    if (text.size() < 4 || text[1] != L':' || text[2] != L'\\' || text.find(L'/') != std::wstring::npos) return {};
    return text;
}

void RestoreChanges(const std::vector<BackupCheck>& checks, std::vector<std::wstring>& added,
                    std::vector<std::wstring>& replaced) {
    for (const BackupCheck& check : checks) {
        if (check.state == EntryState::Missing) added.push_back(check.item);
        if (check.state == EntryState::Different) replaced.push_back(check.item);
    }
}

RestoreResult RestoreRegistryBackup(const std::wstring& undoFolder, const std::wstring& windowsFolder,
                                    const BackupFile& backup, HWND window) {
    RestoreResult result;
    if (!backup.reading.ok || backup.reading.HasDeletions()) {
        result.message = L"不能恢复 " + backup.fileName + L": " + backup.reason;
        return result;
    }
    const std::vector<BackupCheck> before = CheckScript(backup.reading);
    std::vector<std::wstring> added;
    std::vector<std::wstring> replaced;
    RestoreChanges(before, added, replaced);
    if (added.empty() && replaced.empty()) {
        result.message = backup.fileName + L" 中的内容都已在注册表中，没有需要恢复的。";
        return result;
    }
    // What will be replaced is saved first; without that backup nothing is restored.
    std::wstring replacedBackup;
    if (!replaced.empty()) {
        RegScript script;
        for (const BackupCheck& check : before) {
            if (check.state != EntryState::Different) continue;
            std::wstring error;
            if (check.isKey || !AppendRegValue(script, RootKeyOf(check.root), check.path, check.valueName,
                                               RegView::Bits64, error)) {
                result.message = L"无法保存将被替换的 " + check.item + L"，没有恢复任何内容。" +
                                 (error.empty() ? check.now : error);
                return result;
            }
        }
        const BackupResult saved = SaveRegScript(undoFolder, BackupStem(backup.fileName), kReplacedSuffix, script);
        if (!saved.written) {
            result.message = L"无法写入撤消文件，没有恢复任何内容。\n" + undoFolder + L"\n" + saved.error;
            return result;
        }
        replacedBackup = saved.fileName;
    }
    const LaunchResult editor = LaunchSystemProgramAndWait(windowsFolder + L"regedit.exe",
                                                           L"/s \"" + undoFolder + backup.fileName + L"\"", window);
    if (!editor.started) {
        result.message = L"无法启动注册表编辑器 " + windowsFolder + L"regedit.exe: " + SystemMessage(editor.startError) +
                         L"\n没有恢复任何内容。";
        return result;
    }
    result.changed = true;
    const std::vector<BackupCheck> after = CheckScript(backup.reading);
    int back = 0;
    std::vector<std::wstring> notBack;
    for (size_t i = 0; i < after.size() && i < before.size(); ++i) {
        if (after[i].state == EntryState::Equal) {
            if (before[i].state != EntryState::Equal) ++back;
        } else {
            notBack.push_back(after[i].item + (after[i].state == EntryState::Different ? L" (内容不同)" : L" (缺少)"));
        }
    }
    result.message = RestoreReportText(backup.fileName, back, notBack, replacedBackup);
    return result;
}

RestoreResult RestoreShortcut(const std::wstring& undoFolder, const BackupFile& backup, const std::wstring& target,
                              bool replaceExisting) {
    RestoreResult result;
    std::vector<std::uint8_t> copy;
    DWORD error = 0;
    if (!ReadFileBytes(undoFolder + backup.fileName, copy, &error)) {
        result.message = L"无法读取 " + backup.fileName + L": " + SystemMessage(error);
        return result;
    }
    std::wstring replacedBackup;
    const bool there = FileExists(target);
    if (there) {
        std::vector<std::uint8_t> now;
        if (ReadFileBytes(target, now) && now == copy) {
            result.message = target + L" 已在启动文件夹中，没有需要恢复的。";
            return result;
        }
        if (!replaceExisting) {
            result.message = L"启动文件夹中已有另一个 " + target + L"，保留了它，没有恢复。";
            return result;
        }
        const std::wstring name = OriginalShortcutName(backup.fileName);
        const BackupResult saved = CopyIntoUndo(undoFolder, target, BackupStem(name), L".lnk");
        if (!saved.written) {
            result.message = L"无法把现有的 " + target + L" 保存到撤消文件夹，没有恢复。\n" + saved.error;
            return result;
        }
        WriteShortcutOrigin(undoFolder, saved.fileName, target);
        replacedBackup = saved.fileName;
    }
    // Over the file there only once it is saved (above); else only where none has appeared since.
    error = WriteWholeFile(target, copy, there ? WriteMode::Replace : WriteMode::CreateNew);
    if (error != ERROR_SUCCESS) {
        result.message = L"无法写入 " + target + L": " + SystemMessage(error);
        return result;
    }
    result.changed = true;
    std::vector<std::uint8_t> now;
    if (!ReadFileBytes(target, now) || now != copy) {
        result.message = L"已写入 " + target + L"，但读回的内容与备份不同。";
        return result;
    }
    result.message = L"已把快捷方式放回 " + target + L"。";
    if (!replacedBackup.empty()) result.message += L"\n原来的文件已保存在 " + replacedBackup + L"。";
    return result;
}

}  // namespace taliveer
