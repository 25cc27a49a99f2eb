#include "platform/rasterlib/Rotator.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterLibApi.h"

#include <cmath>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t NormalAngle(int32_t angle)
{
    const int32_t a = angle % 360;
    return a < 0 ? a + 360 : a;
}

void TurnQuarter(const PixelView& src, int32_t angle, const PixelTarget& dst)
{
    const uint32_t w = src.width;
    const uint32_t h = src.height;
    for (uint32_t y = 0; y < dst.height; ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(dst.Row(y));
        for (uint32_t x = 0; x < dst.width; ++x) {
            uint32_t sx = x, sy = y;
            if (angle == 90) {
                sx = y;
                sy = h - 1 - x;
            } else if (angle == 180) {
                sx = w - 1 - x;
                sy = h - 1 - y;
            } else if (angle == 270) {
                sx = w - 1 - y;
                sy = x;
            }
            std::memcpy(&out[x], src.Row(sy) + size_t(sx) * 4, 4);
        }
    }
}

void TurnAny(const PixelView& src, int32_t angle, const uint8_t background[4], const PixelTarget& dst)
{
    const double theta = angle * kPi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double srcCx = src.width / 2.0;
    const double srcCy = src.height / 2.0;
    const double dstCx = dst.width / 2.0;
    const double dstCy = dst.height / 2.0;
    const int32_t w = int32_t(src.width);
    const int32_t h = int32_t(src.height);
    for (uint32_t y = 0; y < dst.height; ++y) {
        uint8_t* out = dst.Row(y);
        const double dy = y + 0.5 - dstCy;
        for (uint32_t x = 0; x < dst.width; ++x, out += 4) {
            const double dx = x + 0.5 - dstCx;
            // Back from the output pixel's centre to source pixel-centre coordinates.
            const double u = dx * c + dy * s + srcCx - 0.5;
            const double v = -dx * s + dy * c + srcCy - 0.5;
            const double fu = std::floor(u);
            const double fv = std::floor(v);
            if (fu < -1 || fv < -1 || fu >= w || fv >= h) {
                std::memcpy(out, background, 4);
                continue;
            }
            const int32_t x0 = int32_t(fu);
            const int32_t y0 = int32_t(fv);
            const uint32_t ax = uint32_t((u - fu) * 256 + 0.5);
            const uint32_t ay = uint32_t((v - fv) * 256 + 0.5);
            const uint32_t weight[4] = {(256 - ax) * (256 - ay), ax * (256 - ay), (256 - ax) * ay, ax * ay};
            const uint8_t* tap[4];
            for (int k = 0; k < 4; ++k) {
                const int32_t tx = x0 + (k & 1);
                const int32_t ty = y0 + (k >> 1);
                tap[k] = (tx < 0 || ty < 0 || tx >= w || ty >= h) ? background : src.Row(uint32_t(ty)) + size_t(tx) * 4;
            }
            for (int ch = 0; ch < 4; ++ch) {
                const uint32_t sum = weight[0] * tap[0][ch] + weight[1] * tap[1][ch] + weight[2] * tap[2][ch] +
                                     weight[3] * tap[3][ch];
                out[ch] = uint8_t((sum + 32768) >> 16);
            }
        }
    }
}

}  // namespace

bool RotatedSize(uint32_t width, uint32_t height, int32_t angle, uint32_t& rotatedWidth, uint32_t& rotatedHeight)
{
    rotatedWidth = rotatedHeight = 0;
    if (!IsAcceptableSize(width, height))
        return false;
    const int32_t a = NormalAngle(angle);
    if (a % 180 == 0) {
        rotatedWidth = width;
        rotatedHeight = height;
    } else if (a % 90 == 0) {
        rotatedWidth = height;
        rotatedHeight = width;
    } else {
        const double theta = a * kPi / 180.0;
        const double c = std::fabs(std::cos(theta));
        const double s = std::fabs(std::sin(theta));
        const double w = std::ceil(width * c + height * s - 1e-6);
        const double h = std::ceil(width * s + height * c - 1e-6);
        if (w > kMaxImageSide || h > kMaxImageSide)
            return false;
        rotatedWidth = uint32_t(w < 1 ? 1 : w);
        rotatedHeight = uint32_t(h < 1 ? 1 : h);
    }
    return IsAcceptableSize(rotatedWidth, rotatedHeight);
}

bool Rotate(const PixelView& src, int32_t angle, uint32_t background, const PixelTarget& dst)
{
    const int32_t a = NormalAngle(angle);
    if (a % 90 == 0) {
        TurnQuarter(src, a, dst);
        return true;
    }
    uint8_t fill[4];
    std::memcpy(fill, &background, 4);
    const AlphaUse alpha = ClassifyAlpha(src);
    if (alpha == AlphaUse::Padding) {
        TurnAny(src, a, fill, dst);
        return true;
    }
    // Interpolating premultiplied values keeps the colour of edge pixels that blend
    // with a clear background. An opaque image is its own premultiplied form.
    PixelTarget fillPixel{fill, 1, 1, 4};
    Premultiply(fillPixel);
    if (alpha == AlphaUse::Opaque) {
        TurnAny(src, a, fill, dst);
        Unpremultiply(dst);
        return true;
    }
    try {
        RasterImage premultiplied;
        if (!premultiplied.Allocate(src.width, src.height))
            return false;
        CopyPixels(src, premultiplied.Target());
        Premultiply(premultiplied.Target());
        TurnAny(premultiplied.View(), a, fill, dst);
        Unpremultiply(dst);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rasterlib
