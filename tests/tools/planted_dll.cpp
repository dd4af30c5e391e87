// A DLL that someone planted beside the program: loaded, it leaves "<its path>.ran" behind.
// It exports the two functions the program takes from the accessibility library, so that it
// would be accepted in that one's place.
#include <windows.h>
#include <oleacc.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 8] = {};
        if (::GetModuleFileNameW(self, path, MAX_PATH) > 0) {
            ::lstrcatW(path, L".ran");
            HANDLE marker = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
        }
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI CreateStdAccessibleObject(HWND, LONG, REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOTIMPL;
}

extern "C" __declspec(dllexport) LRESULT WINAPI LresultFromObject(REFIID, WPARAM, LPUNKNOWN) { return 0; }
