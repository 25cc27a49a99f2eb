// The first image of a GIF read by the library itself a row at a time, for
// reads at a reduced size. The system's decoder holds the whole image at a
// byte a pixel before it gives a row; here a thumbnail holds a row, the code
// table and, for an interlaced image, whose rows come in four passes over the
// whole height, the sums of every output row (16 bytes an output pixel, taken
// only while that is no more than the system's decoder would hold). A
// thumbnail of a GIF of 138 megapixels takes 1 MB at its peak where the
// system's decoder and scaler take 190 to 260 MB, in about their time
// (raster_bench). The full read stays with the system's decoder, and the
// reduced read is tested against it resized. The image lies on
// the logical screen, the rest transparent; its palette is made whole with
// black and a colour a graphic control block names is clear, as the full read
// (the system's decoder) gives them.
#pragma once

#include "platform/rasterlib/GifLayout.h"
#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterImage.h"

#include <cstddef>
#include <cstdint>

namespace rasterlib {

class GifImage {
public:
    // The bytes must outlive this object. False when they are no GIF up to the
    // first image, or that image does not lie inside the logical screen.
    bool Open(const uint8_t* bytes, size_t count);

    // The logical screen's size.
    uint32_t Width() const { return m_layout.screenWidth; }
    uint32_t Height() const { return m_layout.screenHeight; }

    // True when a read reduced to width x height is taken here: always for an
    // image stored row after row; for an interlaced one while its sums hold
    // no more than the system's decoder would.
    bool ReadsReduced(uint32_t width, uint32_t height) const;
    // The screen reduced to dst's size. False when the codes are not valid or
    // give fewer pixels than the image has.
    bool CopyReduced(const PixelTarget& dst);

private:
    // One read with the alpha used as given; opaque tells whether any pixel of
    // the image was.
    bool Read(const PixelTarget& dst, AlphaUse alpha, bool& opaque);

    const uint8_t* m_bytes = nullptr;
    size_t m_count = 0;
    GifLayout m_layout;
    uint32_t m_colours[256] = {};  // B, G, R, A
};

}  // namespace rasterlib
