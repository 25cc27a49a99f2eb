// Rotation of B, G, R, A images clockwise by whole degrees.
#pragma once

#include "platform/rasterlib/RasterImage.h"

namespace rasterlib {

// Size of the rotated canvas: the bounding box of the turned image. False when it is
// beyond the library's limits.
bool RotatedSize(uint32_t width, uint32_t height, int32_t angle, uint32_t& rotatedWidth, uint32_t& rotatedHeight);

// Fills dst (of the size RotatedSize gives) with src turned by angle; multiples of 90
// move pixels exactly, other angles interpolate bilinearly and give uncovered pixels
// the background value. False when memory is short.
bool Rotate(const PixelView& src, int32_t angle, uint32_t background, const PixelTarget& dst);

}  // namespace rasterlib
