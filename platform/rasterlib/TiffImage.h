// TIFF images read through libtiff: the check, the thumbnail and the full
// read all go through it, so the check answers what the reads do. Strips of
// the kinds TiffSamples converts are read a unit of rows at a time (TiffRows:
// planes stored apart in a band of strips, through inputs of their own, or
// in turn): the system's decoder decodes a strip whole before it gives a row
// of it, and many files hold their picture in one strip (a thumbnail of a
// grey TIFF of 138 megapixels in one strip took 134 MB, three times that in
// colour). Tiles, and strips of the other kinds libtiff reads (old-style
// JPEG, other colour spaces) come a piece at a time (TiffPieces), a thumbnail
// of tiles through ResampleTiles. Every reading stays within its bound
// (TiffBudget.h): a picture no reading keeps within it is too large, told at
// its opening. Kinds libtiff cannot read (a coding it is built without) stay
// with the system's decoder. A warning or an error of libjpeg inside a JPEG
// coding makes every read fail, as it makes a JPEG file damaged.
#pragma once

#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/Resampler.h"
#include "platform/rasterlib/TiffInput.h"
#include "platform/rasterlib/TiffPieces.h"
#include "platform/rasterlib/TiffRows.h"
#include "platform/rasterlib/TiffSamples.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rasterlib {

class TiffImage : public RowSource {
public:
    using Opening = TiffOpening;

    TiffImage();
    ~TiffImage() override;
    TiffImage(const TiffImage&) = delete;
    TiffImage& operator=(const TiffImage&) = delete;

    // The bytes must outlive this object.
    Opening Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    bool IsGrey() const { return m_grey; }

    // B, G, R, A rows of a picture read in rows, as stored (the orientation
    // not applied), from the first: each row asked decodes every row before
    // it that was not asked. Null for a picture read in pieces or in planes
    // in turn.
    const uint8_t* Row(uint32_t y) override;
    // dst has the picture's size.
    bool CopyTo(const PixelTarget& dst);
    // Reduced to dst's size, a row or a band of tiles at a time.
    bool CopyReduced(const PixelTarget& dst);
    // Every row decoded, none kept: true when the full read succeeds.
    bool ReadThrough();

private:
    // Rows decoded up to y; false when one does not decode.
    bool DecodeUpTo(uint32_t y);
    // Every row read from the first again.
    void Restart() { m_next = 0; }
    // Planes read in turn: every row of each plane handed to take (plane,
    // row, its stored samples) in order; false when one does not decode or
    // take refuses it.
    bool ReadPlanes(const std::function<bool(uint16_t, uint32_t, const uint8_t*)>& take);

    bool m_damaged = false;  // libjpeg warned or failed
    std::unique_ptr<TiffInput> m_input;
    TiffSamples m_samples;
    std::unique_ptr<TiffRows> m_rows;      // strips read a row at a time
    std::unique_ptr<TiffPieces> m_pieces;  // the rest
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    bool m_grey = false;
    bool m_alpha = false;
    uint32_t m_next = 0;  // the row decoded next
    std::vector<uint8_t> m_stored;  // a unit of rows as stored
    std::vector<uint8_t> m_row;
};

}  // namespace rasterlib
