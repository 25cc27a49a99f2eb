#include "platform/rasterlib/IcoEncoder.h"

#include "platform/rasterlib/PixelOps.h"

#include <new>

namespace rasterlib {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

bool EncodeIco(const PixelView& view, std::vector<uint8_t>& out)
{
    if (view.width == 0 || view.height == 0 || view.width > kMaxIconSide || view.height > kMaxIconSide)
        return false;
    const bool opaque = ClassifyAlpha(view) != AlphaUse::Mixed;
    const uint32_t w = view.width;
    const uint32_t h = view.height;
    const uint32_t maskStride = ((w + 31) / 32) * 4;
    const uint32_t imageBytes = 40 + w * h * 4 + maskStride * h;
    try {
        out.clear();
        out.reserve(22 + imageBytes);
        // Directory with one entry; a side of 256 is written as 0.
        Put16(out, 0);
        Put16(out, 1);
        Put16(out, 1);
        out.push_back(uint8_t(w & 0xFF));
        out.push_back(uint8_t(h & 0xFF));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, imageBytes);
        Put32(out, 22);
        // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
        Put32(out, 40);
        Put32(out, w);
        Put32(out, h * 2);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, 0);
        Put32(out, w * h * 4 + maskStride * h);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        for (uint32_t y = h; y-- > 0;) {
            const uint8_t* row = view.Row(y);
            for (uint32_t x = 0; x < w; ++x) {
                out.push_back(row[x * 4 + 0]);
                out.push_back(row[x * 4 + 1]);
                out.push_back(row[x * 4 + 2]);
                out.push_back(opaque ? 255 : row[x * 4 + 3]);
            }
        }
        for (uint32_t y = h; y-- > 0;) {
            const uint8_t* row = view.Row(y);
            std::vector<uint8_t> mask(maskStride, 0);
            for (uint32_t x = 0; x < w; ++x) {
                if (!opaque && row[x * 4 + 3] == 0)
                    mask[x / 8] |= uint8_t(0x80 >> (x % 8));
            }
            out.insert(out.end(), mask.begin(), mask.end());
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace rasterlib
