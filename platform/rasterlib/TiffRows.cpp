#include "platform/rasterlib/TiffRows.h"

#include <tiffio.h>

#include <algorithm>
#include <new>

namespace rasterlib {

bool TiffRows::AddPlane(TiffInput& first)
{
    m_planes.emplace_back();
    Plane& plane = m_planes.back();
    if (m_planes.size() == 1) {
        plane.tif = first.Tiff();
    } else {
        plane.own = first.Twin();
        plane.tif = plane.own->Open();
        if (!plane.tif)
            return false;
    }
    if (m_packBits)
        plane.packBits.reset(new PackBitsRows(plane.tif, kTiffMostAtOnce));
    else
        plane.runs.reset(new TiffRuns(plane.tif));
    return true;
}

TiffOpening TiffRows::Open(TiffInput& first, const TiffSamples& samples, uint32_t width, uint32_t height, bool planar,
                           bool packBits)
{
    m_samples = &samples;
    m_width = width;
    m_height = height;
    m_packBits = packBits;
    tiff* tif = first.Tiff();
    const uint32_t unitRows = samples.UnitRows();
    // libtiff's scanline is a row, or the share of a row of YCbCr blocks.
    const uint64_t unitBytes = samples.UnitBytes(width, planar);
    if (uint64_t(TIFFScanlineSize64(tif)) * unitRows != unitBytes ||
        !TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &m_rowsPerStrip))
        return TiffOpening::NotTaken;
    m_rowsPerStrip = std::max<uint32_t>(1, std::min(m_rowsPerStrip, height));
    // A strip starts a unit.
    if (m_rowsPerStrip % unitRows != 0 && m_rowsPerStrip < height)
        return TiffOpening::NotTaken;
    const TiffBudget budget(first);
    const uint64_t input = budget.InputBytes();
    const uint16_t planes = planar ? samples.Samples() : 1;
    const uint64_t planeBytes = samples.StoredBytes(width, true);
    const uint64_t band = planeBytes * m_rowsPerStrip * planes;
    const uint64_t perPlane = TIFFNumberOfStrips(tif) / planes;
    uint64_t apart = 0;
    for (uint16_t s = 0; s < planes && apart <= kTiffReadingBytes; ++s)
        apart += input + planeBytes + budget.DecoderBytes(uint32_t(perPlane * s), uint32_t(perPlane * (s + 1) - 1));
    const uint64_t one = input + budget.DecoderBytes();
    try {
        if (planes == 1) {
            if (one + unitBytes > kTiffReadingBytes)
                return TiffOpening::TooLarge;
            return AddPlane(first) ? TiffOpening::Ready : TiffOpening::Damaged;
        }
        // A band reads each plane's strip whole: through the file, libtiff
        // would hold its coded bytes too.
        if (first.IsMapped() && band <= kTiffReadingBytes / 4 && one + band <= kTiffReadingBytes) {
            m_band = true;
        } else if (apart > kTiffReadingBytes) {
            if (!samples.IsSeparable() || one + planeBytes > kTiffReadingBytes)
                return TiffOpening::TooLarge;
            m_inTurn = true;
        }
        for (uint16_t s = 0; s < (m_band || m_inTurn ? 1 : planes); ++s)
            if (!AddPlane(first))
                return TiffOpening::Damaged;
        m_planeRows.assign(planes, nullptr);
        m_bandRows.assign(planes, nullptr);
        const size_t rows = size_t(m_band ? planeBytes * m_rowsPerStrip : planeBytes);
        for (uint16_t s = 0; s < planes && !m_inTurn; ++s) {
            std::vector<uint8_t>& held = m_planes[m_band ? 0 : s].rows;
            if (m_band && s == 0)
                held.assign(size_t(band), 0);
            else if (!m_band)
                held.assign(rows, 0);
            m_planeRows[s] = held.data() + (m_band ? rows * s : 0);
        }
    } catch (const std::bad_alloc&) {
        return TiffOpening::Damaged;
    }
    return TiffOpening::Ready;
}

bool TiffRows::ReadUnit(Plane& plane, uint16_t sample, uint32_t unit, uint8_t* out, size_t size)
{
    const uint32_t row = unit * m_samples->UnitRows();
    const uint32_t strip = TIFFComputeStrip(plane.tif, row, sample);
    const bool first = row % m_rowsPerStrip == 0;
    if (plane.packBits)
        return (!first || plane.packBits->StartStrip(strip)) && plane.packBits->ReadRow(out, size);
    return first ? plane.runs->Start(strip, out, size) : plane.runs->Next(out, size);
}

bool TiffRows::ReadBand(uint32_t y)
{
    // Every plane's strip whole, one after another through the one input.
    Plane& plane = m_planes[0];
    const uint32_t rows = std::min(m_rowsPerStrip, m_height - y);
    const tmsize_t size = tmsize_t(m_samples->StoredBytes(m_width, true) * rows);
    for (uint16_t s = 0; s < m_planeRows.size(); ++s)
        if (TIFFReadEncodedStrip(plane.tif, TIFFComputeStrip(plane.tif, y, s), const_cast<uint8_t*>(m_planeRows[s]),
                                 size) != size)
            return false;
    return true;
}

bool TiffRows::Read(uint32_t unit, uint8_t* out)
{
    if (m_inTurn)
        return false;
    if (m_planeRows.empty())
        return ReadUnit(m_planes[0], 0, unit, out, size_t(m_samples->UnitBytes(m_width)));
    const size_t planeBytes = size_t(m_samples->StoredBytes(m_width, true));
    if (m_band) {
        if (unit % m_rowsPerStrip == 0 && !ReadBand(unit))
            return false;
        // The row's samples in each plane's strip.
        for (size_t s = 0; s < m_planeRows.size(); ++s)
            m_bandRows[s] = m_planeRows[s] + planeBytes * (unit % m_rowsPerStrip);
        m_samples->Gather(m_bandRows.data(), out, m_width);
        return true;
    }
    for (uint16_t s = 0; s < m_planes.size(); ++s)
        if (!ReadUnit(m_planes[s], s, unit, m_planes[s].rows.data(), planeBytes))
            return false;
    m_samples->Gather(m_planeRows.data(), out, m_width);
    return true;
}

bool TiffRows::ReadPlane(uint16_t plane, uint32_t y, uint8_t* out)
{
    return m_inTurn && ReadUnit(m_planes[0], plane, y, out, size_t(m_samples->StoredBytes(m_width, true)));
}

}  // namespace rasterlib
