#pragma once
// What the drawn-control tests share: the pixels a window shows, read back
// from its surface after it has painted, and a visible test window.
#include "controls/KWLinkOpener.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"
#include "tests/platform/classlib/TestSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace controls_test {

// The test program's application, which notes the links it is asked to open.
class CControlsTestApp : public CWinApp, public IKWLinkOpener {
public:
    CControlsTestApp() : CWinApp(L"ControlsTests") {}
    void OpenLink(const CString& text) override { openedLinks.push_back(text.GetString()); }
    std::vector<std::wstring> openedLinks;
};
CControlsTestApp& App();

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

// Paints the window now and reads its client area back.
inline Pixels Capture(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client = {};
    ::GetClientRect(window, &client);
    Pixels pixels;
    pixels.width = client.right;
    pixels.height = client.bottom;
    if (pixels.width <= 0 || pixels.height <= 0)
        return pixels;
    HDC source = ::GetDC(window);
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
    ::BitBlt(memory, 0, 0, pixels.width, pixels.height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* row = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < pixels.width * pixels.height; ++i) {
        const uint32_t bgr = row[i];
        pixels.values.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, source);
    return pixels;
}

// A visible top-level window at a place of the screen, for the controls
// that are made inside it.
struct ShownWindow {
    explicit ShownWindow(const CRect& place)
    {
        window.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, place.left, place.top, place.Width(),
                        place.Height(), nullptr, nullptr);
    }
    ~ShownWindow()
    {
        classlib_test::DrainMessages();
        window.DestroyWindow();
    }
    // A static child of the given client rectangle and id.
    HWND AddStatic(UINT id, const CRect& rect, DWORD style = 0) const
    {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.Width(), rect.Height(), window.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }
    CWnd window;
};

}  // namespace controls_test
