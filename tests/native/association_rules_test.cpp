#include "pages/associations/pure/association_rules.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(AssociationSearchKey, UpperCasesAsciiAndAddsTheDot) {
    EXPECT_EQ(AssociationSearchKey(L"t"), L".T");
    EXPECT_EQ(AssociationSearchKey(L"T"), L".T");
    EXPECT_EQ(AssociationSearchKey(L".t"), L".T");
    EXPECT_EQ(AssociationSearchKey(L"txt"), L".TXT");
    EXPECT_EQ(AssociationSearchKey(L"é"), L".é");
    EXPECT_EQ(AssociationSearchKey(L"..x"), L"..X");
}

TEST(FindPrefixRow, FirstCaptionBeginningWithTheKeyInAnyCase) {
    const std::vector<std::wstring> captions{L".bat", L".TIF", L".txt", L".Tx2", L".doc", L"no dot"};
    EXPECT_EQ(FindPrefixRow(captions, L"t"), 1);
    EXPECT_EQ(FindPrefixRow(captions, L".T"), 1);
    EXPECT_EQ(FindPrefixRow(captions, L"tx"), 2);
    EXPECT_EQ(FindPrefixRow(captions, L"txt"), 2);
    EXPECT_EQ(FindPrefixRow(captions, L"TX2"), 3);
    EXPECT_EQ(FindPrefixRow(captions, L"xt"), -1);  // a prefix, not a substring
    EXPECT_EQ(FindPrefixRow(captions, L"zzz"), -1);
    EXPECT_EQ(FindPrefixRow(captions, L""), -1);
    EXPECT_EQ(FindPrefixRow({}, L"t"), -1);
}

TEST(ProgIdSubkey, AnEmptyProgIdAddressesTheRoot) {
    EXPECT_EQ(ProgIdSubkey(L"txtfile", L"\\shell\\open\\command"), L"txtfile\\shell\\open\\command");
    EXPECT_EQ(ProgIdSubkey(L"", L"\\DefaultIcon"), L"\\DefaultIcon");
    EXPECT_EQ(AssociationCountText(3), L"3 个关联");
}

TEST(AssociationEditorRules, DefaultDescriptionProgIdSuffixAndIcon) {
    EXPECT_EQ(DefaultDescription(L"txt"), L"txt.file");
    EXPECT_EQ(DefaultDescription(L".txt"), L"txt.file");
    EXPECT_EQ(DefaultDescription(L""), L"");
    EXPECT_EQ(DefaultDescription(L"."), L".file");
    EXPECT_EQ(ProgIdForExtension(L".txt"), L"txt.file");
    EXPECT_EQ(ProgIdForExtension(L"."), L".file");
    EXPECT_EQ(ArgumentSuffix(L"C:\\Tools\\view.exe"), L" \"%1\"");
    EXPECT_EQ(ArgumentSuffix(L"C:\\Program Files\\V\\v.exe"), L" \"%1\"");  // spaces alone: still the suffix
    for (const wchar_t* own : {L"v.exe \"%1\"", L"v.exe /open", L"v.exe -view", L"C:\\a/b.exe"}) {
        EXPECT_EQ(ArgumentSuffix(own), L"") << own;
    }
    EXPECT_EQ(ArgumentSuffix(L"C:\\my-tools\\v.exe"), L" \"%1\"");  // a hyphen without a space before it
    EXPECT_EQ(IconLocation(L"C:\\Tools\\view.exe"), L"\"C:\\Tools\\view.exe\", -1");
}

TEST(AssociationEditorRules, ComplaintsComeInTheirOrder) {
    const auto none = [](const std::wstring&) { return false; };
    const auto all = [](const std::wstring&) { return true; };
    struct Case {
        EditorMode mode;
        const wchar_t* extension;
        const wchar_t* description;
        const wchar_t* program;
        bool exists;
        const wchar_t* complaint;  // nullptr: may be saved
    };
    const Case cases[] = {
        {EditorMode::Add, L"", L"", L"", true, L"请指定一个扩展!"},
        {EditorMode::Add, L"txt", L"", L"", true, L"请指定一个描述!"},
        {EditorMode::Add, L"txt", L"d", L"", true, L"请指定一个程序!"},
        {EditorMode::Add, L"txt", L"d", L"C:\\v.exe", true, L"扩展应该从!"},
        {EditorMode::Add, L" .txt", L"d", L"C:\\v.exe", true, L"扩展应该从!"},
        {EditorMode::Add, L".a\\b", L"d", L"C:\\v.exe", true, L"无效符号 \"\\\" 在扩展!"},
        {EditorMode::Add, L".txt", L"d", L"C:\\v.exe", false, L"文件未找到!"},
        {EditorMode::Edit, L".txt", L"d", L"C:\\v.exe \"%1\"", false, nullptr},
        {EditorMode::Add, L".", L"d", L"C:\\v.exe", true, nullptr},
    };
    for (const Case& c : cases) {
        const auto complaint = AssociationComplaint(c.mode, c.extension, c.description, c.program,
                                                    c.exists ? std::function<bool(const std::wstring&)>(all) : none);
        if (c.complaint) {
            ASSERT_TRUE(complaint) << c.extension;
            EXPECT_EQ(*complaint, c.complaint) << c.extension;
        } else {
            EXPECT_FALSE(complaint) << c.extension;
        }
    }
    EXPECT_EQ(ConfirmRemoveAssociationText(L".txt"), L"您确定您要删除关联 \".txt\" ?");
}

}  // namespace
}  // namespace taliveer
