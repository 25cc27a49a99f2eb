#include "framework/KWGdiPlusDraw.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/KWPen.h"
#include "tests/framework/GdiPlusCanvas.h"

namespace {

const double kPi = 3.14159265358979323846;

struct PixelCase {
    int x;
    int y;
    bool filled;
};

void ExpectPixels(const GdiPlusCanvas& canvas, uint32_t color,
                  std::initializer_list<PixelCase> cases)
{
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "pixel " << c.x << ", " << c.y);
        if (c.filled)
            EXPECT_EQ(color, canvas.Pixel(c.x, c.y));
        else
            EXPECT_NE(color, canvas.Pixel(c.x, c.y));
    }
}

uint8_t Red(uint32_t argb) { return (argb >> 16) & 0xFF; }
uint8_t Blue(uint32_t argb) { return argb & 0xFF; }

TEST(KWGdiPlusDraw, FillsARectangle)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    CKWGdiPlusDraw fresh(canvas.Bitmap());
    IKWGraphics& g = fresh;
    EXPECT_FALSE(g.IsPathBegun());
    EXPECT_EQ(0, g.SetSmoothing(false));
    EXPECT_EQ(0, g.BeginPath());
    EXPECT_TRUE(g.IsPathBegun());
    EXPECT_EQ(0, g.AddRectangle(10, 20, 30, 40));
    EXPECT_EQ(0, g.ClosePathFigure());
    EXPECT_EQ(0, g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed)));
    ExpectPixels(canvas, GdiPlusCanvas::kRed,
                 {{10, 20, true}, {39, 59, true}, {25, 40, true},
                  {9, 30, false}, {40, 30, false}, {25, 19, false}, {25, 60, false}});
}

TEST(KWGdiPlusDraw, RectanglesFromCornersAreNormalised)
{
    // (10, 20) to (0, 0) is the rectangle at 0, 0 of 10 by 20, given either
    // as a rectangle or as two points.
    for (int asPoints = 0; asPoints < 2; ++asPoints) {
        SCOPED_TRACE(asPoints ? "points" : "rectangle");
        GdiPlusCanvas canvas;
        ASSERT_TRUE(canvas.IsReady());
        IKWGraphics& g = canvas.Draw();
        g.BeginPath();
        if (asPoints)
            EXPECT_EQ(0, g.AddRectangle(CKWDoublePoint{10, 20}, CKWDoublePoint{0, 0}));
        else
            EXPECT_EQ(0, g.AddRectangle(CKWDoubleRect(10, 20, 0, 0)));
        g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kBlue));
        ExpectPixels(canvas, GdiPlusCanvas::kBlue,
                     {{0, 0, true}, {9, 19, true}, {10, 5, false}, {5, 20, false}});
    }
}

TEST(KWGdiPlusDraw, ArcAnglesAreRadians)
{
    // From pi/2 (straight down) sweeping pi clockwise: the left half of the
    // circle, closed along the vertical diameter.
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.BeginPath();
    EXPECT_EQ(0, g.AddArc(CKWDoubleRect(0, 0, 100, 100), kPi / 2, kPi));
    g.ClosePathFigure();
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed));
    ExpectPixels(canvas, GdiPlusCanvas::kRed,
                 {{10, 50, true}, {45, 20, true}, {45, 80, true},
                  {55, 50, false}, {90, 50, false}, {5, 5, false}});
}

TEST(KWGdiPlusDraw, EllipseAndPolylineFigures)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.BeginPath();
    EXPECT_EQ(0, g.AddEllipse(0, 0, 50, 50));
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed));
    // A triangle with its right angle at the bottom left of the lower right quarter.
    const CKWDoublePoint triangle[] = {{50, 50}, {100, 100}, {50, 100}};
    g.BeginPath();
    EXPECT_EQ(0, g.AddPolyline(triangle, 3));
    g.ClosePathFigure();
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kBlue));
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{25, 25, true}, {2, 2, false}, {47, 47, false}});
    ExpectPixels(canvas, GdiPlusCanvas::kBlue, {{55, 90, true}, {90, 60, false}});
}

