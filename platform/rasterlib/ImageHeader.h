// The size of a PNG, GIF, BMP or TIFF image read from its header by the library
// itself: the decoders of the system allocate the whole image just to tell its
// size. With the size comes the check that the file can hold the image at all:
// compressed data has a plausible greatest ratio, so a few hundred bytes that claim
// a gigapixel are refused before any decoder sees them.
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/FormatTable.h"

namespace rasterlib {

struct JpegInfo;

struct ImageHeader {
    uint32_t width = 0;
    uint32_t height = 0;
};

// Reads the header of a PNG, GIF, BMP or TIFF image: the size of the first frame,
// of a GIF the size of its logical screen. False when the header is damaged or the
// image is more than the file can hold.
bool ReadImageHeader(const ByteSource& source, ImageFormat format, ImageHeader& header);

// Where a bitmap's pixels start: its file header's offset, which must lie
// past the headers, the bit-field masks a plain header is followed by and the
// palette of a picture of 8 bits or fewer, and before the file's end; 0 when
// it does not. Browsers refuse an offset into the headers or the palette, and
// the system's decoder reads from the offset as given: pixels taken from the
// headers, or from elsewhere than the offset, are what no other reader shows.
uint64_t BmpPixelStart(uint32_t offset, uint32_t dibSize, uint32_t bits, uint32_t compression, uint32_t colours,
                       uint64_t fileSize);

// True when a JPEG of that frame can come from that many bytes and its decoder's
// working memory stays within the library's limits.
bool IsPlausibleJpeg(const JpegInfo& info, uint64_t fileSize);

}  // namespace rasterlib
