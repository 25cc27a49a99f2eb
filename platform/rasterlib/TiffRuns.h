// A strip or a tile of a TIFF decoded in runs of whole rows, each run where
// the last one ended, through libtiff's own codec. libtiff's public calls
// decode a strip or a tile from its start each time (TIFFReadScanline goes on
// where it stopped, but in strips alone, a scanline at a time, and a row of
// YCbCr blocks need not be a whole number of scanlines): a tile of 4096 x
// 4096 RGB decoded whole holds 48 MB, and one of RGBA at 16 bits 128 MB. The
// first run comes from TIFFReadEncodedStrip or TIFFReadEncodedTile, which
// decode as much of a strile as they are asked for; the rest from the codec's
// next call, as libtiff's calls make it. A strip libtiff reads through the
// file (TiffInput.h) comes a scanline at a time through TIFFReadScanline,
// which holds a window of its coded bytes where the others read it whole: a
// strip of 543 MB, or every strip of a file too large to map in a 32-bit
// process, reads in a few megabytes. PackBits is not read this way: its
// decoder drops a run that carries on past the bytes asked for (PackBitsRows
// reads it).
#pragma once

#include <cstddef>
#include <cstdint>

struct tiff;

namespace rasterlib {

class TiffRuns {
public:
    explicit TiffRuns(tiff* tif);

    // The strile's first run of bytes (whole rows) into out.
    bool Start(uint32_t strile, uint8_t* out, size_t bytes);
    // Its next run.
    bool Next(uint8_t* out, size_t bytes);
    uint32_t Strile() const { return m_strile; }

private:
    // The codec's next bytes of the strile in hand.
    bool Decode(uint8_t* out, size_t bytes);
    // Scanlines from m_row on, bytes of them.
    bool ReadScanlines(uint8_t* out, size_t bytes);

    tiff* m_tiff;
    bool m_tiled;
    bool m_scanlines;  // strips read through the file
    uint32_t m_strile = 0;
    uint16_t m_plane = 0;
    uint32_t m_row = 0;  // the strip's next scanline
    bool m_started = false;
};

}  // namespace rasterlib
