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
// its opening. A file of any size is read (TiffInput.h): one larger than
// kMostTiffViewBytes through the file's reads, not a view of it, which would
// take a 32-bit process's address space from the picture's pixels (a 543 MB
// LZW file of 150 megapixels was once called damaged). A layout libtiff's
// readers refuse goes to the system's decoder only as the one layout and in
// the codings that decoder reads as stored; handed others, it showed RGB
// with alpha of 1 or 4 bits wrong below its first row, and RGB of 1 bit in a
// fax coding as noise. A coding libtiff is built without is of a kind not
// read. A warning or an error of libjpeg inside a JPEG coding makes every
// read fail, as it makes a JPEG file damaged.
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

// The largest TIFF file seen whole through a view of it (ImageSource): a
// larger one beside the pixels of a picture at the pixel bound (640 MB)
// would leave a 32-bit process little room.
constexpr uint64_t kMostTiffViewBytes = uint64_t(512) << 20;

class TiffImage : public RowSource {
public:
    using Opening = TiffOpening;

    TiffImage();
    ~TiffImage() override;
    TiffImage(const TiffImage&) = delete;
    TiffImage& operator=(const TiffImage&) = delete;

    // The source must outlive this object: libtiff reads its bytes in place
    // where they are in memory, else through its reads.
    // NotTaken: the system decoder's kind, which that decoder reads; a file
    // of it the decoder refuses is damaged.
    Opening Open(const ByteSource& source);

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
    // NotTaken for a picture of the system decoder's kind, its pieces
    // within the bound; NotRead for any other.
    Opening LeaveToSystemDecoder();
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
