#include "framework/KWFolderScanner.h"

#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace rastertest;

namespace {

std::set<std::wstring> SubFolders(CKWFolderScanner& scanner)
{
    std::set<std::wstring> names;
    while (scanner.FindNext())
        names.insert(std::wstring(scanner.GetFilePath()));
    return names;
}

}  // namespace

TEST(KWFolderScanner, ListsSubFoldersButNotFilesOrDots)
{
    TempFolder root;
    ::CreateDirectoryW((root.Path() + L"alpha").c_str(), nullptr);
    ::CreateDirectoryW((root.Path() + L"beta.dir").c_str(), nullptr);
    root.Write(L"file.txt", "x", 1);
    root.Write(L"gamma", "x", 1);

    CKWFolderScanner scanner;
    scanner.Start(root.Path().c_str());
    EXPECT_EQ(CString(root.Path().c_str()), scanner.GetFolder());
    EXPECT_EQ((std::set<std::wstring>{L"alpha", L"beta.dir"}), SubFolders(scanner));
    EXPECT_FALSE(scanner.FindNext());  // stays exhausted

    // Restarted, it lists them again; a folder without its backslash gets one.
    std::wstring bare = root.Path().substr(0, root.Path().size() - 1);
    scanner.Start(bare.c_str());
    EXPECT_EQ(CString(root.Path().c_str()), scanner.GetFolder());
    EXPECT_EQ(2u, SubFolders(scanner).size());
}

TEST(KWFolderScanner, EmptyOrMissingFolderHasNoSubFolders)
{
    TempFolder root;
    CKWFolderScanner scanner;
    scanner.Start(root.Path().c_str());
    EXPECT_FALSE(scanner.FindNext());
    scanner.Start((root.Path() + L"missing\\").c_str());
    EXPECT_FALSE(scanner.FindNext());
}

TEST(KWFolderScanner, AppDataFolderEndsInABackslashAndExists)
{
    CString folder = GetAppDataFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(L'\\', folder[folder.GetLength() - 1]);
    DWORD attributes = ::GetFileAttributesW(folder);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
