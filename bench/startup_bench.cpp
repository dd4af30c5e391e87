// Start-up to window shown: creating the main window (CreateForm with its region and shared
// state), showing it and handling the start-up message that opens the first page, against
// its floor: an empty window of the same size, with the same region and an image list, at
// the display scale of the prefix it runs in.
// Wine's own process start is not part of either.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "bench/harness.h"
#include "services/reg_unit.h"
#include "ui/bitmap_resource.h"
#include "ui/region.h"
#include "ui/window_dpi.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace taliveer::bench {

namespace {

// The floor: a window of the main window's size and shape, shown and painted, with the image
// list the pages share; gone again at the end of its scope.
class EmptyWindow {
public:
    EmptyWindow() {
        static const ATOM registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = L"TaliveerBenchEmpty";
            return ::RegisterClassExW(&wc);
        }();
        (void)registered;
        const DpiScale scale{SystemDpi()};
        hwnd_ = ::CreateWindowExW(WS_EX_APPWINDOW, L"TaliveerBenchEmpty", L"Taliveer", WS_POPUP | WS_SYSMENU, 100, 100,
                                  scale(kMainWidth), scale(kMainHeight), nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr);
        UniqueHBitmap art = LoadArtwork(::GetModuleHandleW(nullptr), L"FORM1IMAGE", kMainWidth, kMainHeight, scale);
        UniqueHRgn region = CreateBitmapRegion(art.get(), {}, scale(kRegionBorder));
        if (::SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();
        const int side = SmallIconSide(scale.dpi);
        images_.reset(::ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 0, 16));
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd_);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    ~EmptyWindow() { ::DestroyWindow(hwnd_); }
    EmptyWindow(const EmptyWindow&) = delete;
    EmptyWindow& operator=(const EmptyWindow&) = delete;

private:
    HWND hwnd_ = nullptr;
    UniqueHImageList images_;
};

}  // namespace

void StartupBench() {
    const bool hadSettings = RegKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
    std::unique_ptr<SharedState> state;
    std::unique_ptr<TForm1> form;
    // The whole start-up and its three parts, each timed in every round.
    std::vector<double> whole, created, shown, firstPage;
    for (int round = 0; round < 15; ++round) {
        form.reset();
        state = std::make_unique<SharedState>();
        form = std::make_unique<TForm1>(*state);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        const double start = NowMs();
        form->Create();
        const double afterCreate = NowMs();
        form->Show(SW_SHOWNOACTIVATE);
        const double afterShow = NowMs();
        // Until the start-up message has run.
        state->Loop.ProcessMessages();
        state->Loop.ProcessMessages();
        const double end = NowMs();
        whole.push_back(end - start);
        created.push_back(afterCreate - start);
        shown.push_back(afterShow - afterCreate);
        firstPage.push_back(end - afterShow);
    }
    const double ms = Median(whole);
    std::printf("display scale: %d DPI (%d %%)\n", SystemDpi(), DpiScale{SystemDpi()}.Percent());
    Print("start-up to window shown (median of 15)", ms, "ms");
    Print("  part: the window, its controls and the shared state", Median(created), "ms");
    Print("  part: showing and painting it", Median(shown), "ms");
    Print("  part: the start-up message and the first page", Median(firstPage), "ms");
    form.reset();
    const double floor = MedianMs(15, [&] { EmptyWindow window; });
    Print("floor: an empty window of that size, region and image list", floor, "ms");
    PrintRatio("start-up / floor", ms, floor);
    state = std::make_unique<SharedState>();
    form = std::make_unique<TForm1>(*state);
    form->Create();
    // The launcher's answer for a file that cannot be started: no wait for anything.
    const double missing = MedianMs(15, [&] { form->RunProgram(L"C:\\no\\such\\uninstall.exe", L"/S"); });
    Print("launcher, a missing file refused (median of 15)", missing, "ms");
    form.reset();
    if (!hadSettings) {
        DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis\\Taliveer");
        DeleteRegKey(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
    }
}

}  // namespace taliveer::bench
