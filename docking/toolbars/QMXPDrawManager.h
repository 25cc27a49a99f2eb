#pragma once
// CQMXPDrawManager: the docking library's pixel effects on one device
// context (lightening and darkening, drop shadows, gradients) and its
// conversions between RGB and hue, luminance and saturation. Palette screens
// get a dither fill instead of pixel work.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

class CBitmap;
class CDC;

class CQMXPDrawManager : public CObject {
public:
    explicit CQMXPDrawManager(CDC& dc) : m_dc(dc) {}

    // Lightens (above 100) or darkens (below 100) every pixel but those of
    // the transparent colour; -1 moves each pixel half-way to the button
    // highlight colour. FALSE when the work bitmap cannot be made.
    BOOL HighlightRect(CRect rect, int nPercentage = -1, COLORREF clrTransparent = static_cast<COLORREF>(-1));
    // A soft shadow of nDepth pixels along the right and bottom edges, from
    // iMinBrightness next to the rectangle to iMaxBrightness outside. With
    // both saved bitmaps holding bitmaps they are only drawn back; with empty
    // ones given they receive the screen under the shadow afterwards.
    BOOL PaintShadow(CRect rect, int nDepth, int iMaxBrightness, int iMinBrightness,
                     CBitmap* pBmpSaveBottom = nullptr, CBitmap* pBmpSaveRight = nullptr);
    // 64 bands from the start colour (left, or bottom when vertical) to the finish colour.
    void FillGradient(CRect rect, COLORREF colorStart, COLORREF colorFinish, BOOL bVertical);

    static COLORREF PixelAlpha(COLORREF srcPixel, int percent);
    static COLORREF PixelAlpha(COLORREF srcPixel, double percentR, double percentG, double percentB);
    static COLORREF PixelAlpha(COLORREF srcPixel, COLORREF dstPixel, int percent);

    static double HueToRGB(double m1, double m2, double h);
    static BYTE HueToRGB(float rm1, float rm2, float rh);
    // Hue, luminance and saturation as fractions of 1.
    static COLORREF HLStoRGB(double H, double L, double S);
    // Hue in degrees.
    static COLORREF HLStoRGB360(float H, float L, float S);
    static void RGBtoHSL(COLORREF rgb, double* H, double* S, double* L);

private:
    CDC& m_dc;
};
