// Decoding a JPEG with libjpeg-turbo, a band of rows at a time: at full size or
// reduced in the DCT domain (1/2, 1/4, 1/8), CMYK and YCCK made B, G, R, A, and
// turned upright on the way, so that a picture recorded sideways is never whole
// twice in memory. The pixels and the answers are those of TurboJPEG's
// tjDecompress2 with TJFLAG_LIMITSCANS: data that end before the image does fail,
// a damaged stretch of scan data in a whole stream is decoded as well as it goes.
#pragma once

#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/Orientation.h"

namespace rasterlib {

// Decodes into dst, whose size must be the image's size at one of the scales
// ChooseJpegScale gives, its sides exchanged when the orientation (1 to 8) turns
// the picture by a quarter. Pixels no data reach keep what dst held. reduced
// trades a little accuracy for speed.
bool DecodeJpeg(const uint8_t* data, size_t count, const JpegInfo& info, const PixelTarget& dst, bool reduced,
                uint8_t orientation = kOrientationUpright);

// True when libjpeg-turbo decodes the whole stream, at its smallest scale,
// without a warning: every code of the data read, nothing missing or left over.
bool DecodesWithoutWarning(const uint8_t* data, size_t count, const JpegInfo& info);

}  // namespace rasterlib
