#include "framework/KWGdiPlusDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "framework/KWPen.h"
#include "tests/framework/GdiPlusCanvas.h"

namespace {

const double kPi = 3.14159265358979323846;
const uint32_t kRed = GdiPlusCanvas::kRed;
const uint32_t kBlue = GdiPlusCanvas::kBlue;

// Pixels that have the colour (filled) or have not.
struct Probe {
    uint32_t color;
    int x, y;
    bool filled;
};

void ExpectPixels(const GdiPlusCanvas& canvas, const std::vector<Probe>& probes, const char* name)
{
    for (const Probe& p : probes) {
        EXPECT_EQ(p.filled, p.color == canvas.Pixel(p.x, p.y)) << name << " at " << p.x << "," << p.y;
    }
}

void Fill(IKWGraphics& g, uint32_t argb) { EXPECT_EQ(0, g.FillPath(GdiPlusCanvas::Solid(argb))); }

// An image holder filled with one colour.
void MakeImage(CKWGdipBitmap& image, int width, int height, uint32_t argb)
{
    ASSERT_TRUE(image.Create(width, height));
    CKWGdiPlusDraw draw(image);
    draw.BeginPath();
    draw.AddRectangle(0, 0, width, height);
    draw.FillPath(GdiPlusCanvas::Solid(argb));
}

TEST(KWGdiPlusDraw, PathsTransformsAndClipsPaintTheirPixels)
{
    CKWGdipBitmap image;
    MakeImage(image, 10, 10, kBlue);
    const struct {
        const char* name;
        std::function<void(IKWGraphics&, GdiPlusCanvas&)> draw;
        std::vector<Probe> probes;
    } cases[] = {
        {"rectangle",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             EXPECT_EQ(0, g.SetSmoothing(false));
             EXPECT_EQ(0, g.BeginPath());
             EXPECT_TRUE(g.IsPathBegun());
             EXPECT_EQ(0, g.AddRectangle(10, 20, 30, 40));
             EXPECT_EQ(0, g.ClosePathFigure());
             Fill(g, kRed);
         },
         {{kRed, 10, 20, true}, {kRed, 39, 59, true}, {kRed, 9, 30, false}, {kRed, 40, 30, false},
          {kRed, 25, 19, false}, {kRed, 25, 60, false}}},
        {"corners (10,20)-(0,0) as a rectangle and as points are normalised",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             g.BeginPath();
             EXPECT_EQ(0, g.AddRectangle(CKWDoubleRect(10, 20, 0, 0)));
             Fill(g, kBlue);
             g.BeginPath();
             EXPECT_EQ(0, g.AddRectangle(CKWDoublePoint{60, 20}, CKWDoublePoint{50, 0}));
             Fill(g, kRed);
         },
         {{kBlue, 0, 0, true}, {kBlue, 9, 19, true}, {kBlue, 10, 5, false}, {kBlue, 5, 20, false},
          {kRed, 50, 0, true}, {kRed, 59, 19, true}, {kRed, 60, 5, false}}},
        {"arc angles are radians: from pi/2 sweeping pi is the left half",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             g.BeginPath();
             EXPECT_EQ(0, g.AddArc(CKWDoubleRect(0, 0, 100, 100), kPi / 2, kPi));
             g.ClosePathFigure();
             Fill(g, kRed);
         },
         {{kRed, 10, 50, true}, {kRed, 45, 20, true}, {kRed, 45, 80, true}, {kRed, 55, 50, false},
          {kRed, 90, 50, false}, {kRed, 5, 5, false}}},
        {"ellipse and closed polyline",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             g.BeginPath();
             EXPECT_EQ(0, g.AddEllipse(0, 0, 50, 50));
             Fill(g, kRed);
             const CKWDoublePoint triangle[] = {{50, 50}, {100, 100}, {50, 100}};
             g.BeginPath();
             EXPECT_EQ(0, g.AddPolyline(triangle, 3));
             g.ClosePathFigure();
             Fill(g, kBlue);
         },
         {{kRed, 25, 25, true}, {kRed, 2, 2, false}, {kRed, 47, 47, false}, {kBlue, 55, 90, true},
          {kBlue, 90, 60, false}}},
        {"fill and stroke fills first",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             g.BeginPath();
             g.AddRectangle(20, 20, 60, 60);
             EXPECT_EQ(0, g.FillAndStrokePath(CKWPen(CKWColor::FromRgb(0, 0, 0xFF), 4), GdiPlusCanvas::Solid(kRed)));
         },
         {{kRed, 50, 50, true}, {kRed, 21, 50, false}, {kBlue, 20, 50, true}, {kBlue, 50, 79, true}}},
        {"rotation acts in the translated frame: a bar hangs down from (50,50)",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             EXPECT_EQ(0, g.Translate(50, 50));
             EXPECT_EQ(0, g.Rotate(90));
             g.BeginPath();
             g.AddRectangle(0, 0, 40, 10);
             Fill(g, kRed);
         },
         {{kRed, 45, 52, true}, {kRed, 41, 88, true}, {kRed, 45, 92, false}, {kRed, 55, 55, false},
          {kRed, 80, 55, false}}},
        {"saved transforms are restored last first",
         [](IKWGraphics& g, GdiPlusCanvas&) {
             EXPECT_EQ(0, g.Scale(2, 2));
             EXPECT_EQ(0, g.SaveTransform());
             g.Translate(20, 20);
             EXPECT_EQ(0, g.SaveTransform());
             g.Rotate(45);
             EXPECT_EQ(0, g.RestoreTransform());  // scale, then translation
             g.BeginPath();
             g.AddRectangle(0, 0, 5, 5);
             Fill(g, kRed);
             EXPECT_EQ(0, g.RestoreTransform());  // the scale alone
             g.BeginPath();
             g.AddRectangle(0, 0, 5, 5);
             Fill(g, kBlue);
             EXPECT_EQ(0, g.RestoreTransform());  // nothing saved: no change
         },
         {{kRed, 41, 41, true}, {kRed, 49, 49, true}, {kRed, 51, 51, false}, {kBlue, 1, 1, true},
          {kBlue, 9, 9, true}, {kBlue, 11, 11, false}}},
        {"clip pushed twice popped once, then lifted; a pop too many changes nothing",
         [](IKWGraphics& g, GdiPlusCanvas& canvas) {
             EXPECT_EQ(0, g.PushClipRect(10, 10, 30, 20));
             g.PushClipRect(60, 60, 30, 30);
             EXPECT_EQ(0, g.PopClip());
             canvas.Fill(kRed);
             EXPECT_EQ(0, g.PopClip());
             EXPECT_EQ(0, g.PopClip());
             g.BeginPath();
             g.AddRectangle(50, 50, 50, 50);
             Fill(g, kBlue);
         },
         {{kRed, 10, 10, true}, {kRed, 39, 29, true}, {kRed, 9, 15, false}, {kRed, 40, 15, false},
          {kRed, 20, 30, false}, {kRed, 75, 25, false}, {kBlue, 70, 70, true}, {kBlue, 99, 99, true}}},
        {"the clip is taken in the world transform",
         [](IKWGraphics& g, GdiPlusCanvas& canvas) {
             g.Translate(50, 0);
             g.PushClipRect(0, 0, 10, 10);
             canvas.Fill(kRed);
         },
         {{kRed, 55, 5, true}, {kRed, 5, 5, false}, {kRed, 65, 5, false}}},
        {"images at their size and stretched",
         [&image](IKWGraphics& g, GdiPlusCanvas&) {
             EXPECT_EQ(0, g.DrawImage(5, 5, &image, nullptr));
             EXPECT_EQ(0, g.DrawImage(40, 40, 40, 20, &image, nullptr));
         },
         {{kBlue, 6, 6, true}, {kBlue, 13, 13, true}, {kBlue, 17, 17, false}, {kBlue, 45, 45, true},
          {kBlue, 72, 54, true}, {kBlue, 82, 50, false}, {kBlue, 50, 62, false}}},
    };
    for (const auto& c : cases) {
        GdiPlusCanvas canvas;
        ASSERT_TRUE(canvas.IsReady());
        c.draw(canvas.Draw(), canvas);
        ExpectPixels(canvas, c.probes, c.name);
    }
}

