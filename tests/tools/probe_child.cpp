// A child program for the launcher tests. It writes the command line it received to the
// file named by TALIVEER_PROBE_OUT, invalidates the window whose handle is in
// TALIVEER_PROBE_HWND (so that its owner must repaint while waiting), sleeps
// TALIVEER_PROBE_SLEEP milliseconds and exits with TALIVEER_PROBE_EXIT (default 7). Its
// priority class goes to the file named by TALIVEER_PROBE_PRIORITY_OUT, as a number.
// With TALIVEER_PROBE_LATE_CHILD set to a key below HKEY_CURRENT_USER it behaves as many
// uninstallers do: it starts a copy of itself and exits at once; the copy deletes that key
// two seconds later.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {
int EnvNumber(const wchar_t* name, int fallback) {
    wchar_t value[64] = {};
    if (!::GetEnvironmentVariableW(name, value, 64)) return fallback;
    return static_cast<int>(std::wcstol(value, nullptr, 0));
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t key[1024] = {};
    if (::GetEnvironmentVariableW(L"TALIVEER_PROBE_LATE_CHILD", key, 1024)) {
        ::SetEnvironmentVariableW(L"TALIVEER_PROBE_LATE_CHILD", nullptr);
        ::SetEnvironmentVariableW(L"TALIVEER_PROBE_REMOVE_KEY", key);
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (::CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
        return 0;
    }
    if (::GetEnvironmentVariableW(L"TALIVEER_PROBE_REMOVE_KEY", key, 1024)) {
        ::Sleep(2000);
        ::RegDeleteKeyExW(HKEY_CURRENT_USER, key, KEY_WOW64_64KEY, 0);
        return 0;
    }
    wchar_t out[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", out, MAX_PATH)) {
        const wchar_t* line = ::GetCommandLineW();
        HANDLE file = ::CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, line, static_cast<DWORD>(std::wcslen(line) * sizeof(wchar_t)), &written, nullptr);
        ::CloseHandle(file);
    }
    if (::GetEnvironmentVariableW(L"TALIVEER_PROBE_PRIORITY_OUT", out, MAX_PATH)) {
        wchar_t text[32];
        const int n = std::swprintf(text, 32, L"%lu", ::GetPriorityClass(::GetCurrentProcess()));
        HANDLE file = ::CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, text, static_cast<DWORD>(n * sizeof(wchar_t)), &written, nullptr);
        ::CloseHandle(file);
    }
    const int sleep = EnvNumber(L"TALIVEER_PROBE_SLEEP", 0);
    if (const int hwnd = EnvNumber(L"TALIVEER_PROBE_HWND", 0)) {
        ::Sleep(sleep / 3);
        ::InvalidateRect(reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd)), nullptr, TRUE);
        ::Sleep(sleep - sleep / 3);
    } else {
        ::Sleep(sleep);
    }
    return EnvNumber(L"TALIVEER_PROBE_EXIT", 7);
}
