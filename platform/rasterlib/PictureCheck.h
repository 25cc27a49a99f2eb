// The check of a whole encoded picture, beyond the header that opening reads:
// a picture the check calls sound reads whole in this library and in the
// readers an export hands it to. A JPEG's segments run to the end of image
// and its scan's data decode without a warning; a PNG is read through by
// libpng (CRCs, Adler-32, filters, nothing left over); GIF blocks run to the
// trailer with every frame inside the logical screen; BMP and TIFF data lie
// inside the file; an icon's chosen entry is checked as what it holds. Every
// format but JPEG, whose walk is a decoding, is then decoded at a small size.
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
    TooLarge = 5,    // more pixels than the library decodes, told by the header alone, or a
                     // file read whole that this process has no room for
    UnreadKind = 6,  // a picture of a kind the library does not read: a BigTIFF, a TIFF of
                     // floating-point samples, of a coding or a layout no reader here takes
};

class ImageSource;

// The whole check of a source whose bytes are open but whose header is not read
// yet. Every check proves that the picture reads; decode, which asked for that
// once, no longer changes the answer.
PictureState CheckPicture(ImageSource& image, bool decode);
PictureState CheckPictureFile(const wchar_t* path, bool decode);
PictureState CheckPictureMemory(const uint8_t* bytes, size_t count, bool decode);

}  // namespace rasterlib
