// The stored rows of a TIFF in strips, read in order with a pixel's samples
// together, a unit at a time (a row, or a row of YCbCr blocks): through
// libtiff's codec in runs (TiffRuns), or for PackBits through PackBitsRows
// (its runs may run on from one row into the next, which libtiff's rows
// refuse). Planes stored apart are read in the first of these ways whose
// inputs, decoders and rows stay within the reading's bound (TiffBudget.h):
// - a band of strips: each plane's strip decoded whole through one input, a
//   strip of every plane at a time (strips of a few rows, of a file seen
//   whole: through its reads, libtiff would hold each strip coded besides);
// - inputs of their own: each plane through an input of its own, a row of
//   each at a time (through one input, libtiff decodes a plane's strip again
//   from its start whenever a row of another plane was read in between);
// - planes in turn: one input, one decoder, each plane's rows from the first
//   to the last before the next plane's, for a reading that takes a plane's
//   samples alone (TiffSamples::IsSeparable): three progressive JPEG planes
//   of 7400 x 7400 held 331 MB of coefficients at once.
// A picture none of these reads within the bound is too large.
#pragma once

#include "platform/rasterlib/PackBitsRows.h"
#include "platform/rasterlib/TiffBudget.h"
#include "platform/rasterlib/TiffInput.h"
#include "platform/rasterlib/TiffRuns.h"
#include "platform/rasterlib/TiffSamples.h"

#include <memory>
#include <vector>

namespace rasterlib {

class TiffRows {
public:
    // first is the picture's open input, which reads the first plane; its
    // twins read the others.
    TiffOpening Open(TiffInput& first, const TiffSamples& samples, uint32_t width, uint32_t height, bool planar,
                     bool packBits);
    // Planes are read in turn, with ReadPlane, not with Read.
    bool InTurn() const { return m_inTurn; }
    // Stored unit unit (the one after the last read, or the first) into out
    // (samples.UnitBytes(width) bytes).
    bool Read(uint32_t unit, uint8_t* out);
    // Row y of plane plane (the one after its last read, or its first) into
    // out (samples.StoredBytes(width, true) bytes).
    bool ReadPlane(uint16_t plane, uint32_t y, uint8_t* out);

private:
    struct Plane {
        std::unique_ptr<TiffInput> own;  // none for the first plane
        tiff* tif = nullptr;
        std::unique_ptr<PackBitsRows> packBits;
        std::unique_ptr<TiffRuns> runs;
        std::vector<uint8_t> rows;  // planes apart: a row, or a band of strips
    };
    bool AddPlane(TiffInput& first);
    // Unit unit of the plane's strips through its decoder.
    bool ReadUnit(Plane& plane, uint16_t sample, uint32_t unit, uint8_t* out, size_t size);
    bool ReadBand(uint32_t y);

    const TiffSamples* m_samples = nullptr;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_rowsPerStrip = 0;
    bool m_packBits = false;
    bool m_band = false;
    bool m_inTurn = false;
    std::vector<Plane> m_planes;
    std::vector<const uint8_t*> m_planeRows;  // each plane's row, or its strip in the band
    std::vector<const uint8_t*> m_bandRows;
};

}  // namespace rasterlib
