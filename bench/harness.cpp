#include "bench/harness.h"

#include "services/icon_image.h"
#include "services/reg_unit.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace taliveer::bench {

double NowMs() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double MedianMs(int runs, const std::function<void()>& body, const std::function<void()>& setup) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup) setup();
        const double start = NowMs();
        body();
        times.push_back(NowMs() - start);
    }
    return Median(std::move(times));
}

std::vector<double> MediansAlternated(int runs, const std::vector<std::function<void()>>& bodies) {
    std::vector<std::vector<double>> times(bodies.size());
    for (int i = 0; i < runs; ++i) {
        for (size_t b = 0; b < bodies.size(); ++b) times[b].push_back(MedianMs(1, bodies[b]));
    }
    std::vector<double> medians;
    for (auto& t : times) medians.push_back(Median(std::move(t)));
    return medians;
}

std::pair<double, double> MedianMsPaired(int runs, const std::function<void()>& a, const std::function<void()>& b) {
    const std::vector<double> medians = MediansAlternated(runs, {a, b});
    return {medians[0], medians[1]};
}

void IconByList(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file) {
    ImageList_AddIcon(list, GetFileIcon(slot, file));
}
void IconBitmaps(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file) {
    const HICON icon = GetFileIcon(slot, file);
    PutIconImage(list, icon, BitmapsOfSmallIcon(icon));
}
void NoIcon(HIMAGELIST, RowIconSlot&, const std::wstring&) {}

FloorFigures MeasureAgainstFloors(const std::function<void()>& page, const std::function<void(IconStep)>& floor) {
    const std::vector<double> medians = MediansAlternated(
        3, {page, [&] { floor(&IconByList); }, [&] { floor(&IconBitmaps); }, [&] { floor(&NoIcon); }});
    return {medians[0], medians[1], medians[2], medians[3]};
}

void PrintAgainstFloors(const std::string& fill, const std::string& set, bool allDistinct,
                        const std::string& floorText, const FloorFigures& figures) {
    Print(fill + ", " + set + " (median of 3)", figures.page, "ms");
    Print(floorText, figures.floor, "ms");
    Print("floor with each icon's own bitmaps put into the list", figures.floorBitmaps, "ms");
    Print("floor without icons (the same reads, text only)", figures.floorText, "ms");
    PrintRatio((allDistinct ? "all distinct: " : "shared icons: ") + fill + " / floor", figures.page, figures.floor);
    std::printf("%-58s %10.2f x that floor\n", "  the same against the floor with the icons' bitmaps",
                figures.floorBitmaps > 0 ? figures.page / figures.floorBitmaps : 0.0);
    std::printf("%-58s %10.2f x that floor\n", "  the same against the floor without icons",
                figures.floorText > 0 ? figures.page / figures.floorText : 0.0);
    std::fflush(stdout);
}

namespace {

// Notes the end of the first paint that shows a full screen of rows (every row a paint
// shows has asked for its image by then).
struct ScreenWatch {
    double fullScreenAt = 0;
};
LRESULT CALLBACK WatchPaints(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const LRESULT result = ::DefSubclassProc(list, message, wParam, lParam);
    auto* watch = reinterpret_cast<ScreenWatch*>(data);
    if (message == WM_PAINT && watch->fullScreenAt == 0 &&
        ListView_GetItemCount(list) > ListView_GetTopIndex(list) + ListView_GetCountPerPage(list)) {
        watch->fullScreenAt = NowMs();
    }
    return result;
}

}  // namespace

ScreenFigures MeasureScreens(HWND list, const std::function<void()>& click) {
    ScreenWatch watch;
    ::SetWindowSubclass(list, &WatchPaints, 1, reinterpret_cast<DWORD_PTR>(&watch));
    std::vector<double> firstScreens;
    for (int i = 0; i < 3; ++i) {
        watch.fullScreenAt = 0;
        const double clicked = NowMs();
        click();
        firstScreens.push_back(watch.fullScreenAt > 0 ? watch.fullScreenAt - clicked : 0.0);
    }
    ::RemoveWindowSubclass(list, &WatchPaints, 1);

    // Five screenfuls spread over the list, each scrolled to and painted: the median time.
    const int rows = ListView_GetItemCount(list);
    const int perPage = ListView_GetCountPerPage(list);
    RECT row{};
    ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
    const int rowHeight = row.bottom - row.top;
    auto scrollThrough = [&] {
        std::vector<double> times;
        for (int k = 1; k <= 5 && rowHeight > 0; ++k) {
            const int target = rows * k / 6;
            if (target < 2 * perPage || target + perPage > rows) continue;
            const int top = ListView_GetTopIndex(list);
            const double start = NowMs();
            ListView_Scroll(list, 0, (target - top) * rowHeight);
            ::UpdateWindow(list);
            times.push_back(NowMs() - start);
        }
        return Median(std::move(times));
    };
    // First from the top of the list filled last, none of them painted before; then the same
    // screenfuls again, their icons in the list by now: the scroll and paint alone.
    const double scrolled = scrollThrough();
    const double again = scrollThrough();
    return {Median(firstScreens), scrolled, again};
}

void PrintScreens(const ScreenFigures& figures) {
    Print("click to the first full screen with icons (median of 3)", figures.firstScreen, "ms");
    Print("a screenful scrolled into view, with icons (median of 5)", figures.scrolled, "ms");
    Print("  the same screenfuls again, their icons known (median of 5)", figures.scrolledAgain, "ms");
}

void Print(const std::string& name, double value, const std::string& unit) {
    std::printf("%-58s %10.3f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

void PrintRatio(const std::string& name, double measured, double floor) {
    std::printf("%-58s %10.2f x floor\n", name.c_str(), floor > 0 ? measured / floor : 0.0);
    std::fflush(stdout);
}

}  // namespace taliveer::bench

namespace taliveer::bench {
namespace {

bool StartsWithCaseless(const std::wstring& name, const std::wstring& prefix) {
    return name.size() >= prefix.size() &&
           ::CompareStringOrdinal(name.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

std::wstring IconFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"taliveer bench icons\\";
}

}  // namespace

void RemoveKeysNamed(HKEY root, const std::wstring& path, const std::wstring& prefix) {
    for (RegView view : {RegView::Bits64, RegView::Bits32}) {
        StringList names;
        ReadKeyNamesIn(root, path, view, names);
        for (const auto& name : names) {
            if (StartsWithCaseless(name, prefix)) RemoveRegTree(root, path + name, view);
        }
    }
}

void RemoveValuesNamed(HKEY root, const std::wstring& path, const std::wstring& prefix) {
    for (RegView view : {RegView::Bits64, RegView::Bits32}) {
        StringList names;
        ReadValueNamesIn(root, path, view, names);
        for (const auto& name : names) {
            if (StartsWithCaseless(name, prefix)) RemoveRegValue(root, path, name, view);
        }
    }
}

IconFiles::IconFiles(const std::wstring& program, int count) {
    const std::wstring folder = IconFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        std::wstring file = folder + L"TalIcon" + std::to_wstring(i) + L".exe";
        if (!::CreateHardLinkW(file.c_str(), program.c_str(), nullptr)) ::CopyFileW(program.c_str(), file.c_str(), FALSE);
        files_.push_back(std::move(file));
    }
}

IconFiles::~IconFiles() { Clean(); }

void IconFiles::Clean() { RemoveFolderOfFiles(IconFolder()); }

void RemoveFolderOfFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + found.cFileName).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace taliveer::bench
