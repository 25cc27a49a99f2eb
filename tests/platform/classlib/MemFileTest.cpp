// Files on disk and in memory.
#include "platform/classlib/File.h"
#include "platform/classlib/MemFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <class F>
bool ThrowsMemory(F fn) {
    try {
        fn();
    } catch (CMemoryException* e) {
        e->Delete();
        return true;
    }
    return false;
}

}  // namespace

TEST(MemFileTest, AGrowingFileKeepsWhatWasWrittenAndHandsItOut) {
    CMemFile file(16);
    const char text[] = "0123456789abcdefghij";
    file.Write(text, 20);
    EXPECT_EQ(20u, file.GetLength());
    EXPECT_EQ(20u, file.GetPosition());
    // Beyond the end: the gap reads as zeros.
    file.Seek(4, CFile::end);
    file.Write("Z", 1);
    EXPECT_EQ(25u, file.GetLength());
    file.SeekToBegin();
    char back[32] = {0};
    EXPECT_EQ(25u, file.Read(back, 32)) << "fewer at the end";
    EXPECT_EQ(0, std::memcmp(back, text, 20));
    EXPECT_EQ(std::string(4, '\0'), std::string(back + 20, 4));
    EXPECT_EQ('Z', back[24]);
    EXPECT_EQ(0u, file.Read(back, 1));

    file.SetLength(3);
    EXPECT_EQ(3u, file.GetPosition());
    ULONGLONG nLength = file.GetLength();
    BYTE* pData = file.Detach();
    ASSERT_NE(nullptr, pData);
    EXPECT_EQ(3u, nLength);
    EXPECT_EQ(0, std::memcmp(pData, "012", 3));
    std::free(pData);
    EXPECT_EQ(0u, file.GetLength());

    bool bBadSeek = false;
    try {
        file.Seek(-1, CFile::begin);
    } catch (CFileException* e) {
        bBadSeek = e->m_cause == CFileException::badSeek;
        e->Delete();
    }
    EXPECT_TRUE(bBadSeek);
}

TEST(MemFileTest, ACallersBufferIsReadAndNotOutgrown) {
    BYTE buffer[4] = {1, 2, 3, 4};
    CMemFile file(buffer, 4);
    EXPECT_EQ(4u, file.GetLength());
    BYTE b = 0;
    file.Seek(2, CFile::begin);
    file.Read(&b, 1);
    EXPECT_EQ(3, b);
    file.SeekToBegin();
    file.Write("\x09", 1);
    EXPECT_EQ(9, buffer[0]) << "written in place";
    file.SeekToEnd();
    EXPECT_TRUE(ThrowsMemory([&] { file.Write("x", 1); }));
    EXPECT_EQ(4u, file.GetLength());

    // With growth the data moves to a block of the file's own; the caller's stays.
    CMemFile growing;
    growing.Attach(buffer, 4, 8);
    growing.Write("abcdef", 6);
    EXPECT_EQ(6u, growing.GetLength());
    EXPECT_EQ(9, buffer[0]) << "the caller's buffer was only read";
}

TEST(MemFileTest, ASharedFileHandsOutAGlobalBlockOfExactlyItsData) {
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    file.Write("shared data", 11);
    HGLOBAL hGlobal = file.Detach();
    ASSERT_NE(nullptr, hGlobal);
    EXPECT_EQ(11u, ::GlobalSize(hGlobal));
    EXPECT_EQ(0, std::memcmp(::GlobalLock(hGlobal), "shared data", 11));
    ::GlobalUnlock(hGlobal);

    // Read back through a file over the block; the block stays the caller's.
    {
        CSharedFile reader;
        reader.SetHandle(hGlobal, FALSE);
        EXPECT_EQ(11u, reader.GetLength());
        char back[12] = {0};
        EXPECT_EQ(11u, reader.Read(back, 12));
        EXPECT_STREQ("shared data", back);
        reader.SeekToEnd();
        EXPECT_TRUE(ThrowsMemory([&] { reader.Write("!", 1); })) << "not allowed to grow";
    }
    EXPECT_EQ(0u, ::GlobalFlags(hGlobal) & GMEM_LOCKCOUNT) << "unlocked again";
    ::GlobalFree(hGlobal);
}

TEST(FileTest, FilesOnDiskRoundTripAndReportWhyTheyFail) {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + L"classlib_file_test.bin";
    {
        CFile file;
        ASSERT_TRUE(file.Open(strPath, CFile::modeCreate | CFile::modeReadWrite));
        file.Write("disk", 4);
        EXPECT_EQ(4u, file.GetLength());
        file.SeekToBegin();
        char back[8] = {0};
        EXPECT_EQ(4u, file.Read(back, 8));
        EXPECT_STREQ("disk", back);
        EXPECT_STREQ(L"classlib_file_test.bin", file.GetFileName());
        file.SetLength(2);
        file.Close();
    }
    {
        CFile file(strPath, CFile::modeRead);
        EXPECT_EQ(2u, file.GetLength());
    }
    CFileException error;
    CFile file;
    EXPECT_FALSE(file.Open(CString(szTemp) + L"classlib_no_such_file.bin", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    bool bThrown = false;
    try {
        CFile missing(CString(szTemp) + L"classlib_no_such_folder\\x.bin", CFile::modeRead);
    } catch (CFileException* e) {
        bThrown = e->m_cause == CFileException::badPath;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    ::DeleteFileW(strPath);
}
