#include "services/library_loading.h"

#include <string>

namespace taliveer {
namespace {

std::wstring InSystemFolder(const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(system) + L"\\" + name;
}

}  // namespace

void LoadLibrariesOnlyFromTheSystemFolder() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    ::SetDllDirectoryW(L"");  // never the current folder either
    if (restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;

    // A DLL already loaded is found by its name, wherever the next load by name would look.
    for (const wchar_t* name : {L"oleacc.dll", L"version.dll", L"uxtheme.dll", L"dwmapi.dll", L"propsys.dll",
                                L"cryptbase.dll"}) {
        const std::wstring path = InSystemFolder(name);
        if (!path.empty()) ::LoadLibraryW(path.c_str());
    }
}

HMODULE SystemLibrary(const wchar_t* name) {
    if (HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // Windows 7 without its 2011 update knows no such flag: the full path says the same.
    const std::wstring path = InSystemFolder(name);
    return path.empty() ? nullptr : ::LoadLibraryW(path.c_str());
}

}  // namespace taliveer
