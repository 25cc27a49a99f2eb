#include "platform/rasterlib/TiffBudget.h"

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/TiffInput.h"

#include <tiffio.h>

#include <algorithm>

namespace rasterlib {

namespace {

// An input's own structures and a codec's tables.
constexpr uint64_t kInputBytes = uint64_t(256) << 10;
// A libtiff offset and byte count of a strip or tile: 64 bits each.
constexpr uint64_t kStrileEntryBytes = 16;
// A decoder's rows beside its tables: libjpeg's row groups of 16 rows of
// every component with room to upsample them, a fax decoder's runs.
constexpr uint64_t kDecoderRowsJpeg = 32;
constexpr uint64_t kDecoderRowsOther = 16;

}  // namespace

bool TiffBudget::InputFits(const TiffDirectory& directory)
{
    return kInputBytes + directory.FieldBytes() <= kTiffReadingBytes;
}

TiffBudget::TiffBudget(const TiffInput& input, const uint8_t* bytes, size_t count)
    : m_tiff(input.Tiff()), m_fieldBytes(input.Directory().FieldBytes()), m_bytes(bytes), m_count(count)
{
    tiff* tif = m_tiff;
    m_striles = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint16_t planar = PLANARCONFIG_CONTIG, fillOrder = FILLORDER_MSB2LSB;
    uint32_t rows = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &m_compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &m_components);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    m_reversed = fillOrder == FILLORDER_LSB2MSB;
    if (planar == PLANARCONFIG_SEPARATE)
        m_components = 1;
    if (TIFFIsTiled(tif)) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_width);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_height);
    } else {
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height);
        if (TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows))
            m_height = std::min(m_height, std::max<uint32_t>(rows, 1));
    }
}

uint64_t TiffBudget::InputBytes() const
{
    return kInputBytes + m_fieldBytes + kStrileEntryBytes * m_striles;
}

uint64_t TiffBudget::MostCoefficientBytes() const
{
    return (uint64_t(m_width) + 15) / 8 * ((uint64_t(m_height) + 15) / 8) * m_components * 128;
}

uint64_t TiffBudget::StrileDecoderBytes(uint32_t strile) const
{
    const uint64_t mostCoefficients = MostCoefficientBytes();
    uint64_t bytes = kInputBytes;
    if (m_reversed)
        bytes += TIFFGetStrileByteCount(m_tiff, strile);
    const bool jpeg = m_compression == COMPRESSION_JPEG || m_compression == COMPRESSION_OJPEG;
    bytes += uint64_t(m_width) * m_components * (jpeg ? kDecoderRowsJpeg : kDecoderRowsOther);
    if (m_compression != COMPRESSION_JPEG)
        return bytes;
    if (mostCoefficients <= kTiffReadingBytes / 4)
        return bytes + mostCoefficients;
    // Every coefficient of the strile's frame if its scans each hold a part
    // of it; the frame read from the strile's own head (a head not read here
    // is taken at its most).
    const uint64_t offset = TIFFGetStrileOffset(m_tiff, strile), length = TIFFGetStrileByteCount(m_tiff, strile);
    if (offset >= m_count || length == 0)
        return bytes;
    ByteSource head;
    head.UseMemory(m_bytes + offset, size_t(std::min<uint64_t>(length, m_count - offset)));
    JpegInfo info;
    if (!ReadJpegHeader(head, info))
        return bytes + mostCoefficients;
    return bytes + (info.multipleScans ? info.coefficientBytes : 0);
}

uint64_t TiffBudget::DecoderBytes(uint32_t first, uint32_t last) const
{
    // Only a strile of JPEG or of reversed bits holds more than its size
    // tells; every other one holds the same. A JPEG strile holds at most
    // every coefficient of its size in blocks of 16 pixels: when that is
    // within the reading's bound, no strile's head is read.
    const bool each =
        (m_compression == COMPRESSION_JPEG && MostCoefficientBytes() > kTiffReadingBytes / 4) || m_reversed;
    uint64_t most = 0;
    for (uint32_t strile = first; strile <= last && strile < m_striles; ++strile) {
        most = std::max(most, StrileDecoderBytes(strile));
        if (!each)
            break;
    }
    return most;
}

uint64_t TiffBudget::DecoderBytes() const
{
    return m_striles ? DecoderBytes(0, m_striles - 1) : 0;
}

}  // namespace rasterlib
