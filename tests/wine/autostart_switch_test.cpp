// Switching autostart entries off and on against the real registry: the StartupApproved
// values Windows reads, their backups put back by the registry editor and the restore window,
// Windows 7's move into the system configuration tool's key and back, and the refusals.
#include "pages/autostart/add_program_dialog.h"
#include "pages/autostart/autostart_page.h"
#include "pages/autostart/autostart_switch.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "services/reg_unit.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/autostart_fixture.h"
#include "ui/restore_window.h"

#include <commctrl.h>
#include <shlobj.h>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;
using test::ScratchValue;
using Bytes = std::vector<std::uint8_t>;

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnce = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring kUserWowRun = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kMachineWowRun = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kApproved = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
const std::wstring kMsConfig = L"SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// An approval value of the test: whatever was there is removed before and after.
class ApprovalGuard {
public:
    ApprovalGuard(HKEY root, std::wstring kind, std::wstring name)
        : root_(root), key_(kApproved + kind), name_(std::move(name)) { Remove(); }
    ~ApprovalGuard() { Remove(); }
    ApprovalGuard(const ApprovalGuard&) = delete;
    ApprovalGuard& operator=(const ApprovalGuard&) = delete;
    void Set(const Bytes& bytes) const {
        ASSERT_EQ(SetRegValue(root_, key_, RegValueData{name_, REG_BINARY, bytes}, RegView::Bits64), ERROR_SUCCESS);
    }
    // The first byte, -1 when there is no value.
    int First() const {
        const Bytes now = Now();
        return now.empty() ? -1 : now[0];
    }
    // The value's bytes; empty when there is none (or it is not binary).
    Bytes Now() const {
        RegValueData value;
        if (!ReadValueData(root_, key_, name_, RegView::Bits64, value) || value.type != REG_BINARY) return {};
        return value.data;
    }

private:
    void Remove() const { RemoveRegValue(root_, key_, name_, RegView::Bits64); }
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
};

class AutostartSwitchTest : public test::AutostartFixture {
protected:
    void SetUp() override {
        AutostartFixture::SetUp();
        // The page switches as Windows 8 and later do, whatever version this prefix claims.
        form_->Autostart().switchOptions = [this](const std::wstring&) { return Options(true); };
    }
    std::wstring Access(const std::wstring& caption) {
        const auto rows = Rows();
        const int row = FindRow(rows, caption);
        return row < 0 ? L"(no row)" : rows[static_cast<size_t>(row)].cells[2];
    }
    int DisabledRows() {
        int count = 0;
        for (const test::ListRow& row : Rows()) count += row.cells[2] == kDisabled ? 1 : 0;
        return count;
    }
    std::wstring Caption() { return form_->Controls().Static(ids::ButtonLabel(1, 3)).Text(); }
    // Presses the switch button and returns what the InfoBox said.
    std::wstring PressSwitch() {
        test::PumpFor(20);  // the caption follows the ticks
        std::wstring info;
        ReadNextInfo(&info);
        Click(ids::ButtonLabel(1, 3));
        EXPECT_TRUE(test::AllShownActionsRan());
        return info;
    }
    std::vector<std::wstring> Backups() {
        std::vector<std::wstring> files;
        for (const std::wstring& file : undo_.Files()) {
            if (file.size() > 4 && file.substr(file.size() - 4) == L".reg") files.push_back(file);
        }
        return files;
    }
    AutostartSwitchOptions Options(bool startupApproved) {
        AutostartSwitchOptions options = SystemSwitchOptions(undo_.Folder());
        options.startupApproved = startupApproved;
        return options;
    }
};

