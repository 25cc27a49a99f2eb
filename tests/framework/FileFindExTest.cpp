// Walking folders: the recursive file search and the sub-folder scanner.
#include "framework/FileFindEx.h"
#include "framework/KWFolderScanner.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "tests/framework/KWTestFiles.h"

namespace {

// Every path the search hands out, in order, with the library's loop.
std::vector<std::wstring> Collect(CFileFind& f, const std::wstring& pattern)
{
    std::vector<std::wstring> out;
    BOOL more = f.FindFile(pattern.c_str());
    while (more) {
        more = f.FindNextFile();
        if (!f.IsDots())
            out.push_back(f.GetFilePath().GetString());
    }
    return out;
}

std::set<std::wstring> SubFolders(CKWFolderScanner& scanner)
{
    std::set<std::wstring> names;
    while (scanner.FindNext())
        names.insert(std::wstring(scanner.GetFilePath()));
    return names;
}

}  // namespace

TEST(FileFindEx, FlatAsTheLibrarySearchRecursiveRootFilesFirstEveryFileOnce)
{
    CKWTestTempFolder root(L"ot_find");
    for (const wchar_t* file : {L"a.jpg", L"b.jpg", L"c.txt"})
        root.Write(file);
    root.MakeFolder(L"sub");
    root.Write(L"sub\\d.jpg");
    CFileFind plain;
    CFileFindEx flat(false);
    auto expected = Collect(plain, root.Path() + L"*.jpg");
    EXPECT_EQ(expected, Collect(flat, root.Path() + L"*.jpg"));
    EXPECT_EQ(2u, expected.size());

    // Several files per folder, and folders without matches between them: the
    // last file of each folder must not be lost when the search moves on.
    CKWTestTempFolder deep(L"ot_find");
    deep.Write(L"top.png");
    deep.Write(L"r2.png");
    deep.MakeFolder(L"empty");
    deep.MakeFolder(L"x");
    deep.Write(L"x\\x1.png");
    deep.Write(L"x\\x2.png");
    deep.Write(L"x\\skip.txt");
    deep.MakeFolder(L"x\\y");
    deep.Write(L"x\\y\\y1.png");
    CFileFindEx f(true);
    auto found = Collect(f, deep.Path() + L"*.png");
    std::set<std::wstring> unique(found.begin(), found.end());
    EXPECT_EQ(5u, found.size());
    EXPECT_EQ(5u, unique.size());
    EXPECT_EQ(std::wstring::npos, found[0].find(L"\\x\\")) << "the root's files first";
    EXPECT_EQ(deep.Path() + L"x\\y\\y1.png", found.back());
    CFileFindEx none(true);
    EXPECT_FALSE(none.FindFile((deep.Path() + L"*.jpg").c_str()));
}

TEST(KWFolderScanner, ListsSubFoldersButNotFilesOrDots)
{
    CKWTestTempFolder root;
    root.MakeFolder(L"alpha");
    root.MakeFolder(L"beta.dir");
    root.MakeFolder(L"alpha\\inner");
    root.Write(L"file.txt", "x");
    root.Write(L"gamma", "x");
    CKWFolderScanner scanner;
    scanner.Start(root.Path().c_str());
    EXPECT_EQ(CString(root.Path().c_str()), scanner.GetFolder());
    EXPECT_EQ((std::set<std::wstring>{L"alpha", L"beta.dir"}), SubFolders(scanner));
    EXPECT_FALSE(scanner.FindNext());  // stays exhausted

    // Restarted, it lists them again; a folder without its backslash gets one.
    const std::wstring bare = root.Path().substr(0, root.Path().size() - 1);
    scanner.Start(bare.c_str());
    EXPECT_EQ(CString(root.Path().c_str()), scanner.GetFolder());
    EXPECT_EQ(2u, SubFolders(scanner).size());
    scanner.Start((root.Path() + L"beta.dir\\").c_str());
    EXPECT_FALSE(scanner.FindNext()) << "an empty folder";
    scanner.Start((root.Path() + L"missing\\").c_str());
    EXPECT_FALSE(scanner.FindNext());

    const CString appData = GetAppDataFolder();
    ASSERT_FALSE(appData.IsEmpty());
    EXPECT_EQ(L'\\', appData[appData.GetLength() - 1]);
    EXPECT_TRUE(::GetFileAttributesW(appData) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(appData));
}
