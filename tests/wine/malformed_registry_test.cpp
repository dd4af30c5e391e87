// Each page gathers over what no well-behaved installer writes: strings without a terminator
// or of an odd size, other types where strings belong, 64 KB strings, 10,000 values in one
// key, 2,000 uninstall records, names with control characters and keys the user may not
// read. The gather ends, shows the rows the rules give, and the page stays usable. CTest runs
// these with Wine's heap checking on.
#include "pages/autostart/pure/autostart_rules.h"
#include "pages/uninstall/pure/uninstall_rules.h"
#include "services/reg_unit.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;

std::vector<BYTE> Bytes(const std::wstring& text, bool terminator) {
    std::vector<BYTE> out(reinterpret_cast<const BYTE*>(text.data()),
                          reinterpret_cast<const BYTE*>(text.data() + text.size()));
    if (terminator) out.insert(out.end(), {0, 0});
    return out;
}

// The rows whose caption starts with `prefix`.
int CountStartingWith(const std::vector<test::ListRow>& rows, const std::wstring& prefix) {
    int n = 0;
    for (const auto& r : rows) n += r.cells[0].rfind(prefix, 0) == 0;
    return n;
}

class MalformedRegistryTest : public test::MainWindowTest {
protected:
    ScratchKey& Key(HKEY root, const std::wstring& path, REGSAM view = KEY_WOW64_64KEY) {
        keys_.push_back(std::make_unique<ScratchKey>(root, path, view));
        return *keys_.back();
    }
    void Set(ScratchKey& key, const std::wstring& sub, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
        key.SetBytes(sub, name, type, data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
    }
    std::vector<test::ListRow> Rows(int page) { return test::ReadRows(Hwnd(ids::InfoList(page)), 3); }
    // The page ends its gather, leaves the window usable, and can be left and entered again.
    void ExpectUsable(int page) {
        EXPECT_FALSE(state_.BusyFlag);
        EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
        EXPECT_EQ(form_->PageInFront(), page);
        Click(ids::TabLabel(page == 1 ? 2 : 1));
        Click(ids::TabLabel(page));
        EXPECT_EQ(form_->PageInFront(), page);
        EXPECT_FALSE(state_.BusyFlag);
    }
    double Timed(int tab) {
        const auto start = std::chrono::steady_clock::now();
        Click(ids::TabLabel(tab));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    std::vector<std::unique_ptr<ScratchKey>> keys_;
};

TEST_F(MalformedRegistryTest, AutostartOverOddValuesAndTenThousandInOneKey) {
    // A Run key of its own (the user's Wow6432Node one, which the page reads in the 64-bit
    // view) holds the crowd; the user's Run key the odd ones.
    test::UserWow6432NodeGuard wow;
    ScratchKey& crowd = Key(HKEY_CURRENT_USER, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    for (int i = 0; i < 10000; ++i) {
        crowd.SetString(L"", L"TalCrowd" + std::to_wstring(i), L"\"C:\\Tal\\crowd.exe\" /" + std::to_wstring(i));
    }
    const std::wstring run = kRunKey;
    std::vector<std::unique_ptr<test::ScratchValue>> odd;
    auto value = [&](const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
        odd.push_back(std::make_unique<test::ScratchValue>(HKEY_CURRENT_USER, run, 0, name, data.data(),
                                                           static_cast<DWORD>(data.size()), type));
    };
    value(L"TalOddUnterminated", REG_SZ, Bytes(L"C:\\Tal\\a.exe", false));
    std::vector<BYTE> oddSize = Bytes(L"C:\\Tal\\b.exe", true);
    oddSize.pop_back();
    value(L"TalOddSize", REG_SZ, oddSize);
    value(L"TalOddDword", REG_DWORD, {1, 2, 3, 4});
    value(L"TalOddBinary", REG_BINARY, {0xff, 0xfe, 0x00});
    value(L"TalOddHuge", REG_SZ, Bytes(std::wstring(32766, L'x'), true));
    value(L"TalOdd\x01\tcontrol", REG_SZ, Bytes(L"C:\\Tal\\c.exe", true));
    value(L"TalOddEmpty", REG_SZ, {});

    const double seconds = Timed(1);
    std::printf("autostart gather over 10,000 values in one key and the odd ones: %.1f s\n", seconds);
    const auto rows = Rows(1);
    EXPECT_EQ(CountStartingWith(rows, L"TalCrowd"), 10000);
    for (const wchar_t* name : {L"TalOddUnterminated", L"TalOddSize", L"TalOddDword", L"TalOddBinary", L"TalOddHuge",
                                L"TalOdd\x01\tcontrol", L"TalOddEmpty"}) {
        EXPECT_GE(FindRow(rows, name), 0) << test::Utf8(name);
    }
    const int unterminated = FindRow(rows, L"TalOddUnterminated");
    ASSERT_GE(unterminated, 0);
    EXPECT_EQ(rows[static_cast<size_t>(unterminated)].cells[1], L"C:\\Tal\\a.exe");
    ExpectUsable(1);
}

TEST_F(MalformedRegistryTest, UninstallOverTwoThousandRecordsOddTypesAndAnUnreadableKey) {
    std::vector<std::unique_ptr<ScratchKey>> records;
    for (int i = 0; i < 2000; ++i) {
        auto& r = Key(HKEY_CURRENT_USER, std::wstring(kUninstallKey) + L"TalRecord" + std::to_wstring(i));
        r.SetString(L"", L"DisplayName", L"Tal record " + std::to_wstring(i));
        r.SetString(L"", L"UninstallString", L"C:\\Tal\\unins" + std::to_wstring(i) + L".exe");
    }
    ScratchKey& oddTypes = Key(HKEY_CURRENT_USER, std::wstring(kUninstallKey) + L"TalOddTypes");
    Set(oddTypes, L"", L"DisplayName", REG_BINARY, {0x41, 0x00, 0x42});
    Set(oddTypes, L"", L"UninstallString", REG_DWORD, {1, 0, 0, 0});
    ScratchKey& unterminated = Key(HKEY_LOCAL_MACHINE, std::wstring(kUninstallKey) + L"TalUnterminated");
    Set(unterminated, L"", L"DisplayName", REG_SZ, Bytes(L"Tal unterminated", false));
    Set(unterminated, L"", L"UninstallString", REG_SZ, Bytes(L"C:\\Tal\\u.exe", false));
    Set(unterminated, L"", L"InstallDate", REG_SZ, Bytes(L"2024", false));
    ScratchKey& huge = Key(HKEY_LOCAL_MACHINE, std::wstring(kUninstallKey) + L"TalHuge");
    huge.SetString(L"", L"DisplayName", L"Tal huge " + std::wstring(32000, L'h'));
    huge.SetString(L"", L"UninstallString", std::wstring(32000, L'u'));
    for (int i = 0; i < 10000; ++i) huge.SetString(L"", L"Extra" + std::to_wstring(i), L"x");
    ScratchKey& control = Key(HKEY_LOCAL_MACHINE, std::wstring(kUninstallKey) + L"Tal\x01\x1f" L"Control");
    control.SetString(L"", L"DisplayName", L"Tal control\tname\x01");
    control.SetString(L"", L"UninstallString", L"C:\\Tal\\c.exe");
    ScratchKey& locked = Key(HKEY_CURRENT_USER, std::wstring(kUninstallKey) + L"TalLocked");
    locked.SetString(L"", L"DisplayName", L"Tal locked");
    locked.SetString(L"", L"UninstallString", L"C:\\Tal\\l.exe");
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, locked.Path(), KEY_WOW64_64KEY, L"D:P(D;;KA;;;WD)"));

    const double seconds = Timed(2);
    std::printf("uninstall fill over 2,000 records and the odd ones: %.1f s\n", seconds);
    const auto rows = Rows(2);
    EXPECT_EQ(CountStartingWith(rows, L"Tal record "), 2000);
    EXPECT_GE(FindRow(rows, L"Tal unterminated"), 0);
    EXPECT_EQ(FindRow(rows, L"Tal locked"), -1);  // not readable: no row, no failure
    EXPECT_EQ(CountStartingWith(rows, L"Tal huge"), 1);
    ExpectUsable(2);
    test::SetKeySecurity(HKEY_CURRENT_USER, locked.Path(), KEY_WOW64_64KEY, L"D:P(A;;KA;;;WD)");
}

TEST_F(MalformedRegistryTest, AssociationsOverOddDefaultsAndAnUnreadableExtension) {
    Set(Key(HKEY_CLASSES_ROOT, L".talunterm", 0), L"", L"", REG_SZ, Bytes(L"TalUntermType", false));
    Set(Key(HKEY_CLASSES_ROOT, L"TalUntermType", 0), L"", L"", REG_SZ, Bytes(L"Tal unterminated type", false));
    Set(Key(HKEY_CLASSES_ROOT, L".taldword", 0), L"", L"", REG_DWORD, {7, 0, 0, 0});
    Set(Key(HKEY_CLASSES_ROOT, L".talodd", 0), L"", L"", REG_SZ, {0x41, 0x00, 0x42});
    ScratchKey& huge = Key(HKEY_CLASSES_ROOT, L".talhuge", 0);
    huge.SetString(L"", L"", std::wstring(32000, L'p'));
    for (int i = 0; i < 10000; ++i) huge.SetString(L"", L"Extra" + std::to_wstring(i), L"x");
    Key(HKEY_CLASSES_ROOT, L".tal\x01\tcontrol", 0).SetString(L"", L"", L"x");
    ScratchKey& locked = Key(HKEY_CLASSES_ROOT, L".tallocked", 0);
    locked.SetString(L"", L"", L"TalLockedType");
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CLASSES_ROOT, L".tallocked", 0, L"D:P(D;;KA;;;WD)"));

    const double seconds = Timed(4);
    std::printf("association fill over the odd extensions: %.1f s\n", seconds);
    const auto rows = Rows(4);
    const int unterminated = FindRow(rows, L".talunterm");
    ASSERT_GE(unterminated, 0);
    EXPECT_EQ(rows[static_cast<size_t>(unterminated)].cells[1], L"Tal unterminated type");
    for (const wchar_t* name : {L".taldword", L".talodd", L".talhuge", L".tal\x01\tcontrol"}) {
        EXPECT_GE(FindRow(rows, name), 0) << test::Utf8(name);
    }
    ExpectUsable(4);
    test::SetKeySecurity(HKEY_CLASSES_ROOT, L".tallocked", 0, L"D:P(A;;KA;;;WD)");
}

}  // namespace
}  // namespace taliveer
