#include "services/system_version.h"

#include <windows.h>

namespace taliveer {

SystemVersion CurrentSystemVersion() {
    SystemVersion result;
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return result;
    // RtlGetVersion tells the real version whatever the manifest declares.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    if (auto getVersion =
            reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))) {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (getVersion(&version) == 0) {
            result.major = version.dwMajorVersion;
            result.minor = version.dwMinorVersion;
            result.build = version.dwBuildNumber;
        }
    }
    result.wine = ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    return result;
}

}  // namespace taliveer
