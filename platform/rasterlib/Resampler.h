// Separable resampling of B, G, R, A images: exact area averaging when a side shrinks,
// bilinear interpolation when it grows. Transparent images are resampled with
// premultiplied alpha so that clear pixels do not bleed their colour.
#pragma once

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterImage.h"

#include <memory>

namespace rasterlib {

// The rows of a source image, handed over one at a time: each row once, in
// increasing order, so that no source needs to be whole in memory.
class RowSource {
public:
    virtual ~RowSource() = default;
    // The row's width x 4 bytes; null when it cannot be had.
    virtual const uint8_t* Row(uint32_t y) = 0;
};

// Fills dst (its width and height are the new size) from a width x height source
// whose alpha is used as given. False when memory is short or a row is missing.
bool ResampleRows(uint32_t width, uint32_t height, AlphaUse alpha, RowSource& rows, const PixelTarget& dst);

// The pixels of a source image handed over a tile at a time: tiles of
// tileWidth x tileHeight (cut at the image's right and bottom edges), each
// band of tiles left to right, the bands from the top.
class TileSource {
public:
    virtual ~TileSource() = default;
    // Rows of the tile whose first column is left, from its row y (any row of
    // it) on, rows of them (at least one): 4 bytes a pixel, rows stride bytes
    // apart; null when they cannot be had.
    virtual const uint8_t* Tile(uint32_t left, uint32_t y, size_t& stride, uint32_t& rows) = 0;
};

// What ResampleRows gives for the same pixels, to the bit, from tiles: each
// band of tiles' rows are held as sums across the output's width (16 bytes
// an output pixel), never the source's rows.
bool ResampleTiles(uint32_t width, uint32_t height, uint32_t tileWidth, uint32_t tileHeight, AlphaUse alpha,
                   TileSource& tiles, const PixelTarget& dst);

// The same for source rows that come in any order, each whole or in part (the
// passes of an interlaced picture): every output row is held as its sums,
// kSumBytes an output pixel, until Finish writes dst. Rows handed over whole
// give what ResampleRows gives; rows in parts differ from it by rounding alone.
class ResampleSums {
public:
    static constexpr uint32_t kSumBytes = 16;

    ResampleSums();
    ~ResampleSums();
    ResampleSums(const ResampleSums&) = delete;
    ResampleSums& operator=(const ResampleSums&) = delete;

    // False when memory is short.
    bool Begin(uint32_t width, uint32_t height, AlphaUse alpha, const PixelTarget& dst);
    // Source row y's pixels at x = first, first + step, ... (count of them, 4
    // bytes each). A row in parts is handed over once for each part.
    void Add(uint32_t y, const uint8_t* pixels, uint32_t first, uint32_t step, uint32_t count);
    void Finish();

private:
    struct Plan;
    std::unique_ptr<Plan> m_plan;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    bool m_premultiply = false;
    PixelTarget m_dst;
};

// The same from an image in memory.
bool Resample(const PixelView& src, const PixelTarget& dst);

// The largest size of the source's proportions that fits boxWidth x boxHeight (a 0
// side is unbounded); each side at least 1.
void FitInside(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t& fitWidth,
               uint32_t& fitHeight);

}  // namespace rasterlib
