// What reading a TIFF holds beyond the pixels it gives, told from its
// directory and the heads of its strips or tiles before anything of it is
// decoded: libtiff's inputs of the picture (each with the fields of its
// directory, TiffDirectory.h, and the offsets and byte counts of every strip
// or tile), each decoder's state (for JPEG of several scans, every
// coefficient of its strip or tile), and the rows and runs a reading fills.
// The library reads a TIFF in a way that keeps all of it within
// kTiffReadingBytes, or refuses the picture as too large at once, as it
// refuses a picture of more pixels than it decodes.
#pragma once

#include <cstddef>
#include <cstdint>

struct tiff;

namespace rasterlib {

class TiffDirectory;
class TiffInput;

// The most the inputs, decoders, rows and runs of one TIFF reading hold at
// once; a thumbnail's sums (Resampler.h) come on top, within 64 MB in all.
constexpr uint64_t kTiffReadingBytes = uint64_t(32) << 20;
// The most a run of stored rows decoded at once holds.
constexpr uint64_t kTiffRunBytes = uint64_t(1) << 20;

class TiffBudget {
public:
    // Whether an input of the directory stays within the reading's bound:
    // told before libtiff reads it, as a picture of more is too large.
    static bool InputFits(const TiffDirectory& directory);

    // input, open, reads bytes (count of them); both must outlive this object.
    TiffBudget(const TiffInput& input, const uint8_t* bytes, size_t count);

    // What one more input of the picture holds.
    uint64_t InputBytes() const;
    // The most that decoding one strip or tile of first to last (inclusive)
    // holds beside what it decodes into.
    uint64_t DecoderBytes(uint32_t first, uint32_t last) const;
    // The same for every strip or tile.
    uint64_t DecoderBytes() const;

private:
    uint64_t StrileDecoderBytes(uint32_t strile) const;
    // Every coefficient of a strip or tile's size in blocks of 16 pixels: the
    // most a JPEG one can hold.
    uint64_t MostCoefficientBytes() const;

    tiff* m_tiff;
    uint64_t m_fieldBytes;  // an input's of its directory
    const uint8_t* m_bytes;
    size_t m_count;
    uint32_t m_striles = 0;
    uint32_t m_width = 0;   // of a strip or tile
    uint32_t m_height = 0;
    uint16_t m_components = 1;  // of a strip or tile's JPEG frame
    uint16_t m_compression = 1;
    bool m_reversed = false;  // bits stored in reverse fill order: libtiff copies a strile to turn them
};

}  // namespace rasterlib