TEST(KWGdiPlusDraw, StrokesWithWidthAndDashes)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.BeginPath();
    g.AddLine(CKWDoublePoint{0, 20}, CKWDoublePoint{100, 20});
    EXPECT_EQ(0, g.StrokePath(CKWPen(CKWColor::FromRgb(0, 0, 0xFF), 6)));
    ExpectPixels(canvas, GdiPlusCanvas::kBlue,
                 {{50, 18, true}, {50, 21, true}, {50, 15, false}, {50, 25, false}});

    // A custom pattern of 5 widths on, 5 off with a 2-pixel pen: 10 pixels
    // of ink, then 10 of gap.
    CKWPen dashed(CKWColor::FromRgb(0, 0, 0xFF), 2, KWPEN_CUSTOM);
    dashed.m_dashPattern = {5, 5};
    g.BeginPath();
    g.AddLine(0, 60, 100, 60);
    EXPECT_EQ(0, g.StrokePath(dashed));
    EXPECT_GT(canvas.CountInk(2, 59, 8, 61), 0);
    EXPECT_EQ(0, canvas.CountInk(12, 59, 18, 61));
    EXPECT_GT(canvas.CountInk(22, 59, 28, 61), 0);
}

TEST(KWGdiPlusDraw, FillAndStrokeFillsFirst)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.BeginPath();
    g.AddRectangle(20, 20, 60, 60);
    EXPECT_EQ(0, g.FillAndStrokePath(CKWPen(CKWColor::FromRgb(0, 0, 0xFF), 4),
                                     GdiPlusCanvas::Solid(GdiPlusCanvas::kRed)));
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{50, 50, true}, {21, 50, false}});
    ExpectPixels(canvas, GdiPlusCanvas::kBlue, {{20, 50, true}, {50, 79, true}, {50, 50, false}});
}

TEST(KWGdiPlusDraw, BrushThatCannotBeMadeDrawsNothing)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    CKWBrush unknown = GdiPlusCanvas::Solid(GdiPlusCanvas::kRed);
    unknown.m_style = 7;
    g.BeginPath();
    g.AddRectangle(0, 0, 100, 100);
    EXPECT_NE(0, g.FillPath(unknown));
    EXPECT_NE(0, g.FillAndStrokePath(CKWPen(), unknown));
    EXPECT_EQ(0, canvas.CountInk(0, 0, 100, 100));
    EXPECT_EQ(GdiPlusCanvas::kWhite, canvas.Pixel(50, 50));
}

TEST(KWGdiPlusDraw, PathOperationsBeforeBeginPathFail)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    CKWGdiPlusDraw fresh(canvas.Bitmap());
    IKWGraphics& g = fresh;
    EXPECT_EQ(0, fresh.GetLastStatus());
    EXPECT_NE(0, g.AddRectangle(0, 0, 10, 10));
    EXPECT_NE(0, g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed)));
    EXPECT_NE(0, fresh.GetLastStatus());
    EXPECT_EQ(GdiPlusCanvas::kWhite, canvas.Pixel(5, 5));
}

TEST(KWGdiPlusDraw, HatchIndicesMapToPercentPatterns)
{
    // Hatch index 0..11 are the 5% to 90% patterns; any other index is 50%.
    struct HatchCase {
        uint32_t index;
        double minInk;
        double maxInk;
    } const cases[] = {{0, 0.0, 0.15}, {11, 0.8, 1.0}, {99, 0.35, 0.65}};
    for (const HatchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "hatch index " << c.index);
        GdiPlusCanvas canvas(32, 32);
        ASSERT_TRUE(canvas.IsReady());
        IKWGraphics& g = canvas.Draw();
        CKWBrush hatch;  // black on white
        hatch.m_style = CKWBrush::StyleHatch;
        hatch.m_hatch = c.index;
        g.BeginPath();
        g.AddRectangle(0, 0, 32, 32);
        EXPECT_EQ(0, g.FillPath(hatch));
        const double ink = canvas.CountInk(0, 0, 32, 32) / 1024.0;
        EXPECT_GE(ink, c.minInk);
        EXPECT_LE(ink, c.maxInk);
    }
}

