#include "tests/wine/test_support.h"

#include "services/unique_handle.h"

#include <gtest/gtest.h>

#include <sddl.h>

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

namespace {
std::vector<std::function<void()>>& PendingActions() {
    static std::vector<std::function<void()>> actions;
    return actions;
}

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (PendingActions().empty()) return;
    auto action = std::move(PendingActions().front());
    PendingActions().erase(PendingActions().begin());
    if (action) action();
}
}  // namespace

void WhileModal(std::function<void()> action) {
    PendingActions().push_back(std::move(action));
    ::SetTimer(nullptr, 0, 60 * static_cast<UINT>(PendingActions().size()), &RunPendingAction);
}

namespace {
struct ShownAction {
    HWND window;
    std::function<void()> action;
};
std::vector<ShownAction>& ShownActions() {
    static std::vector<ShownAction> actions;
    return actions;
}
UINT_PTR shownTimer = 0;

void CALLBACK CheckShown(HWND, UINT, UINT_PTR, DWORD) {
    auto& actions = ShownActions();
    if (actions.empty() || !::IsWindowVisible(actions.front().window)) return;
    auto action = std::move(actions.front().action);
    actions.erase(actions.begin());
    if (actions.empty()) {
        ::KillTimer(nullptr, shownTimer);
        shownTimer = 0;
    }
    if (action) action();
}
}  // namespace

void WhenShown(HWND window, std::function<void()> action) {
    ShownActions().push_back(ShownAction{window, std::move(action)});
    if (!shownTimer) shownTimer = ::SetTimer(nullptr, 0, 30, &CheckShown);
}

bool AllShownActionsRan() { return ShownActions().empty(); }

void ForgetShownActions() {
    ShownActions().clear();
    if (shownTimer) ::KillTimer(nullptr, shownTimer);
    shownTimer = 0;
}

namespace {
ErrorBoxCatcher* activeCatcher = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    wchar_t name[16] = {};
    ::GetClassNameW(child, name, 16);
    if (::lstrcmpiW(name, L"Static") != 0) return TRUE;
    wchar_t text[512] = {};
    ::GetWindowTextW(child, text, 512);
    if (text[0]) reinterpret_cast<std::wstring*>(param)->append(text);
    return TRUE;
}

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    wchar_t caption[32] = {};
    ::GetWindowTextW(window, caption, 32);
    if (::lstrcmpW(name, L"#32770") == 0 && ::lstrcmpW(caption, L"Taliveer") == 0 && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

ErrorBoxCatcher::ErrorBoxCatcher() : timer_(::SetTimer(nullptr, 0, 30, &ErrorBoxCatcher::Tick)) { activeCatcher = this; }

ErrorBoxCatcher::~ErrorBoxCatcher() {
    ::KillTimer(nullptr, timer_);
    activeCatcher = nullptr;
}

void CALLBACK ErrorBoxCatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!activeCatcher) return;
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindErrorBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    std::wstring text;
    ::EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    activeCatcher->texts_.push_back(text);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

namespace {
// The program opens every key in the 64-bit view; so do the helpers unless told otherwise.
REGSAM ViewOrDefault(REGSAM view) { return view ? view : KEY_WOW64_64KEY; }
}  // namespace

ScratchValue::ScratchValue(HKEY root, std::wstring path, REGSAM view, std::wstring name, const void* data, DWORD size,
                           DWORD type)
    : root_(root), path_(std::move(path)), view_(ViewOrDefault(view)), name_(std::move(name)) {
    UniqueHKey key;
    if (::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS) {
        ::RegSetValueExW(key.get(), name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    }
}

ScratchValue::ScratchValue(HKEY root, std::wstring path, REGSAM view, std::wstring name, const std::wstring& text,
                           DWORD type)
    : ScratchValue(root, std::move(path), view, std::move(name), text.c_str(),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), type) {}

ScratchValue::~ScratchValue() {
    UniqueHKey key;
    if (::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | view_, key.put()) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key.get(), name_.c_str());
    }
}

bool SetKeySecurity(HKEY root, const std::wstring& path, REGSAM view, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    UniqueHKey key;
    bool ok = ::RegOpenKeyExW(root, path.c_str(), 0, WRITE_DAC | ViewOrDefault(view), key.put()) == ERROR_SUCCESS &&
              ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    ::LocalFree(sd);
    return ok;
}

std::string Utf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string FileBytes(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

bool MakeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring TempUndoFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"taliveer undo test\\Undo\\";
}

std::vector<std::wstring> UndoFolderGuard::Files() const {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(::FindFirstFileW((folder_ + L"*").c_str(), &found));
    if (!search) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    return files;
}

