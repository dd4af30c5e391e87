#include "pages/autostart/pure/autostart_switch_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ApprovalBytes, OffSetsBitZeroKeepsWindowsOwnBitsAndStampsTheTime) {
    const std::uint64_t time = 0x01DB2C3D4E5F6071ull;
    const Bytes stamped{0x71, 0x60, 0x5F, 0x4E, 0x3D, 0x2C, 0xDB, 0x01};
    // No value, or one of another size: Task Manager's form.
    Bytes off = ApprovalOffBytes(nullptr, time);
    EXPECT_EQ(off, (Bytes{3, 0, 0, 0, 0x71, 0x60, 0x5F, 0x4E, 0x3D, 0x2C, 0xDB, 0x01}));
    const Bytes odd{6, 1};
    EXPECT_EQ(ApprovalOffBytes(&odd, time)[0], 3);
    // Windows' own 06 becomes 07; its other bytes make way for the time.
    const Bytes six{6, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    off = ApprovalOffBytes(&six, time);
    ASSERT_EQ(off.size(), 12u);
    EXPECT_EQ(off[0], 7);
    EXPECT_EQ(Bytes(off.begin() + 1, off.begin() + 4), (Bytes{0, 0, 0}));
    EXPECT_EQ(Bytes(off.begin() + 4, off.end()), stamped);
}

TEST(ApprovalBytes, OnClearsBitZeroOnlyAndZeroesTheRest) {
    EXPECT_EQ(ApprovalOnBytes(Bytes{3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}), ApprovalOnDefault());
    EXPECT_EQ(ApprovalOnDefault(), (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ApprovalOnBytes(Bytes{7, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8})[0], 6);
    EXPECT_EQ(ApprovalOnBytes(Bytes{})[0], 2);
}

TEST(SwitchWayOf, RunOnceIsRefusedWindows7MovesValuesAndRefusesShortcuts) {
    for (wchar_t digit : {L'1', L'3', L'6', L'7', L'8', L'9'}) {
        EXPECT_EQ(SwitchWayOf(digit, false, true), SwitchWay::Approval) << static_cast<char>(digit);
        EXPECT_EQ(SwitchWayOf(digit, true, true), SwitchWay::Approval);
        EXPECT_EQ(SwitchWayOf(digit, true, false), SwitchWay::Approval);  // an "off" left by a newer Windows
    }
    for (wchar_t digit : {L'1', L'3', L'6', L'7'}) EXPECT_EQ(SwitchWayOf(digit, false, false), SwitchWay::MoveToMsConfig);
    EXPECT_EQ(SwitchWayOf(L'8', false, false), SwitchWay::LegacyShortcut);
    EXPECT_EQ(SwitchWayOf(L'2', false, true), SwitchWay::RunsOnce);
    EXPECT_EQ(SwitchWayOf(L'4', false, false), SwitchWay::RunsOnce);
    EXPECT_EQ(SwitchWayOf(L'4', true, true), SwitchWay::AlreadyThere);
    EXPECT_EQ(SwitchWayOf(L'5', true, true), SwitchWay::MoveBack);
    EXPECT_EQ(SwitchWayOf(L'5', false, true), SwitchWay::AlreadyThere);
}

TEST(SourceOfMsConfigItem, OnlyTheRunKeysOfEitherHiveInAnySpelling) {
    EXPECT_EQ(SourceOfMsConfigItem(L"HKLM", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"), L'3');
    EXPECT_EQ(SourceOfMsConfigItem(L"hkcu", L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"), L'1');
    EXPECT_EQ(SourceOfMsConfigItem(L"HKEY_LOCAL_MACHINE", L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"), L'7');
    EXPECT_EQ(SourceOfMsConfigItem(L"HKCU", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"), L'2');
    EXPECT_EQ(SourceOfMsConfigItem(L"HKLM", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run"), std::nullopt);
    EXPECT_EQ(SourceOfMsConfigItem(L"HKU", L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"), std::nullopt);
    EXPECT_EQ(SourceOfMsConfigItem(L"HKLM", L""), std::nullopt);
    // What is written for a source reads back as that source.
    for (wchar_t digit : {L'1', L'3', L'6', L'7'}) {
        EXPECT_EQ(SourceOfMsConfigItem(MsConfigHiveText(digit), MsConfigKeyText(digit)), digit);
    }
}

TEST(SwitchReportText, NamesEachFailureAndTheWineNote) {
    SwitchSummary summary;
    summary.switched = 2;
    summary.unchanged = 1;
    summary.backupFiles = L"A,B 禁用前_startup.reg";
    summary.failures = {{L"Once", kRunsOnceText}, {L"M", L"拒绝访问。"}};
    summary.wineIgnoresIt = true;
    const std::wstring text = SwitchReportText(summary);
    EXPECT_NE(text.find(L"已禁用 2 项"), std::wstring::npos);
    EXPECT_NE(text.find(L"A,B 禁用前_startup.reg"), std::wstring::npos);
    EXPECT_NE(text.find(L"1 项原来已是禁用状态"), std::wstring::npos);
    EXPECT_NE(text.find(L"未能禁用 2 项"), std::wstring::npos);
    EXPECT_NE(text.find(L"\"Once\": " + std::wstring(kRunsOnceText)), std::wstring::npos);
    EXPECT_NE(text.find(kWineIgnoresApproval), std::wstring::npos);

    SwitchSummary nothing;
    nothing.on = true;
    nothing.failures = {{L"X", L"r"}};
    EXPECT_EQ(SwitchReportText(nothing).rfind(L"没有启用任何项目。", 0), 0u);
    EXPECT_EQ(SwitchReportText(nothing).find(L"撤消文件"), std::wstring::npos);
}

TEST(SwitchCaption, SwitchOnOnlyWhenEveryRowIsOff) {
    EXPECT_EQ(SwitchCaption({}), kSwitchOff);
    EXPECT_EQ(SwitchCaption({true, false}), kSwitchOff);
    EXPECT_EQ(SwitchCaption({true, true}), kSwitchOn);
}

}  // namespace
}  // namespace taliveer
