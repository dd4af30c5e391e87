#include "tests/wine/test_support.h"

#include <cstdlib>
#include <vector>

namespace taliveer::test {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // a window of an earlier test closing
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

ScratchKey::ScratchKey(HKEY root, std::wstring path, REGSAM view) : root_(root), path_(std::move(path)), view_(view) {
    Remove();
}

ScratchKey::~ScratchKey() { Remove(); }

void ScratchKey::Remove() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | view_, &key) == ERROR_SUCCESS) {
        ::RegDeleteTreeW(key, nullptr);
        ::RegCloseKey(key);
        ::RegDeleteKeyExW(root_, path_.c_str(), view_, 0);
    }
}

namespace {
HKEY CreateIn(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr);
    return key;
}
}  // namespace

void ScratchKey::SetBytes(const std::wstring& sub, const std::wstring& name, DWORD type, const void* data,
                          DWORD size) const {
    const std::wstring full = sub.empty() ? path_ : path_ + L"\\" + sub;
    HKEY key = CreateIn(root_, full, view_);
    if (!key) return;
    ::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void ScratchKey::SetString(const std::wstring& sub, const std::wstring& name, const std::wstring& data,
                           DWORD type) const {
    SetBytes(sub, name, type, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void ScratchKey::SetDword(const std::wstring& sub, const std::wstring& name, DWORD data) const {
    SetBytes(sub, name, REG_DWORD, &data, sizeof data);
}

bool ScratchKey::Exists(const std::wstring& sub, REGSAM view) const {
    const std::wstring full = sub.empty() ? path_ : path_ + L"\\" + sub;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root_, full.c_str(), 0, KEY_READ | (view ? view : view_), &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

SettingsGuard::SettingsGuard() {
    HKEY key = nullptr;
    existed_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis", 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) ::RegCloseKey(key);
}

SettingsGuard::~SettingsGuard() {
    if (existed_) return;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis");
}

std::wstring FromUtf8(const std::string& text) {
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring WindowsPathFromEnv(const char* variable) {
    const char* env = std::getenv(variable);
    if (!env) return {};
    std::wstring path = FromUtf8(env);
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &code);
    } else {
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

}  // namespace taliveer::test
