// What the restore window says of the backups in the Undo folder: which page made each, what
// it holds in a few words, its state against the registry, and the question and report of a
// restore. Pure.
#pragma once

#include "services/pure/reg_script_reader.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

enum class BackupKind { Startup, Uninstall, Association, Shortcut, Replaced, Other };

// By the file's ending: "_startup.reg", "_uninstall.reg", "_association.reg", a shortcut copy
// (".lnk"), the values a restore replaced ("_replaced.reg"), any other ".reg".
BackupKind BackupKindOf(std::wstring_view fileName);
// The files the restore window lists: ".reg" and ".lnk" (any case).
bool IsBackupFileName(std::wstring_view fileName);
std::wstring BackupKindText(BackupKind kind);

// The ending a restore gives the backup of the values it replaces.
inline constexpr wchar_t kReplacedSuffix[] = L"_replaced.reg";
// The file beside a shortcut copy that says where the shortcut was: copy name + this.
inline constexpr wchar_t kOriginSuffix[] = L".origin.txt";
// The base of a backup's name without its ending ("txt_association.reg" -> "txt_association").
std::wstring BackupStem(std::wstring_view fileName);
// The name a shortcut had: the copy's name without the " (n)" that kept it apart from an older copy.
std::wstring OriginalShortcutName(std::wstring_view copyName);

// One key or value of a backup against the registry now.
enum class EntryState { Equal, Missing, Different };
enum class BackupState { Restored, Restorable, Conflict, Unreadable };
// Everything equal: restored; anything different: a conflict; otherwise restorable.
BackupState StateOf(std::span<const EntryState> entries);
std::wstring BackupStateText(BackupState state);
std::wstring EntryStateText(EntryState state);

// What a backup holds in a few words: the value names of an autostart backup, the program's
// name of an uninstall record, the extensions of an association.
std::wstring BackupSummary(BackupKind kind, const ScriptReading& reading);

// A value's data for the eye: text for strings, the number for a dword, hex for the rest.
std::wstring ValueDataText(const RegValueData& value);

// "REG_SZ", "REG_DWORD", ... and "类型 N" for a number without a name.
std::wstring RegTypeName(std::uint32_t type);

// "2026-12-09 08:05"
std::wstring BackupTimeText(int year, int month, int day, int hour, int minute);

// The question before a restore: what will be added and what will be replaced (whose
// current data is saved first).
std::wstring RestoreQuestionText(std::wstring_view fileName, const std::vector<std::wstring>& added,
                                 const std::vector<std::wstring>& replaced);

// After a restore: how many entries are back, and each one that is not.
std::wstring RestoreReportText(std::wstring_view fileName, int back, const std::vector<std::wstring>& notBack,
                               std::wstring_view replacedBackup);

}  // namespace taliveer
