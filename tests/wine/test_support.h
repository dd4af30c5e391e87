// Helpers of the Win32 tests: waiting with time limits, scratch registry keys, the
// program's settings key kept as it was.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace taliveer::test {

// Lets window messages run until `done()` or `timeoutMs`; true when done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Lets window messages run for `ms`.
void PumpFor(DWORD ms);

// A registry key that the test owns: deleted (with everything beneath) before and after.
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

// Puts the program's settings key back as it was when the test began.
class SettingsGuard {
public:
    SettingsGuard();
    ~SettingsGuard();

private:
    bool existed_;
};

std::wstring FromUtf8(const std::string& text);

// A path from an environment variable; Unix paths become Wine's Z: paths.
std::wstring WindowsPathFromEnv(const char* variable);

// Runs a command line and returns its exit code (-1 when it cannot start or time runs out).
int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

}  // namespace taliveer::test
