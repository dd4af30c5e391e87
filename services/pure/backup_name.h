// Names of the backup files in the Undo folder. Pure: no name, whatever the registry
// holds, can put a file outside the folder or collide with an older backup.
#pragma once

#include <string>
#include <string_view>

namespace taliveer {

// The message after a key was removed and saved: "已成功删除记录,", a carriage return,
// "创建撤消文件" and the backup's file name.
std::wstring RecordRemovedText(std::wstring_view backupFileName);

// Nothing was removed because the backup could not be written: what was not removed ("记录",
// "关联", "任何项目"), the Undo folder and the reason.
std::wstring BackupFailedText(std::wstring_view what, std::wstring_view undoFolder, std::wstring_view reason);

// How removing one key after its backup went. Only what the backup holds is deleted: a
// value or subkey that appeared after it, or a value changed since, stays (`leftBehind`),
// and the key itself goes only once it is empty.
struct KeyRemoval {
    enum class Outcome { AlreadyGone, Unreadable, BackupFailed, NotRemoved, Removed };
    Outcome outcome = Outcome::AlreadyGone;
    std::wstring backupFile;  // written, for Removed and for NotRemoved once the backup was written
    std::wstring reason;      // why not, for Unreadable, BackupFailed and NotRemoved
    bool partly = false;      // NotRemoved after some of it was already deleted
    int leftBehind = 0;       // Removed: entries that were not in the backup and stay
};

// What the user is told of it; `what` names the kind of key ("记录", "关联"), `name` the one.
std::wstring KeyRemovalText(const KeyRemoval& removal, std::wstring_view what, std::wstring_view name,
                            std::wstring_view undoFolder);

// What Windows accepts as a file name: each of \ / : * ? " < > | and every control
// character becomes "_", trailing dots and spaces go, and a reserved device name (CON,
// PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension) gets a leading "_".
std::wstring SafeFileNamePart(std::wstring_view name);

// base + suffix, or base + " (n)" + suffix for n >= 2, with the base made safe and cut so
// that folder + name stays within `maxPathChars` characters. Empty when even an empty
// base does not fit.
std::wstring BackupFileName(std::wstring_view folder, std::wstring_view base, std::wstring_view suffix, int n,
                            size_t maxPathChars = 259);

}  // namespace taliveer
