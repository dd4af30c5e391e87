#include "services/pure/reg_location.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

constexpr wchar_t kSid[] = L"S-1-5-21-0-0-0-1000";

TEST(ScriptKeyName, TheKernelsRootsBecomeTheScriptsRoots) {
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", kSid),
              L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(ScriptKeyName(L"\\Registry\\Machine\\SOFTWARE\\Classes\\.txt", kSid),
              L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000\\Software\\Run", kSid),
              L"HKEY_CURRENT_USER\\Software\\Run");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000_Classes\\.tal", kSid),
              L"HKEY_CURRENT_USER\\Software\\Classes\\.tal");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER\\S-1-5-18\\Software", kSid), L"HKEY_USERS\\S-1-5-18\\Software");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\MACHINE", kSid), L"HKEY_LOCAL_MACHINE");
}

TEST(ScriptKeyName, NamesThatOnlyLookAlikeAreNotMistaken) {
    // Another user whose SID begins like the current one's.
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER\\S-1-5-21-0-0-0-10001\\Software", kSid),
              L"HKEY_USERS\\S-1-5-21-0-0-0-10001\\Software");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\MACHINEX\\Software", kSid), L"");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER", kSid), L"");
    EXPECT_EQ(ScriptKeyName(L"", kSid), L"");
    EXPECT_EQ(ScriptKeyName(L"\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000\\x", L""), L"HKEY_USERS\\S-1-5-21-0-0-0-1000\\x");
}

}  // namespace
}  // namespace taliveer