TEST_F(AutostartSwitchTest, EverySourceOfBothHivesAndViewsGoesOffAndOnWithTheBytesWindowsWrites) {
    test::UserWow6432NodeGuard wowGuard;
    ScratchValue v1(HKEY_CURRENT_USER, kRun, 0, L"TalSw1", L"C:\\one.exe");
    ScratchValue v3(HKEY_LOCAL_MACHINE, kRun, 0, L"TalSw3", L"C:\\three.exe");
    ScratchValue v6(HKEY_CURRENT_USER, kUserWowRun, 0, L"TalSw6", L"C:\\six.exe");
    ScratchValue v7(HKEY_LOCAL_MACHINE, kMachineWowRun, 0, L"TalSw7", L"C:\\seven.exe");
    const std::wstring link8 = state_.UserStartupFolder + L"TalSw8.lnk";
    const std::wstring link9 = state_.CommonStartupFolder + L"TalSw9.lnk";
    ASSERT_TRUE(test::MakeFile(link8, "eight"));
    ASSERT_TRUE(test::MakeFile(link9, "nine"));
    const struct {
        const wchar_t* name;
        HKEY root;
        const wchar_t* kind;
    } entries[] = {{L"TalSw1", HKEY_CURRENT_USER, L"Run"},          {L"TalSw3", HKEY_LOCAL_MACHINE, L"Run"},
                   {L"TalSw6", HKEY_CURRENT_USER, L"Run32"},        {L"TalSw7", HKEY_LOCAL_MACHINE, L"Run32"},
                   {L"TalSw8.lnk", HKEY_CURRENT_USER, L"StartupFolder"}, {L"TalSw9.lnk", HKEY_LOCAL_MACHINE, L"StartupFolder"}};
    std::vector<std::unique_ptr<ApprovalGuard>> approvals;
    for (const auto& entry : entries) approvals.push_back(std::make_unique<ApprovalGuard>(entry.root, entry.kind, entry.name));
    // Windows' own "on" form 06 on one of them: its other bits stay through both switches.
    approvals[1]->Set(Bytes{6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Gather();
    const int disabledBefore = DisabledRows();
    for (const auto& entry : entries) Tick(entry.name);
    EXPECT_EQ(Caption(), kSwitchOff);

    FILETIME before{};
    ::GetSystemTimeAsFileTime(&before);
    const std::wstring offReport = PressSwitch();
    EXPECT_NE(offReport.find(L"已禁用 6 项"), std::wstring::npos) << Narrow(offReport);
    // Wine reads none of it, and the user is told so.
    ASSERT_TRUE(SystemSwitchOptions(undo_.Folder()).underWine);
    EXPECT_NE(offReport.find(kWineIgnoresApproval), std::wstring::npos);
    const std::uint64_t from = (static_cast<std::uint64_t>(before.dwHighDateTime) << 32) | before.dwLowDateTime;
    for (size_t i = 0; i < approvals.size(); ++i) {
        const Bytes off = approvals[i]->Now();
        ASSERT_EQ(off.size(), 12u) << Narrow(entries[i].name);
        EXPECT_EQ(off[0], i == 1 ? 7 : 3) << Narrow(entries[i].name);
        EXPECT_EQ(Bytes(off.begin() + 1, off.begin() + 4), (Bytes{0, 0, 0}));
        std::uint64_t stamp = 0;
        for (int b = 7; b >= 0; --b) stamp = (stamp << 8) | off[static_cast<size_t>(4 + b)];
        EXPECT_GE(stamp, from);
        EXPECT_LT(stamp, from + 600ull * 10000000ull);
        EXPECT_EQ(Access(entries[i].name), kDisabled) << Narrow(entries[i].name);
    }
    // The count names the six, and the same rows stay selected, so the button now switches on.
    EXPECT_EQ(DisabledRows(), disabledBefore + 6);
    EXPECT_NE(form_->Controls().Static(ids::InfoLabel(1)).Text().find(std::to_wstring(disabledBefore + 6) + L" disabled"),
              std::wstring::npos);
    EXPECT_EQ(Caption(), kSwitchOn);
    ASSERT_EQ(Backups().size(), 1u);
    const std::wstring offBackup = undo_.Folder() + Backups()[0];

    // On again: bit 0 cleared, the rest zero; the previous state (06 and five without a value)
    // went into a second backup.
    const std::wstring onReport = PressSwitch();
    EXPECT_NE(onReport.find(L"已启用 6 项"), std::wstring::npos) << Narrow(onReport);
    EXPECT_EQ(onReport.find(kWineIgnoresApproval), std::wstring::npos);
    for (size_t i = 0; i < approvals.size(); ++i) {
        Bytes on(12, 0);
        on[0] = i == 1 ? 6 : 2;
        EXPECT_EQ(approvals[i]->Now(), on) << Narrow(entries[i].name);
    }
    EXPECT_EQ(Caption(), kSwitchOff);
    ASSERT_EQ(Backups().size(), 2u);

    // Switched off again by hand; the first backup, opened with the registry editor, gives the
    // state before the first switch: 06 where it was, Windows' "on" form for the others.
    for (const auto& approval : approvals) approval->Set(Bytes{3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    test::RestoreWithRegistryEditor(offBackup);
    for (size_t i = 0; i < approvals.size(); ++i) {
        Bytes was(12, 0);
        was[0] = i == 1 ? 6 : 2;
        EXPECT_EQ(approvals[i]->Now(), was) << Narrow(entries[i].name);
    }
    // Nothing but the approval values was touched.
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalSw1"));
    EXPECT_EQ(test::FileBytes(link8), "eight");
    ::DeleteFileW(link8.c_str());
    ::DeleteFileW(link9.c_str());
}

TEST_F(AutostartSwitchTest, TheRestoreWindowPutsThePreviousStateBackAndRunOnceIsRefused) {
    ScratchValue user(HKEY_CURRENT_USER, kRun, 0, L"TalSwRw", L"C:\\rw.exe");
    ScratchValue once(HKEY_CURRENT_USER, kRunOnce, 0, L"TalSwOnce", L"C:\\once.exe");
    ApprovalGuard approval(HKEY_CURRENT_USER, L"Run", L"TalSwRw");
    approval.Set(Bytes{6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Gather();
    Tick(L"TalSwRw");
    Tick(L"TalSwOnce");
    const std::wstring report = PressSwitch();
    EXPECT_NE(report.find(L"已禁用 1 项"), std::wstring::npos) << Narrow(report);
    EXPECT_NE(report.find(L"\"TalSwOnce\": " + std::wstring(kRunsOnceText)), std::wstring::npos) << Narrow(report);
    EXPECT_EQ(approval.First(), 7);
    // Nothing was written for the RunOnce entry, which Windows would ignore.
    RegValueData none;
    EXPECT_FALSE(ReadValueData(HKEY_CURRENT_USER, kApproved + L"Run", L"TalSwOnce", RegView::Bits64, none));
    EXPECT_EQ(Access(L"TalSwOnce"), state_.UserName);

    RestoreWindow window(state_.Boxes(), *state_.InfoBox, *state_.ConfirmBox,
                         RestorePlaces{undo_.Folder(), state_.WindowsFolder, state_.UserStartupFolder});
    window.Refresh();
    ASSERT_EQ(window.Backups().size(), 1u);
    window.Select(0);
    std::wstring question;
    std::wstring restored;
    AnswerNextQuestion(true, &question);
    ReadNextInfo(&restored);
    window.RestoreClick();
    ASSERT_TRUE(test::AllShownActionsRan());
    EXPECT_NE(question.find(L"将替换 1 项"), std::wstring::npos) << Narrow(question);
    EXPECT_EQ(approval.Now(), (Bytes{6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})) << Narrow(restored);
}

TEST_F(AutostartSwitchTest, AValueWrittenAgainByItsProgramStaysOffAndAddingItAgainOffersToSwitchItOn) {
    ScratchValue cleanup(HKEY_CURRENT_USER, kRun, 0, L"notepad.exe", L"");
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring notepad = std::wstring(windows) + L"\\notepad.exe";
    ASSERT_EQ(SetRegString(HKEY_CURRENT_USER, kRun, L"notepad.exe", notepad, RegView::Bits64), ERROR_SUCCESS);
    ApprovalGuard approval(HKEY_CURRENT_USER, L"Run", L"notepad.exe");
    Gather();
    Tick(L"notepad.exe");
    PressSwitch();
    ASSERT_EQ(Access(L"notepad.exe"), kDisabled);

    // The program deletes and writes its value again, as self-healing programs do: still off.
    ASSERT_EQ(RemoveRegValue(HKEY_CURRENT_USER, kRun, L"notepad.exe", RegView::Bits64), ERROR_SUCCESS);
    ASSERT_EQ(SetRegString(HKEY_CURRENT_USER, kRun, L"notepad.exe", notepad + L" /again", RegView::Bits64), ERROR_SUCCESS);
    Gather();
    EXPECT_EQ(Access(L"notepad.exe"), kDisabled);

    // Adding it through the dialog: the user is told it will not start, and may switch it on.
    ASSERT_EQ(RemoveRegValue(HKEY_CURRENT_USER, kRun, L"notepad.exe", RegView::Bits64), ERROR_SUCCESS);
    std::wstring question;
    std::wstring report;
    AnswerNextQuestion(true, &question);
    ReadNextInfo(&report);
    test::WhileModal([&] {
        HWND dialog = ::FindWindowW(nullptr, L"添加到自动启动");
        ASSERT_NE(dialog, nullptr);
        ::SetWindowTextW(::GetDlgItem(dialog, add_dialog_ids::kEdit1), notepad.c_str());
        ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    Click(ids::ButtonLabel(1, 1));
    test::PumpUntil([] { return test::AllShownActionsRan(); });
    EXPECT_EQ(question, StaleApprovalQuestion(L"notepad.exe"));
    EXPECT_NE(report.find(L"已启用 1 项"), std::wstring::npos) << Narrow(report);
    EXPECT_EQ(approval.Now(), ApprovalOnDefault());
    EXPECT_EQ(Access(L"notepad.exe"), state_.UserName);
}

TEST_F(AutostartSwitchTest, ARefusedMachineWriteIsNamedAndNothingChanges) {
    ScratchValue machine(HKEY_LOCAL_MACHINE, kRun, 0, L"TalSwDenied", L"C:\\denied.exe");
    ScratchValue user(HKEY_CURRENT_USER, kRun, 0, L"TalSwAllowed", L"C:\\allowed.exe");
    ApprovalGuard allowed(HKEY_CURRENT_USER, L"Run", L"TalSwAllowed");
    ScratchKey locked(HKEY_LOCAL_MACHINE, kApproved + L"Run");
    locked.SetString(L"", L"TalSwOther", L"keep");
    ASSERT_TRUE(test::SetKeySecurity(HKEY_LOCAL_MACHINE, kApproved + L"Run", 0, L"D:P(A;;KR;;;WD)"));
    const auto unlock = [] { test::SetKeySecurity(HKEY_LOCAL_MACHINE, kApproved + L"Run", 0, L"D:(A;;KA;;;WD)"); };
    Gather();
    Tick(L"TalSwDenied");
    Tick(L"TalSwAllowed");
    const std::wstring report = PressSwitch();
    unlock();
    EXPECT_NE(report.find(L"已禁用 1 项"), std::wstring::npos) << Narrow(report);
    EXPECT_NE(report.find(L"未能禁用 1 项"), std::wstring::npos) << Narrow(report);
    EXPECT_NE(report.find(L"\"TalSwDenied\": "), std::wstring::npos) << Narrow(report);
    EXPECT_NE(report.find(L"管理员"), std::wstring::npos) << Narrow(report);
    RegValueData none;
    EXPECT_FALSE(ReadValueData(HKEY_LOCAL_MACHINE, kApproved + L"Run", L"TalSwDenied", RegView::Bits64, none));
    EXPECT_EQ(Access(L"TalSwDenied"), kAllUsers);
    EXPECT_EQ(allowed.First(), 3);
}

TEST_F(AutostartSwitchTest, OnWindows7AValueMovesIntoTheToolsKeyAndBackWithItsType) {
    ScratchValue value(HKEY_CURRENT_USER, kRun, 0, L"TalSw7Expand", L"%SystemRoot%\\tal.exe /q", REG_EXPAND_SZ);
    ScratchKey item(HKEY_LOCAL_MACHINE, kMsConfig + L"TalSw7Expand");
    RegValueData was;
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"TalSw7Expand", RegView::Bits64, was));
    ApprovalGuard approval(HKEY_CURRENT_USER, L"Run", L"TalSw7Expand");

    const AutostartSwitchOutcome off =
        SwitchAutostartEntries({AutostartEntry{L"TalSw7Expand", L'1'}}, false, Options(false));
    ASSERT_FALSE(off.backupFailed);
    EXPECT_EQ(off.summary.switched, 1) << Narrow(SwitchReportText(off.summary));
    EXPECT_FALSE(off.summary.wineIgnoresIt);  // the move is real under Wine too
    EXPECT_TRUE(approval.Now().empty());       // no StartupApproved value on Windows 7
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRun, L"TalSw7Expand"));
    const std::wstring itemKey = kMsConfig + L"TalSw7Expand";
    EXPECT_EQ(ReadRegStringIn(HKEY_LOCAL_MACHINE, itemKey, L"hkey", RegView::Bits64), L"HKCU");
    EXPECT_EQ(ReadRegStringIn(HKEY_LOCAL_MACHINE, itemKey, L"key", RegView::Bits64), kRun);
    EXPECT_EQ(ReadRegStringIn(HKEY_LOCAL_MACHINE, itemKey, L"item", RegView::Bits64), L"TalSw7Expand");
    RegValueData command;
    ASSERT_TRUE(ReadValueData(HKEY_LOCAL_MACHINE, itemKey, L"command", RegView::Bits64, command));
    EXPECT_EQ(command.type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(command.data, was.data);
    Gather();
    const auto rows = Rows();
    const int row = FindRow(rows, L"TalSw7Expand");
    ASSERT_GE(row, 0);
    EXPECT_EQ(form_->Autostart().AutostartSources()[static_cast<size_t>(row)], L'5');

    // A second entry of the same name is refused: the tool's key is never overwritten.
    ScratchValue twin(HKEY_LOCAL_MACHINE, kRun, 0, L"TalSw7Expand", L"C:\\twin.exe");
    const AutostartSwitchOutcome refused =
        SwitchAutostartEntries({AutostartEntry{L"TalSw7Expand", L'3'}}, false, Options(false));
    ASSERT_EQ(refused.summary.failures.size(), 1u);
    EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, kRun, L"TalSw7Expand"));

    // On: back into the user's Run key, still REG_EXPAND_SZ, and the tool's item is gone.
    const AutostartSwitchOutcome on = SwitchAutostartEntries({AutostartEntry{L"TalSw7Expand", L'5'}}, true, Options(false));
    EXPECT_EQ(on.summary.switched, 1) << Narrow(SwitchReportText(on.summary));
    RegValueData back;
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"TalSw7Expand", RegView::Bits64, back));
    EXPECT_EQ(back.type, was.type);
    EXPECT_EQ(back.data, was.data);
    EXPECT_FALSE(item.Exists());

    // The first backup holds the value as it was: opened with the registry editor, it comes back.
    ASSERT_EQ(RemoveRegValue(HKEY_CURRENT_USER, kRun, L"TalSw7Expand", RegView::Bits64), ERROR_SUCCESS);
    test::RestoreWithRegistryEditor(undo_.Folder() + off.summary.backupFiles);
    ASSERT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRun, L"TalSw7Expand", RegView::Bits64, back));
    EXPECT_EQ(back.type, was.type);
    EXPECT_EQ(back.data, was.data);
    // The second holds the tool's item as it was.
    test::RestoreWithRegistryEditor(undo_.Folder() + on.summary.backupFiles);
    ASSERT_TRUE(ReadValueData(HKEY_LOCAL_MACHINE, itemKey, L"command", RegView::Bits64, back));
    EXPECT_EQ(back.type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
}

