#include "framework/FileFindEx.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {
class FileFindExTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        m_root = CString(temp);
        m_root.AppendFormat(L"ot_find_%lu\\", ::GetCurrentProcessId());
        ::CreateDirectoryW(m_root, nullptr);
    }
    void TearDown() override { RemoveTree(m_root); }

    void MakeDir(const wchar_t* rel) { ::CreateDirectoryW(m_root + rel, nullptr); }
    void MakeFile(const wchar_t* rel) {
        HANDLE h = ::CreateFileW(m_root + rel, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        ::CloseHandle(h);
    }
    static void RemoveTree(const CString& dir) {
        WIN32_FIND_DATAW d;
        HANDLE h = ::FindFirstFileW(dir + L"*", &d);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                CString name(d.cFileName);
                if (name == L"." || name == L"..") continue;
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(dir + name + L"\\");
                else ::DeleteFileW(dir + name);
            } while (::FindNextFileW(h, &d));
            ::FindClose(h);
        }
        ::RemoveDirectoryW(dir);
    }
    // Every path the search hands out, in order, with the library's loop.
    static std::vector<std::wstring> Collect(CFileFind& f, const CString& pattern) {
        std::vector<std::wstring> out;
        BOOL more = f.FindFile(pattern);
        while (more) {
            more = f.FindNextFile();
            if (!f.IsDots()) out.push_back(f.GetFilePath().GetString());
        }
        return out;
    }
    CString m_root;
};
}  // namespace

TEST_F(FileFindExTest, NonRecursiveBehavesAsTheLibrarySearch) {
    MakeFile(L"a.jpg");
    MakeFile(L"b.jpg");
    MakeFile(L"c.txt");
    MakeDir(L"sub");
    MakeFile(L"sub\\d.jpg");
    CFileFind plain;
    CFileFindEx flat(false);
    auto expected = Collect(plain, m_root + L"*.jpg");
    EXPECT_EQ(expected, Collect(flat, m_root + L"*.jpg"));
    EXPECT_EQ(2u, expected.size());
}

TEST_F(FileFindExTest, RecursiveFindsRootFileFirstThenDeepFile) {
    MakeFile(L"top.jpg");
    MakeDir(L"one");
    MakeDir(L"one\\two");
    MakeFile(L"one\\two\\deep.jpg");
    CFileFindEx f(true);
    auto found = Collect(f, m_root + L"*.jpg");
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(std::wstring((m_root + L"top.jpg").GetString()), found[0]);
    EXPECT_EQ(std::wstring((m_root + L"one\\two\\deep.jpg").GetString()), found[1]);
}

TEST_F(FileFindExTest, RecursiveHandsOutEveryFileOnceAcrossFolders) {
    // Several files per folder, and folders without matches between them: the
    // last file of each folder must not be lost when the search moves on.
    MakeFile(L"r1.png");
    MakeFile(L"r2.png");
    MakeDir(L"empty");
    MakeDir(L"x");
    MakeFile(L"x\\x1.png");
    MakeFile(L"x\\x2.png");
    MakeFile(L"x\\skip.txt");
    MakeDir(L"x\\y");
    MakeFile(L"x\\y\\y1.png");
    CFileFindEx f(true);
    auto found = Collect(f, m_root + L"*.png");
    std::set<std::wstring> unique(found.begin(), found.end());
    EXPECT_EQ(5u, found.size());
    EXPECT_EQ(5u, unique.size());
    EXPECT_TRUE(unique.count((m_root + L"x\\y\\y1.png").GetString()));
}

TEST_F(FileFindExTest, NoMatchAnywhereAndDotsNeverEntered) {
    MakeDir(L"a");
    MakeDir(L"a\\b");
    CFileFindEx f(true);
    EXPECT_FALSE(f.FindFile(m_root + L"*.jpg"));
    CKWFolderScanner scan;
    scan.Start(m_root);
    std::vector<std::wstring> dirs;
    while (scan.FindNext()) dirs.push_back(scan.GetFilePath().GetString());
    ASSERT_EQ(1u, dirs.size());
    EXPECT_EQ(L"a", dirs[0]);
}
