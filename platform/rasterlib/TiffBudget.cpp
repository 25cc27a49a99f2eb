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
// libtiff reads a strip through the file a run at a time: it keeps 16
// scanlines and 5000 bytes of coded bytes ahead, in a buffer of twice that.
constexpr uint64_t kReadAheadRows = 16;
constexpr uint64_t kReadAheadBytes = 5000;
constexpr uint64_t kReadAheadBuffers = 2;

}  // namespace

bool TiffBudget::InputFits(const TiffDirectory& directory)
{
    return kInputBytes + directory.FieldBytes() <= kTiffReadingBytes;
}

TiffBudget::TiffBudget(const TiffInput& input, Strips strips)
    : m_tiff(input.Tiff()), m_source(input.Source()), m_fieldBytes(input.Directory().FieldBytes()),
      m_mapped(input.IsMapped())
{
    tiff* tif = m_tiff;
    m_striles = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    m_window = !m_mapped && !TIFFIsTiled(tif) && strips == Strips::InRuns;
    m_windowBytes = kReadAheadBuffers * (kReadAheadRows * uint64_t(TIFFScanlineSize64(tif)) + kReadAheadBytes);
    uint16_t planar = PLANARCONFIG_CONTIG, fillOrder = FILLORDER_MSB2LSB;
    uint32_t rows = UINT32_MAX;  // libtiff's own default: one strip
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &m_compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &m_components);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    m_reversed = fillOrder == FILLORDER_LSB2MSB;
    if (planar == PLANARCONFIG_SEPARATE)
        m_components = 1;
    uint32_t imageWidth = 0, imageLength = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &imageWidth);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &imageLength);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
    if (TIFFIsTiled(tif)) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_width);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_height);
    } else {
        m_width = imageWidth;
        m_height = std::min(imageLength, std::max<uint32_t>(rows, 1));
    }
    // PixarLog's decoder holds the samples of a strip of the picture's width
    // (of its whole length for tiles, which have no strips) at 16 bits,
    // whatever part of it is decoded.
    if (m_compression == COMPRESSION_PIXARLOG)
        m_pixarLogBytes = (uint64_t(imageWidth) * std::min(imageLength, rows) + 1) * m_components * 2;
}

uint64_t TiffBudget::InputBytes() const
{
    return kInputBytes + m_fieldBytes + kStrileEntryBytes * m_striles;
}

uint64_t TiffBudget::MostCoefficientBytes() const
{
    return (uint64_t(m_width) + 15) / 8 * ((uint64_t(m_height) + 15) / 8) * m_components * 128;
}

uint64_t TiffBudget::CodedBytes(uint32_t strile, bool severalScans) const
{
    // libtiff reads no further than the file's end.
    const uint64_t offset = std::min<uint64_t>(TIFFGetStrileOffset(m_tiff, strile), m_source.Size());
    const uint64_t count = std::min<uint64_t>(TIFFGetStrileByteCount(m_tiff, strile), m_source.Size() - offset);
    if (m_mapped)
        return m_reversed ? count : 0;
    return m_window && !severalScans ? std::min(count, m_windowBytes) : count;
}

uint64_t TiffBudget::StrileDecoderBytes(uint32_t strile) const
{
    const uint64_t mostCoefficients = MostCoefficientBytes();
    uint64_t bytes = kInputBytes + m_pixarLogBytes;
    const bool jpeg = m_compression == COMPRESSION_JPEG || m_compression == COMPRESSION_OJPEG;
    bytes += uint64_t(m_width) * m_components * (jpeg ? kDecoderRowsJpeg : kDecoderRowsOther);
    if (m_compression != COMPRESSION_JPEG)
        return bytes + CodedBytes(strile, false);
    if (mostCoefficients <= kTiffReadingBytes / 4)
        return bytes + mostCoefficients + CodedBytes(strile, true);
    // Every coefficient of the strile's frame if its scans each hold a part
    // of it; the frame read from the strile's own head (a head not read here
    // is taken at its most).
    const uint64_t offset = TIFFGetStrileOffset(m_tiff, strile), length = TIFFGetStrileByteCount(m_tiff, strile);
    if (offset >= m_source.Size() || length == 0)
        return bytes;
    ByteSource head;
    head.UsePart(m_source, offset, length);
    JpegInfo info;
    if (!ReadJpegHeader(head, info))
        return bytes + mostCoefficients + CodedBytes(strile, true);
    return bytes + (info.multipleScans ? info.coefficientBytes : 0) + CodedBytes(strile, info.multipleScans);
}

uint64_t TiffBudget::DecoderBytes(uint32_t first, uint32_t last) const
{
    // Only a strile of JPEG, of reversed bits or read through the file holds
    // more than its size tells; every other one holds the same. A JPEG
    // strile holds at most every coefficient of its size in blocks of 16
    // pixels: when that is within the reading's bound, no strile's head is
    // read.
    const bool each = (m_compression == COMPRESSION_JPEG && MostCoefficientBytes() > kTiffReadingBytes / 4) ||
                      m_reversed || !m_mapped;
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
