#include "platform/rasterlib/TiffPieces.h"

#include "platform/rasterlib/PixelOps.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

struct TiffPieces::RgbaReader {
    TIFFRGBAImage image = {};
    bool begun = false;
};

TiffPieces::TiffPieces(const bool* damaged) : m_damaged(damaged) {}

TiffPieces::~TiffPieces()
{
    if (m_rgba && m_rgba->begun)
        TIFFRGBAImageEnd(&m_rgba->image);
}

TiffOpening TiffPieces::OpenTiles(tiff* tif, const TiffSamples& samples, bool planar)
{
    m_tiff = tif;
    m_samples = &samples;
    m_planes = planar ? samples.Samples() : 1;
    // A plane is a sample: no kind taken has more than 16.
    if (m_planes > 16)
        return TiffOpening::NotTaken;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height) ||
        !TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_pieceWidth) || !TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_pieceHeight) ||
        m_pieceWidth == 0 || m_pieceHeight == 0)
        return TiffOpening::Damaged;
    if (uint64_t(TIFFTileRowSize64(tif)) != samples.StoredBytes(m_pieceWidth, planar))
        return TiffOpening::NotTaken;
    const uint64_t tileBytes = uint64_t(TIFFTileSize64(tif));
    const uint64_t columns = std::min(m_pieceWidth, m_width), rows = std::min(m_pieceHeight, m_height);
    // libtiff reads no tile larger than that for itself either.
    if (tileBytes == 0 || tileBytes * m_planes > kTiffMostAtOnce || columns * rows * 4 > kTiffMostAtOnce)
        return TiffOpening::Damaged;
    m_grey = samples.IsGrey();
    m_alpha = samples.HasAlpha();
    m_premultiplied = samples.IsPremultiplied();
    try {
        m_tileBytes = size_t(tileBytes);
        m_tiles.assign(m_tileBytes * m_planes, 0);
        if (planar)
            m_gathered.assign(size_t(samples.StoredBytes(columns)), 0);
        m_stride = size_t(columns) * 4;
        m_pixels.assign(m_stride * size_t(rows), 0);
    } catch (const std::bad_alloc&) {
        return TiffOpening::Damaged;
    }
    return TiffOpening::Ready;
}

TiffOpening TiffPieces::OpenRgba(tiff* tif)
{
    m_tiff = tif;
    char message[1024] = "";
    if (!TIFFRGBAImageOK(tif, message))
        return TiffOpening::NotTaken;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height))
        return TiffOpening::Damaged;
    if (TIFFIsTiled(tif)) {
        if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_pieceWidth) ||
            !TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_pieceHeight) || m_pieceWidth == 0 || m_pieceHeight == 0)
            return TiffOpening::Damaged;
    } else {
        m_pieceWidth = m_width;
        if (!TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &m_pieceHeight))
            return TiffOpening::Damaged;
    }
    m_pieceWidth = std::max<uint32_t>(1, std::min(m_pieceWidth, m_width));
    m_pieceHeight = std::max<uint32_t>(1, std::min(m_pieceHeight, m_height));
    const uint64_t pieceBytes = uint64_t(m_pieceWidth) * m_pieceHeight * 4;
    // A tile larger is more than libtiff reads; a strip is left to the
    // system's decoder.
    if (pieceBytes > kTiffMostAtOnce)
        return TIFFIsTiled(tif) ? TiffOpening::Damaged : TiffOpening::NotTaken;
    try {
        m_rgba.reset(new RgbaReader);
        m_stride = size_t(m_pieceWidth) * 4;
        m_pixels.assign(size_t(pieceBytes), 0);
    } catch (const std::bad_alloc&) {
        return TiffOpening::Damaged;
    }
    if (!TIFFRGBAImageBegin(&m_rgba->image, tif, 1, message))
        return TiffOpening::Damaged;
    m_rgba->begun = true;
    // The rows as stored, top first; the picture's orientation is applied later.
    m_rgba->image.req_orientation = m_rgba->image.orientation;
    m_grey = m_rgba->image.photometric == PHOTOMETRIC_MINISBLACK ||
             m_rgba->image.photometric == PHOTOMETRIC_MINISWHITE;
    m_alpha = m_premultiplied = m_rgba->image.alpha != 0;
    return TiffOpening::Ready;
}

