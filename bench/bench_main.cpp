// Runs every benchmark (or those whose name contains the first argument) and prints figures.
#include "bench/harness.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>

namespace taliveer::bench {
void StartupBench();
void RegionBench();
void AutostartBench();
void ProcessBench();
void UninstallBench();
void AssociationBench();

const std::vector<Benchmark>& AllBenchmarks() {
    static const std::vector<Benchmark> all{
        {"startup", &StartupBench},
        {"region", &RegionBench},
        {"autostart", &AutostartBench},
        {"uninstall", &UninstallBench},
        {"associations", &AssociationBench},
        {"processes", &ProcessBench},
    };
    return all;
}
}  // namespace taliveer::bench

int wmain(int argc, wchar_t** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    for (const auto& b : taliveer::bench::AllBenchmarks()) {
        if (argc > 1) {
            wchar_t name[64];
            std::swprintf(name, 64, L"%hs", b.name);
            if (!std::wcsstr(name, argv[1])) continue;
        }
        std::printf("== %s\n", b.name);
        b.run();
    }
    ::CoUninitialize();
    return 0;
}
