// Helpers of the Win32 tests: waiting with time limits, scratch registry keys, the
// program's settings key kept as it was.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace taliveer::test {

// Lets window messages run until `done()` or `timeoutMs`; true when done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Lets window messages run for `ms`.
void PumpFor(DWORD ms);

// Runs `action` 60 ms from now, from inside whatever loop runs then: a way to act on a
// modal box from the test that opened it. Actions queue up in the order given.
void WhileModal(std::function<void()> action);

// Runs `action` from inside whatever loop runs once `window` is visible (a modal box the
// test is about to open). Several wait in turn: the second is looked at once the first ran.
void WhenShown(HWND window, std::function<void()> action);
// True once every action given to WhenShown has run.
bool AllShownActionsRan();
// Drops the actions still waiting (a test that failed before its box came).
void ForgetShownActions();

// A registry key that the test owns: deleted (with everything beneath) before and after. A
// view of 0 is the 64-bit view, the one the program uses (so for ScratchValue and SetKeySecurity).
class ScratchKey {
public:
    ScratchKey(HKEY root, std::wstring path, REGSAM view = 0);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::wstring& Path() const { return path_; }
    HKEY Root() const { return root_; }
    // Creates `sub` (relative to the scratch key) in the key's view and writes a value.
    void SetString(const std::wstring& sub, const std::wstring& name, const std::wstring& data,
                   DWORD type = REG_SZ) const;
    void SetDword(const std::wstring& sub, const std::wstring& name, DWORD data) const;
    void SetBytes(const std::wstring& sub, const std::wstring& name, DWORD type, const void* data,
                  DWORD size) const;
    bool Exists(const std::wstring& sub = L"", REGSAM view = 0) const;

private:
    void Remove() const;
    HKEY root_;
    std::wstring path_;
    REGSAM view_;
};

// While it lives, closes every error box the program shows on this thread (they are modal
// and would hold the test up) and keeps their texts.
class ErrorBoxCatcher {
public:
    ErrorBoxCatcher();
    ~ErrorBoxCatcher();
    ErrorBoxCatcher(const ErrorBoxCatcher&) = delete;
    ErrorBoxCatcher& operator=(const ErrorBoxCatcher&) = delete;
    const std::vector<std::wstring>& Texts() const { return texts_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
    std::vector<std::wstring> texts_;
};

// One value in a key that may hold the platform's own entries: written at construction,
// removed at destruction.
class ScratchValue {
public:
    ScratchValue(HKEY root, std::wstring path, REGSAM view, std::wstring name, const void* data, DWORD size,
                 DWORD type);
    ScratchValue(HKEY root, std::wstring path, REGSAM view, std::wstring name, const std::wstring& text,
                 DWORD type = REG_SZ);
    ~ScratchValue();
    ScratchValue(const ScratchValue&) = delete;
    ScratchValue& operator=(const ScratchValue&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    REGSAM view_;
    std::wstring name_;
};

// A file's bytes (empty when it cannot be read), and a file written with `bytes`.
std::string FileBytes(const std::wstring& path);
bool MakeFile(const std::wstring& path, const std::string& bytes);

// A throwaway Undo folder under the temporary folder ("...\\Undo\\").
std::wstring TempUndoFolder();

// The Undo folder of the test, removed with everything in it, before and after.
class UndoFolderGuard {
public:
    explicit UndoFolderGuard(std::wstring folder) : folder_(std::move(folder)) { Remove(); }
    ~UndoFolderGuard() { Remove(); }
    UndoFolderGuard(const UndoFolderGuard&) = delete;
    UndoFolderGuard& operator=(const UndoFolderGuard&) = delete;
    const std::wstring& Folder() const { return folder_; }
    // The names of the files in it.
    std::vector<std::wstring> Files() const;

private:
    void Remove() const;
    std::wstring folder_;
};

// Opens a backup the way a user does: with the registry editor of the system (the 64-bit
// one on a 64-bit system), silently. Waits until it has ended.
void RestoreWithRegistryEditor(const std::wstring& file);
// Runs that editor silently with `arguments` (quoted file names) and waits; the test fails
// when the editor that starts is the 32-bit one. The editor's exit code, -1 when it did not run.
int RunRegistryEditor(const std::wstring& arguments);
// Runs a program of the Windows folder (C:\Windows\regedit.exe, ...\system32\reg.exe) as the
// system's own 64-bit build and waits; the test fails when the 32-bit build starts instead.
int RunSystemProgram(const std::wstring& commandLine);

// Removes HKCU\Software\Wow6432Node at the end when it was not there at the start. Under Wine,
// once that key exists, a 32-bit process's default view of HKCU\Software moves into it, Wine's
// own settings included; a test that makes it must not leave it to the tests after it.
class UserWow6432NodeGuard {
public:
    UserWow6432NodeGuard();
    ~UserWow6432NodeGuard();
    UserWow6432NodeGuard(const UserWow6432NodeGuard&) = delete;
    UserWow6432NodeGuard& operator=(const UserWow6432NodeGuard&) = delete;

private:
    bool existed_;
};

// Puts the program's settings key back as it was when the test began.
class SettingsGuard {
public:
    SettingsGuard();
    ~SettingsGuard();

private:
    bool existed_;
};

std::wstring FromUtf8(const std::string& text);
// The colour of one pixel of a bitmap.
COLORREF PixelAt(HBITMAP bitmap, int x, int y);
std::string Utf8(const std::wstring& text);

// A path from an environment variable; Unix paths become Wine's Z: paths.
std::wstring WindowsPathFromEnv(const char* variable);

// Replaces the key's access list (SDDL text, e.g. "D:P(A;;KR;;;WD)" for read-only); true when
// it was set.
bool SetKeySecurity(HKEY root, const std::wstring& path, REGSAM view, const wchar_t* sddl);

// True for a 32-bit process on a 64-bit system, whose default registry view is the 32-bit one.
bool RunsUnderWow64();

// Runs a command line and returns its exit code (-1 when it cannot start or time runs out).
int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

}  // namespace taliveer::test
