// Reads the state of a running Taliveer window for the end-to-end scripts, from inside the
// same Wine session:
//   winprobe wait SECONDS     wait until the main window is visible
//   winprobe rect             window rectangle: left top width height
//   winprobe front            page in front (1..4)
//   winprobe child ID         a child's rectangle in the window: left top width height visible
//   winprobe text ID          a child's text
//   winprobe count ID         how many rows a list view has
//   winprobe iconic           1 when minimised
//   winprobe close            ask the window to close
//   winprobe rows ID COLUMNS  the rows of a list view, one line each, cells between tabs (UTF-8)
//   winprobe top ID           index of a list view's top visible row
//   winprobe endfolder TITLE  wait up to 45 s for the folder window TITLE, then end its process
//   winprobe windows          the visible top-level windows: title | class
//   winprobe shortcut FILE TARGET   write a shortcut (for setting up a test)
//   winprobe rowrect ID ROW   a list view row's rectangle in the window: left top width height
//   winprobe checks ID        the check state of each row of a list view, one 0 or 1 a line
//   winprobe dialog TITLE     wait up to 15 s for the visible window TITLE; print its texts
//   winprobe button TITLE TEXT  the screen centre "x y" of the button TEXT in the window TITLE
//   winprobe gone TITLE       wait up to 15 s until no visible window is titled TITLE
//   winprobe edits TITLE      the texts of the edit boxes of the window TITLE, one a line
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <objbase.h>
#include <shobjidl.h>
#include <shlguid.h>

#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

HWND MainWindow() { return ::FindWindowW(L"TForm1", L"Taliveer"); }

HWND FindChild(HWND parent, int id) {
    if (HWND direct = ::GetDlgItem(parent, id)) return direct;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND found = FindChild(child, id)) return found;
    }
    return nullptr;
}

BOOL CALLBACK PrintWindow(HWND hwnd, LPARAM) {
    wchar_t title[256] = {}, cls[256] = {};
    ::GetWindowTextW(hwnd, title, 256);
    ::GetClassNameW(hwnd, cls, 256);
    if (::IsWindowVisible(hwnd)) std::wprintf(L"%ls | %ls\n", title, cls);
    return TRUE;
}

void PrintUtf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// LVITEMW as a 32-bit process lays it out (pointers of 4 bytes), up to the text's length.
struct LvItem32 {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    UINT32 pszText;
    int cchTextMax;
    int rest[8];
};

// Reads a list view of another process through memory allocated in that process, in the
// layout of that process: a 64-bit probe reads a 32-bit program's list too.
int PrintRows(HWND list, int columns) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION,
                                   FALSE, pid);
    if (!process) return 1;
    BOOL targetWow64 = FALSE;
    BOOL selfWow64 = FALSE;
    ::IsWow64Process(process, &targetWow64);
    ::IsWow64Process(::GetCurrentProcess(), &selfWow64);
    const bool narrow = sizeof(void*) == 8 && targetWow64 && !selfWow64;
    constexpr int kChars = 1024;
    constexpr size_t kItemRoom = sizeof(LVITEMW) > sizeof(LvItem32) ? sizeof(LVITEMW) : sizeof(LvItem32);
    void* remote = ::VirtualAllocEx(process, nullptr, kItemRoom + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
    if (!remote || (narrow && reinterpret_cast<UINT_PTR>(remote) > 0xFFFF0000u)) {
        ::CloseHandle(process);
        return 1;
    }
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + kItemRoom);
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring line;
        for (int c = 0; c < columns; ++c) {
            if (narrow) {
                LvItem32 item{};
                item.iSubItem = c;
                item.pszText = static_cast<UINT32>(reinterpret_cast<UINT_PTR>(remoteText));
                item.cchTextMax = kChars;
                ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            } else {
                LVITEMW item{};
                item.iSubItem = c;
                item.pszText = remoteText;
                item.cchTextMax = kChars;
                ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            }
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
            wchar_t text[kChars] = {};
            ::ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr);
            if (c) line += L'\t';
            line += text;
        }
        line += L'\n';
        PrintUtf8(line);
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return 0;
}

int MakeShortcut(const wchar_t* file, const wchar_t* target) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    int rc = 1;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        link->SetPath(target);
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            if (SUCCEEDED(persist->Save(file, TRUE))) rc = 0;
            persist->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return rc;
}

