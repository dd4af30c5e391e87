#include "services/pure/backup_name.h"

#include <array>

namespace taliveer {
namespace {

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool IsReservedDeviceName(std::wstring_view name) {
    // The part before the first dot counts ("nul.txt" is the device too).
    const size_t dot = name.find(L'.');
    std::wstring stem(name.substr(0, dot));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = AsciiUpper(c);
    static constexpr std::array<std::wstring_view, 4> plain{L"CON", L"PRN", L"AUX", L"NUL"};
    for (auto reserved : plain)
        if (stem == reserved) return true;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0)) {
        return stem[3] >= L'1' && stem[3] <= L'9';
    }
    return false;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::wstring SafeFileNamePart(std::wstring_view name) {
    std::wstring out;
    for (wchar_t c : name) {
        const bool forbidden = static_cast<unsigned>(c) < 32u || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
        out.push_back(forbidden ? L'_' : c);
    }
    while (!out.empty() && (out.back() == L'.' || out.back() == L' ')) out.pop_back();
    if (IsReservedDeviceName(out)) out.insert(out.begin(), L'_');
    return out;
}

std::wstring BackupFileName(std::wstring_view folder, std::wstring_view base, std::wstring_view suffix, int n,
                            size_t maxPathChars) {
    const std::wstring counter = n >= 2 ? L" (" + std::to_wstring(n) + L")" : std::wstring();
    const std::wstring tail = counter + std::wstring(suffix);
    if (folder.size() + tail.size() > maxPathChars) return {};
    std::wstring safeBase = SafeFileNamePart(base);
    const size_t room = maxPathChars - folder.size() - tail.size();
    if (safeBase.size() > room) {
        safeBase.resize(room);
        if (!safeBase.empty() && IsHighSurrogate(safeBase.back())) safeBase.pop_back();  // never half a character
        safeBase = SafeFileNamePart(safeBase);  // the cut may end in a dot or space
    }
    std::wstring name = safeBase + tail;
    // The whole name must be safe too (the suffix may follow a base that is now empty).
    if (name.empty() || name.find_first_of(L"\\/") != std::wstring::npos) return {};
    return name;
}

std::wstring RecordRemovedText(std::wstring_view backupFileName) {
    return L"已成功删除记录,\r创建撤消文件" + std::wstring(backupFileName);
}

std::wstring BackupFailedText(std::wstring_view what, std::wstring_view undoFolder, std::wstring_view reason) {
    return L"无法写入撤消文件，没有删除" + std::wstring(what) + L"。\n" + std::wstring(undoFolder) + L"\n" +
           std::wstring(reason);
}

std::wstring KeyRemovalText(const KeyRemoval& removal, std::wstring_view what, std::wstring_view name,
                            std::wstring_view undoFolder) {
    const std::wstring quoted = L" \"" + std::wstring(name) + L"\"";
    switch (removal.outcome) {
    case KeyRemoval::Outcome::AlreadyGone: return std::wstring(what) + L"已不存在，没有写入撤消文件。";
    case KeyRemoval::Outcome::Unreadable:
        return L"无法读取" + std::wstring(what) + quoted + L"，没有删除任何内容。\n" + removal.reason;
    case KeyRemoval::Outcome::BackupFailed: return BackupFailedText(what, undoFolder, removal.reason);
    case KeyRemoval::Outcome::NotRemoved:
        if (removal.partly) {
            return L"未能完全删除" + std::wstring(what) + quoted + L": " + removal.reason + L"\n其中一部分已删除，撤消文件 " +
                   removal.backupFile + L" 可以将其恢复。";
        }
        return L"未能删除" + std::wstring(what) + quoted + L": " + removal.reason +
               (removal.backupFile.empty() ? L"" : L"\n撤消文件: " + removal.backupFile);
    case KeyRemoval::Outcome::Removed: break;
    }
    if (removal.leftBehind > 0) {
        return L"已删除" + std::wstring(what) + quoted + L"中备份的内容，撤消文件: " + removal.backupFile + L"\n" +
               std::wstring(what) + L"中有 " + std::to_wstring(removal.leftBehind) +
               L" 项在备份后才出现或被更改，未删除。";
    }
    return RecordRemovedText(removal.backupFile);
}

}  // namespace taliveer
