// A baseline JPEG turned or mirrored upright by moving its coded blocks, written
// byte for byte as libjpeg-turbo's lossless transform writes it (tjTransform with
// TJXOPT_PERFECT and TJXOPT_COPYNONE, as `jpegtran -copy none -perfect` does):
// a JFIF segment, the picture's quantization tables (turned with it), the
// standard Huffman tables, one scan, no restart markers. Where libjpeg-turbo
// holds every coefficient twice (read and turned), this holds the scan's data
// once with where each block starts and its DC value, and reads each block's
// coefficients again as it writes it in its new place: a photograph takes about
// its file's size rather than six bytes a pixel, and its output goes out as it
// is made. Streams JpegBaseline does not read, whose data prove damaged or
// hold fill bytes (which libjpeg-turbo reads in a way of its own), are left to
// libjpeg-turbo. Its block table is bounded by what the scan's data can hold.
//
// What it writes decodes whole by its making: every block it moves was read
// whole from the source, and it writes only values the standard tables code
// (a DC difference of up to 11 bits, an AC value of up to 10), refusing the
// rest, which libjpeg-turbo's turn would write as codes no table has.
#pragma once

#include "platform/rasterlib/JpegBaseline.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace rasterlib {

class JpegTurn {
public:
    enum class Opening {
        Ready,     // Write makes the upright stream
        NotTaken,  // a stream of another kind or damaged data: libjpeg-turbo's turn
        NotExact,  // the turn would move a partial MCU: no lossless turn exists
        Damaged    // the scan's data cannot hold the frame's blocks
    };
    // Takes the bytes, written with the orientation (2 to 8) to undo.
    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    // Reads the stream and finds its blocks; the bytes must outlive this object.
    Opening Open(const uint8_t* data, size_t count, uint8_t orientation);

    // Writes the upright stream to the sink a piece at a time. False when the sink
    // fails or a block proves damaged (what was written is then of no use).
    bool Write(const Sink& sink);

private:
    struct Plane {
        uint32_t blocksWide = 0;  // as stored
        uint32_t blocksHigh = 0;
        // Each block's DC value and the bit position of its DC code, in the order
        // the turned picture has them.
        std::vector<uint32_t> positions;
        std::vector<int16_t> dcValues;
    };

    bool Unstuff();
    bool FindBlocks();
    // Where a stored block (x, y) of the plane stands in the turned picture's
    // order of blocks.
    size_t TurnedIndex(const Plane& plane, uint32_t x, uint32_t y) const;
    // True when the data read up to the position fill the interval that ends at
    // m_intervals[next].
    bool EndsInterval(uint32_t position, size_t next) const;

    JpegBaseline m_header;
    std::vector<HuffmanTable> m_tables;
    // The scan's entropy-coded data without stuffed bytes or restart markers, and
    // where each restart interval starts in them.
    std::vector<uint8_t> m_data;
    std::vector<uint32_t> m_intervals;
    uint8_t m_endMarker = 0;
    Plane m_planes[3];
    bool m_swap = false;     // rows become columns
    bool m_mirrorX = false;  // then the new columns run right to left
    bool m_mirrorY = false;  // and the new rows bottom to top
};

}  // namespace rasterlib
