#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "export/ExportImageFiles.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "framework/QMFormatInfo.h"
#include "tests/export/ExportTestSupport.h"

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

TEST(GetFileExtensionTest, TextAfterTheLastDotOfTheName)
{
    struct Case {
        const wchar_t* path;
        bool found;
        const wchar_t* extension;
    } cases[] = {
        {L"c:\\images\\photo.jpg", true, L"jpg"},
        {L"archive.tar.gz", true, L"gz"},
        {L"c:\\images\\photo.", false, L""},
        {L"c:\\images\\photo", false, L""},
        {L"c:\\my.images\\photo", false, L""},  // the dot of a folder is no extension
        {L".hidden", true, L"hidden"},
        {L"", false, L""},
        {L"A.JPEG", true, L"JPEG"},
    };
    for (const Case& c : cases) {
        CString extension(L"stale");
        EXPECT_EQ(c.found, GetFileExtension(c.path, extension)) << Narrow(c.path);
        EXPECT_STREQ(c.extension, extension) << Narrow(c.path);
    }
}

CString g_openImageFolder;
CString g_templatesFolder;
void PreferenceFolders(CString& openImage, CString& templates)
{
    openImage = g_openImageFolder;
    templates = g_templatesFolder;
}

TEST(ResolveFilePathTest, CandidatesInOrder)
{
    CString out(L"untouched");
    EXPECT_FALSE(ResolveFilePath(L"", out));
    EXPECT_FALSE(ResolveFilePath(nullptr, out));
    EXPECT_STREQ(L"untouched", out);

    CExportTestFolder folder;
    const std::wstring absolute = folder.Touch(L"absolute.bmp");
    ASSERT_TRUE(ResolveFilePath(absolute.c_str(), out));
    EXPECT_STREQ(absolute.c_str(), out);

    // Beside the program (the current folder, which the name as given is
    // tried in first, is moved away from the program's own).
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    const CString besideProgram = GetModuleDirectory() + L"ot_export_resolve_test.bmp";
    HANDLE file = ::CreateFileW(besideProgram, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ::CloseHandle(file);
    EXPECT_TRUE(ResolveFilePath(L"ot_export_resolve_test.bmp", out));
    EXPECT_STREQ(besideProgram, out);
    ::DeleteFileW(besideProgram);
    ::SetCurrentDirectoryW(previous);

    // In the folder of the "Open Image" dialog, then in the preferences'
    // templates folder.
    folder.Touch(L"opened.bmp");
    CExportTestFolder templates;
    templates.Touch(L"chosen.otn");
    EXPECT_FALSE(ResolveFilePath(L"opened.bmp", out));
    EXPECT_FALSE(ResolveFilePath(L"chosen.otn", out));
    g_openImageFolder = folder.Path().c_str();
    g_templatesFolder = templates.Path().c_str();
    SetOpenImageFolderSource(PreferenceFolders);
    EXPECT_TRUE(ResolveFilePath(L"opened.bmp", out));
    EXPECT_STREQ((folder.Path() + L"opened.bmp").c_str(), out);
    EXPECT_TRUE(ResolveFilePath(L"chosen.otn", out));
    EXPECT_STREQ((templates.Path() + L"chosen.otn").c_str(), out);
    SetOpenImageFolderSource(nullptr);

    out = L"kept";
    EXPECT_FALSE(ResolveFilePath(L"no such file.bmp", out));
    EXPECT_STREQ(L"kept", out);
}

class ScanFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.Touch(L"a.JPG");
        m_folder.Touch(L"b.png");
        m_folder.Touch(L"c.txt");
        m_folder.Touch(L"noext");
        m_folder.Touch(L"dot.");
        m_folder.Touch(L"t.otn");
        m_folder.MakeFolder(L"x.jpg");  // a folder, whatever its name
        m_folder.MakeFolder(L"sub\\deeper");
        m_folder.Touch(L"sub\\d.jpg");
        m_folder.Touch(L"sub\\deeper\\e.PNG");
        m_formats = MakeFormats({{0x400, {"jpg", "png"}}, {0x800, {"txt"}}, {0x400, {"jpg"}}, {0x4000, {"otn"}}});
    }
    void TearDown() override { delete m_formats; }

    CExportTestFolder m_folder;
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
    CExportTestFolder folder;
    std::wstring relative;
    const int levels = kMaxScanDepth + 4;
    for (int level = 0; level <= levels; ++level) {
        folder.Touch(relative + L"f.jpg");
        relative += L"d\\";
        folder.MakeFolder(relative);
    }
    CQMFormatInfo* formats = MakeFormats({{0x400, {"jpg"}}});
    std::vector<CString> paths;
    ScanFolderForImages(folder.Path().c_str(), paths, true, formats);
    delete formats;
    // The root and kMaxScanDepth levels below it: a junction looping back ends too.
    EXPECT_EQ(static_cast<size_t>(kMaxScanDepth + 1), paths.size());
}

}  // namespace
