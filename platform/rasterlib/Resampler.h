// Separable resampling of B, G, R, A images: exact area averaging when a side shrinks,
// bilinear interpolation when it grows. Transparent images are resampled with
// premultiplied alpha so that clear pixels do not bleed their colour.
#pragma once

#include "platform/rasterlib/RasterImage.h"

namespace rasterlib {

// Fills dst (its width and height are the new size) from src. False when memory is
// short.
bool Resample(const PixelView& src, const PixelTarget& dst);

// The largest size of the source's proportions that fits boxWidth x boxHeight (a 0
// side is unbounded); each side at least 1.
void FitInside(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t& fitWidth,
               uint32_t& fitHeight);

}  // namespace rasterlib
