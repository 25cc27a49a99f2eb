#include "framework/KWAlphaComposite.h"

#include <cstring>

bool KWHasTransparency(const KWRasterImage& image)
{
    bool clear = false;
    bool opaque = false;
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* pixel = image.Pixels() + static_cast<size_t>(y) * image.stride;
        for (uint32_t x = 0; x < image.width; ++x, pixel += 4) {
            const uint8_t alpha = pixel[3];
            clear = clear || alpha == 0;
            opaque = opaque || alpha == 255;
            if ((alpha != 0 && alpha != 255) || (clear && opaque))
                return true;
        }
    }
    return false;
}

namespace {

// Blends count pixels of source over the background colour into target
// (which may be source itself), opaque.
void BlendRow(const uint8_t* source, uint8_t* target, uint32_t count, uint32_t background)
{
    // Blue, green, red: the order of the pixel bytes.
    const unsigned under[3] = {(background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF};
    for (uint32_t x = 0; x < count; ++x, source += 4, target += 4) {
        const unsigned alpha = source[3];
        for (int c = 0; c < 3; ++c)
            target[c] = static_cast<uint8_t>((source[c] * alpha + under[c] * (255 - alpha) + 127) / 255);
        target[3] = 255;
    }
}

}  // namespace

void KWCopyRowsOver(const KWRasterImage& image, uint8_t* bits, int rowPixels, int left, int top,
                    uint32_t background)
{
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    const bool blend = KWHasTransparency(image);
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* source = image.Pixels() + static_cast<size_t>(y) * image.stride;
        uint8_t* target = bits + (static_cast<size_t>(top + static_cast<int>(y)) * rowPixels + left) * 4;
        if (blend)
            BlendRow(source, target, image.width, background);
        else
            std::memcpy(target, source, rowBytes);
    }
}

bool KWBlendOver(KWRasterImage& image, uint32_t background)
{
    if (!KWHasTransparency(image))
        return false;
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = image.Pixels() + static_cast<size_t>(y) * image.stride;
        BlendRow(row, row, image.width, background);
    }
    return true;
}
