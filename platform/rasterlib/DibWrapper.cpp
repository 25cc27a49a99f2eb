#include "platform/rasterlib/DibWrapper.h"

#include "platform/rasterlib/ByteOrder.h"
#include "platform/rasterlib/RasterImage.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

}  // namespace

bool WrapDib(const uint8_t* dib, size_t count, std::vector<uint8_t>& bmp)
{
    if (!dib || count < 12)
        return false;
    const uint32_t headerSize = Le32(dib);
    uint64_t width = 0, height = 0, colours = 0;
    uint32_t bits = 0, compression = kBiRgb, paletteEntrySize = 4;
    uint64_t masks = 0;
    if (headerSize == 12) {
        width = Le16(dib + 4);
        height = Le16(dib + 6);
        bits = Le16(dib + 10);
        paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        if (count < headerSize)
            return false;
        const int32_t w = int32_t(Le32(dib + 4));
        const int32_t h = int32_t(Le32(dib + 8));
        if (w <= 0 || h == 0 || h == INT32_MIN)
            return false;
        width = uint32_t(w);
        height = uint32_t(h < 0 ? -h : h);
        bits = Le16(dib + 14);
        compression = Le32(dib + 16);
        colours = Le32(dib + 32);
        // With the plain header, bit-field masks follow it.
        if (headerSize == 40 && compression == kBiBitfields)
            masks = 12;
        else if (headerSize == 40 && compression == kBiAlphaBitfields)
            masks = 16;
    } else {
        return false;
    }
    if (!IsAcceptableSize(width, height))
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (colours == 0 && bits <= 8)
        colours = uint64_t(1) << bits;
    if (colours > 256 && bits <= 8)
        return false;
    const uint64_t bitsOffset = uint64_t(headerSize) + masks + colours * paletteEntrySize;
    if (bitsOffset > count)
        return false;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        const uint64_t rowBytes = ((width * bits + 31) / 32) * 4;
        if (bitsOffset + rowBytes * height > count)
            return false;
    } else if (compression != kBiRle8 && compression != kBiRle4) {
        return false;
    }
    const uint64_t fileSize = 14 + uint64_t(count);
    if (fileSize > 0xFFFFFFFFu)
        return false;
    try {
        bmp.resize(size_t(fileSize));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const uint32_t size32 = uint32_t(fileSize);
    const uint32_t offset32 = uint32_t(14 + bitsOffset);
    uint8_t header[14] = {'B', 'M'};
    std::memcpy(header + 2, &size32, 4);
    std::memcpy(header + 10, &offset32, 4);
    std::memcpy(bmp.data(), header, 14);
    std::memcpy(bmp.data() + 14, dib, count);
    return true;
}

}  // namespace rasterlib
