// Bitmaps of 1, 2, 4 or 8 bits with a palette (plain or in runs) and of 24
// bits, read by the library itself a row at a time from the file's bytes. The
// system's decoder holds the whole picture before it gives a row, and for
// runs the library's expanded copy besides: a thumbnail of a bitmap of 144
// megapixels in runs took 280 MB. Here a plain bitmap costs a row; runs,
// which store the bottom row first, are expanded once into one byte a pixel.
// A palette shorter than the bits can name is completed with black, and a
// pixel the runs move past takes the palette's first colour, as other readers
// make them. Other bitmaps (16 and 32 bits, bit fields) go to the system's
// decoder.
#pragma once

#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/Resampler.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

class BmpImage : public RowSource {
public:
    enum class Opening {
        Ready,
        NotTaken,  // a kind the system's decoder reads
        Damaged
    };
    // The bytes must outlive this object.
    Opening Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    // A palette of greys only.
    bool IsGrey() const { return m_grey; }

    // B, G, R, 255 rows, the top one first.
    const uint8_t* Row(uint32_t y) override;
    // dst has the picture's size.
    bool CopyTo(const PixelTarget& dst);
    // Reduced to dst's size, a row at a time.
    bool CopyReduced(const PixelTarget& dst);

private:
    const uint8_t* m_bytes = nullptr;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_bits = 0;
    bool m_bottomUp = true;
    bool m_grey = false;
    size_t m_data = 0;    // where the rows start
    size_t m_stride = 0;  // bytes a stored row
    uint8_t m_palette[256][4] = {};
    std::vector<uint8_t> m_indices;  // runs expanded, bottom row first
    std::vector<uint8_t> m_row;
};

}  // namespace rasterlib
