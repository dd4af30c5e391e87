#include "app/main_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace taliveer {
namespace {

using namespace ids;

constexpr unsigned kTabFlags = flag::kHand | flag::kCentre | flag::kVCentre;
constexpr unsigned kButtonLabelFlags = flag::kHand | flag::kCentre | flag::kVCentre;

constexpr ControlSpec Picture(int id, const wchar_t* name, int parent, int x, int y, int w, int h, unsigned flags = 0) {
    return {id, name, ControlKind::Picture, parent, x, y, w, h, nullptr, FontId::Default, kBlack, flags};
}

// The three controls of one image button: normal picture, lit picture, caption label.
constexpr std::array<ControlSpec, 3> ImageButton(int page, int button, int left, const wchar_t* caption,
                                                 const wchar_t* nameA, const wchar_t* nameB,
                                                 const wchar_t* nameLabel) {
    return {{
        Picture(ButtonA(page, button), nameA, Panel(page), left, 394, 161, 26, flag::kHand),
        Picture(ButtonB(page, button), nameB, Panel(page), left, 394, 161, 26, flag::kHand | flag::kHidden),
        {ButtonLabel(page, button), nameLabel, ControlKind::Label, Panel(page), left + 18, 401, 130, 13, caption,
         FontId::Verdana11Bold, kBlack, kButtonLabelFlags},
    }};
}

constexpr ControlSpec PageRow(int page, const wchar_t* name) {
    return {Panel(page), name, ControlKind::Page, 0, 16, 100, 690, 428, nullptr, FontId::Default, kBlack, 0};
}

constexpr ControlSpec ListRow(int page, const wchar_t* name, unsigned flags = 0) {
    return {InfoList(page), name, ControlKind::ListView, Panel(page), 8, 8, 673, 345, nullptr, FontId::Default, kBlack, flags};
}

constexpr ControlSpec InfoLabelRow(int page, const wchar_t* name, int left, int top) {
    return {InfoLabel(page), name, ControlKind::Label, Panel(page), left, top, 678 - left, 13, InfoLabelStartText(page),
            FontId::Default, kBlack, flag::kRight | flag::kAutoSizeRight};
}

constexpr ControlSpec UndoLabelRow(int page, const wchar_t* name, int left, int top) {
    return {UndoLabel(page), name, ControlKind::Label, Panel(page), left, top, 90, 13, L"打开撤消文件夹",
            FontId::Arial11Underline, kBlack, flag::kHand | flag::kHidden | flag::kAutoSize};
}

constexpr ControlSpec RestoreLabelRow(int page, const wchar_t* name, int left, int top) {
    return {RestoreLabel(page), name, ControlKind::Label, Panel(page), left + 100, top, 40, 13, L"恢复…",
            FontId::Arial11Underline, kBlack, flag::kHand | flag::kHidden | flag::kAutoSize};
}

template <size_t... N>
constexpr auto Join(const std::array<ControlSpec, N>&... parts) {
    std::array<ControlSpec, (N + ...)> out{};
    size_t i = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + static_cast<std::ptrdiff_t>(i)), i += N), ...);
    return out;
}

