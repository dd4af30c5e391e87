// Reads the state of a running Taliveer window for the end-to-end scripts, from inside the
// same Wine session:
//   winprobe wait SECONDS     wait until the main window is visible
//   winprobe rect             window rectangle: left top width height
//   winprobe front            page in front (1..4)
//   winprobe child ID         a child's rectangle in the window: left top width height visible
//   winprobe iconic           1 when minimised
//   winprobe close            ask the window to close
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cstdlib>
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
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
    } else if (command == L"iconic") {
        std::printf("%d\n", ::IsIconic(w) ? 1 : 0);
    } else if (command == L"close") {
        ::PostMessageW(w, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}
