#pragma once
// Screenshots of the windows a test opens, as PNG files under the test
// program's folder: screenshots\<name>.png. The window's own surface holds
// what it and its children painted (the system's print request would ask
// each window to paint again, which windows that paint only on WM_PAINT do
// not answer); it works for windows of another process of the desktop too.
#include "framework/KWGdiPlusStartup.h"

#include <windows.h>
#include <gdiplus.h>

#include <string>

namespace test_support {

inline bool WriteWindowScreenshot(HWND window, const wchar_t* name)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC source = ::GetWindowDC(window);
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const BOOL copied = ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(window, source);

    wchar_t folder[MAX_PATH];
    ::GetModuleFileNameW(nullptr, folder, MAX_PATH);
    std::wstring path(folder);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"screenshots";
    ::CreateDirectoryW(path.c_str(), nullptr);
    path += std::wstring(L"\\") + name + L".png";

    bool written = false;
    Gdiplus::GpBitmap* image = nullptr;
    // The PNG encoder of GDI+.
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    if (copied && StartupGdiPlus() && Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == 0) {
        written = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == 0;
        Gdiplus::DllExports::GdipDisposeImage(image);
    }
    ::DeleteObject(bitmap);
    return written;
}

}  // namespace test_support
