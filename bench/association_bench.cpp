// The association page with 1,000 added extensions (ProgIDs, descriptions, commands,
// icons), once with an icon file of its own for every extension and once with 100 icon
// files among them, against the floor: the same enumeration and four default-value reads
// per extension, each with a fresh open, one icon per row, no list view (the icons put into
// the image list once by its own conversion, once as their bitmaps, and once without
// icons), the first full screen and a screenful scrolled to.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "bench/bench_window.h"
#include "bench/harness.h"
#include "pages/associations/association_page.h"
#include "pages/associations/pure/association_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/file_system.h"

#include <commctrl.h>

#include <memory>

namespace taliveer::bench {

void AssociationClean() {
    RemoveKeysNamed(HKEY_CLASSES_ROOT, L"", L".talbench");
    RemoveKeysNamed(HKEY_CLASSES_ROOT, L"", L"TalBench.Type");
    IconFiles::Clean();
}

void AssociationBench() {
    constexpr int kExtensions = 1000;
    BenchWindow window;
    auto& state = window.state;
    auto& form = window.form;

    UniqueHImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 16));
    RowIconSlot slot;
    const PrefixFolders prefixes{state->WindowsFolder, state->ProfileFolder};
    auto floorPass = [&](IconStep step) {
        ImageList_RemoveAll(images.get());
        StringList names;
        ReadKeyNames(HKEY_CLASSES_ROOT, L"\\", names);
        for (const auto& name : names) {
            if (name.empty() || name[0] != L'.') continue;
            const std::wstring progId = ReadRegString(HKEY_CLASSES_ROOT, name, L"");
            (void)ReadRegString(HKEY_CLASSES_ROOT, progId, L"");
            (void)ReadRegString(HKEY_CLASSES_ROOT, ProgIdSubkey(progId, L"\\shell\\open\\command"), L"");
            const std::wstring icon = ReadRegString(HKEY_CLASSES_ROOT, ProgIdSubkey(progId, L"\\DefaultIcon"), L"");
            step(images.get(), slot, ExtractProgramFile(icon, prefixes, &LocaleUpperCase));
        }
    };

    const std::wstring notepad = state->WindowsFolder + L"notepad.exe";
    for (const int distinct : {kExtensions, kExtensions / 10}) {
        const IconFiles files(notepad, distinct);
        for (int i = 0; i < kExtensions; ++i) {
            const std::wstring n = std::to_wstring(i);
            const std::wstring progId = L"TalBench.Type" + n;
            WriteRegString(HKEY_CLASSES_ROOT, L".talbench" + n, L"", progId);
            WriteRegString(HKEY_CLASSES_ROOT, progId, L"", L"Bench type " + n);
            WriteRegString(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", L"", L"\"" + notepad + L"\" \"%1\"");
            WriteRegString(HKEY_CLASSES_ROOT, progId + L"\\DefaultIcon", L"",
                           files[static_cast<size_t>(i) % files.size()] + L",0");
        }
        const FloorFigures figures = MeasureAgainstFloors([&] { form->TabLabel4Click(); }, floorPass);
        HWND list = form->Controls().Hwnd(ids::InfoList(4));
        const std::string set =
            std::to_string(ListView_GetItemCount(list)) + " rows, " + std::to_string(distinct) + " icon files";
        PrintAgainstFloors("association fill", set, distinct == kExtensions,
                           "floor: same reads, fresh open each, one icon per row", figures);
        PrintScreens(MeasureScreens(list, [&] { form->TabLabel4Click(); }));
    }
    form.reset();
    AssociationClean();
}

}  // namespace taliveer::bench
