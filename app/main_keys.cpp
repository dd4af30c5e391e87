// The main window's keys, the rows' context menu, and rows out of the program (the clipboard,
// a CSV file). Every key and menu entry runs the same handler as the mouse.
#include "app/main_layout.h"
#include "app/main_window.h"
#include "pages/associations/association_page.h"
#include "pages/autostart/autostart_page.h"
#include "pages/processes/process_page.h"
#include "pages/uninstall/uninstall_page.h"
#include "services/file_system.h"
#include "services/file_writer.h"
#include "services/pure/command_line.h"
#include "services/pure/table_text.h"
#include "services/system_message.h"
#include "services/unique_handle.h"
#include "ui/form_controls.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>

namespace taliveer {
namespace {

enum MenuId : UINT { kMenuButton1 = 1, kMenuButton2, kMenuButton3, kMenuOpenLocation, kMenuCopy, kMenuExport };

bool Down(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (memory) {
        if (void* target = ::GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            put = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put) ::GlobalFree(memory);  // the clipboard owns it only once it took it
    }
    ::CloseClipboard();
    return put;
}

}  // namespace

bool TForm1::KeyDown(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!hwnd_ || !(msg.hwnd == hwnd_ || ::IsChild(hwnd_, msg.hwnd)) || !::IsWindowEnabled(hwnd_)) return false;
    const UINT key = static_cast<UINT>(msg.wParam);
    const bool ctrl = Down(VK_CONTROL);
    const bool shift = Down(VK_SHIFT);
    const bool alt = Down(VK_MENU);
    const int page = PageInFront();
    const bool inTextBox = msg.hwnd == controls_->Find(ids::kPanel4FindEdit);
    if (alt && key != VK_F10) return false;

    if (ctrl && key == VK_TAB) {
        KeyTab(shift ? (page + 2) % 4 + 1 : page % 4 + 1);
    } else if (ctrl && !shift && key >= '1' && key <= '4') {
        KeyTab(static_cast<int>(key - '0'));
    } else if (!ctrl && key == VK_F5) {
        if (page == 3) {
            processes_->Panel3TimerEvent();
        } else {
            TabLabelClick(page);
        }
    } else if (ctrl && !shift && key == 'Z') {
        ::PostMessageW(hwnd_, kOpenRestoreMessage, 0, 0);
    } else if (ctrl && !shift && key == 'F') {
        if (page != 4) TabLabelClick(4);
        HWND find = controls_->Hwnd(ids::kPanel4FindEdit);
        ::SetFocus(find);
        ::SendMessageW(find, EM_SETSEL, 0, -1);
    } else if (ctrl && !shift && key == 'C' && !inTextBox) {
        CopyRows(page);
    } else if (ctrl && !shift && key == 'A' && !inTextBox) {
        ListView_SetItemState(controls_->Hwnd(ids::InfoList(page)), -1, LVIS_SELECTED, LVIS_SELECTED);
    } else if (ctrl && !shift && key == 'S') {
        ExportRows(page);
    } else if (ctrl && !shift && key == 'D' && page == 1) {
        RunButton(1, 3);
    } else if (!ctrl && !shift && key == VK_DELETE && !inTextBox) {
        RunButton(page, page == 1 ? 2 : page == 2 ? 2 : page == 3 ? 1 : 3);
    } else if ((shift && key == VK_F10) || key == VK_APPS) {
        ShowRowMenu(page, POINT{-1, -1});
    } else if (!ctrl && (key == VK_RETURN || key == VK_SPACE) && FocusedButton(page) > 0) {
        RunButton(page, FocusedButton(page));
    } else if (!ctrl && key == VK_RETURN && page == 4 && msg.hwnd == controls_->Hwnd(ids::InfoList(4))) {
        RunButton(4, 2);
    } else if (!ctrl && key == VK_TAB) {
        MoveFocus(page, shift);
    } else {
        return false;
    }
    return true;
}

void TForm1::KeyTab(int tab) {
    TabLabelClick(tab);
    if (PageInFront() == tab && ::IsWindowEnabled(hwnd_)) ::SetFocus(controls_->Hwnd(ids::InfoList(tab)));
}

void TForm1::RunButton(int page, int button) {
    if (button < 1 || button > ButtonCount(page)) return;
    controls_->Command(MAKEWPARAM(ids::ButtonLabel(page, button), STN_CLICKED));
}

int TForm1::FocusedButton(int page) const {
    HWND focus = ::GetFocus();
    for (int button = 1; button <= ButtonCount(page); ++button) {
        if (focus == controls_->Hwnd(ids::ButtonLabel(page, button))) return button;
    }
    return 0;
}

void TForm1::MoveFocus(int page, bool backwards) {
    // The list, the page's own controls, then its buttons.
    std::vector<HWND> order{controls_->Hwnd(ids::InfoList(page))};
    if (page == 2) {
        for (int radio = 1; radio <= 3; ++radio) order.push_back(controls_->Hwnd(ids::FilterRadio(radio)));
    }
    if (page == 4) order.push_back(controls_->Hwnd(ids::kPanel4FindEdit));
    for (int button : ButtonsLeftToRight(page)) order.push_back(controls_->Hwnd(ids::ButtonLabel(page, button)));
    HWND focus = ::GetFocus();
    size_t at = 0;
    bool found = false;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == focus) {
            at = i;
            found = true;
        }
    }
    const size_t n = order.size();
    const size_t next = !found ? 0 : backwards ? (at + n - 1) % n : (at + 1) % n;
    ::SetFocus(order[next]);
}

