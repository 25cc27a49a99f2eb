#include "platform/rasterlib/TiffRuns.h"

// The codec's entries of this build of libtiff (scripts/setup.sh installs the
// header beside it).
#include <tiffiop.h>

namespace rasterlib {

TiffRuns::TiffRuns(tiff* tif)
    : m_tiff(tif), m_tiled(TIFFIsTiled(tif) != 0), m_scanlines(!m_tiled && !isMapped(tif))
{
}

bool TiffRuns::Start(uint32_t strile, uint8_t* out, size_t bytes)
{
    m_strile = strile;
    const TIFFDirectory& directory = m_tiff->tif_dir;
    // The plane a strile of planes stored apart belongs to, as libtiff's
    // calls tell it to the codec.
    const uint32_t perPlane = directory.td_planarconfig == PLANARCONFIG_SEPARATE && directory.td_samplesperpixel > 0
                                  ? directory.td_nstrips / directory.td_samplesperpixel
                                  : 0;
    m_plane = uint16_t(perPlane ? strile / perPlane : 0);
    if (m_scanlines) {
        m_row = (perPlane ? strile % perPlane : strile) * directory.td_rowsperstrip;
        m_started = ReadScanlines(out, bytes);
        return m_started;
    }
    const tmsize_t done = m_tiled ? TIFFReadEncodedTile(m_tiff, strile, out, tmsize_t(bytes))
                                  : TIFFReadEncodedStrip(m_tiff, strile, out, tmsize_t(bytes));
    m_started = done == tmsize_t(bytes);
    return m_started;
}

bool TiffRuns::Next(uint8_t* out, size_t bytes)
{
    if (!m_started)
        return false;
    m_started = m_scanlines ? ReadScanlines(out, bytes) : Decode(out, bytes);
    return m_started;
}

bool TiffRuns::Decode(uint8_t* out, size_t bytes)
{
    const TIFFCodeMethod decode = m_tiled ? m_tiff->tif_decodetile : m_tiff->tif_decodestrip;
    if (decode(m_tiff, out, tmsize_t(bytes), m_plane) <= 0)
        return false;
    m_tiff->tif_postdecode(m_tiff, out, tmsize_t(bytes));
    return true;
}

bool TiffRuns::ReadScanlines(uint8_t* out, size_t bytes)
{
    const size_t line = size_t(m_tiff->tif_scanlinesize);
    if (line == 0 || bytes % line != 0)
        return false;
    for (size_t at = 0; at < bytes; at += line, ++m_row) {
        // The scanlines end at the picture's last row; a row of YCbCr blocks
        // may hold more, which the strip's codec decodes on.
        const bool read = m_row < m_tiff->tif_dir.td_imagelength
                              ? TIFFReadScanline(m_tiff, out + at, m_row, m_plane) > 0
                              : Decode(out + at, line);
        if (!read)
            return false;
    }
    return true;
}

}  // namespace rasterlib
