// Where the parts of a GIF lie, up to its first image: the logical screen,
// the colour tables, the blocks before the image (a graphic control block
// among them may name a colour clear), the image's descriptor and its LZW
// data. Later images change nothing the library shows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rasterlib {

// True when the image whose descriptor (its 0x2C byte) lies at descriptor, ten
// bytes that must be there, is inside the logical screen and not empty.
bool IsInsideScreen(const uint8_t* bytes, size_t descriptor);

// The colours of the table that a screen's or an image's flags byte announces
// (three bytes each); 0 when it announces none.
uint32_t TableColours(uint8_t flags);

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

struct GifLayout {
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    uint32_t globalColours = 0;  // 0: no global table (it starts at byte 13)
    size_t blocks = 0;           // just past the global table: the blocks before the image
    size_t descriptor = 0;       // the first image's 0x2C byte
    uint32_t localColours = 0;   // 0: no local table (it follows the descriptor's ten bytes)
    size_t data = 0;             // the LZW minimum code size, then the sub-blocks
    GifPlacement placement;
    bool interlaced = false;  // rows stored in four passes
    int32_t transparent = -1; // the index the last graphic control block makes clear
};

// False when the bytes are no GIF up to the first image (a colour table or a
// block past their end, a block of no known kind) or that image is empty or
// does not lie inside the logical screen.
bool ReadGifLayout(const uint8_t* bytes, size_t count, GifLayout& layout);

}  // namespace rasterlib
