#include "services/pure/backup_name.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(SafeFileNamePart, ForbiddenCharactersDeviceNamesAndTrailingDots) {
    EXPECT_EQ(SafeFileNamePart(L"a\\b/c:d*e?f\"g<h>i|j"), L"a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(SafeFileNamePart(L"tab\there\x01"), L"tab_here_");
    EXPECT_EQ(SafeFileNamePart(L"name. . ."), L"name");
    EXPECT_EQ(SafeFileNamePart(L"..\\..\\evil"), L".._.._evil");
    EXPECT_EQ(SafeFileNamePart(L"../../evil"), L".._.._evil");
    EXPECT_EQ(SafeFileNamePart(L".."), L"");
    for (const wchar_t* device : {L"CON", L"con", L"PRN", L"AUX", L"NUL", L"COM1", L"com9", L"LPT1", L"LPT9", L"nul.txt", L"CON "}) {
        const std::wstring safe = SafeFileNamePart(device);
        EXPECT_EQ(safe[0], L'_') << safe.size();
    }
    EXPECT_EQ(SafeFileNamePart(L"COM0"), L"COM0");
    EXPECT_EQ(SafeFileNamePart(L"CONSOLE"), L"CONSOLE");
    EXPECT_EQ(SafeFileNamePart(L"中文程序"), L"中文程序");
}

TEST(BackupFileName, CounterBeforeTheSuffixAndTheWholePathWithinTheLimit) {
    const std::wstring folder = L"C:\\Program Files\\Taliveer\\Undo\\";
    EXPECT_EQ(BackupFileName(folder, L"txt", L"_association.reg", 1), L"txt_association.reg");
    EXPECT_EQ(BackupFileName(folder, L"txt", L"_association.reg", 2), L"txt (2)_association.reg");
    EXPECT_EQ(BackupFileName(folder, L"txt", L"_association.reg", 13), L"txt (13)_association.reg");
    EXPECT_EQ(BackupFileName(folder, L"a/b:c", L"_startup.reg", 1), L"a_b_c_startup.reg");

    const std::wstring cut = BackupFileName(folder, std::wstring(500, L'x'), L"_uninstall.reg", 3);
    EXPECT_EQ(folder.size() + cut.size(), 259u);
    EXPECT_EQ(cut.substr(cut.size() - 18), L" (3)_uninstall.reg");
    // A cut that ends in a dot or a space loses it.
    const std::wstring dotted = BackupFileName(folder, std::wstring(219, L'x') + L"....", L"_u.reg", 1, 259);
    EXPECT_NE(dotted[dotted.size() - 7], L'.');
    // A cut never leaves half of a surrogate pair.
    std::wstring pairs;
    for (int i = 0; i < 200; ++i) pairs += L"\xD83D\xDE00";
    const std::wstring halves = BackupFileName(folder, pairs, L"_s.reg", 1);
    const size_t base = halves.size() - 6;
    EXPECT_EQ(base % 2, 0u);
    // No room even for the suffix: no name.
    EXPECT_EQ(BackupFileName(std::wstring(255, L'f'), L"x", L"_uninstall.reg", 1), L"");
}

TEST(KeyRemovalText, EachOutcomeSaysWhatHappenedAndNeverCallsAFailureDone) {
    using O = KeyRemoval::Outcome;
    EXPECT_EQ(KeyRemovalText({O::AlreadyGone, L"", L""}, L"记录", L"App", L"C:\\U\\"), L"记录已不存在，没有写入撤消文件。");
    EXPECT_EQ(KeyRemovalText({O::BackupFailed, L"", L"disk full"}, L"关联", L".txt", L"C:\\U\\"),
              L"无法写入撤消文件，没有删除关联。\nC:\\U\\\ndisk full");
    EXPECT_EQ(KeyRemovalText({O::NotRemoved, L"App_uninstall.reg", L"Access denied."}, L"记录", L"App", L"C:\\U\\"),
              L"未能删除记录 \"App\": Access denied.\n撤消文件: App_uninstall.reg");
    EXPECT_EQ(KeyRemovalText({O::Removed, L"txt_association.reg", L""}, L"关联", L".txt", L"C:\\U\\"),
              L"已成功删除记录,\r创建撤消文件txt_association.reg");
    // A key that cannot be read is not a key that is gone; a part that went is named with
    // the backup that restores it; what stayed is never called removed.
    const std::wstring unreadable = KeyRemovalText({O::Unreadable, L"", L"Access denied."}, L"关联", L".x", L"C:\\U\\");
    EXPECT_NE(unreadable.find(L"无法读取"), std::wstring::npos);
    EXPECT_EQ(unreadable.find(L"已不存在"), std::wstring::npos);
    // Kept because another copy could not be read: no backup is claimed.
    EXPECT_EQ(KeyRemovalText({O::NotRemoved, L"", L"the other copy cannot be read"}, L"关联", L".x", L"C:\\U\\"),
              L"未能删除关联 \".x\": the other copy cannot be read");
    const std::wstring partly =
        KeyRemovalText({O::NotRemoved, L"App_uninstall.reg", L"Access denied.", true}, L"记录", L"App", L"C:\\U\\");
    EXPECT_NE(partly.find(L"一部分已删除"), std::wstring::npos);
    EXPECT_NE(partly.find(L"App_uninstall.reg"), std::wstring::npos);
    const std::wstring left = KeyRemovalText({O::Removed, L"App_uninstall.reg", L"", false, 2}, L"记录", L"App", L"C:\\U\\");
    EXPECT_NE(left.find(L"2 项在备份后才出现或被更改，未删除"), std::wstring::npos);
    EXPECT_EQ(left.find(L"已成功删除记录"), std::wstring::npos);
}

}  // namespace
}  // namespace taliveer