std::vector<std::vector<std::wstring>> TForm1::PageRows(int page, bool selectedOnly) const {
    HWND list = controls_->Hwnd(ids::InfoList(page));
    const int columns = static_cast<int>(PageColumns(page).size());
    std::vector<std::vector<std::wstring>> rows;
    for (int row = selectedOnly ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : (ListView_GetItemCount(list) ? 0 : -1);
         row >= 0; row = selectedOnly ? ListView_GetNextItem(list, row, LVNI_SELECTED)
                                      : (row + 1 < ListView_GetItemCount(list) ? row + 1 : -1)) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) cells.push_back(ListCellText(list, row, column));
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<std::wstring> TForm1::PageHeader(int page) const {
    std::vector<std::wstring> header;
    for (const ColumnSpec& column : PageColumns(page)) header.emplace_back(column.caption);
    return header;
}

void TForm1::CopyRows(int page) {
    const auto rows = PageRows(page, true);
    if (rows.empty()) return;
    if (!PutOnClipboard(hwnd_, TabSeparatedText(PageHeader(page), rows))) {
        state_.InfoBox->Show(L"无法复制到剪贴板: " + SystemMessage(::GetLastError()));
    }
}

void TForm1::ExportRows(int page) {
    if (state_.BusyFlag) return;
    static constexpr const wchar_t* kPageNames[] = {L"自动启动", L"卸载", L"进程", L"关联"};
    std::wstring file = std::wstring(L"Taliveer ") + kPageNames[page - 1] + L".csv";
    file.resize(MAX_PATH * 4);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"CSV (*.csv)\0*.csv\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"csv";
    ofn.lpstrTitle = L"导出";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    // The rows as shown when the user asked, whatever the process page's timer does meanwhile.
    const auto rows = PageRows(page, false);
    const auto header = PageHeader(page);
    if (!::GetSaveFileNameW(&ofn)) return;
    file.resize(std::wcslen(file.c_str()));
    const std::string bytes = CsvFileBytes(header, rows);
    // The save dialog has asked before a file of that name is replaced.
    if (const DWORD status = WriteWholeFile(file, bytes, WriteMode::Replace); status != ERROR_SUCCESS) {
        state_.InfoBox->Show(L"无法写入 " + file + L": " + SystemMessage(status));
        return;
    }
    state_.InfoBox->Show(L"已导出 " + std::to_wstring(rows.size()) + L" 行到 " + file);
}

std::wstring TForm1::RowFile(int page, int row) const {
    HWND list = controls_->Hwnd(ids::InfoList(page));
    std::wstring command = ListCellText(list, row, 1);
    // A command Windows runs instead of the class's, marked with its chosen file type.
    if (page == 4 && !command.empty() && command.front() == L'[') {
        const size_t close = command.find(L"] ");
        if (close != std::wstring::npos) command.erase(0, close + 2);
    }
    const PrefixFolders prefixes{state_.WindowsFolder, state_.ProfileFolder};
    const std::wstring file = ExtractProgramFile(command, prefixes, &LocaleUpperCase);
    return FileExists(file) ? file : std::wstring();
}

void TForm1::ShowRowMenu(int page, POINT at) {
    if (page < 1 || page > kPageCount || !::IsWindowEnabled(hwnd_)) return;
    HWND list = controls_->Hwnd(ids::InfoList(page));
    int row = -1;
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the selected row, or the list's corner.
        row = ListView_GetNextItem(list, -1, LVNI_FOCUSED | LVNI_SELECTED);
        if (row < 0) row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        RECT rc{};
        if (row >= 0 && ListView_GetItemRect(list, row, &rc, LVIR_LABEL)) {
            at = POINT{rc.left + 8, rc.bottom};
        } else {
            at = POINT{8, 24};
        }
        ::ClientToScreen(list, &at);
    } else {
        // The row under the mouse becomes the selected row, as in Explorer.
        LVHITTESTINFO hit{};
        hit.pt = at;
        ::ScreenToClient(list, &hit.pt);
        row = ListView_HitTest(list, &hit);
        if (row >= 0 && !(ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED)) {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    UniqueHMenu menu(::CreatePopupMenu());
    if (!menu) return;
    for (int button : ButtonsLeftToRight(page)) {
        std::wstring caption = controls_->Static(ids::ButtonLabel(page, button)).Text();
        if (page == 1 && button == 3) caption += L"\tCtrl+D";
        ::AppendMenuW(menu.get(), MF_STRING, kMenuButton1 + static_cast<UINT>(button) - 1, caption.c_str());
    }
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    const std::wstring file = row >= 0 ? RowFile(page, row) : std::wstring();
    ::AppendMenuW(menu.get(), MF_STRING | (file.empty() ? MF_GRAYED : 0), kMenuOpenLocation, L"打开文件位置");
    ::AppendMenuW(menu.get(), MF_STRING | (row < 0 ? MF_GRAYED : 0), kMenuCopy, L"复制\tCtrl+C");
    ::AppendMenuW(menu.get(), MF_STRING, kMenuExport, L"导出…\tCtrl+S");
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
    switch (chosen) {
    case kMenuButton1:
    case kMenuButton2:
    case kMenuButton3: RunButton(page, static_cast<int>(chosen - kMenuButton1) + 1); break;
    case kMenuOpenLocation:
        ::ShellExecuteW(hwnd_, L"open", L"explorer.exe", (L"/select,\"" + file + L"\"").c_str(), nullptr, SW_SHOWNORMAL);
        break;
    case kMenuCopy: CopyRows(page); break;
    case kMenuExport: ExportRows(page); break;
    default: break;
    }
}

}  // namespace taliveer
