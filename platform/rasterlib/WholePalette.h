// Indexed images whose pixels may name colours their palette does not have, and
// bitmaps in runs that may leave pixels out: the system's decoders take such colours
// and pixels from memory that nothing wrote, so the same file reads differently each
// time. Before a decoder sees them they are rebuilt with a whole palette (the colours
// it lacked black) and, for runs, expanded into plain rows in which a pixel the runs
// leave out takes the palette's first colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

// True when the image whose descriptor (its 0x2C byte) lies at descriptor, ten
// bytes that must be there, is inside the logical screen and not empty.
bool IsInsideScreen(const uint8_t* bytes, size_t descriptor);

// Just past the empty sub-block that ends the sub-blocks starting at pos;
// count + 1 when the bytes end first.
size_t SubBlocksEnd(const uint8_t* bytes, size_t count, size_t pos);

// Where a GIF's first image lies on the logical screen.
struct GifPlacement {
    uint32_t left = 0;
    uint32_t top = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// A GIF of its first image alone on a logical screen of its size, with a
// global table of 256 colours and the image's local table, if any, of 256 too,
// and where that image lies on the file's own screen. False when the bytes are
// no GIF up to the first image, when that image does not lie inside the logical
// screen the file gives, or when its codes are not valid or give fewer pixels
// than the image has (the decoder would fill the rest from memory it never
// wrote).
bool RebuildGifPalettes(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt, GifPlacement& placement);

// The pixels of bottom-up rows in runs (8 bits per pixel, or 4 with nibbles) as
// 8-bit rows rowBytes apart (rows may be null: the runs are only walked). True
// when the runs fill the bitmap, every row to its end, before the data or an
// end of bitmap stop them; other readers refuse a bitmap whose runs do not.
bool ExpandRuns(const uint8_t* data, size_t count, bool nibbles, uint32_t width, uint32_t height, size_t rowBytes,
                uint8_t* rows);

// A bitmap of at most 8 bits per pixel as a plain one with a whole palette; runs
// become 8-bit rows. True with nothing rebuilt for a bitmap with more bits per
// pixel; false when the bytes are no bitmap this can rebuild.
bool RebuildIndexedBitmap(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt);

}  // namespace rasterlib
