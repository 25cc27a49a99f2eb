// TIFF images read through libtiff: the check, the thumbnail and the full
// read all go through it, so the check answers what the reads do. Strips of
// the common kinds (grey and fax pictures of 1 to 16 bits, palettes of 1 to 8
// bits, RGB of 8 or 16 bits with or without alpha, CMYK, JPEG-coded colour)
// are read a row at a time (PackBits through PackBitsRows, as its runs may
// run on from one row into the next, which libtiff's rows refuse): the
// system's decoder decodes a strip whole before it gives a row of it, and
// many files hold their picture in one strip (a thumbnail of a grey TIFF of
// 138 megapixels in one strip took 134 MB, three times that in colour). Other kinds libtiff reads (tiles, planes stored
// apart, old-style JPEG, other colour spaces) come through its RGBA reader a
// strip or a row of tiles at a time. Kinds libtiff cannot read (a coding it
// is built without) stay with the system's decoder.
#pragma once

#include "platform/rasterlib/PackBitsRows.h"
#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/Resampler.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct tiff;

namespace rasterlib {

class TiffImage : public RowSource {
public:
    enum class Opening {
        Ready,
        NotTaken,  // a kind the system's decoder reads
        Damaged    // libtiff refuses its directory
    };

    TiffImage();
    ~TiffImage() override;
    TiffImage(const TiffImage&) = delete;
    TiffImage& operator=(const TiffImage&) = delete;

    // The bytes must outlive this object.
    Opening Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    bool IsGrey() const { return m_grey; }

    // B, G, R, A rows as stored (the orientation not applied), from the
    // first: each row asked decodes every row before it that was not asked.
    const uint8_t* Row(uint32_t y) override;
    // dst has the picture's size.
    bool CopyTo(const PixelTarget& dst);
    // Reduced to dst's size, a row at a time.
    bool CopyReduced(const PixelTarget& dst);
    // Every row decoded, none kept: true when the full read succeeds.
    bool ReadThrough();

    // The bytes and where libtiff reads them.
    struct Memory {
        const uint8_t* bytes = nullptr;
        uint64_t size = 0;
        uint64_t at = 0;
    };

private:
    enum class Kind { Grey, Palette, Rgb, Cmyk, Rgba };
    struct RgbaReader;

    Opening OpenScanlines(uint16_t photometric, uint16_t compression, uint16_t planar);
    Opening OpenRgba();
    // Rows decoded up to y; false when one does not decode.
    bool DecodeUpTo(uint32_t y);
    // Stored row y, the one after the last read.
    bool ReadStored(uint32_t y);
    void ConvertStored(const uint8_t* in);
    bool DecodeBand(uint32_t first);
    // Every row read from the first again.
    void Restart() { m_next = 0; m_bandFirst = m_bandRows = 0; }

    Memory m_memory;
    tiff* m_tiff = nullptr;
    std::unique_ptr<RgbaReader> m_rgba;
    Kind m_kind = Kind::Grey;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint16_t m_samples = 0;
    uint16_t m_bits = 0;
    int m_alphaSample = -1;   // the sample that holds alpha, -1 for none
    bool m_premultiplied = false;
    bool m_whiteIsZero = false;
    bool m_grey = false;
    uint32_t m_next = 0;      // the row decoded next
    uint32_t m_bandFirst = 0;  // the RGBA reader's rows in hand
    uint32_t m_bandRows = 0;
    uint32_t m_bandHeight = 0;
    uint8_t m_palette[256][4] = {};
    uint32_t m_rowsPerStrip = 0;
    std::unique_ptr<PackBitsRows> m_packBits;
    std::vector<uint8_t> m_stored;  // a row as stored
    std::vector<uint32_t> m_band;   // the RGBA reader's rows
    std::vector<uint8_t> m_row;
};

}  // namespace rasterlib
