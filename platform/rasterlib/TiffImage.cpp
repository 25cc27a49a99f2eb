#include "platform/rasterlib/TiffImage.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/TiffBudget.h"
#include "platform/rasterlib/TiffStriles.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace rasterlib {

namespace {

// The one kind libtiff's readers leave that the system's decoder reads as
// stored: RGB of 1 or 4 bits a sample, three samples together, in strips or
// tiles, in a coding that holds every sample and in which it was shown to
// read them exactly (none, LZW, PackBits, deflate).
// Under Wine it gives only the first row of such RGB with an extra sample
// (alpha or not) right, and refuses planes apart, RGB of 2 bits, grey with
// alpha and CMYK under 8 bits, and palettes of 16 bits. A fax coding (RLE,
// RLEW, G3, G4) holds one bit a pixel, a third of such a row: the decoder
// showed it as noise, and a strip of bad code words as a sound picture.
bool IsSystemDecoderKind(tiff* tif)
{
    uint16_t photometric = 0, samples = 1, bits = 1, planar = PLANARCONFIG_CONTIG, extras = 0,
             compression = COMPRESSION_NONE;
    uint16_t* extraKinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extras, &extraKinds);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    const bool everySample = compression == COMPRESSION_NONE || compression == COMPRESSION_LZW ||
                             compression == COMPRESSION_PACKBITS || compression == COMPRESSION_ADOBE_DEFLATE ||
                             compression == COMPRESSION_DEFLATE;
    return TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) && photometric == PHOTOMETRIC_RGB &&
           samples == 3 && extras == 0 && (bits == 1 || bits == 4) && planar == PLANARCONFIG_CONTIG && everySample;
}

}  // namespace

TiffImage::TiffImage() = default;
TiffImage::~TiffImage() = default;

TiffImage::Opening TiffImage::Open(const ByteSource& source)
{
    try {
        m_input.reset(new TiffInput(source, &m_damaged));
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    // Fields the reading uses of more than its bound are too large before
    // libtiff reads them.
    if (!TiffBudget::InputFits(m_input->Directory()))
        return Opening::TooLarge;
    tiff* tif = m_input->Open();
    uint16_t compression = 0, photometric = 0, planar = PLANARCONFIG_CONTIG, samples = 1;
    if (!tif || !TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height) ||
        !TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression) ||
        !TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar) || !IsAcceptableSize(m_width, m_height))
        return Opening::Damaged;
    // Floating-point and complex samples are values, not levels of so many
    // bits: taken as levels they would show their high bytes. Neither
    // libtiff's RGBA reader nor the system's decoder reads them as values.
    uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    if (format == SAMPLEFORMAT_IEEEFP || format == SAMPLEFORMAT_COMPLEXIEEEFP || format == SAMPLEFORMAT_COMPLEXINT)
        return Opening::NotRead;
    // No coding libtiff lacks is one the system's decoder was shown to read
    // exactly (under Wine it read none of them).
    if (!TIFFIsCODECConfigured(compression))
        return Opening::NotRead;
    // libtiff's RGBA reader guesses a missing colour space; other readers
    // refuse the file, as the field is one every TIFF must have.
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        return Opening::Damaged;
    // libtiff's readers read the strips or tiles missing from a short table
    // from the file's head. The system's decoder showed rows from elsewhere
    // in the file for a table of more strips than the rows a strip make, and
    // for a strip past the file's end: its table must fit exactly.
    if (!StrileTableFits(tif, IsSystemDecoderKind(tif)))
        return Opening::Damaged;
    const bool apart = planar == PLANARCONFIG_SEPARATE && samples > 1;
    try {
        m_pieces.reset(new TiffPieces(&m_damaged));
        if (m_samples.Take(tif, photometric, compression, apart)) {
            m_grey = m_samples.IsGrey();
            m_alpha = m_samples.HasAlpha() || m_samples.IsPremultiplied();
            if (TIFFIsTiled(tif)) {
                const Opening opening = m_pieces->OpenTiles(*m_input, m_samples, apart);
                if (opening != Opening::NotTaken)
                    return opening;
                m_pieces.reset(new TiffPieces(&m_damaged));
            } else {
                m_rows.reset(new TiffRows);
                const Opening opening = m_rows->Open(*m_input, m_samples, m_width, m_height, apart,
                                                     compression == COMPRESSION_PACKBITS);
                if (opening == Opening::Ready) {
                    m_pieces.reset();
                    m_row.assign(size_t(m_width) * 4, 0);
                    m_stored.assign(size_t(std::max(m_samples.UnitBytes(m_width), m_samples.StoredBytes(m_width))), 0);
                    return opening;
                }
                m_rows.reset();
                if (opening != Opening::NotTaken)
                    return opening;
            }
        }
        const Opening opening = m_pieces->OpenRgba(*m_input);
        m_grey = m_pieces->IsGrey();
        m_alpha = m_pieces->HasAlpha();
        return opening == Opening::NotTaken ? LeaveToSystemDecoder() : opening;
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
}

