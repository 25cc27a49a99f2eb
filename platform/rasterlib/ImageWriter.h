// Encoding of B, G, R, A pixels by format name.
#pragma once

#include "platform/rasterlib/RasterImage.h"

#include <vector>

namespace rasterlib {

constexpr int kDefaultJpegQuality = 90;

// quality counts for JPEG only; values out of 1 to 100 are brought into it (0 or less
// means kDefaultJpegQuality). False for unknown formats and images the format cannot
// hold.
bool EncodeImage(const PixelView& view, const char* formatName, int quality, std::vector<uint8_t>& out);

}  // namespace rasterlib
