// Tests of the file helpers beside the file dialogs.
#include "framework/KWFileHelpers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "tests/framework/KWTestFiles.h"

namespace {

std::wstring ScratchFolder()
{
    wchar_t path[MAX_PATH];
    ::GetTempPathW(MAX_PATH, path);
    return std::wstring(path) + L"kwhelpers" + std::to_wstring(::GetCurrentProcessId());
}

void WriteBytes(const std::wstring& path, const char* bytes)
{
    FILE* f = ::_wfopen(path.c_str(), L"wb");
    ASSERT_NE(nullptr, f);
    std::fputs(bytes, f);
    std::fclose(f);
}

}  // namespace

TEST(KWFileHelpers, FoldersAreMadeOnceAndOnlyWithAValidMode)
{
    const std::wstring folder = ScratchFolder();
    ::RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(-1, KWMakeDirectory(nullptr, 0755));
    EXPECT_EQ(-1, KWMakeDirectory(folder.c_str(), 0));
    EXPECT_EQ(0, KWMakeDirectory(folder.c_str(), 0755));
    EXPECT_EQ(EEXIST, KWMakeDirectory(folder.c_str(), 0755));
    EXPECT_FALSE(KWIsRegularFile(folder.c_str())) << "a folder is no regular file";
    EXPECT_EQ(0, KWGetFileSize(folder.c_str()));
    EXPECT_EQ(ENOENT, KWMakeDirectory((folder + L"\\missing\\deeper").c_str(), 0755));
    ::RemoveDirectoryW(folder.c_str());
}

TEST(KWFileHelpers, CopySizeAndDelete)
{
    CKWTestTempFile source, destination;
    WriteBytes(source.Path(), "twelve bytes");
    WriteBytes(destination.Path(), "old");
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
