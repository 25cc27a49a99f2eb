#pragma once
// A 32-bit top-down device-independent bitmap, the form the framework hands
// pixels to GDI in.
#include <windows.h>

// Fills info for a width x height top-down 32-bit bitmap and makes it for the
// context; the bitmap (its pixels in bits), or null.
HBITMAP KWCreateTopDownDib(HDC dc, int width, int height, BITMAPINFO& info, void** bits);
