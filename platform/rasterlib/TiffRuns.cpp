#include "platform/rasterlib/TiffRuns.h"

// The codec's entries of this build of libtiff (scripts/setup.sh installs the
// header beside it).
#include <tiffiop.h>

namespace rasterlib {

TiffRuns::TiffRuns(tiff* tif) : m_tiff(tif), m_tiled(TIFFIsTiled(tif) != 0) {}

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
    const tmsize_t done = m_tiled ? TIFFReadEncodedTile(m_tiff, strile, out, tmsize_t(bytes))
                                  : TIFFReadEncodedStrip(m_tiff, strile, out, tmsize_t(bytes));
    m_started = done == tmsize_t(bytes);
    return m_started;
}

bool TiffRuns::Next(uint8_t* out, size_t bytes)
{
    if (!m_started)
        return false;
    const TIFFCodeMethod decode = m_tiled ? m_tiff->tif_decodetile : m_tiff->tif_decodestrip;
    m_started = decode(m_tiff, out, tmsize_t(bytes), m_plane) > 0;
    if (m_started)
        m_tiff->tif_postdecode(m_tiff, out, tmsize_t(bytes));
    return m_started;
}

}  // namespace rasterlib
