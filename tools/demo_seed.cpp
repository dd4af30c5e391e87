// Fills a fresh Wine prefix with a small, clearly named demo set, so that a first start shows
// rows on every page: `seed` writes Run entries in both hives and views, a disabled item,
// two Startup shortcuts, uninstall records of both hives and a few associations; `start`
// starts two sleeping demo programs (copies of this one) for the process page; `sleep` is
// what those copies do, for at most an hour; `clean` ends them and removes the whole set.
#include "pages/autostart/pure/autostart_rules.h"
#include "services/reg_unit.h"
#include "services/unique_handle.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>

namespace {

using namespace taliveer;

constexpr wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunOnce[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kStartupReg[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring DemoFolder() { return Folder(CSIDL_PROGRAM_FILES) + L"\\Taliveer Demo\\"; }

bool Set(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text, RegView view) {
    return SetRegString(root, path, name, text, view) == ERROR_SUCCESS;
}

bool Shortcut(const std::wstring& file, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
        return false;
    }
    link->SetPath(target.c_str());
    ComPtr<IPersistFile> saver = link.As<IPersistFile>(IID_IPersistFile);
    return saver && SUCCEEDED(saver->Save(file.c_str(), TRUE));
}

bool Record(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& folder,
            const std::wstring& icon, const std::wstring& date, RegView view = RegView::Bits64) {
    const std::wstring path = kUninstall + key;
    return Set(root, path, L"DisplayName", name, view) &&
           Set(root, path, L"UninstallString", L"\"" + folder + L"\\uninstall.exe\" /demo", view) &&
           Set(root, path, L"DisplayIcon", icon, view) && Set(root, path, L"Publisher", L"Taliveer demo", view) &&
           Set(root, path, L"InstallDate", date, view);
}

bool Association(const std::wstring& extension, const std::wstring& type, const std::wstring& description,
                 const std::wstring& program) {
    const std::wstring classes = L"SOFTWARE\\Classes\\";
    return Set(HKEY_LOCAL_MACHINE, classes + extension, L"", type, RegView::Bits64) &&
           Set(HKEY_LOCAL_MACHINE, classes + type, L"", description, RegView::Bits64) &&
           Set(HKEY_LOCAL_MACHINE, classes + type + L"\\shell\\open\\command", L"", L"\"" + program + L"\" \"%1\"",
               RegView::Bits64) &&
           Set(HKEY_LOCAL_MACHINE, classes + type + L"\\DefaultIcon", L"", program + L",0", RegView::Bits64);
}

struct ApprovedEntry {
    HKEY root;
    const wchar_t* kind;
    const wchar_t* name;
};
const ApprovedEntry kTaskManagerDisabled[] = {
    {HKEY_CURRENT_USER, L"Run", L"Demo Notes"},
    {HKEY_LOCAL_MACHINE, L"Run32", L"Demo Updater (32-bit)"},
    {HKEY_CURRENT_USER, L"StartupFolder", L"Demo Mines.lnk"},
};

int Seed() {
    const std::wstring windows = Folder(CSIDL_WINDOWS) + L"\\";
    const std::wstring system = Folder(CSIDL_SYSTEM) + L"\\";
    const std::wstring notepad = windows + L"notepad.exe";
    const std::wstring regedit = windows + L"regedit.exe";
    const std::wstring mines = system + L"winemine.exe";
    const std::wstring taskmgr = system + L"taskmgr.exe";
    bool ok = true;
    ok &= Set(HKEY_CURRENT_USER, kRun, L"Demo Notes", L"\"" + notepad + L"\" /demo", RegView::Bits64);
    ok &= Set(HKEY_CURRENT_USER, kRunOnce, L"Demo First Run", L"\"" + regedit + L"\"", RegView::Bits64);
    ok &= Set(HKEY_LOCAL_MACHINE, kRun, L"Demo Task Watcher", L"\"" + taskmgr + L"\" /demo", RegView::Bits64);
    ok &= Set(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
              L"Demo Updater (32-bit)", L"\"" + mines + L"\" /update", RegView::Bits64);
    const std::wstring disabled = std::wstring(kStartupReg) + L"Demo Disabled Helper";
    ok &= Set(HKEY_LOCAL_MACHINE, disabled, L"key", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
              RegView::Bits64);
    ok &= Set(HKEY_LOCAL_MACHINE, disabled, L"item", L"Demo Disabled Helper", RegView::Bits64);
    ok &= Set(HKEY_LOCAL_MACHINE, disabled, L"hkey", L"HKLM", RegView::Bits64);
    ok &= Set(HKEY_LOCAL_MACHINE, disabled, L"command", L"\"" + notepad + L"\" /helper", RegView::Bits64);

    const std::wstring startup = Folder(CSIDL_STARTUP) + L"\\";
    ::SHCreateDirectoryExW(nullptr, startup.c_str(), nullptr);
    ok &= Shortcut(startup + L"Demo Mines.lnk", mines);
    ok &= Shortcut(startup + L"Demo Registry.lnk", regedit);
    // One entry of each kind that Task Manager has disabled.
    for (const auto& [root, kind, name] : kTaskManagerDisabled) {
        RegValueData state{name, REG_BINARY, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
        ok &= SetRegValue(root, std::wstring(kStartupApprovedKey) + kind, state, RegView::Bits64) == ERROR_SUCCESS;
    }

    const std::wstring programs = Folder(CSIDL_PROGRAM_FILES);
    ok &= Record(HKEY_CURRENT_USER, L"DemoPhotoViewer", L"Demo Photo Viewer", programs + L"\\Demo Photo Viewer",
                 notepad + L",0", L"20260312");
    ok &= Record(HKEY_CURRENT_USER, L"DemoNotebook", L"Demo Notebook 2.1", programs + L"\\Demo Notebook", notepad,
                 L"20251104");
    ok &= Record(HKEY_LOCAL_MACHINE, L"DemoOfficeSuite", L"Demo Office Suite", programs + L"\\Demo Office",
                 regedit + L",0", L"20240620");
    ok &= Record(HKEY_LOCAL_MACHINE, L"DemoGamePack", L"Demo Game Pack", programs + L"\\Demo Games", mines,
                 L"20230117");
    ok &= Record(HKEY_LOCAL_MACHINE, L"{D3E0A1C2-7B55-4E0F-9A1D-DE30DE30DE30}", L"Demo Runtime (x64)",
                 programs + L"\\Demo Runtime", taskmgr, L"20260901");
    // A 32-bit program's record, in the machine's 32-bit view.
    ok &= Record(HKEY_LOCAL_MACHINE, L"DemoMapEditor32", L"Demo Map Editor (32-bit)", programs + L"\\Demo Map Editor",
                 mines + L",0", L"20250815", RegView::Bits32);

    ok &= Association(L".demotxt", L"TaliveerDemo.Text", L"Demo text document", notepad);
    ok &= Association(L".demomap", L"TaliveerDemo.Map", L"Demo mine map", mines);
    ok &= Association(L".demoreg", L"TaliveerDemo.Settings", L"Demo settings file", regedit);
    return ok ? 0 : 1;
}

constexpr const wchar_t* kDemoPrograms[] = {L"DemoClock.exe", L"DemoSync.exe"};

int Clean() {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W record{};
    record.dwSize = sizeof record;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &record); more;
         more = ::Process32NextW(snapshot.get(), &record)) {
        for (const wchar_t* name : kDemoPrograms) {
            if (std::wcscmp(record.szExeFile, name) != 0) continue;
            UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, record.th32ProcessID));
            if (!process) continue;
            ::TerminateProcess(process.get(), 0);
            ::WaitForSingleObject(process.get(), 5000);
        }
    }
    const std::wstring folder = DemoFolder();
    for (const wchar_t* name : kDemoPrograms) ::DeleteFileW((folder + name).c_str());
    ::RemoveDirectoryW(folder.c_str());

    RemoveRegValue(HKEY_CURRENT_USER, kRun, L"Demo Notes", RegView::Bits64);
    RemoveRegValue(HKEY_CURRENT_USER, kRunOnce, L"Demo First Run", RegView::Bits64);
    RemoveRegValue(HKEY_LOCAL_MACHINE, kRun, L"Demo Task Watcher", RegView::Bits64);
    RemoveRegValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                   L"Demo Updater (32-bit)", RegView::Bits64);
    RemoveRegTree(HKEY_LOCAL_MACHINE, std::wstring(kStartupReg) + L"Demo Disabled Helper", RegView::Bits64);
    for (const auto& [root, kind, name] : kTaskManagerDisabled) {
        RemoveRegValue(root, std::wstring(kStartupApprovedKey) + kind, name, RegView::Bits64);
    }
    const std::wstring startup = Folder(CSIDL_STARTUP) + L"\\";
    ::DeleteFileW((startup + L"Demo Mines.lnk").c_str());
    ::DeleteFileW((startup + L"Demo Registry.lnk").c_str());
    for (const wchar_t* key : {L"DemoPhotoViewer", L"DemoNotebook"}) {
        RemoveRegTree(HKEY_CURRENT_USER, kUninstall + std::wstring(key), RegView::Bits64);
    }
    for (const wchar_t* key : {L"DemoOfficeSuite", L"DemoGamePack", L"{D3E0A1C2-7B55-4E0F-9A1D-DE30DE30DE30}"}) {
        RemoveRegTree(HKEY_LOCAL_MACHINE, kUninstall + std::wstring(key), RegView::Bits64);
    }
    RemoveRegTree(HKEY_LOCAL_MACHINE, kUninstall + std::wstring(L"DemoMapEditor32"), RegView::Bits32);
    for (const wchar_t* key : {L".demotxt", L"TaliveerDemo.Text", L".demomap", L"TaliveerDemo.Map", L".demoreg",
                               L"TaliveerDemo.Settings"}) {
        RemoveRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + std::wstring(key), RegView::Bits64);
    }
    return 0;
}

int Start() {
    const std::wstring folder = DemoFolder();
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    int started = 0;
    for (const wchar_t* name : kDemoPrograms) {
        const std::wstring copy = folder + name;
        ::CopyFileW(self, copy.c_str(), FALSE);
        std::wstring line = L"\"" + copy + L"\" sleep";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (::CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
            ++started;
        }
    }
    return started == 2 ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    ::LocalFree(argv);
    if (command == L"sleep") {
        ::Sleep(60 * 60 * 1000);
        return 0;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = command == L"seed"    ? Seed()
                       : command == L"start" ? Start()
                       : command == L"clean" ? Clean()
                                             : 2;
    ::CoUninitialize();
    return result;
}
