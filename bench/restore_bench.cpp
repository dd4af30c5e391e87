// The restore window's list over 1,000 backups: the time to list the Undo folder, to read
// and parse every backup, and to compare each with the registry (the states), against the
// floor of only reading the files.
#include "bench/harness.h"
#include "services/backup_restore.h"
#include "services/file_system.h"
#include "services/reg_unit.h"
#include "services/undo_backup.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace taliveer::bench {
namespace {

constexpr int kBackups = 1000;
const std::wstring kBenchKey = L"Software\\TalBenchRestore";

std::wstring Folder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"TalBenchRestore\\Undo\\";
}

}  // namespace

void RestoreClean() {
    RemoveRegTree(HKEY_CURRENT_USER, kBenchKey, RegView::Bits64);
    RemoveFolderOfFiles(Folder());
}

void RestoreBench() {
    RestoreClean();
    const std::wstring folder = Folder();
    // 1,000 autostart-style backups of three values each; half of the keys are there now
    // (a third of them with one value changed), half are gone.
    for (int i = 0; i < kBackups; ++i) {
        const std::wstring path = kBenchKey + L"\\K" + std::to_wstring(i);
        std::vector<RegValueData> values;
        for (int v = 0; v < 3; ++v) {
            values.push_back({L"Value " + std::to_wstring(v), reg_type::kString,
                              RegStringBytes(L"\"C:\\Program Files\\Bench\\tool" + std::to_wstring(i) + L".exe\" /v" +
                                             std::to_wstring(v))});
        }
        RegScript script;
        script.AddKey(L"HKEY_CURRENT_USER", path, values);
        SaveRegScript(folder, L"Bench" + std::to_wstring(i), L"_startup.reg", script);
        if (i % 2 == 0) {
            for (const RegValueData& value : values) SetRegValue(HKEY_CURRENT_USER, path, value, RegView::Bits64);
            if (i % 3 == 0) SetRegString(HKEY_CURRENT_USER, path, L"Value 0", L"changed", RegView::Bits64);
        }
    }
    const double files = MedianMs(3, [&] {
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
        std::vector<std::uint8_t> bytes;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ReadFileBytes(folder + found.cFileName, bytes);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    });
    const double parse = MedianMs(3, [&] {
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
        std::vector<std::uint8_t> bytes;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ReadFileBytes(folder + found.cFileName, bytes)) {
                (void)ReadRegScriptFile(bytes);
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    });
    size_t listed = 0;
    const double states = MedianMs(3, [&] { listed = ListBackups(folder).size(); });
    Print("restore list: backups listed", static_cast<double>(listed), "backups");
    Print("restore list: read every file (floor)", files, "ms");
    Print("restore list: read and parse every file", parse, "ms");
    Print("restore list: list, parse and compare with the registry", states, "ms");
    PrintRatio("restore list against reading the files", states, files);
    RestoreClean();
}

}  // namespace taliveer::bench
