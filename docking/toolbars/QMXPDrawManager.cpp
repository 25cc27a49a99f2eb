#include "docking/toolbars/QMXPDrawManager.h"

#include "docking/toolbars/QMXPDibSection.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "platform/classlib/DC.h"

#include <algorithm>

namespace {

constexpr int kGradientBands = 64;

int Channel(double value) { return std::min(static_cast<int>(value), 255); }

// A channel moved half-way towards the matching channel of the target.
BYTE HalfWay(int channel, int target) { return static_cast<BYTE>(std::min(channel + (target - channel) / 2, 255)); }

}  // namespace

BOOL CQMXPDrawManager::HighlightRect(CRect rect, int nPercentage, COLORREF clrTransparent) {
    if (nPercentage == 100 || rect.Width() < 1 || rect.Height() < 1)
        return TRUE;
    if (globalData.bitsPerPixel <= 8) {
        QMXFillDitherRect(&m_dc, rect);
        return TRUE;
    }
    CQMXPDibSection dib;
    if (!dib.Create(rect.Width(), rect.Height()))
        return FALSE;
    ::BitBlt(dib.GetDC(), 0, 0, rect.Width(), rect.Height(), m_dc.m_hDC, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const bool bTransparent = clrTransparent != static_cast<COLORREF>(-1);
    const uint32_t pixelTransparent = CQMXPDibSection::FromColor(clrTransparent);
    const double ratio = nPercentage / 100.0;
    const COLORREF clrHilite = globalData.clrBtnHilite;
    for (int y = 0; y < rect.Height(); ++y) {
        for (int x = 0; x < rect.Width(); ++x) {
            uint32_t& pixel = dib.Pixel(x, y);
            if (bTransparent && (pixel & 0xFFFFFF) == pixelTransparent)
                continue;
            COLORREF clr = CQMXPDibSection::ToColor(pixel);
            if (nPercentage == -1) {
                clr = RGB(HalfWay(GetRValue(clr), GetRValue(clrHilite)), HalfWay(GetGValue(clr), GetGValue(clrHilite)),
                          HalfWay(GetBValue(clr), GetBValue(clrHilite)));
            } else {
                clr = PixelAlpha(clr, ratio, ratio, ratio);
            }
            pixel = CQMXPDibSection::FromColor(clr);
        }
    }
    ::BitBlt(m_dc.m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), dib.GetDC(), 0, 0, SRCCOPY);
    return TRUE;
}

