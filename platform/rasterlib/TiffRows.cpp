#include "platform/rasterlib/TiffRows.h"

#include <tiffio.h>

#include <algorithm>
#include <new>

namespace rasterlib {

bool TiffRows::Open(TiffInput& first, const uint8_t* bytes, size_t count, bool* damaged, const TiffSamples& samples,
                    uint32_t width, bool planar, bool packBits)
{
    m_samples = &samples;
    m_width = width;
    uint32_t height = 0;
    const uint16_t planes = planar ? samples.Samples() : 1;
    if (uint64_t(TIFFScanlineSize64(first.Tiff())) != samples.StoredBytes(width, planar) ||
        !TIFFGetField(first.Tiff(), TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetFieldDefaulted(first.Tiff(), TIFFTAG_ROWSPERSTRIP, &m_rowsPerStrip))
        return false;
    m_rowsPerStrip = std::max<uint32_t>(1, std::min(m_rowsPerStrip, height));
    try {
        m_planes.resize(planes);
        m_planeRows.assign(planes, nullptr);
        for (uint16_t s = 0; s < planes; ++s) {
            Plane& plane = m_planes[s];
            if (s == 0) {
                plane.tif = first.Tiff();
            } else {
                plane.own.reset(new TiffInput(bytes, count, damaged));
                plane.tif = plane.own->Open();
                if (!plane.tif)
                    return false;
            }
            if (packBits)
                plane.packBits.reset(new PackBitsRows(plane.tif, kTiffMostAtOnce));
            if (planar) {
                plane.row.assign(size_t(samples.StoredBytes(width, true)), 0);
                m_planeRows[s] = plane.row.data();
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TiffRows::ReadPlane(Plane& plane, uint16_t sample, uint32_t y, uint8_t* out)
{
    if (!plane.packBits)
        return TIFFReadScanline(plane.tif, out, y, sample) >= 0;
    const size_t bytes = size_t(m_samples->StoredBytes(m_width, !plane.row.empty()));
    return (y % m_rowsPerStrip != 0 || plane.packBits->StartStrip(TIFFComputeStrip(plane.tif, y, sample))) &&
           plane.packBits->ReadRow(out, bytes);
}

bool TiffRows::Read(uint32_t y, uint8_t* out)
{
    if (m_planes.size() == 1)
        return ReadPlane(m_planes[0], 0, y, out);
    for (uint16_t s = 0; s < m_planes.size(); ++s)
        if (!ReadPlane(m_planes[s], s, y, m_planes[s].row.data()))
            return false;
    m_samples->Gather(m_planeRows.data(), out, m_width);
    return true;
}

}  // namespace rasterlib
