// GIF images whose pixels may name colours their palette does not have: the
// system's decoder takes such colours from memory that nothing wrote, so the
// same file reads differently each time. Before the decoder sees one it is
// rebuilt with a whole palette, the colours it lacked black.
#pragma once

#include "platform/rasterlib/GifLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

// A GIF of its first image alone on a logical screen of its size, with a
// global table of 256 colours and the image's local table, if any, of 256 too,
// and where that image lies on the file's own screen. False when the bytes are
// no GIF up to the first image, when that image does not lie inside the logical
// screen the file gives, or when its codes are not valid or give fewer pixels
// than the image has (the decoder would fill the rest from memory it never
// wrote).
bool RebuildGifPalettes(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt, GifPlacement& placement);

}  // namespace rasterlib
