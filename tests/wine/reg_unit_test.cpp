// The registry helpers against the real registry of the test prefix. Each test works in its
// own scratch key and removes it.
#include "services/reg_unit.h"
#include "services/unique_handle.h"
#include "tests/wine/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace taliveer {
namespace {

using test::ScratchKey;

std::set<std::wstring> AsSet(const StringList& list) { return {list.begin(), list.end()}; }

const std::wstring kUserScratch = L"Software\\TaliveerTests\\RegUnit";

TEST(RegUnitLists, NamesOfSubkeysAndValuesInTheOrderTheRegistryGives) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"Beta", L"v", L"1");
    k.SetString(L"alpha", L"v", L"1");
    k.SetString(L"", L"Zed", L"1");
    k.SetString(L"", L"", L"default value");
    k.SetDword(L"", L"Num", 5);

    StringList names{L"left over"};
    EXPECT_EQ(ReadKeyNames(HKEY_CURRENT_USER, k.Path(), names), 2);
    EXPECT_EQ(AsSet(names), (std::set<std::wstring>{L"Beta", L"alpha"}));
    EXPECT_EQ(ReadKeyNames(HKEY_CURRENT_USER, L"\\" + k.Path() + L"\\", names), 2);

    // The default value is listed as the empty name; data of any type counts.
    EXPECT_EQ(ReadValueNames(HKEY_CURRENT_USER, k.Path(), names), 3);
    EXPECT_EQ(AsSet(names), (std::set<std::wstring>{L"", L"Zed", L"Num"}));
}

TEST(RegUnitLists, MissingKeyClearsTheListAndGivesZero) {
    StringList names{L"a", L"b"};
    EXPECT_EQ(ReadKeyNames(HKEY_CURRENT_USER, L"Software\\TaliveerTests\\Missing\\Key", names), 0);
    EXPECT_TRUE(names.empty());
    names = {L"a"};
    EXPECT_EQ(ReadValueNames(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TaliveerTests\\Missing", names), 0);
    EXPECT_TRUE(names.empty());
}

TEST(RegUnitLists, EmptyPathOrSingleBackslashNamesTheRoot) {
    StringList names;
    ASSERT_GT(ReadKeyNames(HKEY_CURRENT_USER, L"\\", names), 0);
    const auto isSoftware = [](const std::wstring& n) { return _wcsicmp(n.c_str(), L"Software") == 0; };
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), isSoftware));
    StringList again;
    EXPECT_EQ(ReadKeyNames(HKEY_CURRENT_USER, L"", again), static_cast<int>(names.size()));
}

TEST(RegUnitLists, NonAsciiNamesSurvive) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"程序键", L"名称", L"数据");
    StringList names;
    ReadKeyNames(HKEY_CURRENT_USER, k.Path(), names);
    EXPECT_EQ(names, StringList{L"程序键"});
    ReadValueNames(HKEY_CURRENT_USER, k.Path() + L"\\程序键", names);
    EXPECT_EQ(names, StringList{L"名称"});
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, k.Path() + L"\\程序键", L"名称"), L"数据");
}

TEST(RegUnitStrings, OnlyStringTypesAreReadTrimmedAndUnexpanded) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"", L"Plain", L"  C:\\x.exe /a \r\n");
    k.SetString(L"", L"Expand", L"%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    k.SetDword(L"", L"Dword", 42);
    const wchar_t multi[] = L"a\0b\0";
    k.SetBytes(L"", L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    k.SetBytes(L"", L"Binary", REG_BINARY, "abcd", 4);
    k.SetString(L"", L"", L"the default");

    const HKEY cu = HKEY_CURRENT_USER;
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Plain"), L"C:\\x.exe /a");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Expand"), L"%SystemRoot%\\x.exe");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Dword"), L"");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Multi"), L"");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Binary"), L"");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L""), L"the default");
    EXPECT_EQ(ReadRegString(cu, k.Path(), L"Missing"), L"");
    EXPECT_EQ(ReadRegString(cu, k.Path() + L"\\Missing", L"Plain"), L"");
}

