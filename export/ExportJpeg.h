#pragma once
// What the exports need to know of a JPEG file before they pass it on as it
// is, so that no reader meets a file our own decoder would refuse: its frame
// header, and whether the whole stream holds together.
#include <cstddef>
#include <cstdint>

struct ExportJpegInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t components = 0;
    uint8_t precision = 0;
    uint8_t frameMarker = 0;  // the SOFn marker's second byte

    // True for the frames every reader decodes: 8 bits, baseline, extended or
    // progressive Huffman coding, 1, 3 or 4 components, a size.
    bool IsCommon() const;
    // True when a PDF can hold the frame unchanged: a common frame of 1
    // component (grey) or 3 (colour).
    bool CanPassThrough() const;
};

// Reads the frame header, walking the markers from the start of image. False
// when the bytes do not begin FF D8 FF or no frame header comes before the
// scan or the end.
bool ReadJpegFrame(const uint8_t* bytes, size_t count, ExportJpegInfo& info);

// The check made before a JPEG is passed on: the segments run to the end of
// image, each scan's coded data hold nothing but stuffed bytes and restart
// markers before the next known marker, and the coded data are not too few
// for the image's size (at least one bit per 16 x 16 pixels), so that a file
// cut short, one with damaged bytes in its scan or one whose header claims a
// huge image fails. Fills info from the frame header.
bool IsSoundJpeg(const uint8_t* bytes, size_t count, ExportJpegInfo& info);
