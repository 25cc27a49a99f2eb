#include "platform/rasterlib/TiffPieces.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/TiffBudget.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

struct TiffPieces::RgbaReader {
    TIFFRGBAImage image = {};
    bool begun = false;
};

TiffPieces::TiffPieces(bool* damaged) : m_damaged(damaged) {}

TiffPieces::~TiffPieces()
{
    if (m_rgba && m_rgba->begun)
        TIFFRGBAImageEnd(&m_rgba->image);
}

TiffOpening TiffPieces::OpenTiles(TiffInput& first, const TiffSamples& samples, bool planar)
{
    tiff* tif = m_tiff = first.Tiff();
    m_samples = &samples;
    const uint16_t planes = planar ? samples.Samples() : 1;
    // A plane is a sample: no kind taken has more than 16.
    if (planes > 16)
        return TiffOpening::NotTaken;
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height) ||
        !TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_pieceWidth) || !TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_pieceHeight) ||
        m_pieceWidth == 0 || m_pieceHeight == 0)
        return TiffOpening::Damaged;
    const uint32_t unitRows = samples.UnitRows();
    const uint64_t units = (m_pieceHeight + unitRows - 1) / unitRows;
    const uint64_t unitBytes = samples.UnitBytes(m_pieceWidth, planar);
    if (uint64_t(TIFFTileSize64(tif)) != unitBytes * units)
        return TiffOpening::NotTaken;
    // Runs of about a megabyte of stored rows, of whole units; PackBits is
    // decoded a tile at a time (see TiffRuns.h).
    const uint64_t runUnits = compression == COMPRESSION_PACKBITS
                                  ? units
                                  : std::min(units, std::max<uint64_t>(1, kTiffRunBytes / (unitBytes * planes)));
    const uint64_t columns = std::min(m_pieceWidth, m_width);
    const uint64_t chunkUnits = std::min(runUnits, std::max<uint64_t>(1, kTiffRunBytes / (columns * 4 * unitRows)));
    m_runRows = uint32_t(runUnits * unitRows);
    m_chunkRows = uint32_t(chunkUnits * unitRows);
    const TiffBudget budget(first);
    const uint64_t perPlane = TIFFNumberOfTiles(tif) / planes;
    uint64_t held = columns * 4 * m_chunkRows + samples.StoredBytes(columns);
    for (uint16_t s = 0; s < planes && held <= kTiffReadingBytes; ++s)
        held += budget.InputBytes() + unitBytes * runUnits +
                budget.DecoderBytes(uint32_t(perPlane * s), uint32_t(perPlane * (s + 1) - 1));
    if (held > kTiffReadingBytes)
        return TiffOpening::TooLarge;
    m_grey = samples.IsGrey();
    m_alpha = samples.HasAlpha();
    m_premultiplied = samples.IsPremultiplied();
    try {
        m_planes.resize(planes);
        for (uint16_t s = 0; s < planes; ++s) {
            Plane& plane = m_planes[s];
            if (s == 0) {
                plane.tif = tif;
            } else {
                plane.own = first.Twin();
                plane.tif = plane.own->Open();
                if (!plane.tif)
                    return TiffOpening::Damaged;
            }
            plane.runs.reset(new TiffRuns(plane.tif));
            plane.stored.assign(size_t(unitBytes * runUnits), 0);
        }
        m_planeRows.assign(planes, nullptr);
        if (planar)
            m_gathered.assign(size_t(samples.StoredBytes(columns)), 0);
        m_stride = size_t(columns) * 4;
        m_pixels.assign(m_stride * m_chunkRows, 0);
    } catch (const std::bad_alloc&) {
        return TiffOpening::Damaged;
    }
    return TiffOpening::Ready;
}

