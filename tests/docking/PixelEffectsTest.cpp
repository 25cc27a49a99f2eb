// Pixel effects of the draw manager on 32-bit sections, colour conversions,
// and the light brush and highlight on the screen's colour depth (the
// palette paths run in a second run on a 256-colour display).
#include "CanvasTestSupport.h"

#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBarImages.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

TEST(DrawManagerTest, HighlightScalesEveryPixelButTheTransparentOnes) {
    ASSERT_GT(globalData.bitsPerPixel, 8);
    const CSysColorsScope colors({COLOR_BTNHIGHLIGHT}, {RGB(255, 255, 255)});
    const struct {
        int percentage;
        COLORREF expected;
    } cases[] = {
        {130, RGB(130, 255, 77)},  // black channels are lifted too
        {80, RGB(80, 160, 0)},
        {100, RGB(100, 200, 0)},
        {-1, RGB(177, 227, 127)},  // half-way to the highlight colour
    };
    for (const auto& c : cases) {
        CCanvas canvas(4, 3, RGB(100, 200, 0));
        canvas.DC().SetPixel(3, 2, RGB(1, 2, 3));
        EXPECT_TRUE(CQMXPDrawManager(canvas.DC()).HighlightRect(CRect(0, 0, 4, 3), c.percentage, RGB(1, 2, 3)));
        EXPECT_EQ(canvas.At(0, 0), c.expected) << c.percentage;
        EXPECT_EQ(canvas.At(2, 1), c.expected) << c.percentage;
        EXPECT_EQ(canvas.At(3, 2), RGB(1, 2, 3)) << c.percentage;
    }
}

TEST(DrawManagerTest, ShadowDarkensBandsAndFadesTheirEnds) {
    ASSERT_GT(globalData.bitsPerPixel, 8);
    CCanvas canvas(20, 14, RGB(200, 200, 200));
    const CRect rect(0, 0, 16, 10);
    EXPECT_TRUE(CQMXPDrawManager(canvas.DC()).PaintShadow(rect, 4, 100, 65));
    auto grey = [](int percent) { return RGB(200 * percent / 100, 200 * percent / 100, 200 * percent / 100); };
    // The rectangle's last row: untouched under the first depth columns, the
    // fading end, then the full band.
    const int lastRow[] = {100, 100, 100, 100, 97, 89, 81, 73, 65, 65, 65, 65, 65, 65, 65, 65};
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(canvas.At(x, 9), grey(lastRow[x])) << "column " << x;
    // The right band, column by column away from the rectangle.
    const int rightBand[] = {65, 73, 81, 89};
    for (int a = 0; a < 4; ++a)
        EXPECT_EQ(canvas.At(16 + a, 8), grey(rightBand[a])) << "band " << a;
    // The corner takes the lighter of the two bands; the last row stays.
    EXPECT_EQ(canvas.At(17, 11), grey(81));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(canvas.At(x, 13), grey(100)) << "column " << x;
    EXPECT_EQ(canvas.At(16, 2), grey(100));
}

TEST(DrawManagerTest, ColourConversions) {
    double h = -1, s = -1, l = -1;
    CQMXPDrawManager::RGBtoHSL(RGB(255, 0, 0), &h, &s, &l);
    EXPECT_DOUBLE_EQ(h, 0.0);
    EXPECT_DOUBLE_EQ(s, 1.0);
    EXPECT_DOUBLE_EQ(l, 0.5);
    CQMXPDrawManager::RGBtoHSL(RGB(0, 0, 255), &h, &s, &l);
    EXPECT_NEAR(h, 2.0 / 3.0, 1e-9);
    EXPECT_EQ(CQMXPDrawManager::HLStoRGB(0, 0.5, 1), RGB(255, 0, 0));
    EXPECT_EQ(CQMXPDrawManager::HLStoRGB(2.0 / 3.0, 0.5, 1), RGB(0, 0, 255));
    EXPECT_EQ(CQMXPDrawManager::HLStoRGB360(120.0f, 0.5f, 1.0f), RGB(0, 255, 0));
    EXPECT_EQ(CQMXPDrawManager::HLStoRGB(0.3, 0.25, 0), RGB(63, 63, 63));
    EXPECT_EQ(CQMXPDrawManager::PixelAlpha(RGB(10, 20, 30), RGB(90, 80, 70), 100), RGB(10, 20, 30));
    EXPECT_EQ(CQMXPDrawManager::PixelAlpha(RGB(10, 20, 30), RGB(90, 80, 70), 0), RGB(90, 80, 70));
    EXPECT_EQ(CQMXPDrawManager::PixelAlpha(RGB(200, 100, 0), 150), RGB(255, 150, 0));

    // A gradient over 32 pixels: every other band is under a pixel wide and skipped.
    CCanvas canvas(32, 1);
    CQMXPDrawManager(canvas.DC()).FillGradient(CRect(0, 0, 32, 1), RGB(0, 0, 0), RGB(0, 0, 128), FALSE);
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 2));
    EXPECT_EQ(canvas.At(31, 0), RGB(0, 0, 126));
}

// Run twice: on the test display (true colour) and on a 256-colour display
// (OT_SCREEN_DEPTH=8), where the library fills instead of computing pixels.
TEST(ScreenDepthTest, LightBrushHighlightAndShadowFollowTheDepth) {
    const char* pszDepth = std::getenv("OT_SCREEN_DEPTH");
    if (pszDepth != nullptr) {
        ASSERT_EQ(globalData.bitsPerPixel, std::atoi(pszDepth));
    }
    const CSysColorsScope colors({COLOR_BTNFACE, COLOR_BTNHIGHLIGHT}, {RGB(192, 192, 192), RGB(255, 255, 255)});
    const bool bPalette = globalData.bitsPerPixel <= 8;

    CCanvas brush(8, 8);
    CRect rect(0, 0, 8, 8);
    brush.DC().FillRect(&rect, &globalData.brLight);
    CCanvas highlight(8, 8, RGB(100, 200, 0));
    EXPECT_TRUE(CQMXPDrawManager(highlight.DC()).HighlightRect(rect, 130));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (bPalette) {
                // A checkerboard of face and highlight.
                const COLORREF clr = brush.At(x, y);
                EXPECT_TRUE(clr == RGB(192, 192, 192) || clr == RGB(255, 255, 255));
                EXPECT_NE(clr, brush.At((x + 1) % 8, y));
                EXPECT_EQ(highlight.At(x, y), clr);
            } else {
                EXPECT_EQ(brush.At(x, y), RGB(223, 223, 223));
                EXPECT_EQ(highlight.At(x, y), RGB(130, 255, 77));
            }
        }
    }

    // Strips keep a faded copy and draw shadows only above 8 bits per pixel.
    CQMXPToolBarImages images;
    images.SetImageSize(CSize(9, 9));
    ASSERT_TRUE(images.Load(16129));
    EXPECT_EQ(images.GetFadedImageWell() != nullptr, !bPalette);
    CCanvas shadow(9, 9);
    CQMXPDrawState ds;
    ASSERT_TRUE(images.BeginDraw(ds));
    EXPECT_TRUE(images.DrawImage(&shadow.DC(), 0, 0, CQMXPMenuGlyphs::IdClose, FALSE, FALSE, FALSE, TRUE));
    images.FinishDraw(ds);
    EXPECT_EQ(shadow.Count(RGB(255, 255, 255)) == 81, bPalette);
}

}  // namespace
