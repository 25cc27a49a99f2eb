// TIFF images read reduced through libtiff a row at a time. The system's
// decoder decodes a strip whole before it gives a row of it, and many files
// hold their picture in one strip: a thumbnail of a grey TIFF of 138
// megapixels in one strip took 134 MB, three times that in colour. libtiff
// decodes a strip's rows one after the other, its coded bytes read where
// they lie. Taken: strips (not tiles) of 8-bit grey (black the least), 8-bit
// RGB or a palette of 8 bits, stored plain, in LZW, PackBits or deflate; the
// full read and the other kinds stay with the system's decoder.
#pragma once

#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/Resampler.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct tiff;

namespace rasterlib {

class TiffImage : public RowSource {
public:
    enum class Opening {
        Ready,
        NotTaken,  // a kind the system's decoder reads
    };

    TiffImage() = default;
    ~TiffImage() override;
    TiffImage(const TiffImage&) = delete;
    TiffImage& operator=(const TiffImage&) = delete;

    // The bytes must outlive this object.
    Opening Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }

    // B, G, R, 255 rows, each once and in order (the last one again).
    const uint8_t* Row(uint32_t y) override;
    // Reduced to dst's size, a row at a time. False when a row does not decode.
    bool CopyReduced(const PixelTarget& dst);

    // The bytes and where libtiff reads them.
    struct Memory {
        const uint8_t* bytes = nullptr;
        uint64_t size = 0;
        uint64_t at = 0;
    };

private:
    Memory m_memory;
    tiff* m_tiff = nullptr;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint16_t m_photometric = 0;
    uint16_t m_samples = 0;
    uint16_t m_bits = 0;
    uint32_t m_next = 0;
    uint8_t m_palette[256][4] = {};
    std::vector<uint8_t> m_stored;  // a row as stored
    std::vector<uint8_t> m_row;
};

}  // namespace rasterlib
