// Tests of the file helpers beside the file dialogs.
#include "framework/KWFileHelpers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "tests/framework/KWTestFiles.h"


TEST(KWFileHelpers, FoldersAreMadeOnceAndOnlyWithAValidMode)
{
    CKWTestTempFolder scratch;
    const std::wstring folder = scratch.Path() + L"made";
    EXPECT_EQ(-1, KWMakeDirectory(nullptr, 0755));
    EXPECT_EQ(-1, KWMakeDirectory(folder.c_str(), 0));
    EXPECT_EQ(0, KWMakeDirectory(folder.c_str(), 0755));
    EXPECT_EQ(EEXIST, KWMakeDirectory(folder.c_str(), 0755));
    EXPECT_FALSE(KWIsRegularFile(folder.c_str())) << "a folder is no regular file";
    EXPECT_EQ(0, KWGetFileSize(folder.c_str()));
    EXPECT_EQ(ENOENT, KWMakeDirectory((folder + L"\\missing\\deeper").c_str(), 0755));
}

TEST(KWFileHelpers, CopySizeAndDelete)
{
    CKWTestTempFile source, destination;
    ASSERT_TRUE(WriteFileBytes(source.Path(), "twelve bytes"));
    ASSERT_TRUE(WriteFileBytes(destination.Path(), "old"));
    EXPECT_TRUE(KWIsRegularFile(source.Path().c_str()));
    EXPECT_EQ(12, KWGetFileSize(source.Path().c_str()));
    EXPECT_TRUE(KWCopyFile(destination.Path().c_str(), source.Path().c_str())) << "an existing file is replaced";
    EXPECT_EQ(12, KWGetFileSize(destination.Path().c_str()));
    EXPECT_TRUE(KWDeleteFile(destination.Path().c_str()));
    EXPECT_FALSE(KWIsRegularFile(destination.Path().c_str()));
    EXPECT_EQ(0, KWGetFileSize(destination.Path().c_str()));
    EXPECT_FALSE(KWDeleteFile(destination.Path().c_str()));
    EXPECT_FALSE(KWCopyFile(destination.Path().c_str(), (source.Path() + L".missing").c_str()));
    EXPECT_FALSE(KWIsRegularFile(nullptr));
    EXPECT_FALSE(KWDeleteFile(nullptr));
}
