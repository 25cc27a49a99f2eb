// Icon files, which the imaging component reads but does not write: one 32-bit image
// with its alpha channel and a matching mask.
#pragma once

#include "platform/rasterlib/RasterImage.h"

#include <vector>

namespace rasterlib {

constexpr uint32_t kMaxIconSide = 256;

// False for images larger than kMaxIconSide on a side.
bool EncodeIco(const PixelView& view, std::vector<uint8_t>& out);

}  // namespace rasterlib
