// What a page's code reaches of the main window: the shared state, the controls, the
// shared image list and a few of the window's services.
#pragma once

#include "app/shared_state.h"
#include "app/main_layout.h"
#include "ui/form_controls.h"
#include "services/icon_image.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace taliveer {

// The icons extracted since the cache was last emptied (each page entry empties it), by the
// file they came from in upper case: none for a file without icons, which shows the stock
// icon kept under "". Rows that name the same file share one extraction, the costly part,
// and each still gets an image of its own, made from the icon's bitmaps.
struct ExtractedIcon {
    UniqueHIcon icon;
    IconBitmaps bitmaps;
};
using ExtractedIcons = std::unordered_map<std::wstring, ExtractedIcon>;

// Where a row's icon comes from, kept until its list first paints the row: a command line or
// icon location (the file it names is used), or a file used as it is.
struct RowIconSource {
    std::wstring text;
    bool isFile = false;
};

struct PageContext {
    SharedState& state;
    FormControls& controls;
    HIMAGELIST imageList;
    std::function<void(int page)> bringToFront;
    std::function<void(bool on)> setPanel3Timer;
    std::function<bool()> panel3TimerOn;
    // Does what a click on the tab label does.
    std::function<void(int tab)> clickTab;
    ExtractedIcons extracted{};
    // The icon sources of each page's rows whose image is still to come, by the row's lParam.
    std::array<std::vector<RowIconSource>, kPageCount + 1> iconSources{};
    // When a gathering last let the waiting messages run (GetTickCount64).
    ULONGLONG lastPump = 0;
};

// Counts the gatherings of one page: a gathering that began under an older count has been
// overtaken (the tab clicked again while rows still arrive) and stops.
struct PageGeneration {
    unsigned current = 0;
    unsigned Next() { return ++current; }
};

// Where every page entry starts: empties the page's list view (and the icon sources of its
// rows) and the shared image list, puts the count label back to its start text, and begins a
// new generation of the page.
void ClearPage(PageContext& context, int page, PageGeneration& generation);

// Lets the waiting messages run (at most every 10 ms); true while the main window is open
// and `mine` is still the page's current generation.
bool PumpAndStillWanted(PageContext& context, const PageGeneration& generation, unsigned mine);

// Shows the page's "打开撤消文件夹" link exactly when the Undo folder exists, and its "恢复…"
// link exactly when the folder holds a backup.
void ShowUndoLink(PageContext& context, int page);

// The icon of the file a command line or location names, added to the shared image list, or
// put in place of the image at `replacing` (an image no row uses any more); its index there,
// or -1 when not even the stock icon could be loaded.
int AddRowIcon(PageContext& context, const std::wstring& commandOrLocation, int replacing = -1);
// The same for a file path used as it is.
int AddFileIcon(PageContext& context, const std::wstring& file, int replacing = -1);

// Appends a row of three cells to the page's list with its image still to come: the list asks
// for it (LVN_GETDISPINFO) the first time it paints or reads the row, and SupplyRowIcon then
// extracts the icon. Rows never shown cost no icon. Returns the row's index.
int AppendRowIconToCome(PageContext& context, int page, const std::wstring& caption, const std::wstring& second,
                        const std::wstring& third, RowIconSource source);
// Answers a page list's request for a row's image: its icon from `source`, added to the
// shared image list; the list keeps the index, so it asks once per row.
void SupplyRowIcon(PageContext& context, int page, NMLVDISPINFOW& request);

}  // namespace taliveer
