// The table of a TIFF's strips or tiles (striles) as libtiff opened it, held
// against the picture's size and the file. libtiff pads a table of fewer
// offsets or byte counts than the picture has striles with 0s, and reads
// such a strile from the file's head; it reads no strile's bytes before it
// is decoded, so a strile past the file's end is found only then.
#pragma once

#include <cstdint>

struct tiff;

namespace rasterlib {

// Where libtiff reads a strile's coded bytes: its byte count cut, as libtiff
// cuts one past a megabyte, to ten times the strile's size and a little
// more. False for a strile libtiff refuses: a byte count of 0, or bytes past
// the file's end.
bool StrileBytes(tiff* tif, uint32_t strile, uint64_t& offset, uint64_t& count);

// Every strile of the picture (of every plane apart) has its offset and byte
// count in the directory as the file holds it (exact: and the directory
// holds no more), and its bytes inside the file.
bool StrileTableFits(tiff* tif, bool exact);

}  // namespace rasterlib
