#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/Wnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A memory context over a 32-bit top-down bitmap whose pixels the test reads.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
        m_pBits = static_cast<DWORD*>(pBits);
        dc.CreateCompatibleDC(nullptr);
        m_pOldBitmap = dc.SelectObject(&m_bitmap);
        dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(m_pOldBitmap); }

    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        DWORD v = m_pBits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    std::vector<DWORD> Snapshot() const {
        ::GdiFlush();
        return std::vector<DWORD>(m_pBits, m_pBits + m_width * m_height);
    }

    CDC dc;

private:
    int m_width, m_height;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    DWORD* m_pBits = nullptr;
};

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kBlue = RGB(0, 0, 200);

}  // namespace

TEST(CDC, Draw3dRectPaintsTopLeftAndBottomRightEdges) {
    Canvas canvas(20, 20);
    canvas.dc.Draw3dRect(2, 3, 10, 8, kRed, kBlue);  // x 2..11, y 3..10
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {
        {2, 3, kRed},    {10, 3, kRed},    {11, 3, kBlue},  // top edge; the top-right corner is bottom-right's
        {2, 9, kRed},    {2, 10, kBlue},                    // left edge; the bottom-left corner too
        {11, 10, kBlue}, {11, 5, kBlue},   {6, 10, kBlue},  // right and bottom edges
        {6, 6, kWhite},  {3, 4, kWhite},   {10, 9, kWhite}, // inside
        {1, 3, kWhite},  {12, 3, kWhite},  {2, 11, kWhite}, {2, 2, kWhite},  // outside
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.expected, canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;

    CRect rect(0, 0, 4, 4);
    canvas.dc.Draw3dRect(&rect, kBlue, kBlue);
    EXPECT_EQ(kBlue, canvas.Pixel(0, 0));
    EXPECT_EQ(kBlue, canvas.Pixel(3, 3));
    EXPECT_EQ(kWhite, canvas.Pixel(1, 1));
}

TEST(CDC, FillSolidRectKeepsTheBackgroundColour) {
    Canvas canvas(10, 10);
    canvas.dc.SetBkColor(RGB(1, 2, 3));
    canvas.dc.FillSolidRect(1, 1, 3, 3, kRed);
    EXPECT_EQ(RGB(1, 2, 3), canvas.dc.GetBkColor());
    EXPECT_EQ(kRed, canvas.Pixel(1, 1));
    EXPECT_EQ(kRed, canvas.Pixel(3, 3));
    EXPECT_EQ(kWhite, canvas.Pixel(4, 4));
    canvas.dc.FillSolidRect(8, 8, -2, -2, kBlue);  // negative extents go left and up
    EXPECT_EQ(kBlue, canvas.Pixel(6, 6));
    EXPECT_EQ(kBlue, canvas.Pixel(7, 7));
    EXPECT_EQ(kWhite, canvas.Pixel(8, 8));
}

TEST(CDC, DrawDragRectInvertsOnlyTheFramesAndErasesCleanly) {
    Canvas canvas(60, 60);
    const std::vector<DWORD> blank = canvas.Snapshot();
    CSize thick(3, 3);
    CRect first(5, 5, 35, 30);
    canvas.dc.DrawDragRect(&first, thick, nullptr, thick);
    std::vector<DWORD> shown = canvas.Snapshot();
    int changedInFrame = 0;
    for (int x = first.left; x < first.right; ++x)
        changedInFrame += canvas.Pixel(x, first.top) != kWhite;
    EXPECT_GT(changedInFrame, 0) << "the outline is drawn";
    EXPECT_EQ(kWhite, canvas.Pixel(20, 17)) << "the inside stays";
    EXPECT_EQ(kWhite, canvas.Pixel(40, 40)) << "outside stays";

    // Moving: only the difference of the frames changes, the old frame goes.
    CRect second(first);
    second.OffsetRect(10, 8);
    canvas.dc.DrawDragRect(&second, thick, &first, thick);
    CSize none(0, 0);
    CRect expectOnlySecond(second);
    Canvas reference(60, 60);
    reference.dc.DrawDragRect(&expectOnlySecond, thick, nullptr, thick);
    EXPECT_EQ(reference.Snapshot(), canvas.Snapshot());

    // Taking it away leaves the picture as it was.
    CRect empty(0, 0, 0, 0);
    canvas.dc.DrawDragRect(&empty, none, &second, thick);
    EXPECT_EQ(blank, canvas.Snapshot());
}

TEST(CGdiObject, SelectionReturnsThePreviousWrapperAndObjectsDieWithTheirWrapper) {
    Canvas canvas(4, 4);
    CPen red(PS_SOLID, 1, kRed);
    CPen blue;
    ASSERT_TRUE(blue.CreatePen(PS_SOLID, 2, kBlue));
    CPen* pOld = canvas.dc.SelectObject(&red);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(::GetStockObject(BLACK_PEN), pOld->m_hObject);
    EXPECT_EQ(&red, canvas.dc.SelectObject(&blue)) << "a permanent wrapper comes back as itself";
    EXPECT_EQ(&blue, canvas.dc.GetCurrentPen());
    canvas.dc.SelectObject(pOld);
    LOGPEN lp = {};
    ASSERT_GT(blue.GetLogPen(&lp), 0);
    EXPECT_EQ(kBlue, lp.lopnColor);

    HGDIOBJ hBrush = nullptr;
    {
        CBrush brush(kRed);
        hBrush = brush.m_hObject;
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(hBrush));
        EXPECT_EQ(&brush, CGdiObject::FromHandle(hBrush));
    }
    EXPECT_EQ(0u, ::GetObjectType(hBrush)) << "deleted with its wrapper";
    {
        CBrush brush(kBlue);
        hBrush = brush.Detach();
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(hBrush)) << "a detached handle stays";

    // Temporary wrappers last until the thread's clean-up.
    CGdiObject* pTemp = CGdiObject::FromHandle(hBrush);
    EXPECT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CBrush::FromHandle(static_cast<HBRUSH>(hBrush)));
    EXPECT_GE(afxMapHGDIOBJ()->GetTemporaryCount(), 1u);
    AfxDeleteTempMaps();
    EXPECT_EQ(0u, afxMapHGDIOBJ()->GetTemporaryCount());
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(hBrush)) << "a temporary wrapper does not own";
    ::DeleteObject(hBrush);
}

