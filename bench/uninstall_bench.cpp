// The uninstall page with 1,000 records (half in each hive, five values each), each with an
// icon file of its own, and with 2,000 records among 200 icon files, against the floor: the
// same reads, each with a fresh open, one icon per row, no list view (the icons put into
// the image list once by its own conversion and once as their bitmaps).
#include "app/main_layout.h"
#include "app/main_window.h"
#include "bench/bench_window.h"
#include "bench/harness.h"
#include "pages/uninstall/uninstall_page.h"
#include "pages/uninstall/pure/uninstall_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/file_system.h"

#include <commctrl.h>

#include <memory>
#include <utility>

namespace taliveer::bench {
namespace {

constexpr int kRecords = 2000;

std::wstring RecordKey(int i) { return std::wstring(kUninstallKey) + L"TalBench" + std::to_wstring(i); }
HKEY RootOf(int i) { return i % 2 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

void UninstallClean() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) RemoveKeysNamed(root, kUninstallKey, L"TalBench");
    IconFiles::Clean();
}

void UninstallBench() {
    BenchWindow window;
    auto& state = window.state;
    auto& form = window.form;

    UniqueHImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 16));
    RowIconSlot slot;
    const PrefixFolders prefixes{state->WindowsFolder, state->ProfileFolder};
    auto floorPass = [&](void (*addIcon)(HIMAGELIST, HICON)) {
        ImageList_RemoveAll(images.get());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            StringList toolbars;
            ReadValueNames(HKEY_LOCAL_MACHINE, kToolbarKey, toolbars);
            StringList keys;
            ReadKeyNames(root, kUninstallKey, keys);
            for (const auto& k : keys) {
                const std::wstring key = std::wstring(kUninstallKey) + k;
                const std::wstring name = ReadRegString(root, key, L"DisplayName");
                const std::wstring command = ChooseUninstallCommand(ReadRegString(root, key, L"QuietUninstallString"),
                                                                    ReadRegString(root, key, L"UninstallString"));
                if (name.empty() || command.empty()) continue;
                (void)ReadRegString(root, key, L"InstallDate");
                const std::wstring icon =
                    RegValueExists(root, key, L"DisplayIcon") ? ReadRegString(root, key, L"DisplayIcon") : command;
                addIcon(images.get(), GetFileIcon(slot, ExtractProgramFile(icon, prefixes, &LocaleUpperCase)));
            }
        }
    };

    const std::wstring program = state->WindowsFolder + L"notepad.exe";
    // Every record with an icon file of its own (1,000 of them, to keep within the run's
    // budget), then 2,000 records among 200 icon files.
    for (const auto& [records, distinct] : {std::pair{kRecords / 2, kRecords / 2}, std::pair{kRecords, kRecords / 10}}) {
        const IconFiles files(program, distinct);
        for (int i = 0; i < records; ++i) {
            const std::wstring key = RecordKey(i);
            const std::wstring n = std::to_wstring(i);
            SetRegString(RootOf(i), key, L"DisplayName", L"Bench program " + n, RegView::Bits64);
            SetRegString(RootOf(i), key, L"UninstallString", L"\"C:\\Program Files\\Bench " + n + L"\\unins000.exe\"",
                         RegView::Bits64);
            SetRegString(RootOf(i), key, L"InstallDate", L"20240131", RegView::Bits64);
            SetRegString(RootOf(i), key, L"DisplayIcon", files[static_cast<size_t>(i) % files.size()] + L",0",
                         RegView::Bits64);
            SetRegString(RootOf(i), key, L"Publisher", L"Bench", RegView::Bits64);
        }
        const FloorFigures figures = MeasureAgainstFloors([&] { form->TabLabel2Click(); }, floorPass);
        const int rows = ListView_GetItemCount(form->Controls().Hwnd(ids::InfoList(2)));
        const std::string set = std::to_string(rows) + " rows, " + std::to_string(distinct) + " icon files";
        PrintAgainstFloors("uninstall fill", set, distinct == records,
                           "floor: same reads, fresh open each, one icon per row", figures);
    }
    form.reset();
    UninstallClean();
}

}  // namespace taliveer::bench
