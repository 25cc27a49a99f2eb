// Turning a JPEG upright without decoding it: libjpeg-turbo's lossless
// transform rearranges the coded blocks, so nothing of the picture is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

// The JPEG bytes turned upright by the recorded orientation (2 to 8), without
// the file's other segments. False when the orientation asks for nothing,
// the bytes are no JPEG the transform reads, or the picture's size is not a
// whole number of coding blocks along the edges the transform moves (it
// would not be exact).
bool TransformJpegUpright(const uint8_t* data, size_t count, uint8_t orientation, std::vector<uint8_t>& out);

}  // namespace rasterlib
