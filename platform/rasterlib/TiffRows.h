// The stored rows of a TIFF in strips, read in order with a pixel's samples
// together: through libtiff's row reader, or for PackBits through
// PackBitsRows (its runs may run on from one row into the next, which
// libtiff's rows refuse). Planes stored apart are each read through an input
// of their own, a row of each at a time: through one input, libtiff decodes
// a plane's strip again from its start whenever a row of another plane was
// read in between, and a picture of one strip a plane would be decoded once
// for every row.
#pragma once

#include "platform/rasterlib/PackBitsRows.h"
#include "platform/rasterlib/TiffInput.h"
#include "platform/rasterlib/TiffSamples.h"

#include <memory>
#include <vector>

namespace rasterlib {

class TiffRows {
public:
    // first is the picture's open input, which reads the first plane; the
    // bytes and the damage flag open the others. False when a plane does not
    // open or its rows are not the samples' size.
    bool Open(TiffInput& first, const uint8_t* bytes, size_t count, bool* damaged, const TiffSamples& samples,
              uint32_t width, bool planar, bool packBits);
    // Stored row y, the one after the last read or the first, into out
    // (samples.StoredBytes(width) bytes).
    bool Read(uint32_t y, uint8_t* out);

private:
    struct Plane {
        std::unique_ptr<TiffInput> own;  // none for the first plane
        tiff* tif = nullptr;
        std::unique_ptr<PackBitsRows> packBits;
        std::vector<uint8_t> row;  // planes apart only
    };
    bool ReadPlane(Plane& plane, uint16_t sample, uint32_t y, uint8_t* out);

    const TiffSamples* m_samples = nullptr;
    uint32_t m_width = 0;
    uint32_t m_rowsPerStrip = 0;
    std::vector<Plane> m_planes;
    std::vector<const uint8_t*> m_planeRows;
};

}  // namespace rasterlib
