// PNG images read through libpng, strictly: every chunk's CRC, the image data's
// Adler-32 and each row's filter byte are checked, the image data are inflated
// only as far as the rows the header asks for (data left over refuse the file,
// after one small step of inflation), and the chunks after the image data are
// read to the end chunk. Rows are delivered one at a time, so a reduced read
// never holds the whole picture: an interlaced one's passes, which each reach
// over the whole picture, go into the sums of every output row (16 bytes an
// output pixel), unless those would hold more than the picture itself. Ancillary chunks are passed over unread beyond their CRC: none of
// them changes the pixels the program shows.
#pragma once

#include "platform/rasterlib/RasterImage.h"

#include <cstddef>
#include <cstdint>

namespace rasterlib {

class PngImage {
public:
    // Reads the chunks up to the image data. The bytes must outlive this object.
    bool Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    // Grey samples, or a palette of greys only.
    bool IsGrey() const { return m_grey; }

    // B, G, R, A rows into dst, which has the image's size. False when any
    // part of the file is refused.
    bool CopyTo(const PixelTarget& dst);
    // Reduced to dst's size.
    bool CopyReduced(const PixelTarget& dst);
    // Every row decoded and dropped, and the chunks after them read: true when
    // the whole file reads.
    bool ReadThrough();

private:
    const uint8_t* m_bytes = nullptr;
    size_t m_count = 0;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    bool m_grey = false;
    bool m_interlaced = false;
    bool m_alpha = false;  // an alpha channel or a transparent colour
};

}  // namespace rasterlib
