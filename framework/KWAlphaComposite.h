#pragma once
// Pictures with transparency shown on a window's background. A raster
// image's fourth pixel byte is then its straight (not premultiplied)
// alpha, and the picture is blended over the background as GDI+ draws it
// (the gallery's way); a picture whose fourth bytes are all 0 or all 255
// has none, and those bytes only pad its pixels.
#include "framework/KWRasterImage.h"

#include <cstdint>

// True when some fourth byte lies between 0 and 255, or both 0 and 255 occur.
bool KWHasTransparency(const KWRasterImage& image);

// Copies the image's rows (width x 4 bytes each, whatever its stride) into a
// 32-bit top-down buffer of rowPixels pixels a row at (left, top). A picture
// with transparency is blended over the background (a COLORREF value) and
// comes out opaque; any other is copied unchanged.
void KWCopyRowsOver(const KWRasterImage& image, uint8_t* bits, int rowPixels, int left, int top,
                    uint32_t background);

// The same in place: a picture with transparency becomes its blend over the
// background (a COLORREF value), opaque, as a page shows it; any other is
// left as it is. True when it was blended.
bool KWBlendOver(KWRasterImage& image, uint32_t background);
