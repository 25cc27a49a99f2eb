// Encoding of B, G, R, A pixels by format name.
#pragma once

#include "platform/rasterlib/ByteSink.h"
#include "platform/rasterlib/RasterImage.h"

#include <vector>

namespace rasterlib {

constexpr int kDefaultJpegQuality = 90;

// quality counts for JPEG only; values out of 1 to 100 are brought into it (0 or less
// means kDefaultJpegQuality). False for unknown formats and images the format cannot
// hold.
bool EncodeImage(const PixelView& view, const char* formatName, int quality, std::vector<uint8_t>& out);

// The same encoding handed to the sink: a PNG as libpng makes it, row by row,
// never whole in memory; other formats once encoded. False also when the sink
// fails.
bool EncodeImage(const PixelView& view, const char* formatName, int quality, const ByteSink& sink);

}  // namespace rasterlib
