// Per-pixel helpers over B, G, R, A pixels.
#pragma once

#include "platform/rasterlib/RasterImage.h"

namespace rasterlib {

enum class AlphaUse {
    Opaque,   // every A is 255
    Padding,  // every A is 0: the fourth byte carries nothing, the image is opaque
    Mixed     // real transparency
};

AlphaUse ClassifyAlpha(const PixelView& view);

// Copies rows (width * 4 bytes each) from one buffer to another.
void CopyPixels(const PixelView& from, const PixelTarget& to);

void SetAlpha(const PixelTarget& target, uint8_t alpha);

// Colour channels multiplied by A / 255 in place, and the way back.
void Premultiply(const PixelTarget& target);
void Unpremultiply(const PixelTarget& target);

// Blends every pixel over white and makes it opaque, for formats without alpha.
void CompositeOverWhite(const PixelTarget& target);

}  // namespace rasterlib
