// The kinds of TIFF pixels the library turns into B, G, R, A itself: grey and
// fax pictures of 1 to 16 bits, palettes of 1 to 8 bits, RGB of 8 or 16 bits
// with or without alpha, CMYK, and JPEG-coded colour (which libjpeg makes
// RGB), their samples stored together or (at 8 and 16 bits) in planes apart.
// A pixel's samples reach Convert together, as a row or a tile's row holds
// them stored together.
#pragma once

#include <cstddef>
#include <cstdint>

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
    // The bytes of count pixels' samples together; of one plane's samples
    // when planar.
    uint64_t StoredBytes(uint64_t count, bool plane = false) const
    {
        return (count * (plane ? 1 : m_samples) * m_bits + 7) / 8;
    }

    // count pixels of stored samples into B, G, R, A (alpha as stored).
    void Convert(const uint8_t* in, uint8_t* out, uint32_t count) const;
    // The planes' samples of count pixels (8 or 16 bits) put together.
    void Gather(const uint8_t* const* planes, uint8_t* out, uint32_t count) const;

private:
    enum class Kind { Grey, Palette, Rgb, Cmyk };

    Kind m_kind = Kind::Grey;
    uint16_t m_samples = 0;
    uint16_t m_bits = 0;
    int m_alphaSample = -1;  // the sample that holds alpha, -1 for none
    bool m_premultiplied = false;
    bool m_whiteIsZero = false;
    bool m_grey = false;
    uint8_t m_palette[256][4] = {};
};

}  // namespace rasterlib
