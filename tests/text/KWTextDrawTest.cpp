#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cmath>

#include "framework/KWGdipBitmap.h"
#include "framework/KWBrush.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "tests/text/LayoutTestSupport.h"
#include "text/KWTextObject.h"

namespace {

struct Ink {
    int count = 0;
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    int redder = 0;  // dark pixels whose red clearly exceeds their green
};

class KWTextDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override
    {
        ASSERT_TRUE(m_bitmap.Create(400, 120));
        CKWGdiPlusDraw g(m_bitmap);
        g.BeginPath();
        g.AddRectangle(0, 0, 400, 120);
        g.FillPath(CKWBrush(CKWColor::FromRgb(255, 255, 255)));
    }

    // Pixels noticeably darker than white.
    Ink Scan()
    {
        Ink ink;
        for (int y = 0; y < m_bitmap.GetHeight(); ++y) {
            for (int x = 0; x < m_bitmap.GetWidth(); ++x) {
                Gdiplus::ARGB argb = 0;
                Gdiplus::DllExports::GdipBitmapGetPixel(m_bitmap.Get(), x, y, &argb);
                const int r = (argb >> 16) & 0xFF, gr = (argb >> 8) & 0xFF, b = argb & 0xFF;
                if (r + gr + b > 600)
                    continue;
                ++ink.count;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                if (r > gr + 60)
                    ++ink.redder;
            }
        }
        return ink;
    }

    CKWGdipBitmap m_bitmap;
};

TEST_F(KWTextDrawTest, TextLandsInItsLineBox)
{
    CKWTextObject text;
    Make(text, L"Hello, world", CKWDoubleRect(50, 40, 2000, 500));
    int dpi = 0;
    {
        CKWGdiPlusDraw g(m_bitmap);
        dpi = g.GetDpi();
        text.Draw(g, CKWDoubleRect(0, 0, 1e5, 1e5));
    }
    const double scale = dpi / 254.0;
    const CKWLineRecord& line = text.GetLine(0);
    const Ink ink = Scan();
    ASSERT_GT(ink.count, 20);
    EXPECT_GE(ink.left, std::floor(50 * scale) - 1);
    EXPECT_LE(ink.right, std::ceil((50 + line.width) * scale) + 1);
    EXPECT_GE(ink.top, std::floor(40 * scale) - 1);
    EXPECT_LE(ink.bottom, std::ceil((40 + line.height) * scale) + 1);
    EXPECT_EQ(0, ink.redder);
}

TEST_F(KWTextDrawTest, RunColourAndClip)
{
    CKWTextObject text;
    Make(text, L"Red text\nsecond line", CKWDoubleRect(0, 0, 2000, 500));
    text.GetRunPtr(0)->m_color = CKWColor::FromRgb(255, 0, 0);
    text.UpdateLayout();
    const double lineBottom = text.GetLine(0).height;
    {
        CKWGdiPlusDraw g(m_bitmap);
        // A clip below both lines draws nothing.
        text.Draw(g, CKWDoubleRect(0, 3 * lineBottom, 2000, 4 * lineBottom));
    }
    EXPECT_EQ(0, Scan().count);
    {
        CKWGdiPlusDraw g(m_bitmap);
        text.Draw(g, CKWDoubleRect(0, 0, 2000, lineBottom / 2));  // meets the first line only
        const Ink ink = Scan();
        EXPECT_GT(ink.redder, 10);
        EXPECT_LE(ink.bottom, std::ceil(lineBottom * g.GetDpi() / 254.0) + 1);
    }
}

}  // namespace
