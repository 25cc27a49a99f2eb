// The kinds of TIFF pixels the library turns into B, G, R, A itself: grey and
// fax pictures of 1 to 16 bits, palettes of 1 to 8 bits, RGB of 8 or 16 bits
// with or without alpha, CMYK, JPEG-coded colour (which libjpeg makes RGB),
// and YCbCr of 8 bits stored together, in blocks of 1, 2 or 4 pixels across
// and down, made RGB as libtiff's RGBA reader makes it; their samples stored
// together or (at 8 and 16 bits) in planes apart. A pixel's samples reach
// Convert together, as a unit of stored rows (a row, or a row of YCbCr
// blocks) holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct tiff;

namespace rasterlib {

class TiffSamples {
public:
    // Takes the directory's kind; false for a kind libtiff's RGBA reader is
    // left to convert. Sets the JPEG colour mode that makes libjpeg give RGB.
    bool Take(tiff* tif, uint16_t photometric, uint16_t compression, bool planar);

    uint16_t Samples() const { return m_samples; }
    uint16_t Bits() const { return m_bits; }
    bool IsGrey() const { return m_grey; }
    // Alpha in the pixels, and whether it was multiplied into the colours.
    bool HasAlpha() const { return m_alphaSample >= 0; }
    bool IsPremultiplied() const { return m_premultiplied; }
    // Each plane of planes apart gives channels of its own, alone: grey or
    // RGB without alpha.
    bool IsSeparable() const { return (m_kind == Kind::Grey || m_kind == Kind::Rgb) && m_alphaSample < 0; }

    // The rows a unit of stored rows holds: the height of a YCbCr block, else 1.
    uint32_t UnitRows() const { return m_down; }
    // The bytes of a unit of count pixels across, of one plane's samples when
    // plane (the samples of count pixels together, for a unit of one row).
    uint64_t UnitBytes(uint64_t count, bool plane = false) const
    {
        if (m_kind == Kind::YCbCr)
            return (count + m_across - 1) / m_across * (m_across * m_down + 2);
        return StoredBytes(count, plane);
    }
    uint64_t StoredBytes(uint64_t count, bool plane = false) const
    {
        return (count * (plane ? 1 : m_samples) * m_bits + 7) / 8;
    }

    // Row row of a unit of count pixels across into B, G, R, A (alpha as
    // stored).
    void Convert(const uint8_t* unit, uint32_t row, uint8_t* out, uint32_t count) const;
    // The planes' samples of count pixels (8 or 16 bits) put together.
    void Gather(const uint8_t* const* planes, uint8_t* out, uint32_t count) const;
    // Plane plane's samples of count pixels into the channels it gives (a
    // separable kind's), opaque from the first plane, the others left.
    void Spread(uint16_t plane, const uint8_t* in, uint8_t* out, uint32_t count) const;

private:
    enum class Kind { Grey, Palette, Rgb, Cmyk, YCbCr };
    bool TakeYCbCr(tiff* tif);

    Kind m_kind = Kind::Grey;
    uint16_t m_samples = 0;
    uint16_t m_bits = 0;
    uint32_t m_across = 1;  // a YCbCr block's size
    uint32_t m_down = 1;
    int m_alphaSample = -1;  // the sample that holds alpha, -1 for none
    bool m_premultiplied = false;
    bool m_whiteIsZero = false;
    bool m_grey = false;
    uint8_t m_palette[256][4] = {};
    std::vector<uint8_t> m_ycbcr;  // libtiff's YCbCr conversion tables
};

}  // namespace rasterlib