TEST(KWGdiPlusDraw, StrokesWithWidthAndDashes)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.BeginPath();
    g.AddLine(CKWDoublePoint{0, 20}, CKWDoublePoint{100, 20});
    EXPECT_EQ(0, g.StrokePath(CKWPen(CKWColor::FromRgb(0, 0, 0xFF), 6)));
    ExpectPixels(canvas, {{kBlue, 50, 18, true}, {kBlue, 50, 21, true}, {kBlue, 50, 15, false}, {kBlue, 50, 25, false}},
                 "6 wide");

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

TEST(KWGdiPlusDraw, FailuresDrawNothing)
{
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    CKWGdiPlusDraw fresh(canvas.Bitmap());
    IKWGraphics& g = fresh;
    EXPECT_EQ(0, fresh.GetLastStatus());
    EXPECT_FALSE(g.IsPathBegun());
    EXPECT_NE(0, g.AddRectangle(0, 0, 10, 10)) << "before BeginPath";
    EXPECT_NE(0, g.FillPath(GdiPlusCanvas::Solid(kRed)));
    EXPECT_NE(0, fresh.GetLastStatus());

    CKWBrush unknown = GdiPlusCanvas::Solid(kRed);
    unknown.m_style = 7;
    g.BeginPath();
    g.AddRectangle(0, 0, 100, 100);
    EXPECT_NE(0, g.FillPath(unknown)) << "a brush that cannot be made";
    EXPECT_NE(0, g.FillAndStrokePath(CKWPen(), unknown));

    CKWGdipBitmap empty;
    EXPECT_NE(0, g.DrawImage(0, 0, nullptr, nullptr));
    EXPECT_NE(0, g.DrawImage(0, 0, 50, 50, &empty, nullptr));
    EXPECT_EQ(0, canvas.CountInk(0, 0, 100, 100));
    EXPECT_EQ(GdiPlusCanvas::kWhite, canvas.Pixel(50, 50));
}

