// The check of a whole encoded picture, beyond the header that opening reads:
// a picture that stops short or whose bytes were changed is told from a sound
// one before anything decodes it. JPEG segments run to the end of image; PNG
// chunks keep their CRCs, end with IEND and their image data inflate to every
// row; GIF blocks run to the trailer; BMP and TIFF data lie inside the file; an
// icon's chosen entry is checked as what it holds.
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/FormatTable.h"

#include <cstdint>

namespace rasterlib {

enum class PictureState : int32_t {
    Sound = 0,
    Empty = 1,       // the file holds no byte
    NotPicture = 2,  // no format the library reads
    Damaged = 3,     // a format the library reads, cut short, changed or claiming more than it holds
    Missing = 4,     // the file cannot be opened
};

class ImageSource;

// The whole check of a source whose bytes are open but whose header is not read
// yet; decode: a file that holds together is decoded at a small size too.
PictureState CheckPicture(ImageSource& image, bool decode);
PictureState CheckPictureFile(const wchar_t* path, bool decode);
PictureState CheckPictureMemory(const uint8_t* bytes, size_t count, bool decode);

// What a PNG's chunks hold together: every CRC right, the end chunk reached
// and the image data inflating to every row of the image.
struct PngWalk {
    bool crcsRight = false;
    bool ended = false;
    bool rowsWhole = false;

    bool IsSound() const { return crcsRight && ended && rowsWhole; }
};
PngWalk WalkPng(const uint8_t* bytes, size_t count);

}  // namespace rasterlib