TEST(KWGdiPlusDraw, GradientIsStretchedOverThePath)
{
    // A gradient one unit long, red to blue, spans the whole filled rectangle.
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    CKWBrush gradient;
    gradient.m_style = CKWBrush::StyleLinearGradient;
    gradient.m_color1 = CKWColor::FromRgb(0xFF, 0, 0);
    gradient.m_color2 = CKWColor::FromRgb(0, 0, 0xFF);
    gradient.m_x2 = 1;
    g.BeginPath();
    g.AddRectangle(0, 0, 80, 20);
    EXPECT_EQ(0, g.FillPath(gradient));
    int previousBlue = -1;
    for (int x = 2; x < 80; x += 10) {
        SCOPED_TRACE(testing::Message() << "x " << x);
        const uint32_t pixel = canvas.Pixel(x, 10);
        EXPECT_GT(Blue(pixel), previousBlue);
        previousBlue = Blue(pixel);
    }
    EXPECT_GT(Red(canvas.Pixel(3, 10)), 0xC0);
    EXPECT_GT(Blue(canvas.Pixel(76, 10)), 0xC0);
    EXPECT_EQ(GdiPlusCanvas::kWhite, canvas.Pixel(85, 10));
}

TEST(KWGdiPlusDraw, RotationIsAppliedBeforeTheTranslation)
{
    // Translate, then rotate by 90 degrees: the rotation acts in the
    // translated frame, so a horizontal bar hangs down from (50, 50).
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    EXPECT_EQ(0, g.Translate(50, 50));
    EXPECT_EQ(0, g.Rotate(90));
    g.BeginPath();
    g.AddRectangle(0, 0, 40, 10);
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed));
    ExpectPixels(canvas, GdiPlusCanvas::kRed,
                 {{45, 52, true}, {41, 88, true}, {45, 92, false}, {55, 55, false}, {80, 55, false}});
}

TEST(KWGdiPlusDraw, SaveAndRestoreTransform)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    EXPECT_EQ(0, g.Scale(2, 2));
    EXPECT_EQ(0, g.SaveTransform());
    g.Translate(20, 20);
    EXPECT_EQ(0, g.SaveTransform());
    g.Rotate(45);
    EXPECT_EQ(0, g.RestoreTransform());  // back to scale, then translation
    g.BeginPath();
    g.AddRectangle(0, 0, 5, 5);
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kRed));
    EXPECT_EQ(0, g.RestoreTransform());  // back to the scale alone
    g.BeginPath();
    g.AddRectangle(0, 0, 5, 5);
    g.FillPath(GdiPlusCanvas::Solid(GdiPlusCanvas::kBlue));
    EXPECT_EQ(0, g.RestoreTransform());  // nothing saved: no change
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{41, 41, true}, {49, 49, true}, {51, 51, false}});
    ExpectPixels(canvas, GdiPlusCanvas::kBlue, {{1, 1, true}, {9, 9, true}, {11, 11, false}});
}

TEST(KWGdiPlusDraw, ClippedFill)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    EXPECT_EQ(0, canvas.Draw().PushClipRect(10, 10, 30, 20));
    canvas.Fill(GdiPlusCanvas::kRed);
    ExpectPixels(canvas, GdiPlusCanvas::kRed,
                 {{10, 10, true}, {39, 29, true}, {9, 15, false}, {40, 15, false}, {20, 30, false}});
}

TEST(KWGdiPlusDraw, ClipStackPushedTwicePoppedOnce)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.PushClipRect(0, 0, 50, 50);
    g.PushClipRect(60, 60, 30, 30);
    EXPECT_EQ(0, g.PopClip());
    canvas.Fill(GdiPlusCanvas::kRed);
    ExpectPixels(canvas, GdiPlusCanvas::kRed,
                 {{25, 25, true}, {70, 70, false}, {75, 25, false}, {25, 75, false}});
    // The second pop lifts the clip; a pop too many changes nothing.
    EXPECT_EQ(0, g.PopClip());
    EXPECT_EQ(0, g.PopClip());
    canvas.Fill(GdiPlusCanvas::kBlue);
    ExpectPixels(canvas, GdiPlusCanvas::kBlue, {{25, 25, true}, {70, 70, true}, {99, 99, true}});
}

