#pragma once
// A drawing interface that draws nothing and notes what it is asked: the
// strings with their boxes, fonts and flags, the images with their places,
// sizes (0 for one drawn unscaled) and middle pixel, the transforms and the
// resolution requests.
#include "framework/KWFont.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"

#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <string>
#include <vector>

namespace test_support {

class CRecordingGraphics : public IKWGraphics {
public:
    struct Text {
        std::wstring text;
        double x, y, width, height;  // width and height 0 for a string drawn at a point
        double size;
        uint32_t flags;
    };
    struct Image {
        double x, y, width, height;
        int pixelsWide, pixelsHigh;
        uint32_t middle;  // the middle pixel, 0xAARRGGBB
    };

    static constexpr double kCharWidth = 6.0;

    explicit CRecordingGraphics(int dpi) : m_dpi(dpi) {}

    int SetSmoothing(bool) override { return 0; }
    int GetDpi() override
    {
        ++dpiRequests;
        return useFixed ? fixedDpi : m_dpi;
    }
    void SetUseFixedDpi(bool value) override { useFixed = value; }
    bool GetUseFixedDpi() const override { return useFixed; }
    void SetFixedDpi(int dpi) override { fixedDpi = dpi; }
    int BeginPath() override { return 0; }
    int ClosePathFigure() override { return 0; }
    bool IsPathBegun() const override { return false; }
    int StrokePath(const CKWPen&) override { return 0; }
    int FillPath(const CKWBrush&) override { return 0; }
    int FillAndStrokePath(const CKWPen&, const CKWBrush&) override { return 0; }
    int AddLine(double, double, double, double) override { return 0; }
    int AddLine(const CKWDoublePoint&, const CKWDoublePoint&) override { return 0; }
    int AddPolyline(const CKWDoublePoint*, int) override { return 0; }
    int AddRectangle(double, double, double, double) override { return 0; }
    int AddRectangle(const CKWDoublePoint&, const CKWDoublePoint&) override { return 0; }
    int AddRectangle(const CKWDoubleRect&) override { return 0; }
    int AddEllipse(double, double, double, double) override { return 0; }
    int AddArc(double, double, double, double, double, double) override { return 0; }
    int AddArc(const CKWDoubleRect&, double, double) override { return 0; }
    int Translate(double, double) override { return 0; }
    int Rotate(double) override { return 0; }
    int Scale(double sx, double sy) override
    {
        scales.push_back({sx, sy});
        return 0;
    }
    int SaveTransform() override { return 0; }
    int RestoreTransform() override { return 0; }
    int DrawImage(double x, double y, const CKWGdipBitmap* image, const CKWDoubleRect* clip) override
    {
        return DrawImage(x, y, 0, 0, image, clip);
    }
    int DrawImage(double x, double y, double width, double height, const CKWGdipBitmap* image,
                  const CKWDoubleRect*) override
    {
        Image drawn = {x, y, width, height, image->GetWidth(), image->GetHeight(), 0};
        Gdiplus::ARGB pixel = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(image->Get(), drawn.pixelsWide / 2, drawn.pixelsHigh / 2, &pixel);
        drawn.middle = pixel;
        images.push_back(drawn);
        return 0;
    }
    int DrawString(double x, double y, double width, double height, const wchar_t* text, int length,
                   const CKWFont& font, const CKWBrush&, uint32_t flags) override
    {
        texts.push_back({length < 0 ? std::wstring(text) : std::wstring(text, static_cast<size_t>(length)), x, y,
                         width, height, SizeOf(font), flags});
        return 0;
    }
    // Every character is kCharWidth wide.
    int DrawStringAt(double x, double y, const wchar_t* text, int length, const CKWFont& font, const CKWBrush*,
                     double* outWidth) override
    {
        if (outWidth)
            *outWidth = kCharWidth * length;
        texts.push_back({std::wstring(text, static_cast<size_t>(length)), x, y, 0, 0, SizeOf(font), 0});
        return 0;
    }
    int GetCharWidths(const wchar_t*, int, const CKWFont&, double*, int) override { return 0; }
    // Ascent 10, descent 3, line gap 1 at whatever size.
    int GetFontMetrics(const CKWFont&, int32_t* metrics) override
    {
        const int32_t values[KWFONTMETRIC_COUNT] = {10, 3, 1, 2, 1, 5, 1};
        std::copy(values, values + KWFONTMETRIC_COUNT, metrics);
        return 0;
    }
    int PushClipRect(double, double, double, double) override { return 0; }
    int PopClip() override { return 0; }

    // Whether anything was asked at all.
    bool Untouched() const { return dpiRequests == 0 && texts.empty() && images.empty() && scales.empty(); }

    std::vector<Text> texts;
    std::vector<Image> images;
    std::vector<std::pair<double, double>> scales;
    int dpiRequests = 0;
    bool useFixed = false;
    int fixedDpi = 0;

private:
    static double SizeOf(const CKWFont& font)
    {
        Gdiplus::REAL size = 0;
        if (font.GetFont())
            Gdiplus::DllExports::GdipGetFontSize(font.GetFont(), &size);
        return size;
    }

    int m_dpi;
};

}  // namespace test_support