BOOL CQMXPDrawManager::PaintShadow(CRect rect, int nDepth, int iMaxBrightness, int iMinBrightness,
                                   CBitmap* pBmpSaveBottom, CBitmap* pBmpSaveRight) {
    if (nDepth == 0 || rect.IsRectEmpty())
        return TRUE;
    const int w = rect.Width();
    const int h = rect.Height();
    const int d = nDepth;
    if (pBmpSaveBottom != nullptr && pBmpSaveRight != nullptr && pBmpSaveBottom->m_hObject != nullptr &&
        pBmpSaveRight->m_hObject != nullptr) {
        ::DrawStateW(m_dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(pBmpSaveRight->m_hObject), 0, rect.right,
                     rect.top, d, h + d, DST_BITMAP);
        ::DrawStateW(m_dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(pBmpSaveBottom->m_hObject), 0, rect.left,
                     rect.bottom, w + d, d, DST_BITMAP);
        return TRUE;
    }

    CQMXPDibSection dib;
    if (!dib.Create(w + d, h + d))
        return FALSE;
    ::BitBlt(dib.GetDC(), 0, 0, w + d, h + d, m_dc.m_hDC, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();

    const int step = (iMinBrightness - iMaxBrightness) / d;
    auto band = [&](int index) { return iMinBrightness - step * index; };
    auto endFade = [&](int position) { return iMinBrightness - step * (d - position); };
    auto darken = [&](int x, int y, int brightness) {
        uint32_t& pixel = dib.Pixel(x, y);
        // The channel order does not matter to a uniform scale.
        pixel = PixelAlpha(pixel, brightness);
    };
    for (int row = d - 1; row <= h + d - 2; ++row) {
        for (int col = w; col <= w + d - 1; ++col) {
            const int a = col - w;
            int brightness = band(a);
            if (row >= h - 1)
                brightness = std::max(brightness, band(row - (h - 1)));
            else if (row - (d - 1) < d)
                brightness = std::max(brightness, endFade(row - (d - 1)));
            darken(col, row, brightness);
        }
    }
    for (int row = h - 1; row <= h + d - 2; ++row) {
        for (int col = d; col < w; ++col) {
            const int b = row - (h - 1);
            int brightness = band(b);
            if (col - d < d)
                brightness = std::max(brightness, endFade(col - d));
            darken(col, row, brightness);
        }
    }
    ::BitBlt(m_dc.m_hDC, rect.left, rect.top, w + d, h + d, dib.GetDC(), 0, 0, SRCCOPY);

    auto save = [&](CBitmap* pBitmap, int cxBitmap, int cyBitmap, int xFrom, int yFrom, int cx, int cy) {
        if (pBitmap == nullptr || !pBitmap->Attach(::CreateCompatibleBitmap(m_dc.m_hDC, cxBitmap, cyBitmap)))
            return;
        HDC hDCSave = ::CreateCompatibleDC(m_dc.m_hDC);
        HGDIOBJ hOld = ::SelectObject(hDCSave, pBitmap->m_hObject);
        ::BitBlt(hDCSave, 0, 0, cx, cy, m_dc.m_hDC, xFrom, yFrom, SRCCOPY);
        ::SelectObject(hDCSave, hOld);
        ::DeleteDC(hDCSave);
    };
    save(pBmpSaveRight, d + 1, h + d, rect.right, rect.top, d, h + d);
    save(pBmpSaveBottom, w + d, d + 1, rect.left, rect.bottom, w + d, d);
    return TRUE;
}

void CQMXPDrawManager::FillGradient(CRect rect, COLORREF colorStart, COLORREF colorFinish, BOOL bVertical) {
    for (int i = 0; i < kGradientBands; ++i) {
        auto mix = [i](BYTE start, BYTE finish) {
            return static_cast<BYTE>((start * (kGradientBands - i) + finish * i) >> 6);
        };
        const COLORREF clr = RGB(mix(GetRValue(colorStart), GetRValue(colorFinish)),
                                 mix(GetGValue(colorStart), GetGValue(colorFinish)),
                                 mix(GetBValue(colorStart), GetBValue(colorFinish)));
        CRect rectBand = rect;
        if (bVertical) {
            rectBand.bottom = rect.bottom - rect.Height() * i / kGradientBands;
            rectBand.top = rect.bottom - rect.Height() * (i + 1) / kGradientBands;
            if (rectBand.Height() < 1)
                continue;
        } else {
            rectBand.left = rect.left + rect.Width() * i / kGradientBands;
            rectBand.right = rect.left + rect.Width() * (i + 1) / kGradientBands;
            if (rectBand.Width() < 1)
                continue;
        }
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        ::FillRect(m_dc.m_hDC, &rectBand, hBrush);
        ::DeleteObject(hBrush);
    }
}

COLORREF CQMXPDrawManager::PixelAlpha(COLORREF srcPixel, int percent) {
    auto scale = [percent](BYTE c) { return static_cast<BYTE>(std::min(c * percent / 100, 255)); };
    return RGB(scale(GetRValue(srcPixel)), scale(GetGValue(srcPixel)), scale(GetBValue(srcPixel)));
}

COLORREF CQMXPDrawManager::PixelAlpha(COLORREF srcPixel, double percentR, double percentG, double percentB) {
    auto scale = [](BYTE c, double ratio) {
        // Black is lifted too when the ratio lightens.
        if (c == 0 && ratio > 1.0)
            return static_cast<BYTE>(Channel((ratio - 1.0) * 255 + 0.5));
        return static_cast<BYTE>(Channel(c * ratio + 0.5));
    };
    return RGB(scale(GetRValue(srcPixel), percentR), scale(GetGValue(srcPixel), percentG),
               scale(GetBValue(srcPixel), percentB));
}

COLORREF CQMXPDrawManager::PixelAlpha(COLORREF srcPixel, COLORREF dstPixel, int percent) {
    auto mix = [percent](BYTE src, BYTE dst) { return static_cast<BYTE>((dst * (100 - percent) + src * percent) / 100); };
    return RGB(mix(GetRValue(srcPixel), GetRValue(dstPixel)), mix(GetGValue(srcPixel), GetGValue(dstPixel)),
               mix(GetBValue(srcPixel), GetBValue(dstPixel)));
}

double CQMXPDrawManager::HueToRGB(double m1, double m2, double h) {
    if (h < 0)
        h += 1.0;
    if (h > 1)
        h -= 1.0;
    if (6.0 * h < 1)
        return m1 + (m2 - m1) * h * 6.0;
    if (2.0 * h < 1)
        return m2;
    if (3.0 * h < 2.0)
        return m1 + (m2 - m1) * ((2.0 / 3.0) - h) * 6.0;
    return m1;
}

BYTE CQMXPDrawManager::HueToRGB(float rm1, float rm2, float rh) {
    if (rh > 360.0f)
        rh -= 360.0f;
    else if (rh < 0.0f)
        rh += 360.0f;
    if (rh < 60.0f)
        rm1 = rm1 + (rm2 - rm1) * rh / 60.0f;
    else if (rh < 180.0f)
        rm1 = rm2;
    else if (rh < 240.0f)
        rm1 = rm1 + (rm2 - rm1) * (240.0f - rh) / 60.0f;
    return static_cast<BYTE>(rm1 * 255);
}

namespace {

// Hue, luminance and saturation to RGB, with the hue in the unit of the
// hue function (a third of the circle is `third`).
template <class T, class HueFn>
COLORREF HlsToRgb(T H, T L, T S, T third, HueFn hueToChannel) {
    if (S == 0) {
        const BYTE c = static_cast<BYTE>(L * 255);
        return RGB(c, c, c);
    }
    const T m2 = L <= T(0.5) ? L * (T(1) + S) : L + S - L * S;
    const T m1 = T(2) * L - m2;
    return RGB(hueToChannel(m1, m2, H + third), hueToChannel(m1, m2, H), hueToChannel(m1, m2, H - third));
}

}  // namespace

COLORREF CQMXPDrawManager::HLStoRGB(double H, double L, double S) {
    return HlsToRgb(H, L, S, 1.0 / 3.0,
                    [](double m1, double m2, double h) { return static_cast<BYTE>(HueToRGB(m1, m2, h) * 255); });
}

COLORREF CQMXPDrawManager::HLStoRGB360(float H, float L, float S) {
    return HlsToRgb(H, L, S, 120.0f, [](float m1, float m2, float h) { return HueToRGB(m1, m2, h); });
}

void CQMXPDrawManager::RGBtoHSL(COLORREF rgb, double* H, double* S, double* L) {
    const double r = GetRValue(rgb) / 255.0;
    const double g = GetGValue(rgb) / 255.0;
    const double b = GetBValue(rgb) / 255.0;
    const double cmax = std::max({r, g, b});
    const double cmin = std::min({r, g, b});
    *L = (cmax + cmin) / 2.0;
    if (cmax == cmin) {
        *S = 0;
        *H = 0;
        return;
    }
    const double delta = cmax - cmin;
    *S = *L < 0.5 ? delta / (cmax + cmin) : delta / (2.0 - cmax - cmin);
    double hue;
    if (r == cmax)
        hue = (g - b) / delta;
    else if (g == cmax)
        hue = 2.0 + (b - r) / delta;
    else
        hue = 4.0 + (r - g) / delta;
    hue /= 6.0;
    if (hue < 0.0)
        hue += 1.0;
    *H = hue;
}
