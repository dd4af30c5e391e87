// The autostart page with 500 Run values and 100 Startup shortcuts, once with a program of
// its own for every row and once with 60 programs among them: the whole gather against the
// floor (the same registry reads and shortcut loads, one icon extraction and image-list
// add per row, no list view; the add once by the list's own conversion, once as the icon's
// bitmaps, and once without icons), the first full screen and a screenful scrolled to.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "app/shared_folders.h"
#include "bench/bench_window.h"
#include "bench/harness.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/reg_unit.h"
#include "services/file_system.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace taliveer::bench {
namespace {

constexpr int kValues = 500;
constexpr int kShortcuts = 100;
const std::wstring kBenchRun = std::wstring(kRunKey);

// 500 Run values and 100 shortcuts; row i names file i % files.size().
void Setup(const std::wstring& startup, const IconFiles& files) {
    for (int i = 0; i < kValues; ++i) {
        WriteRegString(HKEY_CURRENT_USER, kBenchRun, L"TalBench" + std::to_wstring(i),
                       L"\"" + files[static_cast<size_t>(i) % files.size()] + L"\" /start");
    }
    ::SHCreateDirectoryExW(nullptr, startup.c_str(), nullptr);
    ComPtr<IShellLinkW> link;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    for (int i = 0; i < kShortcuts; ++i) {
        link->SetPath(files[static_cast<size_t>(kValues + i) % files.size()].c_str());
        file->Save((startup + L"TalBench" + std::to_wstring(i) + L".lnk").c_str(), TRUE);
    }
}

}  // namespace

void AutostartClean() {
    RemoveValuesNamed(HKEY_CURRENT_USER, kBenchRun, L"TalBench");
    const std::wstring startup = FindUserStartupFolder();
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(::FindFirstFileW((startup + L"TalBench*.lnk").c_str(), &found));
    if (search) {
        do ::DeleteFileW((startup + found.cFileName).c_str());
        while (::FindNextFileW(search.get(), &found));
    }
    IconFiles::Clean();
}

void AutostartBench() {
    BenchWindow window;
    auto& state = window.state;
    auto& form = window.form;
    HWND list = form->Controls().Hwnd(ids::InfoList(1));

    // The floor: the same reads and icons, without the page.
    UniqueHImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 16));
    RowIconSlot slot;
    const PrefixFolders prefixes{state->WindowsFolder, state->ProfileFolder};
    auto floorPass = [&](IconStep step) {
        ImageList_RemoveAll(images.get());
        for (const auto& [root, path] :
             {std::pair{HKEY_CURRENT_USER, kRunKey}, std::pair{HKEY_CURRENT_USER, kRunOnceKey},
              std::pair{HKEY_LOCAL_MACHINE, kRunKey}, std::pair{HKEY_LOCAL_MACHINE, kRunOnceKey},
              std::pair{HKEY_CURRENT_USER, kWow64RunKey}, std::pair{HKEY_LOCAL_MACHINE, kWow64RunKey}}) {
            StringList names;
            ReadValueNames(root, path, names);
            for (const auto& name : names) {
                if (name.empty()) continue;
                const std::wstring text = ReadRegString(root, path, name);
                step(images.get(), slot, ExtractProgramFile(text, prefixes, &LocaleUpperCase));
            }
        }
        for (const std::wstring& folder : {state->UserStartupFolder, state->CommonStartupFolder}) {
            WIN32_FIND_DATAW found;
            UniqueFindHandle search(::FindFirstFileW((folder + L"*.lnk").c_str(), &found));
            if (!search) continue;
            do {
                if (auto target = state->ShellLink.ReadTarget(folder + found.cFileName)) step(images.get(), slot, *target);
            } while (::FindNextFileW(search.get(), &found));
        }
    };

    const std::wstring program = state->WindowsFolder + L"notepad.exe";
    constexpr int kAllDistinct = kValues + kShortcuts;
    for (const int distinct : {kAllDistinct, kAllDistinct / 10}) {
        const IconFiles files(program, distinct);
        Setup(state->UserStartupFolder, files);
        const FloorFigures figures = MeasureAgainstFloors([&] { form->TabLabel1Click(); }, floorPass);
        const int rows = ListView_GetItemCount(list);
        const std::string set = std::to_string(rows) + " rows, " + std::to_string(distinct) + " programs";
        PrintAgainstFloors("autostart gather", set, distinct == kAllDistinct,
                           "floor: same reads + one icon per row, no list view", figures);
        PrintScreens(MeasureScreens(list, [&] { form->TabLabel1Click(); }));
    }
    form.reset();
    AutostartClean();
}

}  // namespace taliveer::bench
