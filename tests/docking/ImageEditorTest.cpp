// The button image editor driven by the mouse on its pixel grid: a one-pixel
// rectangle, a full diagonal, picking a colour, Paste of a larger bitmap and
// Paste disabled without one; written to build\screenshots\image_editor.png.
#include "CanvasTestSupport.h"
#include "DialogScriptSupport.h"
#include "DockingTestSupport.h"

#include "docking/frames/QMXPImageEditDlg.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/Exception.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A bitmap of the size in one colour.
void MakeBitmap(CBitmap& bitmap, int cx, int cy, COLORREF color) {
    HDC hdcScreen = ::GetDC(nullptr);
    bitmap.Attach(::CreateCompatibleBitmap(hdcScreen, cx, cy));
    ::ReleaseDC(nullptr, hdcScreen);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, cx, cy, color);
    dc.SelectObject(pOld);
}

// The pixels of the bitmap, row by row.
std::vector<COLORREF> Pixels(CBitmap& bitmap, int cx, int cy) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pixels.push_back(dc.GetPixel(x, y));
    dc.SelectObject(pOld);
    return pixels;
}

class ImageEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(300, 200);
        ASSERT_NE(m_pFrame, nullptr);
        MakeBitmap(m_bitmap, 16, 15, kWhite);
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    // A press and release (with a move between) from one pixel to another.
    void Drag(CImagePaintArea& area, CPoint from, CPoint to) {
        const CSize cell = area.GetCellSize();
        auto at = [&](CPoint pt) { return MAKELPARAM(1 + pt.x * cell.cx + cell.cx / 2, 1 + pt.y * cell.cy + cell.cy / 2); };
        area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(from));
        area.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at(to));
        area.SendMessage(WM_LBUTTONUP, 0, at(to));
    }
    // Sets every pixel back to white.
    void Whiten() {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* pOld = dc.SelectObject(&m_bitmap);
        dc.FillSolidRect(0, 0, 16, 15, kWhite);
        dc.SelectObject(pOld);
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CBitmap m_bitmap;
    CDialogScript m_script;
};

TEST_F(ImageEditorTest, AnAreaSmallerThanTheImageStillHasCellsOfOnePixel) {
    CImagePaintArea area(nullptr);
    ASSERT_TRUE(area.Create(L"", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 8), m_pFrame, 1000));
    area.SetBitmap(&m_bitmap);
    EXPECT_EQ(area.GetCellSize(), CSize(1, 1));
    EXPECT_EQ(area.ScreenToBitmap(CPoint(40, 40)), CPoint(15, 14));
}

TEST_F(ImageEditorTest, ShapesPixelsPickingAndPaste) {
    CQMXPImageEditDlg dlg(&m_bitmap, m_pFrame);
    CImagePaintArea& area = dlg.m_wndLargeDrawAreaCtrl;
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
    std::vector<COLORREF> afterRect, afterLine;
    const INT_PTR nResult = m_script.Run(
        dlg, {[&] {
                  EXPECT_GT(area.GetCellSize().cx, 1);
                  EXPECT_TRUE(dlg.m_wndToolbar.GetButtonStyle(7) & TBBS_DISABLED);
                  area.SetColor(kRed);
                  dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_RECT);
                  Drag(area, CPoint(4, 6), CPoint(4, 6));
                  afterRect = Pixels(m_bitmap, 16, 15);
                  Whiten();
                  dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_LINE);
                  Drag(area, CPoint(0, 0), CPoint(15, 14));
                  afterLine = Pixels(m_bitmap, 16, 15);
              },
              [&] {
                  CRect rect;
                  dlg.GetWindowRect(&rect);
                  EXPECT_TRUE(SaveScreen(rect, L"image_editor"));
                  dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_PICK);
                  EXPECT_EQ(area.GetMode(), CImagePaintArea::IMAGE_EDIT_MODE_COLOR);
                  area.SetColor(RGB(0, 0, 255));
                  Drag(area, CPoint(15, 14), CPoint(15, 14));
                  EXPECT_EQ(area.GetColor(), kRed);
                  EXPECT_EQ(area.GetMode(), CImagePaintArea::IMAGE_EDIT_MODE_PEN);
                  EXPECT_EQ(dlg.m_wndPaletteBar.GetColor(), kRed);
                  // A 32 x 32 bitmap whose top-left 16 x 15 is blue.
                  CBitmap big;
                  MakeBitmap(big, 32, 32, RGB(0, 128, 0));
                  CDC dc;
                  dc.CreateCompatibleDC(nullptr);
                  CBitmap* pOld = dc.SelectObject(&big);
                  dc.FillSolidRect(0, 0, 16, 15, RGB(0, 0, 255));
                  dc.SelectObject(pOld);
                  ASSERT_TRUE(::OpenClipboard(nullptr));
                  ::EmptyClipboard();
                  ::SetClipboardData(CF_BITMAP, big.Detach());
                  ::CloseClipboard();
                  dlg.UpdateTools();
                  EXPECT_FALSE(dlg.m_wndToolbar.GetButtonStyle(7) & TBBS_DISABLED);
                  dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_PASTE);
              },
              [&] { dlg.EndDialog(IDOK); }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(nResult, IDOK);

    ASSERT_EQ(afterRect.size(), 16u * 15u);
    for (int i = 0; i < 16 * 15; ++i) {
        EXPECT_EQ(afterRect[i], i == 6 * 16 + 4 ? kRed : kWhite) << i;
        const int x = i % 16;
        const int y = i / 16;
        // The diagonal from (0, 0) to (15, 14) holds both ends and one pixel per column.
        if (x == 0 && y == 0)
            EXPECT_EQ(afterLine[i], kRed);
        if (x == 15 && y == 14)
            EXPECT_EQ(afterLine[i], kRed);
    }
    for (int x = 0; x < 16; ++x) {
        int nSet = 0;
        for (int y = 0; y < 15; ++y)
            nSet += afterLine[y * 16 + x] == kRed ? 1 : 0;
        EXPECT_EQ(nSet, 1) << x;
    }
    for (COLORREF pixel : Pixels(m_bitmap, 16, 15))
        ASSERT_EQ(pixel, RGB(0, 0, 255));
}

// An editor whose Copy fails with an exception, as a failed allocation would.
class CThrowingCopyEditor : public CQMXPImageEditDlg {
public:
    using CQMXPImageEditDlg::CQMXPImageEditDlg;

protected:
    void OnCopy() override { AfxThrowMemoryException(); }
};

// An exception during Copy ends in the library's internal-error message
// (and no other); the editor stays open and Clear still runs.
TEST_F(ImageEditorTest, AnExceptionDuringCopyShowsTheInternalErrorAndTheEditorGoesOn) {
    CThrowingCopyEditor dlg(&m_bitmap, m_pFrame);
    Log().clear();
    bool bOpenAfterCopy = false;
    const INT_PTR nResult = m_script.Run(dlg, {[&] {
                                                   dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_COPY);
                                                   bOpenAfterCopy = ::IsWindow(dlg.m_hWnd) != FALSE;
                                                   dlg.SendMessage(WM_COMMAND, ID_QMXP_IMAGE_CLEAR);
                                               },
                                               [&] { dlg.EndDialog(IDOK); }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(nResult, IDOK);
    EXPECT_TRUE(bOpenAfterCopy);
    EXPECT_EQ(Log(), std::vector<std::wstring>{
                         L"msgbox:QMX Toolbar internal error. Please contact your application vendor."});
}

}  // namespace