TEST(KWGdiPlusDraw, ClipIsTakenInTheWorldTransform)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.Translate(50, 0);
    g.PushClipRect(0, 0, 10, 10);
    canvas.Fill(GdiPlusCanvas::kRed);  // the fill is translated too
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{55, 5, true}, {5, 5, false}, {65, 5, false}});
}

// An image holder filled with one colour.
void MakeImage(CKWGdipBitmap& image, int width, int height, uint32_t argb)
{
    ASSERT_TRUE(image.Create(width, height));
    CKWGdiPlusDraw draw(image);
    draw.BeginPath();
    draw.AddRectangle(0, 0, width, height);
    draw.FillPath(GdiPlusCanvas::Solid(argb));
}

TEST(KWGdiPlusDraw, DrawsImagesAtTheirSizeAndStretched)
{
    CKWGdipBitmap image;
    MakeImage(image, 10, 10, GdiPlusCanvas::kBlue);
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    EXPECT_EQ(0, g.DrawImage(5, 5, &image, nullptr));
    EXPECT_EQ(0, g.DrawImage(40, 40, 40, 20, &image, nullptr));
    ExpectPixels(canvas, GdiPlusCanvas::kBlue,
                 {{6, 6, true}, {13, 13, true}, {17, 17, false},
                  {45, 45, true}, {72, 54, true}, {82, 50, false}, {50, 62, false}});
}

TEST(KWGdiPlusDraw, MissingImageDrawsNothing)
{
    CKWGdipBitmap empty;
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    EXPECT_NE(0, g.DrawImage(0, 0, nullptr, nullptr));
    EXPECT_NE(0, g.DrawImage(0, 0, 50, 50, &empty, nullptr));
    EXPECT_EQ(0, canvas.CountInk(0, 0, 100, 100));
}

TEST(KWGdiPlusDraw, ImageClipRestoresTheClipBefore)
{
    CKWGdipBitmap image;
    MakeImage(image, 100, 100, GdiPlusCanvas::kBlue);
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.PushClipRect(0, 0, 50, 100);
    // The image's clip replaces the one in force while the image is drawn.
    const CKWDoubleRect band(0, 0, 100, 30);
    EXPECT_EQ(0, g.DrawImage(0, 0, &image, &band));
    ExpectPixels(canvas, GdiPlusCanvas::kBlue, {{25, 10, true}, {75, 10, true}, {25, 40, false}});
    // Afterwards the left half is the clip again, not the whole surface.
    canvas.Fill(GdiPlusCanvas::kRed);
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{25, 50, true}, {75, 50, false}, {75, 10, false}});

    // The same with the stretching form and no clip before: none after.
    g.PopClip();
    EXPECT_EQ(0, g.DrawImage(0, 0, 100, 100, &image, &band));
    canvas.Fill(GdiPlusCanvas::kRed);
    ExpectPixels(canvas, GdiPlusCanvas::kRed, {{25, 10, true}, {75, 90, true}});
}

TEST(KWGdiPlusDraw, FixedResolution)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    Gdiplus::REAL imageDpi = 0;
    Gdiplus::DllExports::GdipGetImageVerticalResolution(canvas.Bitmap().Get(), &imageDpi);
    EXPECT_FALSE(g.GetUseFixedDpi());
    EXPECT_EQ(static_cast<int>(imageDpi), g.GetDpi());
    g.SetFixedDpi(300);
    EXPECT_EQ(static_cast<int>(imageDpi), g.GetDpi());
    g.SetUseFixedDpi(true);
    EXPECT_TRUE(g.GetUseFixedDpi());
    EXPECT_EQ(300, g.GetDpi());
    g.SetUseFixedDpi(false);
    EXPECT_EQ(static_cast<int>(imageDpi), g.GetDpi());
}

TEST(KWGdiPlusDraw, DeviceContextOfTheSurface)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    HDC dc = canvas.Draw().GetHDC();
    ASSERT_NE(nullptr, dc);
    EXPECT_NE(0, ::GetDeviceCaps(dc, LOGPIXELSY));
    canvas.Draw().ReleaseHDC(dc);
    EXPECT_EQ(0, canvas.Draw().BeginPath());
}

}  // namespace
