// RunProgram with a real child process.
#include "services/program_launcher.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>


namespace taliveer {
namespace {

std::wstring ReadWideFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"<missing>";
    std::wstring text(4096, L'\0');
    DWORD got = 0;
    ::ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got, nullptr);
    ::CloseHandle(file);
    text.resize(got / sizeof(wchar_t));
    return text;
}

class RunProgramTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        child_ = test::WindowsPathFromEnv("TALIVEER_PROBE_CHILD");
        ASSERT_FALSE(child_.empty()) << "TALIVEER_PROBE_CHILD is not set";
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        out_ = std::wstring(temp) + L"taliveer_probe_out.txt";
        ::DeleteFileW(out_.c_str());
        ::SetEnvironmentVariableW(L"TALIVEER_PROBE_OUT", out_.c_str());
    }
    void TearDown() override {
        for (const wchar_t* name : {L"TALIVEER_PROBE_OUT", L"TALIVEER_PROBE_SLEEP", L"TALIVEER_PROBE_HWND",
                                    L"TALIVEER_PROBE_EXIT"}) {
            ::SetEnvironmentVariableW(name, nullptr);
        }
        ::DeleteFileW(out_.c_str());
        MainWindowTest::TearDown();
    }
    std::wstring child_;
    std::wstring out_;
};

TEST_F(RunProgramTest, TrueAfterTheProgramEndedWhateverItsExitCode) {
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_SLEEP", L"400");
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_TRUE(form_->RunProgram(child_, L"/S"));
    EXPECT_GE(::GetTickCount64() - start, 350u);  // it waited for the end
    EXPECT_EQ(ReadWideFile(out_), L" /S");
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
}

TEST_F(RunProgramTest, CommandLineIsOneSpaceAndTheParametersUntouched) {
    EXPECT_TRUE(form_->RunProgram(child_, L""));
    EXPECT_EQ(ReadWideFile(out_), L" ");
    EXPECT_TRUE(form_->RunProgram(child_, L" /X{1234-ABCD}  \"quoted arg\" "));
    EXPECT_EQ(ReadWideFile(out_), L"  /X{1234-ABCD}  \"quoted arg\" ");
}

TEST_F(RunProgramTest, AMissingFileGivesFalseAndStartsNothing) {
    EXPECT_FALSE(form_->RunProgram(L"C:\\no\\such\\uninstall.exe", L"/S"));
    EXPECT_FALSE(form_->RunProgram(L"", L""));
    EXPECT_EQ(ReadWideFile(out_), L"<missing>");
}

// Counts paints and timer ticks of the main window while the launcher waits.
int g_paints = 0;
bool g_enabledAtPaint = false;
LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_PAINT) {
        ++g_paints;
        g_enabledAtPaint = g_enabledAtPaint || ::IsWindowEnabled(hwnd);
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}
int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST_F(RunProgramTest, TheWindowRepaintsWhileWaitingButTakesNoInputAndRunsNoTimer) {
    HWND w = form_->hwnd();
    test::PumpFor(50);
    ::SetWindowSubclass(w, &CountPaints, 1, 0);
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_SLEEP", L"900");
    ::SetEnvironmentVariableW(L"TALIVEER_PROBE_HWND", std::to_wstring(reinterpret_cast<INT_PTR>(w)).c_str());
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CountTick);
    g_paints = 0;
    g_ticks = 0;
    g_enabledAtPaint = false;
    // A message posted before the wait runs only after it.
    ::PostMessageW(w, WM_NULL, 0, 0);
    EXPECT_TRUE(form_->RunProgram(child_, L""));
    const int paintsDuring = g_paints;
    const int ticksDuring = g_ticks;
    ::KillTimer(nullptr, timer);
    ::RemoveWindowSubclass(w, &CountPaints, 1);
    EXPECT_GE(paintsDuring, 1) << "the child invalidated the window; it must have been repainted";
    EXPECT_EQ(ticksDuring, 0);
    EXPECT_FALSE(g_enabledAtPaint) << "the window takes no input while it waits";
    EXPECT_TRUE(::IsWindowEnabled(w));
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, w, WM_NULL, WM_NULL, PM_REMOVE));
}

}  // namespace
}  // namespace taliveer
