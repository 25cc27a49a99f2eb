// The XML layer's file opened on an empty file that exists (the temporary file a
// save writes): the same bytes as a file opened for writing, and nothing opened
// (nor changed) where the file is missing, holds bytes or is a folder.
#include "FilesTestSupport.h"

#include "files/XmlFile.h"

#include <gtest/gtest.h>

using namespace filestest;

TEST(XmlFile, AnEmptyFileIsWrittenAsAFileOpenedForWriting)
{
    TempDir dir;
    const std::string text = "<a>\n\t<b x='1'/>\n</a>\n";
    for (uint32_t mode : {uint32_t(CXmlFile::kWrite), uint32_t(CXmlFile::kWrite | CXmlFile::kBinary)}) {
        SCOPED_TRACE(mode);
        const std::wstring opened = dir.File(L"opened.xml");
        const std::wstring empty = dir.Write(L"empty.xml");
        {
            CXmlFile file;
            ASSERT_TRUE(file.Open(opened.c_str(), mode));
            file << text.c_str();
            ASSERT_TRUE(file.Close());
        }
        {
            CXmlFile file;
            ASSERT_TRUE(file.OpenEmpty(empty.c_str(), mode));
            file.WriteBehind();
            file << text.c_str();
            ASSERT_TRUE(file.Close());
        }
        EXPECT_EQ(mode & CXmlFile::kBinary ? text : WithCrLf(text), ReadBytes(empty));
        EXPECT_EQ(ReadBytes(opened), ReadBytes(empty));
    }
}

TEST(XmlFile, OnlyAnEmptyFileOpensAsEmpty)
{
    TempDir dir;
    const std::wstring full = dir.Write(L"full.xml", "kept bytes");
    const std::wstring folder = dir.MakeFolder(L"folder");
    const std::wstring missing = dir.File(L"missing.xml");
    const struct {
        const char* name;
        std::wstring path;
        uint32_t mode;
    } cases[] = {
        {"a file with bytes", full, CXmlFile::kWrite},
        {"a folder", folder, CXmlFile::kWrite},
        {"a missing file", missing, CXmlFile::kWrite},
        {"an empty file opened to read", dir.Write(L"read.xml"), CXmlFile::kRead | CXmlFile::kBinary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CXmlFile file;
        EXPECT_FALSE(file.OpenEmpty(c.path.c_str(), c.mode));
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ("kept bytes", ReadBytes(full));
    EXPECT_FALSE(FileExists(missing));
}
