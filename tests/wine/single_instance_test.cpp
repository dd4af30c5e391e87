// Two real Taliveer processes: the second start brings the first back and exits with 0.
#include "tests/wine/test_support.h"
#include "ui/bitmap_resource.h"

#include <gtest/gtest.h>

#include <string_view>

#include <cstdlib>
#include <cstring>
#include <string>

namespace taliveer {
namespace {

using test::PumpUntil;

std::wstring ProgramPath() { return test::WindowsPathFromEnv("TALIVEER_EXE"); }

struct Process {
    PROCESS_INFORMATION pi{};
    bool Start(const std::wstring& exe) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = L"\"" + exe + L"\"";
        return ::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                &pi) != FALSE;
    }
    bool WaitExit(DWORD ms) { return ::WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    ~Process() {
        if (pi.hProcess) {
            if (!WaitExit(0)) ::TerminateProcess(pi.hProcess, 99);
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
    }
};

HWND FindMainWindow() { return ::FindWindowW(L"TForm1", L"Taliveer"); }

int CountMainWindows() {
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"TForm1", nullptr)) != nullptr;) ++count;
    return count;
}

TEST(SingleInstance, SecondStartRestoresTheFirstAndExitsWithZero) {
    test::SettingsGuard settings;
    const std::wstring exe = ProgramPath();
    ASSERT_FALSE(exe.empty()) << "TALIVEER_EXE is not set";
    ASSERT_EQ(FindMainWindow(), nullptr) << "a Taliveer window is already open";

    Process first;
    ASSERT_TRUE(first.Start(exe));
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = FindMainWindow()) != nullptr && ::IsWindowVisible(window); }, 30000));

    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(window) != FALSE; }, 5000));

    // A restore message with another wParam changes nothing.
    const UINT restore = ::RegisterWindowMessageW(L"TaliveerRestore");
    ::PostMessageW(window, restore, 1024, 0);
    ::PostMessageW(window, restore, 1026, 0);
    test::PumpFor(700);
    EXPECT_TRUE(::IsIconic(window));

    Process second;
    ASSERT_TRUE(second.Start(exe));
    ASSERT_TRUE(second.WaitExit(30000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !::IsIconic(window); }, 5000));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(CountMainWindows(), 1);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitExit(15000));
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST(SingleInstance, FirstStartCreatesTheMutexAndItGoesWithTheProcess) {
    test::SettingsGuard settings;
    const std::wstring exe = ProgramPath();
    ASSERT_FALSE(exe.empty());
    Process first;
    ASSERT_TRUE(first.Start(exe));
    ASSERT_TRUE(PumpUntil([] { return FindMainWindow() != nullptr; }, 30000));
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, L"Taliveer");
    EXPECT_NE(mutex, nullptr);
    if (mutex) ::CloseHandle(mutex);
    ::PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitExit(15000));
    mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, L"Taliveer");
    EXPECT_EQ(mutex, nullptr);
    if (mutex) ::CloseHandle(mutex);
}

}  // namespace
}  // namespace taliveer

namespace taliveer {
namespace {

// The executable's own resources: what the manifest asks of Windows, and the skins.
class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_) ::FreeLibrary(module_);
    }
    std::string Resource(const wchar_t* name, const wchar_t* type) {
        HRSRC info = ::FindResourceW(module_, name, type);
        if (!info) return {};
        const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module_, info)));
        return std::string(data, ::SizeofResource(module_, info));
    }
    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ManifestAsksForCommonControls6AndTheHighestAvailableLevel) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    // Without it, Windows would quietly send the machine-wide writes of a legacy 32-bit
    // program into a per-user store and report success.
    EXPECT_NE(manifest.find("requestedExecutionLevel level=\"highestAvailable\""), std::string::npos);
}

TEST_F(ProgramResources, ButtonSkinsAre161By26PicturesDecodedAs24BitSections) {
    for (const wchar_t* name : {L"BUTTONA", L"BUTTONB"}) {
        const std::string file = Resource(name, MAKEINTRESOURCEW(10));
        ASSERT_GT(file.size(), 8u);
        EXPECT_EQ(file.substr(0, 4), "\x89PNG");
        UniqueHBitmap skin = DecodePicture(reinterpret_cast<const BYTE*>(file.data()), static_cast<DWORD>(file.size()));
        ASSERT_TRUE(skin);
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectW(skin.get(), sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, 161);
        EXPECT_EQ(section.dsBm.bmHeight, 26);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    }
    EXPECT_FALSE(Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)).empty());  // version
}

TEST_F(ProgramResources, TheVersionSaysWhichBuildItIs) {
    // Both builds may sit in one folder; the file's properties tell them apart.
    const std::string version = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    const std::wstring_view build = sizeof(void*) == 8 ? L"Taliveer (64-bit)" : L"Taliveer (32-bit)";
    const std::wstring_view file = sizeof(void*) == 8 ? L"Taliveer64.exe" : L"Taliveer.exe";
    const std::string_view bytes(version);
    for (std::wstring_view text : {build, file}) {
        const std::string_view wanted(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        EXPECT_NE(bytes.find(wanted), std::string_view::npos) << std::string(text.begin(), text.end());
    }
}

}  // namespace
}  // namespace taliveer
