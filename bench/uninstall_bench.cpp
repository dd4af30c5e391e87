// The uninstall page with 1,000 records (half in each hive, five values each), each with an
// icon file of its own, and with 2,000 records among 200 icon files, against the floor: the
// same reads, each with a fresh open, one icon per row, no list view (the icons put into
// the image list once by its own conversion, once as their bitmaps, and once without
// icons), the first full screen and a screenful scrolled to.
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
// The records spread over the page's three sources: the user's, the machine's 64-bit and
// 32-bit views.
HKEY RootOf(int i) { return i % 3 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
RegView ViewOf(int i) { return i % 3 == 2 ? RegView::Bits32 : RegView::Bits64; }

}  // namespace

void UninstallClean() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) RemoveKeysNamed(root, kUninstallKey, L"TalBench");  // both views
    IconFiles::Clean();
}

void UninstallBench() {
    BenchWindow window;
    auto& state = window.state;
    auto& form = window.form;

    UniqueHImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 16));
    RowIconSlot slot;
    const PrefixFolders prefixes{state->WindowsFolder, state->ProfileFolder};
    auto floorPass = [&](IconStep step) {
        ImageList_RemoveAll(images.get());
        for (const auto& [root, view] : {std::pair{HKEY_CURRENT_USER, RegView::Bits64},
                                         std::pair{HKEY_LOCAL_MACHINE, RegView::Bits64},
                                         std::pair{HKEY_LOCAL_MACHINE, RegView::Bits32}}) {
            StringList toolbars;
            ReadValueNames(HKEY_LOCAL_MACHINE, kToolbarKey, toolbars);
            StringList keys;
            ReadKeyNamesIn(root, kUninstallKey, view, keys);
            for (const auto& k : keys) {
                const std::wstring key = std::wstring(kUninstallKey) + k;
                const std::wstring name = ReadRegStringIn(root, key, L"DisplayName", view);
                const std::wstring command = ChooseUninstallCommand(ReadRegStringIn(root, key, L"QuietUninstallString", view),
                                                                    ReadRegStringIn(root, key, L"UninstallString", view));
                if (name.empty() || command.empty()) continue;
                (void)ReadRegStringIn(root, key, L"InstallDate", view);
                RegValueData shown;
                const std::wstring icon = ReadValueData(root, key, L"DisplayIcon", view, shown)
                                              ? ReadRegStringIn(root, key, L"DisplayIcon", view)
                                              : command;
                step(images.get(), slot, ExtractProgramFile(icon, prefixes, &LocaleUpperCase));
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
            SetRegString(RootOf(i), key, L"DisplayName", L"Bench program " + n, ViewOf(i));
            SetRegString(RootOf(i), key, L"UninstallString", L"\"C:\\Program Files\\Bench " + n + L"\\unins000.exe\"",
                         ViewOf(i));
            SetRegString(RootOf(i), key, L"InstallDate", L"20240131", ViewOf(i));
            SetRegString(RootOf(i), key, L"DisplayIcon", files[static_cast<size_t>(i) % files.size()] + L",0",
                         ViewOf(i));
            SetRegString(RootOf(i), key, L"Publisher", L"Bench", ViewOf(i));
        }
        const FloorFigures figures = MeasureAgainstFloors([&] { form->TabLabel2Click(); }, floorPass);
        HWND list = form->Controls().Hwnd(ids::InfoList(2));
        const std::string set =
            std::to_string(ListView_GetItemCount(list)) + " rows, " + std::to_string(distinct) + " icon files";
        PrintAgainstFloors("uninstall fill", set, distinct == records,
                           "floor: same reads, fresh open each, one icon per row", figures);
        PrintScreens(MeasureScreens(list, [&] { form->TabLabel2Click(); }));
    }
    form.reset();
    UninstallClean();
}

}  // namespace taliveer::bench