constexpr std::array<ControlSpec, 11> kWindowRows{{
    Picture(kForm1Image, L"Form1Image", 0, 0, 0, kMainWidth, kMainHeight),
    {kTopLabel1, L"TopLabel1", ControlKind::Label, 0, 635, 8, 16, 16, L"i", FontId::Arial13, kBlack, kTabFlags},
    {kTopLabel2, L"TopLabel2", ControlKind::Label, 0, 664, 6, 16, 16, L"_", FontId::Arial13Bold, kBlack, kTabFlags},
    {kTopLabel3, L"TopLabel3", ControlKind::Label, 0, 691, 8, 17, 17, L"x", FontId::Arial13, kBlack, kTabFlags},
    Picture(kTabImage, L"TabImage", 0, TabImageLeft(1), 65, 141, 26),
    {TabLabel(1), L"TabLabel1", ControlKind::Label, 0, 146, 70, 120, 16, L"自动启动", FontId::Arial13Bold, kHighlightBlue, kTabFlags},
    {TabLabel(2), L"TabLabel2", ControlKind::Label, 0, 290, 70, 120, 16, L"卸载", FontId::Arial13Bold, kBlack, kTabFlags},
    {TabLabel(3), L"TabLabel3", ControlKind::Label, 0, 434, 70, 120, 16, L"进程", FontId::Arial13Bold, kBlack, kTabFlags},
    {TabLabel(4), L"TabLabel4", ControlKind::Label, 0, 578, 70, 120, 16, L"关联", FontId::Arial13Bold, kBlack, kTabFlags},
    {kCopyrightLabel1, L"CopyrightLabel1", ControlKind::Label, 0, 488, 44, 100, 14, L"Copyright © 2026",
     FontId::Default, kCopyrightColour, flag::kVCentre | flag::kAutoSize},
    {kCopyrightLabel2, L"CopyrightLabel2", ControlKind::Label, 0, 612, 44, 90, 14, L"Corvantis 公司",
     FontId::Arial11Underline, kCopyrightColour, flag::kHand | flag::kVCentre | flag::kAutoSize},
}};

// Pages in creation order: Panel2, Panel4, Panel3, Panel1 (Panel1 lies in front at start).
constexpr std::array<ControlSpec, 8> kPanel2Own{{
    PageRow(2, L"Panel2"),
    ListRow(2, L"Panel2InfoList"),
    {FilterRadio(1), L"Panel2Check1", ControlKind::RadioButton, Panel(2), 8, 362, 82, 17, L"所有程序", FontId::Default,
     kBlack, flag::kGroup | flag::kChecked},
    {FilterRadio(2), L"Panel2Check2", ControlKind::RadioButton, Panel(2), 104, 362, 150, 17, L"Windows Updates 除外",
     FontId::Default, kBlack, 0},
    {FilterRadio(3), L"Panel2Check3", ControlKind::RadioButton, Panel(2), 264, 362, 88, 17, L"仅工具栏", FontId::Default,
     kBlack, 0},
    InfoLabelRow(2, L"Panel2InfoLabel", 597, 362),
    UndoLabelRow(2, L"Panel2UndoLabel", 8, 390),
    RestoreLabelRow(2, L"Panel2RestoreLabel", 8, 390),
}};
constexpr std::array<ControlSpec, 7> kPanel4Own{{
    PageRow(4, L"Panel4"),
    ListRow(4, L"Panel4InfoList"),
    {kPanel4FindLabel, L"Panel4FindLabel", ControlKind::Label, Panel(4), 8, 364, 28, 13, L"查找", FontId::Default, kBlack,
     flag::kAutoSize},
    {kPanel4FindEdit, L"Panel4FindEdit", ControlKind::Edit, Panel(4), 40, 360, 80, 22, L"", FontId::Default, kBlack, 0},
    UndoLabelRow(4, L"Panel4UndoLabel", 136, 364),
    RestoreLabelRow(4, L"Panel4RestoreLabel", 136, 364),
    InfoLabelRow(4, L"Panel4InfoLabel", 606, 364),
}};
constexpr std::array<ControlSpec, 3> kPanel3Own{{
    PageRow(3, L"Panel3"),
    ListRow(3, L"Panel3InfoList"),
    InfoLabelRow(3, L"Panel3InfoLabel", 597, 362),
}};
constexpr std::array<ControlSpec, 5> kPanel1Own{{
    PageRow(1, L"Panel1"),
    ListRow(1, L"Panel1InfoList", flag::kCheckBoxes),
    InfoLabelRow(1, L"Panel1InfoLabel", 546, 362),
    UndoLabelRow(1, L"Panel1UndoLabel", 10, 362),
    RestoreLabelRow(1, L"Panel1RestoreLabel", 10, 362),
}};

