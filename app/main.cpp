// Program entry: one instance, COM on the main thread, the main window and its loop.
#include "app/main_window.h"
#include "app/single_instance.h"
#include "services/library_loading.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace taliveer;
    LoadLibrariesOnlyFromTheSystemFolder();
    if (SignalRunningInstance()) return 0;
    UniqueKernelHandle instance = ClaimInstance();

    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    int exitCode = 0;
    {
        SharedState state;
        TForm1 form(state);
        state.Loop.SetHook([&form](const MSG& msg) { return form.EventsMessage(msg); });
        bool created = false;
        try {
            form.Create();
            created = true;
        } catch (...) {
            // The window was refused: say why and end with a failure code.
            ShowCurrentException();
            exitCode = 1;
        }
        if (created) {
            form.Show(showCommand == SW_SHOWDEFAULT ? SW_SHOWNORMAL : showCommand);
            exitCode = state.Loop.Run();
        }
        state.ShellLink.Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return exitCode;
}
