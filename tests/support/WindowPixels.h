#pragma once
// The pixels a window shows, read back from its surface after it has
// painted; it works for windows of another process of the desktop too.
#include "platform/classlib/Rect.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace test_support {

// The client area of a window as 0x00BBGGRR values, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;

    COLORREF At(int x, int y) const { return values[size_t(y) * width + x]; }
    bool operator==(const Pixels& other) const
    {
        return width == other.width && height == other.height && values == other.values;
    }
    // The smallest rectangle of pixels other than the background inside a
    // margin; empty when there are none.
    CRect Bounds(COLORREF background, int margin = 0) const
    {
        CRect bounds(0, 0, 0, 0);
        for (int y = margin; y < height - margin; ++y) {
            for (int x = margin; x < width - margin; ++x) {
                if (At(x, y) == background)
                    continue;
                if (bounds.IsRectEmpty())
                    bounds = CRect(x, y, x + 1, y + 1);
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
        }
        return bounds;
    }
};

// Paints the window now and reads its client area back. A window of another
// process is read as it is, from the surface of its top-level window
// (asking it to paint at every look would keep it from doing anything else).
inline Pixels Capture(HWND window, bool repaint = true)
{
    if (repaint)
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client = {};
    ::GetClientRect(window, &client);
    const HWND top = repaint ? window : ::GetAncestor(window, GA_ROOT);
    POINT origin = {0, 0};
    if (!repaint) {
        RECT frame = {};
        ::GetWindowRect(top, &frame);
        ::ClientToScreen(window, &origin);
        origin.x -= frame.left;
        origin.y -= frame.top;
    }
    Pixels pixels;
    pixels.width = client.right;
    pixels.height = client.bottom;
    if (pixels.width <= 0 || pixels.height <= 0)
        return pixels;
    HDC source = repaint ? ::GetDC(window) : ::GetWindowDC(top);
    HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, pixels.width, pixels.height, source, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    const auto* row = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < pixels.width * pixels.height; ++i) {
        const uint32_t bgr = row[i];
        pixels.values.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(top, source);
    return pixels;
}

}  // namespace test_support