TEST(RegUnitStrings, StoredStringsAreNotTrustedToBeTerminatedOrShort) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    const std::wstring noNul = L"abc";  // three characters, no terminator stored
    k.SetBytes(L"", L"NoNul", REG_SZ, noNul.data(), 6);
    k.SetBytes(L"", L"Odd", REG_SZ, L"xy", 3);  // odd byte count
    const wchar_t inner[] = L"before\0after";
    k.SetBytes(L"", L"Inner", REG_SZ, inner, sizeof inner);
    const std::wstring longText(20000, L'字');
    k.SetString(L"", L"Long", longText);

    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, k.Path(), L"NoNul"), L"abc");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, k.Path(), L"Odd"), L"x");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, k.Path(), L"Inner"), L"before");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, k.Path(), L"Long"), longText);
}

TEST(RegUnitFlags, ReadsNonZeroAsTrueAndMissingAsFalse) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetDword(L"", L"One", 1);
    k.SetDword(L"", L"Seven", 7);
    k.SetDword(L"", L"Zero", 0);
    EXPECT_TRUE(ReadRegFlag(HKEY_CURRENT_USER, k.Path(), L"One"));
    EXPECT_TRUE(ReadRegFlag(HKEY_CURRENT_USER, k.Path(), L"Seven"));
    EXPECT_FALSE(ReadRegFlag(HKEY_CURRENT_USER, k.Path(), L"Zero"));
    EXPECT_FALSE(ReadRegFlag(HKEY_CURRENT_USER, k.Path(), L"Missing"));
    EXPECT_FALSE(ReadRegFlag(HKEY_CURRENT_USER, k.Path() + L"\\Missing", L"One"));
}

TEST(RegUnitFlags, AFlagOfAnotherTypeRaisesTheInvalidTypeError) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"", L"Text", L"1");
    try {
        ReadRegFlag(HKEY_CURRENT_USER, k.Path(), L"Text");
        FAIL() << "no error raised";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'Text'");
    }
}

TEST(RegUnitWrites, CreateMissingParentsAndReplaceValuesOfAnyType) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    const std::wstring deep = k.Path() + L"\\a\\b\\c";
    WriteRegString(HKEY_CURRENT_USER, deep, L"Name", L"  kept as given  ");
    EXPECT_TRUE(k.Exists(L"a\\b\\c"));
    // Written as given; only reading trims.
    UniqueHKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, deep.c_str(), 0, KEY_READ, key.put()), ERROR_SUCCESS);
    wchar_t buffer[64] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    ::RegQueryValueExW(key.get(), L"Name", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(buffer, L"  kept as given  ");

    WriteRegFlag(HKEY_CURRENT_USER, deep, L"Name", true);  // a string replaced by a flag
    EXPECT_TRUE(ReadRegFlag(HKEY_CURRENT_USER, deep, L"Name"));
    WriteRegFlag(HKEY_CURRENT_USER, deep, L"Name", false);
    EXPECT_FALSE(ReadRegFlag(HKEY_CURRENT_USER, deep, L"Name"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, deep, L"Name"));
}

TEST(RegUnitWrites, AValueThatCannotBeSetRaisesTheSetDataError) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    // Value names are limited to 16,383 characters: the key opens, the value cannot be set.
    const std::wstring tooLong(20000, L'n');
    try {
        WriteRegString(HKEY_CURRENT_USER, k.Path(), tooLong, L"x");
        FAIL() << "no error raised";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Message(), L"Failed to set data for '" + tooLong + L"'");
    }
    // A key that can be neither opened nor created: nothing happens, nothing is raised.
    EXPECT_NO_THROW(WriteRegFlag(HKEY_CURRENT_USER, k.Path() + L"\\bad\\\\\\name\\" + std::wstring(300, L'k'),
                                 L"x", true));
}

TEST(RegUnitExistence, KeysAndValues) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"sub", L"v", L"1");
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, k.Path()));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, L"\\" + k.Path() + L"\\sub\\"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, k.Path() + L"\\nope"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, k.Path() + L"\\sub", L"v"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, k.Path() + L"\\sub", L"w"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, k.Path() + L"\\nope", L"v"));
}

TEST(RegUnitDeletes, ValuesOnlyWhenTheyExist) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"", L"v", L"1");
    k.SetString(L"", L"keep", L"1");
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, k.Path(), L"missing"));
    EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, k.Path(), L"v"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, k.Path(), L"v"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, k.Path(), L"keep"));
    EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, k.Path() + L"\\nope", L"keep"));
}

