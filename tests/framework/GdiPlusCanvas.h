#pragma once
// An off-screen canvas for the drawing tests: a white bitmap and a
// CKWGdiPlusDraw into it, with pixel probes.
#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "framework/KWGdipBitmap.h"
#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGdiPlusDraw.h"

class GdiPlusCanvas {
public:
    static constexpr uint32_t kWhite = 0xFFFFFFFF;
    static constexpr uint32_t kRed = 0xFFFF0000;
    static constexpr uint32_t kBlue = 0xFF0000FF;
    static constexpr uint32_t kBlack = 0xFF000000;

    explicit GdiPlusCanvas(int width = 100, int height = 100) : m_width(width), m_height(height)
    {
        if (m_bitmap.Create(width, height)) {
            m_draw.reset(new CKWGdiPlusDraw(m_bitmap));
            Fill(kWhite);
        }
    }

    bool IsReady() const { return m_draw && m_bitmap.IsValid(); }
    CKWGdiPlusDraw& Draw() { return *m_draw; }
    CKWGdipBitmap& Bitmap() { return m_bitmap; }

    static CKWBrush Solid(uint32_t argb)
    {
        return CKWBrush(CKWColor::FromArgb(argb >> 24, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF,
                                           argb & 0xFF));
    }

    // Fills the whole canvas through the current clip and transform.
    void Fill(uint32_t argb)
    {
        m_draw->BeginPath();
        m_draw->AddRectangle(0, 0, m_width, m_height);
        m_draw->FillPath(Solid(argb));
    }

    uint32_t Pixel(int x, int y) const
    {
        Gdiplus::ARGB color = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(m_bitmap.Get(), x, y, &color);
        return color;
    }

    // Pixels in [x0, x1) x [y0, y1) whose red channel is below half: ink of
    // black or blue on white.
    int CountInk(int x0, int y0, int x1, int y1) const
    {
        int ink = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (((Pixel(x, y) >> 16) & 0xFF) < 0x80)
                    ++ink;
        return ink;
    }

    // The box of the ink; false when there is none.
    bool InkBounds(RECT& box) const
    {
        box = {m_width, m_height, -1, -1};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (((Pixel(x, y) >> 16) & 0xFF) < 0x80) {
                    box.left = x < box.left ? x : box.left;
                    box.top = y < box.top ? y : box.top;
                    box.right = x + 1 > box.right ? x + 1 : box.right;
                    box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
                }
        return box.right >= 0;
    }

private:
    int m_width;
    int m_height;
    CKWGdipBitmap m_bitmap;
    std::unique_ptr<CKWGdiPlusDraw> m_draw;
};
