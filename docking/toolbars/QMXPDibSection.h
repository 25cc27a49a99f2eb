#pragma once
// CQMXPDibSection: a 32-bit bottom-up device-independent section selected
// into a memory context, for the pixel work of the draw manager and the
// image strips. Pixels hold blue in the low byte; row 0 of Pixel() is the
// top row.
#include <windows.h>

#include <cstdint>

class CQMXPDibSection {
public:
    CQMXPDibSection() = default;
    ~CQMXPDibSection();
    CQMXPDibSection(const CQMXPDibSection&) = delete;
    CQMXPDibSection& operator=(const CQMXPDibSection&) = delete;

    // FALSE when the context or the section cannot be made.
    BOOL Create(int cx, int cy);
    // Hands the section over, deselected; the object is empty afterwards.
    HBITMAP Detach();

    HDC GetDC() const { return m_hDC; }
    uint32_t& Pixel(int x, int y) { return m_pBits[static_cast<size_t>(m_cy - 1 - y) * m_cx + x]; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

    // A colour as a pixel of the section (red and blue exchanged), and back.
    static uint32_t FromColor(COLORREF clr) { return RGB(GetBValue(clr), GetGValue(clr), GetRValue(clr)); }
    static COLORREF ToColor(uint32_t pixel) {
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    uint32_t* m_pBits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};
