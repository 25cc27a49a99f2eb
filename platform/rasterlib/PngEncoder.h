// PNG written through libpng a row at a time: each row of B, G, R, A pixels
// is taken into the file's order within libpng's own row, filtered and
// deflated, and the bytes go to the sink in blocks as they are made. Nothing
// of the picture is held beside its pixels but a row and the deflater's
// window. 8-bit R, G, B, with the alpha channel only when the picture has
// real transparency.
#pragma once

#include "platform/rasterlib/ByteSink.h"
#include "platform/rasterlib/RasterImage.h"

namespace rasterlib {

// False when libpng refuses the picture or the sink fails; what the sink
// took is then of no use.
bool EncodePng(const PixelView& view, const ByteSink& sink);

}  // namespace rasterlib
