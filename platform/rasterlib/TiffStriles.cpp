#include "platform/rasterlib/TiffStriles.h"

// The directory's entries as libtiff read them, and its flags (scripts/setup.sh
// installs the header beside this build of libtiff).
#include <tiffiop.h>

namespace rasterlib {

namespace {

// libtiff cuts a byte count past a megabyte, so that a claimed count
// allocates no more than ten times the strile's size and a little more.
constexpr uint64_t kCountCutFrom = uint64_t(1) << 20;
constexpr uint64_t kCountCutSlack = 4096;

// The directory held a value of the field for each strile (exact: and no
// more), or no field at all (libtiff works out missing byte counts).
bool Holds(const TIFFDirEntry& entry, uint64_t striles, bool exact)
{
    return entry.tdir_tag == 0 || (exact ? entry.tdir_count == striles : entry.tdir_count >= striles);
}

}  // namespace

bool StrileBytes(tiff* tif, uint32_t strile, uint64_t& offset, uint64_t& count)
{
    offset = TIFFGetStrileOffset(tif, strile);
    count = TIFFGetStrileByteCount(tif, strile);
    if (count == 0 || count > uint64_t(INT64_MAX))
        return false;
    if (count > kCountCutFrom) {
        const uint64_t size = uint64_t(TIFFIsTiled(tif) ? TIFFTileSize(tif) : TIFFStripSize(tif));
        if (size != 0 && (count - kCountCutSlack) / 10 > size)
            count = size * 10 + kCountCutSlack;
    }
    const uint64_t fileSize = TIFFGetSizeProc(tif)(TIFFClientdata(tif));
    return count <= fileSize && offset <= fileSize - count;
}

bool StrileTableFits(tiff* tif, bool exact)
{
    // Old-style JPEG's codec reads its stream itself, passing over striles
    // of no offset and cutting those past the file's end.
    if (tif->tif_flags & TIFF_NOREADRAW)
        return true;
    const TIFFDirectory& directory = tif->tif_dir;
    // libtiff breaks one strip of uncoded rows into strips of its own once
    // it has read the table (strips past 2 GB too, of which a file of 32-bit
    // offsets holds one and a last one at most, and no RGB of 1 or 4 bits
    // within the pixel bound, whose table must fit exactly, any).
    const uint64_t striles = (tif->tif_flags & TIFF_CHOPPEDUPARRAYS) ? 1 : directory.td_nstrips;
    if (!Holds(directory.td_stripoffset_entry, striles, exact) ||
        !Holds(directory.td_stripbytecount_entry, striles, exact))
        return false;
    uint64_t offset = 0, count = 0;
    for (uint32_t strile = 0; strile < directory.td_nstrips; ++strile)
        if (!StrileBytes(tif, strile, offset, count))
            return false;
    return true;
}

}  // namespace rasterlib
