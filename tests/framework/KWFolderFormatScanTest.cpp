// Collecting the files of a folder tree that a format category lists.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <vector>

#include "framework/KWFolderFormatScan.h"
#include "framework/KWFolderScanner.h"
#include "framework/KWRasterLib.h"
#include "framework/QMFormatInfo.h"
#include "tests/framework/KWTestFiles.h"

namespace {

// A format list of the application's kind: category, then extensions.
CQMFormatInfo* MakeFormats(const std::vector<std::pair<uint32_t, std::vector<const char*>>>& records)
{
    CQMFormatInfo* next = nullptr;
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        CQMExtensionInfo* extension = nullptr;
        for (auto text = record->second.rbegin(); text != record->second.rend(); ++text)
            extension = new CQMExtensionInfo(1, *text, 0, 1, 1, extension);
        next = new CQMFormatInfo(record->first, 1, 1, L"format", extension, next);
    }
    return next;
}

std::map<std::wstring, int> CountByPath(const std::vector<CString>& paths, const std::wstring& root)
{
    std::map<std::wstring, int> counts;
    for (const CString& path : paths) {
        std::wstring p(path.GetString());
        if (p.compare(0, root.size(), root) == 0)
            p = p.substr(root.size());
        ++counts[p];
    }
    return counts;
}

TEST(CountCategoryExtensionTest, ListedEntriesOfTheCategoryInAnyCase)
{
    // An entry with an empty text matches no path: a name without an
    // extension (or ending in a dot) is never a picture.
    CQMFormatInfo* formats = MakeFormats({{0x400, {"jpg", "JPG", ""}}, {0x800, {"png"}}, {0x400, {"png"}}});
    const struct {
        const wchar_t* path;
        uint32_t category;
        int count;
    } cases[] = {
        {L"c:\a\photo.jpg", 0x400, 2},   {L"PHOTO.JPG", 0x400, 2},     {L"c:\a\photo.png", 0x400, 1},
        {L"c:\a\photo.png", 0x800, 1},   {L"c:\a\photo.gif", 0x400, 0}, {L"c:\a\photo", 0x400, 0},
        {L"c:\a\photo.", 0x400, 0},      {L"c:\a.jpg\photo", 0x400, 0}, {L"", 0x400, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.count, CountCategoryExtension(c.path, c.category, formats)) << c.category;
    EXPECT_EQ(0, CountCategoryExtension(nullptr, 0x400, formats));
    EXPECT_EQ(0, CountCategoryExtension(L"photo.jpg", 0x400, nullptr));
    delete formats;
}

class ScanFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.Write(L"a.JPG");
        m_folder.Write(L"b.png");
        m_folder.Write(L"c.txt");
        m_folder.Write(L"noext");
        m_folder.Write(L"dot.");
        m_folder.Write(L"t.otn");
        m_folder.MakeFolder(L"x.jpg");  // a folder, whatever its name
        m_folder.MakeFolder(L"sub");
        m_folder.MakeFolder(L"sub\\deeper");
        m_folder.Write(L"sub\\d.jpg");
        m_folder.Write(L"sub\\deeper\\e.PNG");
        m_formats = MakeFormats({{0x400, {"jpg", "png"}}, {0x800, {"txt"}}, {0x400, {"jpg"}}, {0x4000, {"otn"}}});
    }
    void TearDown() override { delete m_formats; }

    CKWTestTempFolder m_folder;
    CQMFormatInfo* m_formats = nullptr;
};

TEST_F(ScanFolderTest, ImagesOncePerMatchingExtensionEntry)
{
    std::vector<CString> paths;
    ScanFolderForImages(m_folder.Path().c_str(), paths, false, m_formats);
    std::map<std::wstring, int> expected = {{L"a.JPG", 2}, {L"b.png", 1}};
    EXPECT_EQ(expected, CountByPath(paths, m_folder.Path()));

    paths.clear();
    // Without the trailing backslash, recursively.
    std::wstring bare = m_folder.Path();
    bare.pop_back();
    ScanFolderForImages(bare.c_str(), paths, true, m_formats);
    expected[L"sub\\d.jpg"] = 2;
    expected[L"sub\\deeper\\e.PNG"] = 1;
    EXPECT_EQ(expected, CountByPath(paths, m_folder.Path()));
}

TEST_F(ScanFolderTest, TemplatesByTheirCategory)
{
    std::vector<CString> paths;
    paths.push_back(L"kept");
    ScanFolderForTemplates(m_folder.Path().c_str(), paths, true, m_formats);
    ASSERT_EQ(2u, paths.size());
    EXPECT_STREQ(L"kept", paths[0]);
    EXPECT_STREQ((m_folder.Path() + L"t.otn").c_str(), paths[1]);

    paths.clear();
    ScanFolderForTemplates(L"", paths, true, m_formats);
    EXPECT_TRUE(paths.empty());
}

TEST_F(ScanFolderTest, LibraryFormatListFindsCapitalExtensions)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is not next to the test program";
    std::vector<CString> paths;
    ScanFolderForImages(m_folder.Path().c_str(), paths, false);
    const std::map<std::wstring, int> counts = CountByPath(paths, m_folder.Path());
    EXPECT_EQ(1, counts.count(L"a.JPG"));
    EXPECT_EQ(1, counts.count(L"b.png"));
    EXPECT_EQ(0, counts.count(L"c.txt"));
    EXPECT_EQ(0, counts.count(L"t.otn"));
}

TEST(ScanFolderDepthTest, DepthIsBounded)
{
    CKWTestTempFolder folder;
    std::wstring relative;
    const int levels = kMaxScanDepth + 4;
    for (int level = 0; level <= levels; ++level) {
        folder.Write((relative + L"f.jpg").c_str());
        relative += L"d\\";
        folder.MakeFolder(relative.c_str());
    }
    CQMFormatInfo* formats = MakeFormats({{0x400, {"jpg"}}});
    std::vector<CString> paths;
    ScanFolderForImages(folder.Path().c_str(), paths, true, formats);
    delete formats;
    // The root and kMaxScanDepth levels below it: a junction looping back ends too.
    EXPECT_EQ(static_cast<size_t>(kMaxScanDepth + 1), paths.size());
}

}  // namespace