TEST(RegUnitDeletes, AWholeTreeWithNestedSubkeys) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"victim\\a\\b\\c", L"v", L"1");
    k.SetString(L"victim\\a\\d", L"v", L"1");
    k.SetString(L"victim\\e", L"v", L"1");
    k.SetString(L"victim", L"v", L"1");
    k.SetString(L"sibling", L"v", L"1");
    EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, L"\\" + k.Path() + L"\\victim"));
    EXPECT_FALSE(k.Exists(L"victim"));
    EXPECT_TRUE(k.Exists(L"sibling"));
}

TEST(RegUnitDeletes, MissingKeysGiveFalse) {
    EXPECT_FALSE(DeleteRegKey(HKEY_CURRENT_USER, L"TaliveerNoSuchKeyAtAll"));
    EXPECT_FALSE(DeleteRegKey(HKEY_CURRENT_USER, L"Software\\TaliveerTests\\No\\Such"));
    EXPECT_FALSE(DeleteRegLeafKey(HKEY_CURRENT_USER, L""));
}

TEST(RegUnitDeletes, SecondStageDropsOneTrailingBackslashAndKeepsKeysWithSubkeys) {
    ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"leaf", L"v", L"1");
    k.SetString(L"parent\\child", L"v", L"1");
    EXPECT_TRUE(DeleteRegLeafKey(HKEY_CURRENT_USER, k.Path() + L"\\leaf\\"));
    EXPECT_FALSE(k.Exists(L"leaf"));
    EXPECT_FALSE(DeleteRegLeafKey(HKEY_CURRENT_USER, k.Path() + L"\\parent"));
    EXPECT_TRUE(k.Exists(L"parent\\child"));
}

// HKLM\SOFTWARE has two views; every operation uses the 64-bit one unless told otherwise.
class RegUnitViews : public testing::Test {
protected:
    const std::wstring path_ = L"SOFTWARE\\TaliveerTests64";
    ScratchKey only64_{HKEY_LOCAL_MACHINE, path_, KEY_WOW64_64KEY};
    ScratchKey only32_{HKEY_LOCAL_MACHINE, path_, KEY_WOW64_32KEY};
};

TEST_F(RegUnitViews, EveryOperationSeesThe64BitViewAndBits32OnlyThe32BitOne) {
    only64_.SetString(L"App", L"DisplayName", L"Sixty-four");
    only64_.SetString(L"", L"Top", L"x");
    only32_.SetString(L"Other", L"DisplayName", L"Thirty-two");
    ASSERT_FALSE(only64_.Exists(L"App", KEY_WOW64_32KEY));

    StringList names;
    ReadKeyNames(HKEY_LOCAL_MACHINE, path_, names);
    EXPECT_EQ(names, StringList{L"App"});
    ReadKeyNamesIn(HKEY_LOCAL_MACHINE, path_, RegView::Bits32, names);
    EXPECT_EQ(names, StringList{L"Other"});
    ReadValueNames(HKEY_LOCAL_MACHINE, path_, names);
    EXPECT_EQ(names, StringList{L"Top"});
    ReadValueNamesIn(HKEY_LOCAL_MACHINE, path_, RegView::Bits32, names);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, path_ + L"\\App", L"DisplayName"), L"Sixty-four");
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, path_ + L"\\App"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, path_ + L"\\Other"));
    EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, path_ + L"\\App", L"DisplayName"));
    RegValueData value;
    EXPECT_TRUE(ReadValueData(HKEY_LOCAL_MACHINE, path_ + L"\\Other", L"DisplayName", RegView::Bits32, value));
    EXPECT_FALSE(ReadValueData(HKEY_LOCAL_MACHINE, path_ + L"\\Other", L"DisplayName", RegView::Bits64, value));
    // The 32-bit view's key lives in Wow6432Node, and its backup says so.
    EXPECT_NE(RealKeyName(HKEY_LOCAL_MACHINE, path_ + L"\\Other", RegView::Bits32).find(L"\\Wow6432Node\\"),
              std::wstring::npos);
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, path_ + L"\\App", L"DisplayName"));
    EXPECT_EQ(RemoveRegTree(HKEY_LOCAL_MACHINE, path_ + L"\\Other", RegView::Bits32), ERROR_SUCCESS);
    EXPECT_FALSE(only32_.Exists(L"Other", KEY_WOW64_32KEY));
}

TEST_F(RegUnitViews, WritesGoToThe64BitView) {
    WriteRegString(HKEY_LOCAL_MACHINE, path_ + L"\\W", L"s", L"text");
    EXPECT_TRUE(only64_.Exists(L"W", KEY_WOW64_64KEY));
    EXPECT_FALSE(only64_.Exists(L"W", KEY_WOW64_32KEY));
}

