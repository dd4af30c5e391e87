// Where the program's DLLs come from. Windows looks for a DLL that is not one of its known
// system DLLs in the exe's own folder first, so a DLL planted beside a downloaded Taliveer.exe
// would run inside it, elevated when the user is an administrator. Such a DLL the program
// needs (accessibility) is loaded from the system folder by its own code, and the process's
// first act restricts the loads by name of everything after it.
#pragma once

#include <windows.h>

namespace taliveer {

// The process's first act: later DLL loads by name, the program's own and those of the shell
// and the common dialogs, look in the system folder only (and the manifest's side-by-side
// common controls). Where Windows lacks that restriction (Windows 7 without its 2011 update),
// the DLLs the program loads later are loaded now by their full path in the system folder.
void LoadLibrariesOnlyFromTheSystemFolder();

// A DLL of the system folder, loaded from there whatever the search order (nullptr when it
// cannot be loaded); it stays loaded for the process's life.
HMODULE SystemLibrary(const wchar_t* name);

// A function of a system DLL, or nullptr.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = SystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace taliveer