void UndoFolderGuard::Remove() const {
    for (const std::wstring& file : Files()) ::DeleteFileW((folder_ + file).c_str());
    ::DeleteFileW(folder_.substr(0, folder_.size() - 1).c_str());  // a test that put a file in its place
    ::RemoveDirectoryW(folder_.c_str());
    ::RemoveDirectoryW(folder_.substr(0, folder_.size() - 5).c_str());  // its parent
}

void RestoreWithRegistryEditor(const std::wstring& file) { RunRegistryEditor(L"\"" + file + L"\""); }

int RunRegistryEditor(const std::wstring& arguments) {
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return RunSystemProgram(L"\"" + std::wstring(windows) + L"\\regedit.exe\" /s " + arguments);
}

int RunSystemProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    // A 32-bit process that starts C:\Windows\regedit.exe gets SysWOW64\regedit.exe, the
    // 32-bit editor, which puts HKLM\SOFTWARE\... into Wow6432Node (system32 likewise). With
    // the file-system redirection off for the start, the 64-bit program runs, the one a
    // double click opens.
    PVOID redirection = nullptr;
    const bool redirected = RunsUnderWow64() && ::Wow64DisableWow64FsRedirection(&redirection);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                          CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &si, &pi);
    if (redirected) ::Wow64RevertWow64FsRedirection(redirection);
    if (!started) {
        ADD_FAILURE() << test::Utf8(commandLine) << " did not start: error " << ::GetLastError();
        return -1;
    }
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    BOOL is32Bit = FALSE;
    if (::IsWow64Process(process.get(), &is32Bit) && is32Bit) {
        ::TerminateProcess(process.get(), 1);
        ADD_FAILURE() << "the 32-bit build of " << test::Utf8(commandLine) << " started, not the system's 64-bit one";
        return -1;
    }
    ::ResumeThread(thread.get());
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.get(), 120000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.get(), &code);
    } else {
        ::TerminateProcess(process.get(), 1);
        ADD_FAILURE() << test::Utf8(commandLine) << " did not end within two minutes";
    }
    return static_cast<int>(code);
}

UserWow6432NodeGuard::UserWow6432NodeGuard() {
    UniqueHKey key;
    existed_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wow6432Node", 0, KEY_READ | KEY_WOW64_64KEY,
                               key.put()) == ERROR_SUCCESS;
}

UserWow6432NodeGuard::~UserWow6432NodeGuard() {
    if (!existed_) ScratchKey remove(HKEY_CURRENT_USER, L"Software\\Wow6432Node", KEY_WOW64_64KEY);
}

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

ScratchKey::ScratchKey(HKEY root, std::wstring path, REGSAM view)
    : root_(root), path_(std::move(path)), view_(ViewOrDefault(view)) {
    Remove();
}

ScratchKey::~ScratchKey() { Remove(); }

void ScratchKey::Remove() const {
    UniqueHKey key;
    if (::RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | view_, key.put()) == ERROR_SUCCESS) {
        ::RegDeleteTreeW(key.get(), nullptr);
        key.reset();
        ::RegDeleteKeyExW(root_, path_.c_str(), view_, 0);
    }
}

namespace {
UniqueHKey CreateIn(HKEY root, const std::wstring& path, REGSAM view) {
    UniqueHKey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        key.reset();
    }
    return key;
}
}  // namespace

void ScratchKey::SetBytes(const std::wstring& sub, const std::wstring& name, DWORD type, const void* data,
                          DWORD size) const {
    const std::wstring full = sub.empty() ? path_ : path_ + L"\\" + sub;
    UniqueHKey key = CreateIn(root_, full, view_);
    if (!key) return;
    ::RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
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
    UniqueHKey key;
    return ::RegOpenKeyExW(root_, full.c_str(), 0, KEY_READ | (view ? view : view_), key.put()) == ERROR_SUCCESS;
}

SettingsGuard::SettingsGuard() {
    UniqueHKey key;
    existed_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis", 0, KEY_READ | KEY_WOW64_64KEY, key.put()) ==
               ERROR_SUCCESS;
}

SettingsGuard::~SettingsGuard() {
    if (!existed_) ScratchKey remove(HKEY_CURRENT_USER, L"SOFTWARE\\Corvantis", KEY_WOW64_64KEY);
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

COLORREF PixelAt(HBITMAP bitmap, int x, int y) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ old = ::SelectObject(dc.get(), bitmap);
    const COLORREF colour = ::GetPixel(dc.get(), x, y);
    ::SelectObject(dc.get(), old);
    return colour;
}

}  // namespace taliveer::test