TiffOpening TiffPieces::Measure(TiffInput& first)
{
    tiff* tif = m_tiff = first.Tiff();
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &m_height))
        return TiffOpening::Damaged;
    uint16_t planar = PLANARCONFIG_CONTIG, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    uint64_t stored = 0;
    if (TIFFIsTiled(tif)) {
        if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &m_pieceWidth) ||
            !TIFFGetField(tif, TIFFTAG_TILELENGTH, &m_pieceHeight) || m_pieceWidth == 0 || m_pieceHeight == 0)
            return TiffOpening::Damaged;
        stored = uint64_t(TIFFTileSize64(tif));
    } else {
        m_pieceWidth = m_width;
        if (!TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &m_pieceHeight))
            return TiffOpening::Damaged;
        stored = uint64_t(TIFFStripSize64(tif));
    }
    m_pieceWidth = std::max<uint32_t>(1, std::min(m_pieceWidth, m_width));
    m_pieceHeight = std::max<uint32_t>(1, std::min(m_pieceHeight, m_height));
    m_chunkRows = m_pieceHeight;
    const uint64_t pieceBytes = uint64_t(m_pieceWidth) * m_pieceHeight * 4;
    // The reader holds a piece's stored bytes (of every plane) beside the
    // piece it converts.
    const TiffBudget budget(first, TiffBudget::Strips::Whole);
    if (pieceBytes + stored * (planar == PLANARCONFIG_SEPARATE ? samples : 1) + budget.InputBytes() +
            budget.DecoderBytes() >
        kTiffReadingBytes)
        return TiffOpening::TooLarge;
    return TiffOpening::Ready;
}

TiffOpening TiffPieces::OpenRgba(TiffInput& first)
{
    char message[1024] = "";
    if (!TIFFRGBAImageOK(first.Tiff(), message))
        return TiffOpening::NotTaken;
    const TiffOpening measured = Measure(first);
    if (measured != TiffOpening::Ready)
        return measured;
    try {
        m_rgba.reset(new RgbaReader);
        m_stride = size_t(m_pieceWidth) * 4;
        m_pixels.assign(m_stride * m_pieceHeight, 0);
    } catch (const std::bad_alloc&) {
        return TiffOpening::Damaged;
    }
    // The reader refuses a layout it has no conversion for only here (RGB
    // of fewer than 8 bits, palettes of 16), saying "Sorry" as its check
    // does: not damage, but a layout no reader of libtiff's takes.
    if (!TIFFRGBAImageBegin(&m_rgba->image, m_tiff, 1, message))
        return std::strncmp(message, "Sorry", 5) == 0 ? TiffOpening::NotTaken : TiffOpening::Damaged;
    m_rgba->begun = true;
    // The rows as stored, top first; the picture's orientation is applied later.
    m_rgba->image.req_orientation = m_rgba->image.orientation;
    m_grey = m_rgba->image.photometric == PHOTOMETRIC_MINISBLACK ||
             m_rgba->image.photometric == PHOTOMETRIC_MINISWHITE;
    m_alpha = m_premultiplied = m_rgba->image.alpha != 0;
    return TiffOpening::Ready;
}

bool TiffPieces::DecodeRun(uint32_t tile, uint32_t top)
{
    const uint32_t unitRows = m_samples->UnitRows();
    const size_t bytes = m_planes[0].stored.size();
    for (uint16_t s = 0; s < m_planes.size(); ++s) {
        Plane& plane = m_planes[s];
        const uint32_t strile = tile + s * (TIFFNumberOfTiles(plane.tif) / uint32_t(m_planes.size()));
        // The tile's last run holds its last units alone.
        const uint32_t units = (m_pieceHeight + unitRows - 1) / unitRows - top / unitRows;
        const size_t size = std::min(bytes, size_t(m_samples->UnitBytes(m_pieceWidth, m_planes.size() > 1)) * units);
        if (!(top == 0 ? plane.runs->Start(strile, plane.stored.data(), size) : plane.runs->Next(plane.stored.data(), size)))
            return false;
    }
    return !*m_damaged;
}

