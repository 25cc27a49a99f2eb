#include "platform/rasterlib/TiffImage.h"

#include "platform/rasterlib/PixelOps.h"
#include "platform/rasterlib/RasterLibApi.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

// The most libtiff may ask for at once: a row, a strip's state, the tables.
constexpr tmsize_t kMostAtOnce = tmsize_t(64) << 20;

TiffImage::Memory& MemoryOf(thandle_t handle)
{
    return *static_cast<TiffImage::Memory*>(handle);
}

tmsize_t ReadBytes(thandle_t handle, void* out, tmsize_t count)
{
    TiffImage::Memory& memory = MemoryOf(handle);
    if (count < 0 || memory.at >= memory.size)
        return 0;
    const uint64_t taken = std::min<uint64_t>(uint64_t(count), memory.size - memory.at);
    std::memcpy(out, memory.bytes + memory.at, size_t(taken));
    memory.at += taken;
    return tmsize_t(taken);
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t Seek(thandle_t handle, toff_t offset, int whence)
{
    TiffImage::Memory& memory = MemoryOf(handle);
    const uint64_t base = whence == SEEK_CUR ? memory.at : whence == SEEK_END ? memory.size : 0;
    memory.at = base + offset;
    return memory.at;
}

int Close(thandle_t)
{
    return 0;
}

toff_t Size(thandle_t handle)
{
    return MemoryOf(handle).size;
}

// The bytes are in memory already: libtiff reads a strip's coded bytes where
// they lie.
int Map(thandle_t handle, void** base, toff_t* size)
{
    *base = const_cast<uint8_t*>(MemoryOf(handle).bytes);
    *size = MemoryOf(handle).size;
    return 1;
}

void Unmap(thandle_t, void*, toff_t) {}

// Errors end the read through the calls' answers; nothing is printed.
int Quiet(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

// The common kinds: B, G, R, A from a stored row's samples (16-bit samples
// by their high byte, fewer than 8 bits stretched over 0 to 255).
uint32_t SampleAt(const uint8_t* in, uint32_t index, uint16_t bits)
{
    if (bits == 8)
        return in[index];
    if (bits == 16) {
        uint16_t value = 0;
        std::memcpy(&value, in + size_t(index) * 2, 2);
        return value >> 8;
    }
    const uint32_t bit = index * bits;
    return (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

bool IsRowBits(uint16_t bits)
{
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
}

}  // namespace

struct TiffImage::RgbaReader {
    TIFFRGBAImage image = {};
    bool begun = false;
};

TiffImage::TiffImage() = default;

TiffImage::~TiffImage()
{
    if (m_rgba && m_rgba->begun)
        TIFFRGBAImageEnd(&m_rgba->image);
    if (m_tiff)
        TIFFClose(m_tiff);
}

TiffImage::Opening TiffImage::Open(const uint8_t* bytes, size_t count)
{
    m_memory = Memory{bytes, count, 0};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return Opening::Damaged;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMostAtOnce);
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    m_tiff = TIFFClientOpenExt("", "r", &m_memory, ReadBytes, WriteNothing, Seek, Close, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    uint16_t compression = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
    if (!m_tiff || !TIFFGetField(m_tiff, TIFFTAG_IMAGEWIDTH, &m_width) ||
        !TIFFGetField(m_tiff, TIFFTAG_IMAGELENGTH, &m_height) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_COMPRESSION, &compression) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_SAMPLESPERPIXEL, &m_samples) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_BITSPERSAMPLE, &m_bits) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_PLANARCONFIG, &planar) || !IsAcceptableSize(m_width, m_height))
        return Opening::Damaged;
    // A coding libtiff is built without is the system decoder's.
    if (!TIFFIsCODECConfigured(compression))
        return Opening::NotTaken;
    try {
        m_row.assign(size_t(m_width) * 4, 0);
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    // libtiff's RGBA reader guesses a missing colour space; other readers
    // refuse the file, as the field is one every TIFF must have.
    if (!TIFFGetField(m_tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return Opening::Damaged;
    if (!TIFFIsTiled(m_tiff) && OpenScanlines(photometric, compression, planar) == Opening::Ready)
        return Opening::Ready;
    return OpenRgba();
}

TiffImage::Opening TiffImage::OpenScanlines(uint16_t photometric, uint16_t compression, uint16_t planar)
{
    uint16_t extras = 0, *extraKinds = nullptr, inks = INKSET_CMYK;
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_EXTRASAMPLES, &extras, &extraKinds);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_INKSET, &inks);
    if (extras >= m_samples || (m_samples > 1 && planar != PLANARCONFIG_CONTIG) || compression == COMPRESSION_OJPEG)
        return Opening::NotTaken;
    const uint16_t base = uint16_t(m_samples - extras);
    // Alpha as libtiff's RGBA reader takes it: an unspecified extra sample
    // of four or more is alpha multiplied in.
    if (extras > 0 && (extraKinds[0] == EXTRASAMPLE_ASSOCALPHA || extraKinds[0] == EXTRASAMPLE_UNASSALPHA ||
                       (extraKinds[0] == EXTRASAMPLE_UNSPECIFIED && m_samples > 3))) {
        m_alphaSample = base;
        m_premultiplied = extraKinds[0] != EXTRASAMPLE_UNASSALPHA;
    }
    // libjpeg makes RGB of JPEG-coded YCbCr.
    if (compression == COMPRESSION_JPEG && photometric == PHOTOMETRIC_YCBCR) {
        if (!TIFFSetField(m_tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
            return Opening::NotTaken;
        photometric = PHOTOMETRIC_RGB;
    }
    const bool whole = m_bits == 8 || m_bits == 16;
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
        if (base != 1 || !IsRowBits(m_bits) || (!whole && m_samples != 1))
            return Opening::NotTaken;
        m_kind = Kind::Grey;
        m_grey = true;
        m_whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
        break;
    case PHOTOMETRIC_PALETTE: {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (m_samples != 1 || m_bits > 8 || !IsRowBits(m_bits) ||
            !TIFFGetField(m_tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
            return Opening::NotTaken;
        m_kind = Kind::Palette;
        // A table of 8-bit values where none passes 255, as libtiff takes it.
        const uint32_t colours = 1u << m_bits;
        bool eightBits = true;
        for (uint32_t i = 0; i < colours; ++i)
            eightBits = eightBits && red[i] < 256 && green[i] < 256 && blue[i] < 256;
        const int shift = eightBits ? 0 : 8;
        m_grey = true;
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t entry[4] = {uint8_t(blue[i] >> shift), uint8_t(green[i] >> shift),
                                      uint8_t(red[i] >> shift), 255};
            std::memcpy(m_palette[i], entry, 4);
            m_grey = m_grey && entry[0] == entry[1] && entry[1] == entry[2];
        }
        break;
    }
    case PHOTOMETRIC_RGB:
        if (base != 3 || !whole)
            return Opening::NotTaken;
        m_kind = Kind::Rgb;
        break;
    case PHOTOMETRIC_SEPARATED:
        if (base != 4 || inks != INKSET_CMYK || !whole)
            return Opening::NotTaken;
        m_kind = Kind::Cmyk;
        m_alphaSample = -1;
        break;
    default:
        return Opening::NotTaken;
    }
    const uint64_t storedBytes = (uint64_t(m_width) * m_samples * m_bits + 7) / 8;
    if (uint64_t(TIFFScanlineSize64(m_tiff)) != storedBytes ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_ROWSPERSTRIP, &m_rowsPerStrip))
        return Opening::NotTaken;
    m_rowsPerStrip = std::max<uint32_t>(1, std::min(m_rowsPerStrip, m_height));
    try {
        if (compression == COMPRESSION_PACKBITS)
            m_packBits.reset(new PackBitsRows(m_tiff, uint64_t(kMostAtOnce)));
        m_stored.assign(size_t(storedBytes), 0);
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    return Opening::Ready;
}

TiffImage::Opening TiffImage::OpenRgba()
{
    m_kind = Kind::Rgba;
    m_alphaSample = -1;
    char message[1024] = "";
    if (!TIFFRGBAImageOK(m_tiff, message))
        return Opening::NotTaken;
    uint32_t band = 0;
    if (TIFFIsTiled(m_tiff) ? !TIFFGetField(m_tiff, TIFFTAG_TILELENGTH, &band)
                            : !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_ROWSPERSTRIP, &band))
        return Opening::Damaged;
    m_bandHeight = std::max<uint32_t>(1, std::min(band, m_height));
    // A strip or a row of tiles at a time, within what libtiff may ask at once.
    if (uint64_t(m_width) * m_bandHeight * 4 > uint64_t(kMostAtOnce))
        return Opening::NotTaken;
    try {
        m_rgba.reset(new RgbaReader);
        m_band.assign(size_t(m_width) * m_bandHeight, 0);
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    if (!TIFFRGBAImageBegin(&m_rgba->image, m_tiff, 1, message))
        return Opening::Damaged;
    m_rgba->begun = true;
    // The rows as stored, top first; the picture's orientation is applied later.
    m_rgba->image.req_orientation = m_rgba->image.orientation;
    m_grey = m_rgba->image.photometric == PHOTOMETRIC_MINISBLACK ||
             m_rgba->image.photometric == PHOTOMETRIC_MINISWHITE;
    m_premultiplied = m_rgba->image.alpha != 0;
    return Opening::Ready;
}

bool TiffImage::DecodeBand(uint32_t first)
{
    const uint32_t rows = std::min(m_bandHeight, m_height - first);
    m_rgba->image.row_offset = int(first);
    m_rgba->image.col_offset = 0;
    if (!TIFFRGBAImageGet(&m_rgba->image, m_band.data(), m_width, rows))
        return false;
    m_bandFirst = first;
    m_bandRows = rows;
    return true;
}

bool TiffImage::DecodeUpTo(uint32_t y)
{
    if (m_kind == Kind::Rgba) {
        while (y >= m_bandFirst + m_bandRows)
            if (!DecodeBand(m_bandFirst + m_bandRows))
                return false;
        // libtiff's packed A, B, G, R.
        const uint32_t* in = &m_band[size_t(y - m_bandFirst) * m_width];
        uint8_t* out = m_row.data();
        for (uint32_t x = 0; x < m_width; ++x, out += 4) {
            const uint8_t pixel[4] = {uint8_t(TIFFGetB(in[x])), uint8_t(TIFFGetG(in[x])), uint8_t(TIFFGetR(in[x])),
                                      uint8_t(TIFFGetA(in[x]))};
            std::memcpy(out, pixel, 4);
        }
    } else {
        for (; m_next <= y; ++m_next)
            if (!ReadStored(m_next))
                return false;
        ConvertStored(m_stored.data());
    }
    m_next = y + 1;
    if (m_premultiplied)
        Unpremultiply(PixelTarget{m_row.data(), m_width, 1, m_width * 4});
    return true;
}

bool TiffImage::ReadStored(uint32_t y)
{
    if (!m_packBits)
        return TIFFReadScanline(m_tiff, m_stored.data(), y, 0) >= 0;
    return (y % m_rowsPerStrip != 0 || m_packBits->StartStrip(y / m_rowsPerStrip)) &&
           m_packBits->ReadRow(m_stored.data(), m_stored.size());
}

void TiffImage::ConvertStored(const uint8_t* in)
{
    uint8_t* out = m_row.data();
    const uint32_t spp = m_samples;
    const uint32_t stretch = m_bits < 8 ? 255 / ((1u << m_bits) - 1) : 1;
    for (uint32_t x = 0; x < m_width; ++x, out += 4) {
        auto sample = [&](uint32_t s) { return SampleAt(in, x * spp + s, m_bits); };
        out[3] = uint8_t(m_alphaSample >= 0 ? sample(uint32_t(m_alphaSample)) : 255);
        switch (m_kind) {
        case Kind::Grey: {
            const uint32_t grey = sample(0) * stretch;
            out[0] = out[1] = out[2] = uint8_t(m_whiteIsZero ? 255 - grey : grey);
            break;
        }
        case Kind::Palette:
            std::memcpy(out, m_palette[sample(0)], 4);
            break;
        case Kind::Rgb:
            out[0] = uint8_t(sample(2));
            out[1] = uint8_t(sample(1));
            out[2] = uint8_t(sample(0));
            break;
        default: {  // CMYK, as libtiff's RGBA reader makes it
            const uint32_t white = 255 - sample(3);
            out[0] = uint8_t(white * (255 - sample(2)) / 255);
            out[1] = uint8_t(white * (255 - sample(1)) / 255);
            out[2] = uint8_t(white * (255 - sample(0)) / 255);
            break;
        }
        }
    }
}

const uint8_t* TiffImage::Row(uint32_t y)
{
    if (y >= m_height || y + 1 < m_next)
        return nullptr;
    if (y + 1 == m_next)
        return m_row.data();
    return DecodeUpTo(y) ? m_row.data() : nullptr;
}

bool TiffImage::CopyTo(const PixelTarget& dst)
{
    if (dst.width != m_width || dst.height != m_height)
        return false;
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
    Restart();
    // Rows the thumbnail passes over are decoded all the same: it is shown
    // only when the full read would succeed.
    return ResampleRows(m_width, m_height, m_alphaSample >= 0 || m_premultiplied ? AlphaUse::Mixed : AlphaUse::Opaque,
                        *this, dst) &&
           Row(m_height - 1);
}

bool TiffImage::ReadThrough()
{
    Restart();
    return Row(m_height - 1) != nullptr;
}

}  // namespace rasterlib