TEST_F(RegUnitViews, AKeyOnlyInThe64BitViewIsDeletedByTheSecondStage) {
    only64_.SetString(L"Gone", L"v", L"1");
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, path_ + L"\\Gone"));
    EXPECT_FALSE(only64_.Exists(L"Gone", KEY_WOW64_64KEY));
}

TEST_F(RegUnitViews, TheTreeAndTheKeyGoInTheSameViewAndTheMirrorStays) {
    // The same path in both views: the 64-bit key is removed whole, the 32-bit mirror (which
    // no page lists and no backup holds) is left alone.
    only64_.SetString(L"Both\\sub", L"v", L"64");
    only64_.SetString(L"Both", L"v", L"64");
    only32_.SetString(L"Both", L"mirror", L"32");
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, path_ + L"\\Both"));
    EXPECT_FALSE(only64_.Exists(L"Both", KEY_WOW64_64KEY));
    EXPECT_TRUE(only32_.Exists(L"Both", KEY_WOW64_32KEY));
}

TEST(RegUnitViewsUser, TheUsersKeysAreTheRealOnesEvenWhenTheUsersWow6432NodeExists) {
    // Under Wine a 32-bit process's default view of HKCU\Software moves into
    // HKCU\Software\Wow6432Node once that key exists; what is written and read must still be
    // the user's real key, as on Windows.
    test::UserWow6432NodeGuard wow;
    ScratchKey real(HKEY_CURRENT_USER, kUserScratch, KEY_WOW64_64KEY);
    ScratchKey moved(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\TaliveerTests\\RegUnit", KEY_WOW64_64KEY);
    moved.SetString(L"", L"v", L"moved");
    moved.SetDword(L"", L"Flag", 0);
    WriteRegString(HKEY_CURRENT_USER, kUserScratch, L"v", L"real");
    WriteRegFlag(HKEY_CURRENT_USER, kUserScratch, L"Flag", true);
    EXPECT_TRUE(real.Exists());
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kUserScratch, L"v"), L"real");
    EXPECT_TRUE(ReadRegFlag(HKEY_CURRENT_USER, kUserScratch, L"Flag"));
    StringList names;
    ReadValueNames(HKEY_CURRENT_USER, kUserScratch, names);
    EXPECT_EQ(AsSet(names), (std::set<std::wstring>{L"v", L"Flag"}));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kUserScratch, L"v"));
    EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, kUserScratch, L"v"));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, L"Software\\Wow6432Node\\TaliveerTests\\RegUnit", L"v"), L"moved");
    EXPECT_EQ(RealKeyName(HKEY_CURRENT_USER, kUserScratch, RegView::Bits64).find(L"Wow6432Node"), std::wstring::npos);
}

}  // namespace
}  // namespace taliveer

#include <sddl.h>

namespace taliveer {
namespace {

// A key that the user may read but not change, as HKLM is for a user without
// administrator rights: the read operations still see it.
TEST(RegUnitRights, ReadOperationsNeedOnlyReadAccess) {
    test::ScratchKey k(HKEY_CURRENT_USER, kUserScratch);
    k.SetString(L"ro\\child", L"v", L"1");
    k.SetString(L"ro", L"name", L"  value ");
    const std::wstring ro = k.Path() + L"\\ro";
    ASSERT_TRUE(test::SetKeySecurity(HKEY_CURRENT_USER, ro, 0, L"D:P(A;;KR;;;WD)"));
    UniqueHKey full;
    const bool enforced = ::RegOpenKeyExW(HKEY_CURRENT_USER, ro.c_str(), 0, KEY_ALL_ACCESS, full.put()) != ERROR_SUCCESS;

    StringList names;
    EXPECT_EQ(ReadKeyNames(HKEY_CURRENT_USER, ro, names), 1);
    EXPECT_EQ(ReadValueNames(HKEY_CURRENT_USER, ro, names), 1);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, ro, L"name"), L"value");
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, ro, L"name"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, ro));
    if (enforced) {
        EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, ro, L"name"));  // writes keep their rights
    }

    // Give the key back so that the scratch key can be removed.
    test::SetKeySecurity(HKEY_CURRENT_USER, ro, 0, L"D:(A;;KA;;;WD)");
    std::printf("registry access checks %s by this platform\n", enforced ? "are enforced" : "are not enforced");
}

}  // namespace
}  // namespace taliveer
