// Separable resampling of B, G, R, A images: exact area averaging when a side shrinks,
// bilinear interpolation when it grows. Transparent images are resampled with
// premultiplied alpha so that clear pixels do not bleed their colour.
#pragma once

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterImage.h"

namespace rasterlib {

// The rows of a source image, handed over one at a time: each row once, in
// increasing order, so that no source needs to be whole in memory.
class RowSource {
public:
    virtual ~RowSource() = default;
    // The row's width x 4 bytes; null when it cannot be had.
    virtual const uint8_t* Row(uint32_t y) = 0;
};

// Fills dst (its width and height are the new size) from a width x height source
// whose alpha is used as given. False when memory is short or a row is missing.
bool ResampleRows(uint32_t width, uint32_t height, AlphaUse alpha, RowSource& rows, const PixelTarget& dst);

// The same from an image in memory.
bool Resample(const PixelView& src, const PixelTarget& dst);

// The largest size of the source's proportions that fits boxWidth x boxHeight (a 0
// side is unbounded); each side at least 1.
void FitInside(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t& fitWidth,
               uint32_t& fitHeight);

}  // namespace rasterlib
