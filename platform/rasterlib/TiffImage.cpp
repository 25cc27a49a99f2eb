#include "platform/rasterlib/TiffImage.h"

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

bool IsTakenCoding(uint16_t compression)
{
    return compression == COMPRESSION_NONE || compression == COMPRESSION_LZW || compression == COMPRESSION_PACKBITS ||
           compression == COMPRESSION_ADOBE_DEFLATE || compression == COMPRESSION_DEFLATE;
}

}  // namespace

TiffImage::~TiffImage()
{
    if (m_tiff)
        TIFFClose(m_tiff);
}

TiffImage::Opening TiffImage::Open(const uint8_t* bytes, size_t count)
{
    m_memory = Memory{bytes, count, 0};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return Opening::NotTaken;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMostAtOnce);
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    m_tiff = TIFFClientOpenExt("", "r", &m_memory, ReadBytes, WriteNothing, Seek, Close, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    if (!m_tiff || TIFFIsTiled(m_tiff))
        return Opening::NotTaken;
    uint16_t compression = 0, planar = PLANARCONFIG_CONTIG;
    if (!TIFFGetField(m_tiff, TIFFTAG_IMAGEWIDTH, &m_width) || !TIFFGetField(m_tiff, TIFFTAG_IMAGELENGTH, &m_height) ||
        !TIFFGetField(m_tiff, TIFFTAG_PHOTOMETRIC, &m_photometric) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_COMPRESSION, &compression) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_SAMPLESPERPIXEL, &m_samples) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_BITSPERSAMPLE, &m_bits) ||
        !TIFFGetFieldDefaulted(m_tiff, TIFFTAG_PLANARCONFIG, &planar))
        return Opening::NotTaken;
    const bool grey = m_photometric == PHOTOMETRIC_MINISBLACK && m_samples == 1 && m_bits == 8;
    const bool rgb = m_photometric == PHOTOMETRIC_RGB && m_samples == 3 && m_bits == 8 && planar == PLANARCONFIG_CONTIG;
    const bool palette = m_photometric == PHOTOMETRIC_PALETTE && m_samples == 1 && m_bits == 8;
    if (!(grey || rgb || palette) || !IsTakenCoding(compression) || !IsAcceptableSize(m_width, m_height))
        return Opening::NotTaken;
    if (palette) {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (!TIFFGetField(m_tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
            return Opening::NotTaken;
        // The table's 16-bit values, their high bytes.
        for (uint32_t i = 0; i < 256; ++i) {
            const uint8_t entry[4] = {uint8_t(blue[i] >> 8), uint8_t(green[i] >> 8), uint8_t(red[i] >> 8), 255};
            std::memcpy(m_palette[i], entry, 4);
        }
    }
    const uint64_t storedBytes = (uint64_t(m_width) * m_samples * m_bits + 7) / 8;
    if (uint64_t(TIFFScanlineSize64(m_tiff)) != storedBytes)
        return Opening::NotTaken;
    try {
        m_stored.assign(size_t(storedBytes), 0);
        m_row.assign(size_t(m_width) * 4, 0);
    } catch (const std::bad_alloc&) {
        return Opening::NotTaken;
    }
    return Opening::Ready;
}

const uint8_t* TiffImage::Row(uint32_t y)
{
    if (y + 1 == m_next)
        return m_row.data();
    if (y != m_next || TIFFReadScanline(m_tiff, m_stored.data(), y, 0) < 0)
        return nullptr;
    ++m_next;
    const uint8_t* in = m_stored.data();
    uint8_t* out = m_row.data();
    for (uint32_t x = 0; x < m_width; ++x, out += 4) {
        switch (m_photometric) {
        case PHOTOMETRIC_MINISBLACK:
            out[0] = out[1] = out[2] = in[x];
            out[3] = 255;
            break;
        case PHOTOMETRIC_RGB:
            out[0] = in[size_t(x) * 3 + 2];
            out[1] = in[size_t(x) * 3 + 1];
            out[2] = in[size_t(x) * 3];
            out[3] = 255;
            break;
        default:  // a palette
            std::memcpy(out, m_palette[in[x]], 4);
            break;
        }
    }
    return m_row.data();
}

bool TiffImage::CopyReduced(const PixelTarget& dst)
{
    // Each read walks the rows from the first: libtiff goes back to the
    // strip's start when asked for an earlier row.
    m_next = 0;
    return ResampleRows(m_width, m_height, AlphaUse::Opaque, *this, dst);
}

}  // namespace rasterlib
