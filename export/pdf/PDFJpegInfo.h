#pragma once
// What the PDF writer needs to know of a JPEG file before it embeds it as it
// is: the frame header's size and number of components, and whether readers
// can decode the frame with the DCT filter (8-bit baseline, extended or
// progressive Huffman coding).
#include <cstddef>
#include <cstdint>
#include <functional>

struct PDFJpegInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t components = 0;
    uint8_t precision = 0;
    uint8_t frameMarker = 0;  // the SOFn marker's second byte

    // True when the frame can be embedded unchanged: 1 component (grey) or 3
    // (colour), 8 bits, a size, and a frame type the DCT filter decodes.
    bool CanPassThrough() const;
};

// Reads count bytes at offset; false when they cannot all be read.
using PDFByteReader = std::function<bool(uint64_t offset, void* buffer, size_t count)>;

// Walks the markers from the start of image to the first frame header. False
// when the data do not begin with FF D8 FF or no frame header comes before the
// scan or the end.
bool PDFReadJpegInfo(const PDFByteReader& read, PDFJpegInfo& info);
bool PDFReadJpegInfo(const uint8_t* bytes, size_t count, PDFJpegInfo& info);
