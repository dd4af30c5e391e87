// A small benchmark harness: timed repetitions, medians, printed figures, and what each
// benchmark leaves behind removed again.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "services/file_icon.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace taliveer::bench {

// The performance counter in milliseconds, and the median of some figures.
double NowMs();
double Median(std::vector<double> values);

// Median wall time of `runs` calls of `body`, in milliseconds. `setup` runs before each call
// outside the timing.
double MedianMs(int runs, const std::function<void()>& body, const std::function<void()>& setup = {});

// Medians of two bodies measured in alternation (a, b, a, b, ...), so that drifts of the
// machine touch both alike.
std::pair<double, double> MedianMsPaired(int runs, const std::function<void()>& a, const std::function<void()>& b);
// The same for any number of bodies: one median per body, in their order.
std::vector<double> MediansAlternated(int runs, const std::vector<std::function<void()>>& bodies);

// What a floor pass does with each row's icon file: extracts the icon and puts it into the
// image list by the list's own conversion, or as the icon's bitmaps (as the pages do), or
// leaves it alone (the floor of the text alone).
using IconStep = void (*)(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file);
void IconByList(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file);
void IconBitmaps(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file);
void NoIcon(HIMAGELIST list, RowIconSlot& slot, const std::wstring& file);

// A page's fill against its floors (medians of 3 alternated rounds).
struct FloorFigures {
    double page = 0;
    double floor = 0;         // one icon per row through the list's own conversion
    double floorBitmaps = 0;  // one icon per row as its own bitmaps
    double floorText = 0;     // the same reads without any icon
};
FloorFigures MeasureAgainstFloors(const std::function<void()>& page, const std::function<void(IconStep)>& floor);
// Prints the page's figure for `fill` ("uninstall fill") over `set` ("1000 rows, ..."), the
// floors (the first described by `floorText`) and the ratios.
void PrintAgainstFloors(const std::string& fill, const std::string& set, bool allDistinct,
                        const std::string& floorText, const FloorFigures& figures);

// What the user waits for on a page's list: from the click to the first paint that shows a
// full screen of rows with their icons, and the paint of a screenful scrolled into view for
// the first time (its icons extracted then), after a click that filled the list.
struct ScreenFigures {
    double firstScreen = 0;  // median of 3 clicks
    double scrolled = 0;     // median of 5 screenfuls
    double scrolledAgain = 0;  // the same screenfuls once more, nothing left to extract
};
ScreenFigures MeasureScreens(HWND list, const std::function<void()>& click);
void PrintScreens(const ScreenFigures& figures);

void Print(const std::string& name, double value, const std::string& unit);
void PrintRatio(const std::string& name, double measured, double floor);

// Deletes the files of a folder (ending in a backslash), then the folder.
void RemoveFolderOfFiles(const std::wstring& folder);

struct Benchmark {
    const char* name;
    void (*run)();
    // Removes whatever `run` puts in the registry, on disk or in the process table; safe to
    // call when nothing is there, and called again after a run that failed or was cut short.
    void (*clean)();
    // The longest the benchmark may take, in seconds.
    int budgetSeconds;
};
// Every benchmark of the program, in the order they run.
const std::vector<Benchmark>& AllBenchmarks();

// Removes every subkey of root\path whose name starts with `prefix`, in any case, in both
// registry views.
void RemoveKeysNamed(HKEY root, const std::wstring& path, const std::wstring& prefix);
// The same for the values of root\path.
void RemoveValuesNamed(HKEY root, const std::wstring& path, const std::wstring& prefix);

// Distinct files that give the same icon: hard links to one program (copies where the file
// system has no links), in a folder of the temporary folder that goes with them.
class IconFiles {
public:
    IconFiles(const std::wstring& program, int count);
    ~IconFiles();
    IconFiles(const IconFiles&) = delete;
    IconFiles& operator=(const IconFiles&) = delete;
    const std::wstring& operator[](size_t i) const { return files_[i]; }
    size_t size() const { return files_.size(); }
    // Removes the folder and everything in it.
    static void Clean();

private:
    std::vector<std::wstring> files_;
};

}  // namespace taliveer::bench
