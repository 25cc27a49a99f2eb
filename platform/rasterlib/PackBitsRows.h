// PackBits strips of a TIFF decoded as a stream, a stored row at a time.
// libtiff's row decoder drops a run that carries on from one row into the
// next (which other readers accept and writers make), and its strip decoder
// holds the whole decoded strip: 128 MB for a 16000 x 8000 grey picture in
// one strip, 480 MB for 160 megapixels of RGB, or a picture called damaged
// when that cannot be had. This holds a 64 KB window of the strip's coded
// bytes, read through the TIFF's own I/O, and the run in hand, whichever row
// it began in.
//
// Its rows are byte for byte those of libtiff's strip decoder
// (TIFFReadEncodedStrip), and it refuses the strips libtiff refuses: a byte
// count of 0, or one past the file's end once cut to ten times the strip's
// size; a run or literal whose bytes the strip's coded bytes end before, or
// coded bytes that end before the strip is full. A run past the strip's end
// is cut there, and bytes after the strip is full are passed over. Bits
// stored in reverse fill order are turned, 16-bit samples swapped to this
// machine's order. A strip is refused at the row its bytes fail in, so a read
// of every row (as each of the library's reads is) comes to libtiff's answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct tiff;

namespace rasterlib {

class PackBitsRows {
public:
    // mostAtOnce: the most libtiff is let allocate at once, which bounds the
    // strips it copies to turn their bits.
    PackBitsRows(tiff* tif, uint64_t mostAtOnce);

    // The strip's first row comes next. False when libtiff would refuse its
    // coded bytes as they lie.
    bool StartStrip(uint32_t strip);
    // The strip's next stored row; false when its coded bytes cannot make it.
    bool ReadRow(uint8_t* row, size_t count);

private:
    // Coded bytes in the window, the next ones read when it is spent.
    bool Fill();
    bool NextByte(uint8_t& byte);

    tiff* m_tiff;
    uint64_t m_mostAtOnce;
    bool m_reversed = false;  // bits stored least significant first
    bool m_swab = false;      // 16-bit samples of the other byte order
    uint64_t m_offset = 0;    // where the unread coded bytes begin
    uint64_t m_unread = 0;
    size_t m_run = 0;         // bytes left of the run or literal in hand
    bool m_repeat = false;
    uint8_t m_value = 0;
    std::vector<uint8_t> m_window;
    size_t m_at = 0;
};

}  // namespace rasterlib
