#include <gtest/gtest.h>

#include <windows.h>

#include "export/ExportImageFiles.h"
#include "framework/KWSystemInfo.h"
#include "tests/export/ExportTestSupport.h"

namespace {

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

}  // namespace
