// Image strips: counting, the system colours of stored greys, user strips
// saved and loaded back, and the menu glyphs in their colour sets.
#include "CanvasTestSupport.h"
#include "DockingTestResources.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBarImages.h"

#include <gtest/gtest.h>

#include <string>

using namespace docking_test;

namespace {

// Draws one image of the strip at (0, 0) of a white canvas.
void DrawOne(CQMXPToolBarImages& images, CCanvas& canvas, int iImage, BOOL* pbResult = nullptr) {
    CQMXPDrawState ds;
    ASSERT_TRUE(images.BeginDraw(ds));
    const BOOL bResult = images.DrawImage(&canvas.DC(), 0, 0, iImage);
    images.FinishDraw(ds);
    if (pbResult != nullptr)
        *pbResult = bResult;
}

// The file was written since the given time.
bool WrittenSince(const std::wstring& path, const FILETIME& ftSince) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return ::CompareFileTime(&data.ftLastWriteTime, &ftSince) != 0;
}

TEST(ImageStripsTest, ResourceStripCountsImagesAndMapsTheButtonGreys) {
    CQMXPToolBarImages images;
    ASSERT_TRUE(images.Load(IDB_DOCKTEST_STRIP24));
    EXPECT_EQ(images.GetBitsPerPixel(), 24);
    EXPECT_EQ(images.GetCount(), 10);
    CCanvas canvas(16, 15);
    BOOL bDrawn = FALSE;
    DrawOne(images, canvas, 10, &bDrawn);
    EXPECT_FALSE(bDrawn);
    EXPECT_EQ(canvas.Count(RGB(255, 255, 255)), 16 * 15);
    DrawOne(images, canvas, 9, &bDrawn);
    EXPECT_TRUE(bDrawn);
    const int sysColors[] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(canvas.At(4 * i + 1, 5), ::GetSysColor(sysColors[i])) << "grey " << i;
    EXPECT_EQ(canvas.At(3, 12), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 14), RGB(0x20, 0x60, 0x20));

    // Added twice, a resource's images are there once.
    CQMXPToolBarImages shared;
    ASSERT_TRUE(shared.Load(IDB_DOCKTEST_STRIP24, nullptr, TRUE));
    ASSERT_TRUE(shared.Load(16129, nullptr, TRUE));
    ASSERT_TRUE(shared.Load(IDB_DOCKTEST_STRIP24, nullptr, TRUE));
    EXPECT_EQ(shared.GetResourceOffset(IDB_DOCKTEST_STRIP24), 0);
    EXPECT_EQ(shared.GetResourceOffset(16129), 10);
    EXPECT_EQ(shared.GetCount(), 10 + 225 / 16);
}

TEST(ImageStripsTest, UserStripSavesOnlyWhenChanged) {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring path = std::wstring(szTemp) + L"QMXUserImages.bmp";
    ASSERT_TRUE(::CopyFileW(L"Z:" OT_TEST_DATA_DIR L"/docking/strip24.bmp", path.c_str(), FALSE));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const FILETIME ftOld = {0x10000000, 0x01C00000};
    HANDLE hFile = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    ::SetFileTime(hFile, nullptr, nullptr, &ftOld);
    ::CloseHandle(hFile);

    CQMXPToolBarImages images;
    ASSERT_TRUE(images.Load(path.c_str()));
    EXPECT_TRUE(images.IsUserImagesList());
    EXPECT_EQ(images.GetCount(), 10);
    EXPECT_TRUE(images.SaveToFile());
    EXPECT_FALSE(WrittenSince(path, ftOld));

    // A new image makes the strip modified; saved and loaded back it is there.
    CCanvas added(16, 15, RGB(10, 20, 30));
    HBITMAP hbmp = ::CreateCompatibleBitmap(added.DC().m_hDC, 16, 15);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hbmp);
    ::BitBlt(hDC, 0, 0, 16, 15, added.DC().m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    EXPECT_EQ(images.AddImage(hbmp), 10);
    ::DeleteObject(hbmp);
    EXPECT_TRUE(images.IsModified());
    EXPECT_TRUE(images.SaveToFile());
    EXPECT_FALSE(images.IsModified());
    EXPECT_TRUE(WrittenSince(path, ftOld));

    CQMXPToolBarImages reloaded;
    ASSERT_TRUE(reloaded.Load(path.c_str()));
    EXPECT_EQ(reloaded.GetCount(), 11);
    CCanvas canvas(16, 15);
    DrawOne(reloaded, canvas, 10);
    EXPECT_EQ(canvas.At(8, 7), RGB(10, 20, 30));
    DrawOne(reloaded, canvas, 0);
    EXPECT_EQ(canvas.At(9, 5), ::GetSysColor(COLOR_BTNFACE));

    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    CQMXPToolBarImages readOnly;
    ASSERT_TRUE(readOnly.Load(path.c_str()));
    EXPECT_TRUE(readOnly.IsReadOnly());
    EXPECT_FALSE(readOnly.SaveToFile());
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

TEST(MenuGlyphsTest, GlyphsDrawInTheirColourSets) {
    CQMXPMenuGlyphs::CleanUp();
    EXPECT_EQ(CQMXPMenuGlyphs::GetSize(), CSize(9, 9));
    const struct {
        int nStyle;
        COLORREF clrGlyph;
    } cases[] = {
        {CQMXPMenuGlyphs::ImageBlack, ::GetSysColor(COLOR_BTNTEXT)},
        {CQMXPMenuGlyphs::ImageGray, ::GetSysColor(COLOR_BTNSHADOW)},
        {CQMXPMenuGlyphs::ImageLtGray, ::GetSysColor(COLOR_BTNFACE)},
        {CQMXPMenuGlyphs::ImageWhite, ::GetSysColor(COLOR_BTNHIGHLIGHT)},
    };
    for (const auto& c : cases) {
        CCanvas canvas(9, 9, RGB(0, 128, 255));
        CQMXPMenuGlyphs::CleanUp();  // drawing loads the strip again
        EXPECT_TRUE(CQMXPMenuGlyphs::Draw(&canvas.DC(), CQMXPMenuGlyphs::IdClose, CPoint(0, 0), c.nStyle));
        // The close glyph: two diagonals on the background, nothing magenta.
        EXPECT_EQ(canvas.At(1, 1), c.clrGlyph) << c.nStyle;
        EXPECT_EQ(canvas.At(4, 4), c.clrGlyph) << c.nStyle;
        EXPECT_EQ(canvas.At(4, 1), RGB(0, 128, 255)) << c.nStyle;
        EXPECT_EQ(canvas.Count(RGB(255, 0, 255)), 0) << c.nStyle;
        EXPECT_EQ(canvas.Count(c.clrGlyph), 22) << c.nStyle;
    }
}

}  // namespace