TEST(KWGdiPlusDraw, HatchIndicesMapToPercentPatterns)
{
    // Hatch index 0..11 are the 5% to 90% patterns; any other index is 50%.
    const struct {
        uint32_t index;
        double minInk;
        double maxInk;
    } cases[] = {{0, 0.0, 0.15}, {11, 0.8, 1.0}, {99, 0.35, 0.65}};
    for (const auto& c : cases) {
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
        EXPECT_GE(ink, c.minInk) << c.index;
        EXPECT_LE(ink, c.maxInk) << c.index;
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
        const int blue = canvas.Pixel(x, 10) & 0xFF;
        EXPECT_GT(blue, previousBlue) << x;
        previousBlue = blue;
    }
    EXPECT_GT((canvas.Pixel(3, 10) >> 16) & 0xFF, 0xC0u);
    EXPECT_GT(canvas.Pixel(76, 10) & 0xFF, 0xC0u);
    EXPECT_EQ(GdiPlusCanvas::kWhite, canvas.Pixel(85, 10));
}

TEST(KWGdiPlusDraw, ImageClipRestoresTheClipBefore)
{
    CKWGdipBitmap image;
    MakeImage(image, 100, 100, kBlue);
    GdiPlusCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    IKWGraphics& g = canvas.Draw();
    g.PushClipRect(0, 0, 50, 100);
    // The image's clip replaces the one in force while the image is drawn.
    const CKWDoubleRect band(0, 0, 100, 30);
    EXPECT_EQ(0, g.DrawImage(0, 0, &image, &band));
    ExpectPixels(canvas, {{kBlue, 25, 10, true}, {kBlue, 75, 10, true}, {kBlue, 25, 40, false}}, "band");
    // Afterwards the left half is the clip again, not the whole surface.
    canvas.Fill(kRed);
    ExpectPixels(canvas, {{kRed, 25, 50, true}, {kRed, 75, 50, false}, {kRed, 75, 10, false}}, "left half");
    // The same with the stretching form and no clip before: none after.
    g.PopClip();
    EXPECT_EQ(0, g.DrawImage(0, 0, 100, 100, &image, &band));
    canvas.Fill(kRed);
    ExpectPixels(canvas, {{kRed, 25, 10, true}, {kRed, 75, 90, true}}, "no clip");
}

TEST(KWGdiPlusDraw, ResolutionAndDeviceContext)
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
    EXPECT_EQ(300, g.GetDpi());
    g.SetUseFixedDpi(false);
    EXPECT_EQ(static_cast<int>(imageDpi), g.GetDpi());

    HDC dc = canvas.Draw().GetHDC();
    ASSERT_NE(nullptr, dc);
    EXPECT_NE(0, ::GetDeviceCaps(dc, LOGPIXELSY));
    canvas.Draw().ReleaseHDC(dc);
    EXPECT_EQ(0, g.BeginPath());
}

TEST(KWGdipBitmap, CreateTruncatesTheSizeReplacesAndAFailureHoldsNothing)
{
    CKWGdipBitmap holder;
    EXPECT_FALSE(holder.IsValid());
    EXPECT_EQ(nullptr, holder.Get());
    ASSERT_NE(nullptr, holder.Create(10.9, 5.2));
    EXPECT_EQ(10, holder.GetWidth());
    EXPECT_EQ(5, holder.GetHeight());
    Gdiplus::PixelFormat format = 0;
    Gdiplus::DllExports::GdipGetImagePixelFormat(holder.Get(), &format);
    EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(CKWGdipBitmap::kPixelFormat32bppARGB), format);
    ASSERT_NE(nullptr, holder.Create(3, 4, PixelFormat24bppRGB));
    EXPECT_EQ(3, holder.GetWidth());
    Gdiplus::DllExports::GdipGetImagePixelFormat(holder.Get(), &format);
    EXPECT_EQ(PixelFormat24bppRGB, format);
    EXPECT_EQ(nullptr, holder.Create(0, 8));
    EXPECT_FALSE(holder.IsValid());
    EXPECT_EQ(nullptr, holder.Create(8, -1));
    EXPECT_EQ(0, holder.GetWidth());
    EXPECT_EQ(0, holder.GetHeight());

    // A bitmap GDI+ cannot allocate is reported, not taken for Ok: 4 GB less
    // one row, which no 32-bit process holds, however much of its address
    // space the system leaves it.
    EXPECT_EQ(CKWGdipBitmap::kStatusOutOfMemory,
              holder.CreateFromScan0(65536, 16383, 0, CKWGdipBitmap::kPixelFormat32bppARGB, nullptr));
    EXPECT_FALSE(holder.IsValid());
    EXPECT_EQ(CKWGdipBitmap::kStatusOutOfMemory, holder.GetLastStatus());
}

}  // namespace
