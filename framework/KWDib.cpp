#include "framework/KWDib.h"

HBITMAP KWCreateTopDownDib(HDC dc, int width, int height, BITMAPINFO& info, void** bits)
{
    info = BITMAPINFO();
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return dc ? ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0) : nullptr;
}
