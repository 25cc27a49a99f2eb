#pragma once
// The pixels a window shows, read back from its surface; it works for
// windows of another process of the desktop too.
#include "platform/classlib/Rect.h"

#include <windows.h>

#include <vector>

namespace test_support {

// The client area of a window as 0x00BBGGRR values, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;

    COLORREF At(int x, int y) const { return values[size_t(y) * width + x]; }
    bool operator==(const Pixels& other) const { return width == other.width && values == other.values; }
    // The smallest rectangle holding every pixel other than the background
    // inside a margin; empty when there is none.
    CRect Bounds(COLORREF background, int margin = 0) const
    {
        CRect bounds(width, height, 0, 0);
        for (int y = margin; y < height - margin; ++y)
            for (int x = margin; x < width - margin; ++x)
                if (At(x, y) != background)
                    bounds |= CRect(x, y, x + 1, y + 1);
        return bounds.left < bounds.right ? bounds : CRect(0, 0, 0, 0);
    }
};

// The pixels of a rectangle of a device context, from the point on.
inline Pixels CaptureFrom(HDC source, POINT origin, int width, int height)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, pixels.width, pixels.height, source, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    for (int i = 0; i < pixels.width * pixels.height; ++i) {
        const uint32_t bgr = static_cast<const uint32_t*>(bits)[i];
        pixels.values.push_back(RGB(bgr >> 16, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

// Paints the window now and reads its client area back. A window of another
// process is read as it is, from the surface of its top-level window
// (asking it to paint at every look would keep it from doing anything else).
inline Pixels Capture(HWND window, bool repaint = true)
{
    if (repaint)
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HWND top = repaint ? window : ::GetAncestor(window, GA_ROOT);
    RECT client = {}, frame = {};
    ::GetClientRect(window, &client);
    ::GetWindowRect(top, &frame);
    POINT origin = {0, 0};
    if (!repaint) {
        ::ClientToScreen(window, &origin);
        origin = {origin.x - frame.left, origin.y - frame.top};
    }
    HDC source = repaint ? ::GetDC(window) : ::GetWindowDC(top);
    Pixels pixels = CaptureFrom(source, origin, client.right, client.bottom);
    ::ReleaseDC(top, source);
    return pixels;
}

// What the screen shows in the rectangle.
inline Pixels CaptureScreen(const RECT& rect)
{
    HDC screen = ::GetDC(nullptr);
    Pixels pixels = CaptureFrom(screen, {rect.left, rect.top}, rect.right - rect.left, rect.bottom - rect.top);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace test_support