constexpr auto kLayout = Join(
    kWindowRows,
    kPanel2Own,
    ImageButton(2, 1, 350, L"卸载", L"Panel2Button1A", L"Panel2Button1B", L"Panel2Button1Label"),
    ImageButton(2, 2, 518, L"删除记录", L"Panel2Button2A", L"Panel2Button2B", L"Panel2Button2Label"),
    kPanel4Own,
    ImageButton(4, 1, 182, L"添加", L"Panel4Button1A", L"Panel4Button1B", L"Panel4Button1Label"),
    ImageButton(4, 2, 350, L"编辑", L"Panel4Button2A", L"Panel4Button2B", L"Panel4Button2Label"),
    ImageButton(4, 3, 518, L"删除", L"Panel4Button3A", L"Panel4Button3B", L"Panel4Button3Label"),
    kPanel3Own,
    ImageButton(3, 1, 350, L"结束进程", L"Panel3Button1A", L"Panel3Button1B", L"Panel3Button1Label"),
    ImageButton(3, 2, 518, L"继续", L"Panel3Button2A", L"Panel3Button2B", L"Panel3Button2Label"),
    kPanel1Own,
    ImageButton(1, 1, 182, L"添加程序", L"Panel1Button1A", L"Panel1Button1B", L"Panel1Button1Label"),
    ImageButton(1, 2, 518, L"删除程序", L"Panel1Button2A", L"Panel1Button2B", L"Panel1Button2Label"),
    ImageButton(1, 3, 350, L"禁用", L"Panel1Button3A", L"Panel1Button3B", L"Panel1Button3Label"));

constexpr ColumnSpec kAutostartColumns[] = {
    {L"程序", 180, LVCFMT_LEFT}, {L"位置/命令", 370, LVCFMT_LEFT}, {L"访问", 90, LVCFMT_LEFT}};
constexpr ColumnSpec kUninstallColumns[] = {
    {L"程序", 200, LVCFMT_LEFT}, {L"位置/命令", 362, LVCFMT_LEFT}, {L"已安装", 90, LVCFMT_CENTER}};
constexpr ColumnSpec kProcessColumns[] = {
    {L"程序", 180, LVCFMT_LEFT}, {L"位置/命令", 370, LVCFMT_LEFT}, {L"优先", 90, LVCFMT_CENTER}};
constexpr ColumnSpec kAssociationColumns[] = {
    {L"扩展", 80, LVCFMT_LEFT}, {L"描述", 200, LVCFMT_LEFT}, {L"程序", 360, LVCFMT_LEFT}};

}  // namespace

std::span<const ControlSpec> MainWindowLayout() { return kLayout; }

const ControlSpec& LayoutRow(int id) {
    for (const ControlSpec& row : kLayout) {
        if (row.id == id) return row;
    }
    throw std::out_of_range("no layout row with that id");
}

int ButtonCount(int page) {
    int count = 0;
    for (const ControlSpec& row : kLayout) {
        if (row.id == ButtonA(page, count + 1)) ++count;
    }
    return count;
}

std::vector<int> ButtonsLeftToRight(int page) {
    std::vector<int> buttons;
    for (int button = 1; button <= ButtonCount(page); ++button) buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(),
              [page](int a, int b) { return LayoutRow(ids::ButtonA(page, a)).x < LayoutRow(ids::ButtonA(page, b)).x; });
    return buttons;
}

DragBand MainDragBand() { return DragBand{LayoutRow(kTopLabel1).x, kTabStripTop}; }

std::span<const ColumnSpec> PageColumns(int page) {
    switch (page) {
    case 1: return kAutostartColumns;
    case 2: return kUninstallColumns;
    case 3: return kProcessColumns;
    default: return kAssociationColumns;
    }
}

}  // namespace taliveer
