// The orientation a camera records with a picture (EXIF tag 274, in a JPEG's APP1
// "Exif" segment or in a TIFF file's first directory), and the turning of decoded
// pixels upright.
//
// Values: 1 upright, 2 mirrored left to right, 3 turned 180 degrees, 4 mirrored top
// to bottom, 5 mirrored along the main diagonal, 6 to be turned 90 degrees clockwise,
// 7 mirrored along the other diagonal, 8 to be turned 90 degrees anticlockwise.
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/RasterImage.h"

#include <cstdint>

namespace rasterlib {

constexpr uint8_t kOrientationUpright = 1;
// The field types of the tag's entry that readers turn by.
constexpr uint16_t kTiffTypeShort = 3;
constexpr uint16_t kTiffTypeLong = 4;

// Tag 274 of the first directory of the TIFF structure at offset (length bytes
// long), as readers take it: the last entry of the tag, one SHORT or LONG value
// of 1 to 8; 1 when there is none or it is not such a value.
uint8_t ReadTiffOrientation(const ByteSource& source, uint64_t offset, uint64_t length);

// The entries of tag 274 in that first directory.
struct OrientationEntries {
    uint32_t count = 0;      // entries of the tag
    // Of the last one:
    uint16_t type = 0;       // kTiffTypeShort, kTiffTypeLong or another
    uint32_t values = 0;     // how many values it says it has
    uint64_t valueAt = 0;    // where its value field lies in the source
    bool bigEndian = false;  // the byte order of the structure
    uint8_t value = 0;       // 1 to 8 when it is one SHORT or LONG value of those; 0 otherwise
};
// False when the structure cannot be read up to the end of its first directory.
bool FindTiffOrientations(const ByteSource& source, uint64_t offset, uint64_t length, OrientationEntries& entries);

// True for the orientations that exchange width and height (5 to 8).
inline bool SwapsSides(uint8_t orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Writes src turned upright into dst, whose sides are src's (exchanged when
// SwapsSides). False when the sizes do not agree.
bool OrientPixels(const PixelView& src, uint8_t orientation, const PixelTarget& dst);

// The same for a band of the raw image's rows, starting at firstRow of an image
// height rows high (and rows.width wide): its pixels go where the whole image's
// would.
bool OrientRows(const PixelView& rows, uint32_t firstRow, uint32_t height, uint8_t orientation, const PixelTarget& dst);

}  // namespace rasterlib
