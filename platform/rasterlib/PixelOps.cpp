#include "platform/rasterlib/PixelOps.h"

#include <cstring>

namespace rasterlib {

AlphaUse ClassifyAlpha(const PixelView& view)
{
    bool sawOpaque = false;
    bool sawClear = false;
    for (uint32_t y = 0; y < view.height; ++y) {
        const uint8_t* p = view.Row(y);
        for (uint32_t x = 0; x < view.width; ++x) {
            const uint8_t a = p[x * 4 + 3];
            if (a == 255)
                sawOpaque = true;
            else if (a == 0)
                sawClear = true;
            else
                return AlphaUse::Mixed;
            if (sawOpaque && sawClear)
                return AlphaUse::Mixed;
        }
    }
    return sawClear ? AlphaUse::Padding : AlphaUse::Opaque;
}

void CopyPixels(const PixelView& from, const PixelTarget& to)
{
    const size_t rowBytes = size_t(from.width) * 4;
    for (uint32_t y = 0; y < from.height; ++y)
        std::memcpy(to.Row(y), from.Row(y), rowBytes);
}

void SetAlpha(const PixelTarget& target, uint8_t alpha)
{
    for (uint32_t y = 0; y < target.height; ++y) {
        uint8_t* p = target.Row(y);
        for (uint32_t x = 0; x < target.width; ++x)
            p[x * 4 + 3] = alpha;
    }
}

static uint8_t MulDiv255(uint32_t v, uint32_t a)
{
    const uint32_t t = v * a + 128;
    return uint8_t((t + (t >> 8)) >> 8);
}

void Premultiply(const PixelTarget& target)
{
    for (uint32_t y = 0; y < target.height; ++y) {
        uint8_t* p = target.Row(y);
        for (uint32_t x = 0; x < target.width; ++x, p += 4) {
            const uint32_t a = p[3];
            if (a == 255)
                continue;
            p[0] = MulDiv255(p[0], a);
            p[1] = MulDiv255(p[1], a);
            p[2] = MulDiv255(p[2], a);
        }
    }
}

void Unpremultiply(const PixelTarget& target)
{
    for (uint32_t y = 0; y < target.height; ++y) {
        uint8_t* p = target.Row(y);
        for (uint32_t x = 0; x < target.width; ++x, p += 4) {
            const uint32_t a = p[3];
            if (a == 255)
                continue;
            if (a == 0) {
                p[0] = p[1] = p[2] = 0;
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const uint32_t v = (p[c] * 255u + a / 2) / a;
                p[c] = uint8_t(v > 255 ? 255 : v);
            }
        }
    }
}

void CompositeOverWhite(const PixelTarget& target)
{
    for (uint32_t y = 0; y < target.height; ++y) {
        uint8_t* p = target.Row(y);
        for (uint32_t x = 0; x < target.width; ++x, p += 4) {
            const uint32_t a = p[3];
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t((p[c] * a + 255u * (255u - a) + 127) / 255);
            p[3] = 255;
        }
    }
}

}  // namespace rasterlib
