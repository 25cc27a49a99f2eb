// GIF, BMP and TIFF files written through the Windows Imaging Component (PNG
// goes through libpng, a row at a time).
#pragma once

#include "platform/rasterlib/FormatTable.h"
#include "platform/rasterlib/RasterImage.h"

#include <vector>

namespace rasterlib {

// TIFF keeps transparency; BMP and GIF get the image blended over white when
// it has any. GIF keeps the exact colours of images with at most 256 of them.
bool WicEncode(const PixelView& view, ImageFormat format, std::vector<uint8_t>& out);

}  // namespace rasterlib
