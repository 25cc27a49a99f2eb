// What reading a TIFF holds beyond the pixels it gives, told from its
// directory and the heads of its strips or tiles before anything of it is
// decoded: libtiff's inputs of the picture (each with the fields of its
// directory, TiffDirectory.h, and the offsets and byte counts of every strip
// or tile), each decoder's state (for JPEG of several scans, every
// coefficient of its strip or tile; for PixarLog, a strip's samples), the
// coded bytes libtiff reads into buffers of its own where the file is not
// seen whole (TiffInput.h), and the rows and runs a reading fills.
// The library reads a TIFF in a way that keeps all of it within
// kTiffReadingBytes, or refuses the picture as too large at once, as it
// refuses a picture of more pixels than it decodes.
#pragma once

#include "platform/rasterlib/ByteSource.h"

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

    // How a reading takes the coded bytes of a strip that libtiff reads
    // through the file: a run of rows at a time (TiffRuns), through a window
    // of them, or a strip at a time, all of them.
    enum class Strips { InRuns, Whole };

    // input, open, must outlive this object.
    explicit TiffBudget(const TiffInput& input, Strips strips = Strips::InRuns);

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
    // What libtiff holds of the strile's coded bytes: none of a file seen
    // whole unless it turns their bits; else a window of rows of a strip read
    // in runs, or all of them (of a tile, of a strip read whole, of JPEG of
    // several scans, which libtiff reads whole).
    uint64_t CodedBytes(uint32_t strile, bool severalScans) const;

    tiff* m_tiff;
    const ByteSource& m_source;
    uint64_t m_fieldBytes;  // an input's of its directory
    bool m_mapped;
    bool m_window;  // strips read through a window of their coded bytes
    uint64_t m_windowBytes = 0;
    uint32_t m_striles = 0;
    uint32_t m_width = 0;   // of a strip or tile
    uint32_t m_height = 0;
    uint16_t m_components = 1;  // of a strip or tile's JPEG frame
    uint16_t m_compression = 1;
    bool m_reversed = false;  // bits stored in reverse fill order: libtiff copies a strile to turn them
    uint64_t m_pixarLogBytes = 0;  // a PixarLog decoder's buffer
};

}  // namespace rasterlib