TEST(CRgn, CombinationAndQueries) {
    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 15));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_TRUE(box == CRect(0, 0, 20, 15));
    EXPECT_TRUE(both.PtInRegion(2, 2));
    EXPECT_TRUE(both.PtInRegion(CPoint(19, 14)));
    EXPECT_FALSE(both.PtInRegion(15, 2));
    EXPECT_EQ(SIMPLEREGION, both.CombineRgn(&a, &b, RGN_AND));
    both.GetRgnBox(&box);
    EXPECT_TRUE(box == CRect(5, 5, 10, 10));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    copy.CopyRgn(&both);
    EXPECT_TRUE(copy.EqualRgn(&both));
    copy.OffsetRgn(1, 1);
    EXPECT_FALSE(copy.EqualRgn(&both));
    copy.SetRectRgn(CRect(5, 5, 10, 10));
    EXPECT_TRUE(copy.EqualRgn(&both));
}

TEST(CPalette, EntriesRoundTrip) {
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[3];
    } pal = {};
    pal.head.palVersion = 0x300;
    pal.head.palNumEntries = 4;
    PALETTEENTRY* entries = pal.head.palPalEntry;
    for (int i = 0; i < 4; ++i)
        entries[i] = {static_cast<BYTE>(i * 10), static_cast<BYTE>(i * 20), static_cast<BYTE>(i * 30), 0};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&pal.head));
    EXPECT_EQ(4, palette.GetEntryCount());
    PALETTEENTRY read[4] = {};
    EXPECT_EQ(4u, palette.GetPaletteEntries(0, 4, read));
    EXPECT_EQ(40, read[2].peGreen);
    EXPECT_EQ(3u, palette.GetNearestPaletteIndex(RGB(30, 60, 90)));
}

TEST(CClientDC, ContextIsHeldForTheObjectsLifetime) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"dc", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HDC hDC = nullptr;
    {
        CClientDC dc(&wnd);
        hDC = dc.m_hDC;
        ASSERT_NE(nullptr, hDC);
        EXPECT_EQ(&dc, CDC::FromHandle(hDC));
        EXPECT_EQ(dc.m_hDC, dc.m_hAttribDC);
        EXPECT_EQ(&wnd, dc.GetWindow());
    }
    EXPECT_EQ(nullptr, afxMapHDC()->LookupPermanent(hDC));
    {
        CWindowDC dc(&wnd);
        EXPECT_NE(nullptr, dc.m_hDC);
        int saved = dc.SaveDC();
        dc.SetMapMode(MM_LOMETRIC);
        EXPECT_EQ(MM_LOMETRIC, dc.GetMapMode());
        dc.RestoreDC(saved);
        EXPECT_EQ(MM_TEXT, dc.GetMapMode());
    }
    wnd.DestroyWindow();
}