TEST_F(AutostartSwitchTest, AToolItemWithoutItsPlaceOrAWindows7ShortcutIsRefusedUntouched) {
    ScratchKey item(HKEY_LOCAL_MACHINE, kMsConfig + L"TalSwNowhere");
    item.SetString(L"", L"command", L"C:\\nowhere.exe");
    item.SetString(L"", L"hkey", L"HKLM");
    item.SetString(L"", L"key", L"SOFTWARE\\Policies\\Somewhere");
    const std::wstring link = state_.UserStartupFolder + L"TalSw7.lnk";
    ASSERT_TRUE(test::MakeFile(link, "seven"));
    const AutostartSwitchOutcome on = SwitchAutostartEntries({AutostartEntry{L"TalSwNowhere", L'5'}}, true, Options(true));
    ASSERT_EQ(on.summary.failures.size(), 1u);
    EXPECT_EQ(on.summary.switched, 0);
    EXPECT_TRUE(on.summary.backupFiles.empty());
    EXPECT_TRUE(item.Exists());
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Somewhere", L"TalSwNowhere"));
    const AutostartSwitchOutcome off = SwitchAutostartEntries({AutostartEntry{L"TalSw7.lnk", L'8'}}, false, Options(false));
    ASSERT_EQ(off.summary.failures.size(), 1u);
    EXPECT_EQ(off.summary.failures[0].reason, kLegacyShortcutText);
    EXPECT_EQ(test::FileBytes(link), "seven");
    EXPECT_TRUE(Backups().empty());
    ::DeleteFileW(link.c_str());
}

}  // namespace
}  // namespace taliveer
