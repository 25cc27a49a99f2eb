// The last image encoded for a size call of WriteRasterImageToMemory, so that the
// fill call that follows copies it instead of encoding again. The memo is only used
// when the same thread asks again for the same pixels (compared by a 64-bit digest),
// size and format.
#pragma once

#include "platform/rasterlib/RasterImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rasterlib {

class EncodeMemo {
public:
    // True and the bytes when the memo holds this encoding.
    static bool Take(const PixelView& view, const char* formatName, std::vector<uint8_t>& out);
    static void Keep(const PixelView& view, const char* formatName, const std::vector<uint8_t>& bytes);

    static uint64_t Digest(const PixelView& view);
};

}  // namespace rasterlib
