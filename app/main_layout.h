// Control ids and layout tables of the main window TForm1.
#pragma once

#include "ui/layout.h"
#include "ui/pure/drag_band.h"

#include <span>
#include <vector>

namespace taliveer {

namespace ids {
inline constexpr int kForm1Image = 1000;
inline constexpr int kTopLabel1 = 1001;  // "i": About
inline constexpr int kTopLabel2 = 1002;  // "_": minimise
inline constexpr int kTopLabel3 = 1003;  // "x": close
inline constexpr int kTabImage = 1004;
constexpr int TabLabel(int tab) { return 1010 + tab; }  // tabs 1..4
inline constexpr int kCopyrightLabel1 = 1021;
inline constexpr int kCopyrightLabel2 = 1022;

constexpr int Panel(int page) { return 2000 + 100 * page; }  // pages 1..4
constexpr int InfoList(int page) { return Panel(page) + 1; }
constexpr int InfoLabel(int page) { return Panel(page) + 2; }
constexpr int UndoLabel(int page) { return Panel(page) + 3; }
constexpr int RestoreLabel(int page) { return Panel(page) + 4; }  // "恢复…", beside the Undo link
constexpr int ButtonA(int page, int button) { return Panel(page) + 10 * button + 1; }
constexpr int ButtonB(int page, int button) { return Panel(page) + 10 * button + 2; }
constexpr int ButtonLabel(int page, int button) { return Panel(page) + 10 * button + 3; }
constexpr int FilterRadio(int index) { return Panel(2) + 50 + index; }  // Panel2Check1..3
inline constexpr int kPanel4FindLabel = 2461;
inline constexpr int kPanel4FindEdit = 2462;
}  // namespace ids

inline constexpr int kPageCount = 4;
// How many image buttons the page's row of the table has.
int ButtonCount(int page);
// The page's buttons (1..ButtonCount) in the order they stand, left to right.
std::vector<int> ButtonsLeftToRight(int page);

// Start texts of the count labels.
constexpr const wchar_t* InfoLabelStartText(int page) {
    switch (page) {
    case 1: return L"在自动启动发现 0 个程序";
    case 2: return L"0 个已安装程序";
    case 3: return L"0 个程序在工作";
    default: return L"找到 0 个关联";
    }
}

std::span<const ControlSpec> MainWindowLayout();
// The table's row of a control.
const ControlSpec& LayoutRow(int id);
// The window can be dragged by the band above the tab strip, left of the "i" label.
DragBand MainDragBand();
std::span<const ColumnSpec> PageColumns(int page);

inline constexpr int kMainWidth = 720;
inline constexpr int kMainHeight = 540;
// Left edge of the tab highlight under tab 1..4.
constexpr int TabImageLeft(int tab) { return 136 + 144 * (tab - 1); }
// The tab strip begins here; above it the window can be dragged.
inline constexpr int kTabStripTop = 60;


}  // namespace taliveer
