// The one file writer: a new file only where none is, a replacement only when asked, every
// byte or nothing left behind, and the system's reason when it fails.
#include "services/file_writer.h"

#include "services/undo_backup.h"
#include "tests/wine/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace taliveer {
namespace {

using test::FileBytes;
using test::MakeFile;

TEST(FileWriter, ANewFileNeverReplacesOneAndAReplacementOnlyWhenAskedLeavingNothingBeside) {
    test::UndoFolderGuard folder(test::TempUndoFolder());
    ASSERT_TRUE(EnsureUndoFolder(folder.Folder()));
    const std::wstring file = folder.Folder() + L"备份.reg";
    const std::string first("first\0bytes", 11);

    EXPECT_EQ(WriteWholeFile(file, first, WriteMode::CreateNew), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FileBytes(file), first);
    const DWORD taken = WriteWholeFile(file, std::string_view("other"), WriteMode::CreateNew);
    EXPECT_TRUE(taken == ERROR_FILE_EXISTS || taken == ERROR_ALREADY_EXISTS) << taken;
    EXPECT_EQ(FileBytes(file), first) << "an older file is never replaced unasked";

    EXPECT_EQ(WriteWholeFile(file, std::string_view("second"), WriteMode::Replace), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FileBytes(file), "second");
    EXPECT_EQ(WriteWholeFile(file, std::string_view(), WriteMode::Replace), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FileBytes(file), "");
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"备份.reg"}) << "no temporary file stays";
}

TEST(FileWriter, AWriteThatFailsLeavesNoFileAndGivesTheSystemsReason) {
    test::UndoFolderGuard folder(test::TempUndoFolder());
    ASSERT_TRUE(EnsureUndoFolder(folder.Folder()));
    const std::wstring occupied = folder.Folder() + L"a folder";
    ASSERT_TRUE(::CreateDirectoryW(occupied.c_str(), nullptr));
    for (WriteMode mode : {WriteMode::CreateNew, WriteMode::Replace}) {
        EXPECT_NE(WriteWholeFile(occupied, std::string_view("x"), mode), static_cast<DWORD>(ERROR_SUCCESS));
        const DWORD attributes = ::GetFileAttributesW(occupied.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    // A folder that is not there: nothing is made on the way.
    const std::wstring nowhere = folder.Folder() + L"missing\\file.csv";
    for (WriteMode mode : {WriteMode::CreateNew, WriteMode::Replace}) {
        EXPECT_EQ(WriteWholeFile(nowhere, std::string_view("x"), mode), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    }
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{}) << "no part of a write stays";
    EXPECT_EQ(::GetFileAttributesW((folder.Folder() + L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(occupied.c_str());
}

}  // namespace
}  // namespace taliveer