bool TiffPieces::DecodeTile(uint32_t left, uint32_t top, uint32_t columns, uint32_t rows)
{
    for (uint16_t s = 0; s < m_planes; ++s)
        if (TIFFReadEncodedTile(m_tiff, TIFFComputeTile(m_tiff, left, top, 0, s), &m_tiles[m_tileBytes * s],
                                tmsize_t(m_tileBytes)) < 0)
            return false;
    const size_t rowBytes = size_t(m_samples->StoredBytes(m_pieceWidth, m_planes > 1));
    for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t* stored = &m_tiles[rowBytes * r];
        if (m_planes > 1) {
            const uint8_t* planes[16] = {};
            for (uint16_t s = 0; s < m_planes; ++s)
                planes[s] = stored + m_tileBytes * s;
            m_samples->Gather(planes, m_gathered.data(), columns);
            stored = m_gathered.data();
        }
        m_samples->Convert(stored, &m_pixels[Stride() * r], columns);
    }
    return true;
}

bool TiffPieces::DecodeRgba(uint32_t left, uint32_t top, uint32_t columns, uint32_t rows)
{
    m_rgba->image.row_offset = int(top);
    m_rgba->image.col_offset = int(left);
    // libtiff's packed A, B, G, R, each row columns apart.
    uint32_t* packed = reinterpret_cast<uint32_t*>(m_pixels.data());
    if (!TIFFRGBAImageGet(&m_rgba->image, packed, columns, rows))
        return false;
    for (uint32_t r = rows; r-- > 0;) {
        // Moved to the piece's stride from the last row up, each pixel read
        // before its bytes are written over.
        const uint32_t* in = packed + size_t(r) * columns;
        uint8_t* out = &m_pixels[Stride() * r];
        for (uint32_t x = columns; x-- > 0;) {
            const uint32_t value = in[x];
            const uint8_t pixel[4] = {uint8_t(TIFFGetB(value)), uint8_t(TIFFGetG(value)), uint8_t(TIFFGetR(value)),
                                      uint8_t(TIFFGetA(value))};
            std::memcpy(out + size_t(x) * 4, pixel, 4);
        }
    }
    return true;
}

bool TiffPieces::Decode(uint32_t left, uint32_t top)
{
    if (left >= m_width || top >= m_height || left % m_pieceWidth != 0 || top % m_pieceHeight != 0)
        return false;
    const uint32_t across = (m_width + m_pieceWidth - 1) / m_pieceWidth;
    const int64_t index = int64_t(top / m_pieceHeight) * across + left / m_pieceWidth;
    if (index == m_decoded)
        return true;
    m_decoded = -1;
    const uint32_t columns = std::min(m_pieceWidth, m_width - left), rows = std::min(m_pieceHeight, m_height - top);
    if (!(m_rgba ? DecodeRgba(left, top, columns, rows) : DecodeTile(left, top, columns, rows)) || *m_damaged)
        return false;
    if (m_premultiplied)
        Unpremultiply(PixelTarget{m_pixels.data(), columns, rows, uint32_t(Stride())});
    m_decoded = index;
    return true;
}

const uint8_t* TiffPieces::Tile(uint32_t left, uint32_t y, size_t& stride)
{
    if (y >= m_height || !Decode(left, y / m_pieceHeight * m_pieceHeight))
        return nullptr;
    stride = Stride();
    return &m_pixels[Stride() * (y % m_pieceHeight)];
}

bool TiffPieces::DecodeRest()
{
    const uint32_t across = (m_width + m_pieceWidth - 1) / m_pieceWidth;
    const uint64_t pieces = uint64_t((m_height + m_pieceHeight - 1) / m_pieceHeight) * across;
    for (uint64_t index = uint64_t(m_decoded + 1); index < pieces; ++index)
        if (!Decode(uint32_t(index % across) * m_pieceWidth, uint32_t(index / across) * m_pieceHeight))
            return false;
    return true;
}

}  // namespace rasterlib