TiffImage::Opening TiffImage::LeaveToSystemDecoder()
{
    if (!IsSystemDecoderKind(m_input->Tiff()))
        return Opening::NotRead;
    try {
        TiffPieces pieces(&m_damaged);
        const Opening measured = pieces.Measure(*m_input);
        return measured == Opening::Ready ? Opening::NotTaken : measured;
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
}

bool TiffImage::DecodeUpTo(uint32_t y)
{
    const uint32_t unitRows = m_samples.UnitRows();
    for (; m_next <= y; ++m_next)
        if (m_next % unitRows == 0 && (!m_rows->Read(m_next / unitRows, m_stored.data()) || m_damaged))
            return false;
    m_samples.Convert(m_stored.data(), y % unitRows, m_row.data(), m_width);
    if (m_samples.IsPremultiplied())
        Unpremultiply(PixelTarget{m_row.data(), m_width, 1, m_width * 4});
    return true;
}

const uint8_t* TiffImage::Row(uint32_t y)
{
    if (!m_rows || m_rows->InTurn() || y >= m_height || y + 1 < m_next)
        return nullptr;
    if (y + 1 == m_next)
        return m_row.data();
    return DecodeUpTo(y) ? m_row.data() : nullptr;
}

bool TiffImage::ReadPlanes(const std::function<bool(uint16_t, uint32_t, const uint8_t*)>& take)
{
    for (uint16_t plane = 0; plane < m_samples.Samples(); ++plane)
        for (uint32_t y = 0; y < m_height; ++y)
            if (!m_rows->ReadPlane(plane, y, m_stored.data()) || m_damaged || !take(plane, y, m_stored.data()))
                return false;
    return true;
}

bool TiffImage::CopyTo(const PixelTarget& dst)
{
    if (dst.width != m_width || dst.height != m_height)
        return false;
    if (m_pieces) {
        for (uint32_t top = 0; top < m_height; top += m_pieces->PieceHeight()) {
            const uint32_t bottom = std::min(m_height, top + m_pieces->PieceHeight());
            for (uint32_t left = 0; left < m_width; left += m_pieces->PieceWidth()) {
                const size_t bytes = size_t(std::min(m_pieces->PieceWidth(), m_width - left)) * 4;
                size_t stride = 0;
                uint32_t rows = 0;
                for (uint32_t y = top; y < bottom; y += rows) {
                    const uint8_t* pixels = m_pieces->Tile(left, y, stride, rows);
                    if (!pixels)
                        return false;
                    for (uint32_t r = 0; r < rows; ++r)
                        std::memcpy(dst.Row(y + r) + size_t(left) * 4, pixels + stride * r, bytes);
                }
            }
        }
        return true;
    }
    // Each plane's samples put in their places, a plane at a time.
    if (m_rows->InTurn())
        return ReadPlanes([&](uint16_t plane, uint32_t y, const uint8_t* samples) {
            m_samples.Spread(plane, samples, dst.Row(y), m_width);
            return true;
        });
    Restart();
    for (uint32_t y = 0; y < m_height; ++y) {
        const uint8_t* row = Row(y);
        if (!row)
            return false;
        std::memcpy(dst.Row(y), row, size_t(m_width) * 4);
    }
    return true;
}

bool TiffImage::CopyReduced(const PixelTarget& dst)
{
    const AlphaUse alpha = m_alpha ? AlphaUse::Mixed : AlphaUse::Opaque;
    // Rows and pieces the thumbnail passes over are decoded all the same: it
    // is shown only when the full read would succeed.
    if (m_pieces)
        return ResampleTiles(m_width, m_height, m_pieces->PieceWidth(), m_pieces->PieceHeight(), alpha, *m_pieces,
                             dst) &&
               m_pieces->DecodeFrom(m_pieces->RowsHanded());
    // A plane at a time into the thumbnail's sums: each plane's channels
    // alone, the others 0, sum as the pixels would (the kinds read so are
    // opaque).
    if (m_rows->InTurn()) {
        ResampleSums sums;
        if (!sums.Begin(m_width, m_height, AlphaUse::Opaque, dst))
            return false;
        const bool read = ReadPlanes([&](uint16_t plane, uint32_t y, const uint8_t* samples) {
            std::fill(m_row.begin(), m_row.end(), uint8_t(0));
            m_samples.Spread(plane, samples, m_row.data(), m_width);
            sums.Add(y, m_row.data(), 0, 1, m_width);
            return true;
        });
        if (read)
            sums.Finish();
        return read;
    }
    Restart();
    return ResampleRows(m_width, m_height, alpha, *this, dst) && Row(m_height - 1);
}

bool TiffImage::ReadThrough()
{
    if (m_pieces)
        return m_pieces->DecodeFrom(0);
    if (m_rows->InTurn())
        return ReadPlanes([](uint16_t, uint32_t, const uint8_t*) { return true; });
    Restart();
    return Row(m_height - 1) != nullptr;
}

}  // namespace rasterlib