bool TiffPieces::ConvertRows(uint32_t top, uint32_t columns)
{
    // top: the first row to convert, in the tile, inside the run decoded last.
    const uint32_t unitRows = m_samples->UnitRows();
    const size_t unitBytes = size_t(m_samples->UnitBytes(m_pieceWidth, m_planes.size() > 1));
    const uint32_t runTop = (m_runTop - 1) / m_runRows * m_runRows;
    for (uint32_t r = 0; r < m_pixelsRows; ++r) {
        const uint32_t row = top + r - runTop;
        const uint8_t* unit = m_planes[0].stored.data() + unitBytes * (row / unitRows);
        if (m_planes.size() > 1) {
            for (size_t s = 0; s < m_planes.size(); ++s)
                m_planeRows[s] = m_planes[s].stored.data() + unitBytes * row;
            m_samples->Gather(m_planeRows.data(), m_gathered.data(), columns);
            unit = m_gathered.data();
        }
        m_samples->Convert(unit, row % unitRows, &m_pixels[m_stride * r], columns);
    }
    if (m_premultiplied)
        Unpremultiply(PixelTarget{m_pixels.data(), columns, m_pixelsRows, uint32_t(m_stride)});
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
        uint8_t* out = &m_pixels[m_stride * r];
        for (uint32_t x = columns; x-- > 0;) {
            const uint32_t value = in[x];
            const uint8_t pixel[4] = {uint8_t(TIFFGetB(value)), uint8_t(TIFFGetG(value)), uint8_t(TIFFGetR(value)),
                                      uint8_t(TIFFGetA(value))};
            std::memcpy(out + size_t(x) * 4, pixel, 4);
        }
    }
    if (m_premultiplied)
        Unpremultiply(PixelTarget{m_pixels.data(), columns, rows, uint32_t(m_stride)});
    return !*m_damaged;
}

bool TiffPieces::Reach(uint32_t left, uint32_t y)
{
    if (left >= m_width || y >= m_height || left % m_pieceWidth != 0)
        return false;
    const uint32_t across = (m_width + m_pieceWidth - 1) / m_pieceWidth;
    const uint32_t pieceTop = y / m_pieceHeight * m_pieceHeight;
    const int64_t piece = int64_t(pieceTop / m_pieceHeight) * across + left / m_pieceWidth;
    if (piece == m_piece && y >= m_pixelsTop && y < m_pixelsTop + m_pixelsRows)
        return true;
    const uint32_t columns = std::min(m_pieceWidth, m_width - left);
    const uint32_t rows = std::min(m_pieceHeight, m_height - pieceTop);
    if (m_rgba) {
        m_piece = -1;
        m_pixelsTop = pieceTop;
        m_pixelsRows = rows;
        if (!DecodeRgba(left, pieceTop, columns, rows))
            return false;
        m_piece = piece;
        return true;
    }
    // A run already passed: the tile again from its start.
    const uint32_t row = y - pieceTop;
    if (piece != m_piece || row + m_runRows < m_runTop) {
        m_piece = piece;
        m_runTop = 0;
    }
    m_pixelsRows = 0;
    for (; m_runTop <= row; m_runTop += m_runRows)
        if (!DecodeRun(uint32_t(piece), m_runTop)) {
            m_piece = -1;
            return false;
        }
    // The rows converted: a chunk of the run, cut at the picture's edge.
    const uint32_t runTop = m_runTop - m_runRows;
    const uint32_t chunkTop = runTop + (row - runTop) / m_chunkRows * m_chunkRows;
    m_pixelsTop = pieceTop + chunkTop;
    m_pixelsRows = std::min({m_chunkRows, m_runTop - chunkTop, rows - chunkTop});
    ConvertRows(chunkTop, columns);
    // The tile's last rows in the picture: the rest of its stored rows are
    // decoded too, as libtiff decodes a tile whole.
    if (chunkTop + m_pixelsRows == rows)
        for (; m_runTop < m_pieceHeight; m_runTop += m_runRows)
            if (!DecodeRun(uint32_t(piece), m_runTop)) {
                m_piece = -1;
                return false;
            }
    return true;
}

const uint8_t* TiffPieces::Tile(uint32_t left, uint32_t y, size_t& stride, uint32_t& rows)
{
    if (!Reach(left, y))
        return nullptr;
    stride = m_stride;
    rows = m_pixelsTop + m_pixelsRows - y;
    m_handed = std::max(m_handed, y + rows);
    return &m_pixels[m_stride * (y - m_pixelsTop)];
}

bool TiffPieces::DecodeFrom(uint32_t top)
{
    for (uint32_t pieceTop = top / m_pieceHeight * m_pieceHeight; pieceTop < m_height; pieceTop += m_pieceHeight) {
        const uint32_t bottom = std::min(m_height, pieceTop + m_pieceHeight);
        for (uint32_t left = 0; left < m_width; left += m_pieceWidth) {
            size_t stride = 0;
            uint32_t rows = 0;
            for (uint32_t y = std::max(top, pieceTop); y < bottom; y += rows)
                if (!Tile(left, y, stride, rows))
                    return false;
        }
    }
    return true;
}

}  // namespace rasterlib
