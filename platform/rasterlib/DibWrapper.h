// Clipboard bitmaps (CF_DIB: a BITMAPINFO and its bits, no file header) made into
// BMP files so that the BMP decoder reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

// False when the block is not a plausible DIB or its bits are cut short.
bool WrapDib(const uint8_t* dib, size_t count, std::vector<uint8_t>& bmp);

}  // namespace rasterlib
