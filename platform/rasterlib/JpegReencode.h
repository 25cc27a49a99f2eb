// A JPEG turned by decoding and encoding it where no lossless turn is exact:
// libjpeg-turbo decodes the stream's own planes (Y, Cb, Cr at their
// subsampling, no colour conversion, no resampling), the planes are turned a
// band of rows at a time into planes of the upright size, and those are
// encoded as they stand. Against a decode to 32-bit pixels, their turn and an
// encode from them, this moves a third of the bytes (4:2:0), holds only the
// turned planes (about 1.5 bytes a pixel) and takes 0.6 times the processor
// time (turn_bench). Streams of 4 components (CMYK), of colours stored as R,
// G, B, streams whose mirrored side ends in part of a colour sample, and any
// stream libjpeg warns about are refused: the caller then takes the pixel
// path, which also shows what decodes of a damaged file.
#pragma once

#include <windows.h>

#include "platform/rasterlib/ByteSink.h"

#include <cstddef>
#include <cstdint>

namespace rasterlib {

// The settings of one re-encoding.
struct JpegReencoding {
    uint8_t orientation = 1;  // recorded in the file (1 to 8), undone first
    int32_t rotation = 0;     // then turned clockwise by this many degrees (a multiple of 90)
    int quality = 90;
    // libjpeg-turbo's fast integer transforms (JDCT_IFAST) in place of its
    // accurate ones: with its SIMD code no faster, and less exact
    // (turn_bench prints both), so not used by the library.
    bool fastDct = false;
};

// The orientation (1 to 8) that undoes the recorded one and then turns the
// picture clockwise by the rotation; 0 for a rotation that is no multiple of 90.
uint8_t ComposeTurn(uint8_t orientation, int32_t rotation);

// Decodes the stream, turns it and gives the encoded stream to the sink.
// False when the stream is refused (see above), the rotation is no multiple
// of 90 or the sink fails; what the sink took is then of no use.
bool ReencodeJpeg(const uint8_t* data, size_t count, const JpegReencoding& settings, const ByteSink& sink);

}  // namespace rasterlib