// Calls a list view message whose answer the list writes into a structure of ours, through
// memory in the list's process.
template <typename T>
bool AskListView(HWND list, UINT message, WPARAM wParam, T& data) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof data, MEM_COMMIT, PAGE_READWRITE);
    ::WriteProcessMemory(process, remote, &data, sizeof data, nullptr);
    const bool ok = ::SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote)) != 0;
    ::ReadProcessMemory(process, remote, &data, sizeof data, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return ok;
}

struct Search {
    const wchar_t* title;
    HWND found;
};
BOOL CALLBACK FindVisibleTitled(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t title[256] = {};
    ::GetWindowTextW(hwnd, title, 256);
    if (::IsWindowVisible(hwnd) && std::wcscmp(title, search->title) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
HWND VisibleWindow(const wchar_t* title) {
    Search search{title, nullptr};
    ::EnumWindows(&FindVisibleTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK PrintStaticText(HWND hwnd, LPARAM) {
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"Static") != 0 || !::IsWindowVisible(hwnd)) return TRUE;
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
    if (!text.empty()) PrintUtf8(text + L"\n");
    return TRUE;
}

// Commands about other windows than the main one.
int OtherWindowCommand(int argc, wchar_t** argv) {
    const std::wstring_view command = argv[1];
    if (command == L"dialog" && argc > 2) {
        for (int i = 0; i < 150; ++i) {
            if (HWND box = VisibleWindow(argv[2])) {
                ::Sleep(200);  // its text is set before it shows; let it paint
                ::EnumChildWindows(box, &PrintStaticText, 0);
                return 0;
            }
            ::Sleep(100);
        }
        return 1;
    }
    if (command == L"edits" && argc > 2) {
        HWND box = VisibleWindow(argv[2]);
        if (!box) return 1;
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[32] = {};
            ::GetClassNameW(child, cls, 32);
            if (_wcsicmp(cls, L"Edit") != 0) continue;
            // Another process's edit box answers its text only when asked by message.
            wchar_t text[1024] = {};
            ::SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
            PrintUtf8(std::wstring(text) + L"\n");
        }
        return 0;
    }
    if (command == L"gone" && argc > 2) {
        for (int i = 0; i < 150; ++i) {
            if (!VisibleWindow(argv[2])) return 0;
            ::Sleep(100);
        }
        return 1;
    }
    if (command == L"popup") {
        // Whether a popup menu is open (its entries are the program's own; another process
        // cannot read them under Wine).
        for (int i = 0; i < 50; ++i) {
            HWND popup = ::FindWindowW(L"#32768", nullptr);
            if (popup && ::IsWindowVisible(popup)) {
                std::printf("open\n");
                return 0;
            }
            ::Sleep(100);
        }
        std::printf("none\n");
        return 1;
    }
    if (command == L"button" && argc > 3) {
        HWND box = VisibleWindow(argv[2]);
        if (!box) return 1;
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[128] = {};
            ::GetWindowTextW(child, text, 128);
            if (std::wcscmp(text, argv[3]) != 0) continue;
            RECT r;
            ::GetWindowRect(child, &r);
            std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return 0;
        }
        return 1;
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    // Rectangles and points in the screen's own pixels, whatever its scale: a program unaware
    // of the scale is shown the others' windows scaled to 96 DPI (Wine 10 does so too).
    ::SetProcessDPIAware();
    if (const int rc = OtherWindowCommand(argc, argv); rc >= 0) return rc;
    const std::wstring_view command = argv[1];
    if (command == L"wait") {
        const int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
        for (int i = 0; i < seconds * 10; ++i) {
            HWND w = MainWindow();
            if (w && ::IsWindowVisible(w)) return 0;
            ::Sleep(100);
        }
        return 1;
    }
    if (command == L"shortcut" && argc > 3) return MakeShortcut(argv[2], argv[3]);
    if (command == L"windows") return ::EnumWindows(&PrintWindow, 0) ? 0 : 1;
    if (command == L"endfolder" && argc > 2) {
        for (int i = 0; i < 450; ++i) {
            if (HWND folder = ::FindWindowW(L"ExplorerWClass", argv[2])) {
                // Closed as a user would close it, so that the session is left as it was;
                // a folder process that does not close is ended, never the desktop's own.
                ::PostMessageW(folder, WM_CLOSE, 0, 0);
                for (int wait = 0; wait < 50 && ::IsWindow(folder); ++wait) ::Sleep(100);
                DWORD pid = 0, desktopPid = 0;
                ::GetWindowThreadProcessId(folder, &pid);
                ::GetWindowThreadProcessId(::GetDesktopWindow(), &desktopPid);
                if (::IsWindow(folder) && pid != desktopPid) {
                    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
                    if (process) {
                        ::TerminateProcess(process, 0);
                        ::WaitForSingleObject(process, 5000);
                        ::CloseHandle(process);
                    }
                    for (int wait = 0; wait < 50 && ::IsWindow(folder); ++wait) ::Sleep(100);
                }
                if (::IsWindow(folder)) return 1;
                return 0;
            }
            ::Sleep(100);
        }
        return 1;
    }
    HWND w = MainWindow();
    if (!w) {
        std::fputs("no window\n", stderr);
        return 1;
    }
    if (command == L"rect") {
        RECT r;
        ::GetWindowRect(w, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (command == L"front") {
        for (HWND child = ::GetWindow(w, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const int id = ::GetDlgCtrlID(child);
            if (id >= 2100 && id <= 2400 && id % 100 == 0) {
                std::printf("%d\n", id / 100 - 20);
                return 0;
            }
        }
        return 1;
    } else if (command == L"child" && argc > 2) {
        HWND child = FindChild(w, _wtoi(argv[2]));
        if (!child) return 1;
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(HWND_DESKTOP, w, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    ::IsWindowVisible(child) ? 1 : 0);
    } else if (command == L"count" && argc > 2) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        if (!list) return 1;
        std::printf("%d\n", static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    } else if (command == L"text" && argc > 2) {
        HWND child = FindChild(w, _wtoi(argv[2]));
        if (!child) return 1;
        wchar_t text[512] = {};
        ::GetWindowTextW(child, text, 512);
        PrintUtf8(std::wstring(text) + L"\n");
    } else if (command == L"rows" && argc > 3) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        return list ? PrintRows(list, _wtoi(argv[3])) : 1;
    } else if (command == L"top" && argc > 2) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        if (!list) return 1;
        std::printf("%d\n", static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0)));
    } else if (command == L"rowrect" && argc > 3) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        RECT r{};
        r.left = LVIR_BOUNDS;
        if (!list || !AskListView(list, LVM_GETITEMRECT, static_cast<WPARAM>(_wtoi(argv[3])), r)) return 1;
        ::MapWindowPoints(list, w, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (command == L"checks" && argc > 2) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        if (!list) return 1;
        const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const auto state = ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK);
            std::printf("%d\n", ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0);
        }
    } else if (command == L"role" && argc > 2) {
        // IID_IAccessible (the import libraries of oleacc and uuid both define it).
        constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        // What accessibility tools are told of a control: its role number and its name.
        HWND child = FindChild(w, _wtoi(argv[2]));
        if (!child) return 1;
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IAccessible* object = nullptr;
        if (FAILED(::AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                                reinterpret_cast<void**>(&object)))) {
            return 1;
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role{};
        BSTR name = nullptr;
        object->get_accRole(self, &role);
        object->get_accName(self, &name);
        std::printf("%ld\t", role.vt == VT_I4 ? role.lVal : -1L);
        PrintUtf8(std::wstring(name ? name : L"") + L"\n");
        ::SysFreeString(name);
        object->Release();
    } else if (command == L"focus") {
        // The id of the control that has the keyboard focus in the window's thread.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(w, nullptr), &info) || !info.hwndFocus) return 1;
        std::printf("%d\n", ::GetDlgCtrlID(info.hwndFocus));
    } else if (command == L"selected" && argc > 2) {
        HWND list = FindChild(w, _wtoi(argv[2]));
        if (!list) return 1;
        const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED) {
                std::printf("%d\n", i);
            }
        }
    } else if (command == L"iconic") {
        std::printf("%d\n", ::IsIconic(w) ? 1 : 0);
    } else if (command == L"close") {
        ::PostMessageW(w, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}
