#include "platform/rasterlib/TiffSamples.h"

#include <tiffio.h>

#include <cstring>

namespace rasterlib {

namespace {

// A sample of a stored row: 16-bit samples by their high byte, fewer than 8
// bits as they are.
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

bool TiffSamples::Take(tiff* tif, uint16_t photometric, uint16_t compression, bool planar)
{
    uint16_t extras = 0, *extraKinds = nullptr, inks = INKSET_CMYK;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &m_samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &m_bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extras, &extraKinds);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inks);
    const bool whole = m_bits == 8 || m_bits == 16;
    // Planes apart are put together a whole sample at a time.
    planar = planar && m_samples > 1;
    if (extras >= m_samples || (planar && !whole) || compression == COMPRESSION_OJPEG)
        return false;
    const uint16_t base = uint16_t(m_samples - extras);
    // Alpha as libtiff's RGBA reader takes it: an unspecified extra sample
    // of four or more is alpha multiplied in.
    if (extras > 0 && (extraKinds[0] == EXTRASAMPLE_ASSOCALPHA || extraKinds[0] == EXTRASAMPLE_UNASSALPHA ||
                       (extraKinds[0] == EXTRASAMPLE_UNSPECIFIED && m_samples > 3))) {
        m_alphaSample = base;
        m_premultiplied = extraKinds[0] != EXTRASAMPLE_UNASSALPHA;
    }
    // libjpeg makes RGB of JPEG-coded YCbCr stored together.
    if (compression == COMPRESSION_JPEG && photometric == PHOTOMETRIC_YCBCR && !planar) {
        if (!TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
            return false;
        photometric = PHOTOMETRIC_RGB;
    }
    if (photometric == PHOTOMETRIC_YCBCR)
        return !planar && compression != COMPRESSION_JPEG && m_bits == 8 && m_samples == 3 && TakeYCbCr(tif);
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
        if (base != 1 || !IsRowBits(m_bits) || (!whole && m_samples != 1))
            return false;
        m_kind = Kind::Grey;
        m_grey = true;
        m_whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
        return true;
    case PHOTOMETRIC_PALETTE: {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (m_samples != 1 || m_bits > 8 || !IsRowBits(m_bits) ||
            !TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue))
            return false;
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
        return true;
    }
    case PHOTOMETRIC_RGB:
        m_kind = Kind::Rgb;
        return base == 3 && whole;
    case PHOTOMETRIC_SEPARATED:
        m_kind = Kind::Cmyk;
        m_alphaSample = -1;
        m_premultiplied = false;
        return base == 4 && inks == INKSET_CMYK && whole;
    default:
        return false;
    }
}

bool TiffSamples::TakeYCbCr(tiff* tif)
{
    uint16_t across = 2, down = 2;
    float *luma = nullptr, *blackWhite = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &across, &down);
    TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRCOEFFICIENTS, &luma);
    TIFFGetFieldDefaulted(tif, TIFFTAG_REFERENCEBLACKWHITE, &blackWhite);
    // The blocks and the fields libtiff's RGBA reader converts.
    const auto isStep = [](uint16_t step) { return step == 1 || step == 2 || step == 4; };
    if (!isStep(across) || !isStep(down) || (down > across && !(across == 1 && down == 2)) || !luma || !blackWhite)
        return false;
    if (luma[0] != luma[0] || luma[1] != luma[1] || luma[1] == 0.0f || luma[2] != luma[2])
        return false;
    for (int i = 0; i < 6; ++i)
        if (!(blackWhite[i] > float(-0x7FFFFFFF + 128) && blackWhite[i] < float(0x7FFFFFFF)))
            return false;
    // Its tables, sized as that reader sizes them.
    const size_t head = (sizeof(TIFFYCbCrToRGB) + sizeof(long) - 1) / sizeof(long) * sizeof(long);
    m_ycbcr.assign(head + 4 * 256 * sizeof(TIFFRGBValue) + 2 * 256 * sizeof(int) + 3 * 256 * sizeof(int32_t), 0);
    if (TIFFYCbCrToRGBInit(reinterpret_cast<TIFFYCbCrToRGB*>(m_ycbcr.data()), luma, blackWhite) < 0)
        return false;
    m_kind = Kind::YCbCr;
    m_across = across;
    m_down = down;
    return true;
}

void TiffSamples::Convert(const uint8_t* in, uint32_t row, uint8_t* out, uint32_t count) const
{
    const uint32_t spp = m_samples;
    if (m_kind == Kind::YCbCr) {
        // Each block: its Y values row by row, then its Cb and Cr.
        TIFFYCbCrToRGB* table = reinterpret_cast<TIFFYCbCrToRGB*>(const_cast<uint8_t*>(m_ycbcr.data()));
        const uint32_t blockBytes = m_across * m_down + 2;
        for (uint32_t x = 0; x < count; ++x, out += 4) {
            const uint8_t* block = in + size_t(x / m_across) * blockBytes;
            uint32_t r = 0, g = 0, b = 0;
            TIFFYCbCrtoRGB(table, block[row * m_across + x % m_across], int32_t(block[blockBytes - 2]),
                           int32_t(block[blockBytes - 1]), &r, &g, &b);
            const uint8_t pixel[4] = {uint8_t(b), uint8_t(g), uint8_t(r), 255};
            std::memcpy(out, pixel, 4);
        }
        return;
    }
    // The commonest kind read without the general reading of a sample.
    if (m_kind == Kind::Rgb && m_bits == 8) {
        const int alpha = m_alphaSample;
        for (uint32_t x = 0; x < count; ++x, in += spp, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = alpha >= 0 ? in[alpha] : 255;
        }
        return;
    }
    const uint32_t stretch = m_bits < 8 ? 255 / ((1u << m_bits) - 1) : 1;
    for (uint32_t x = 0; x < count; ++x, out += 4) {
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
        case Kind::YCbCr:
            break;
        case Kind::Cmyk: {  // as libtiff's RGBA reader makes it
            const uint32_t white = 255 - sample(3);
            out[0] = uint8_t(white * (255 - sample(2)) / 255);
            out[1] = uint8_t(white * (255 - sample(1)) / 255);
            out[2] = uint8_t(white * (255 - sample(0)) / 255);
            break;
        }
        }
    }
}

void TiffSamples::Gather(const uint8_t* const* planes, uint8_t* out, uint32_t count) const
{
    // Each plane's samples into their places, a plane at a time.
    const uint32_t samples = m_samples, bytes = m_bits / 8, step = samples * bytes;
    for (uint32_t s = 0; s < samples; ++s) {
        const uint8_t* in = planes[s];
        uint8_t* to = out + s * bytes;
        if (bytes == 1) {
            for (uint32_t x = 0; x < count; ++x, to += step)
                *to = in[x];
        } else {
            for (uint32_t x = 0; x < count; ++x, to += step)
                std::memcpy(to, in + size_t(x) * 2, 2);
        }
    }
}

void TiffSamples::Spread(uint16_t plane, const uint8_t* in, uint8_t* out, uint32_t count) const
{
    if (m_kind == Kind::Grey ? plane != 0 : plane > 2)
        return;
    for (uint32_t x = 0; x < count; ++x, out += 4) {
        const uint8_t value = uint8_t(SampleAt(in, x, m_bits));
        if (m_kind == Kind::Grey)
            out[0] = out[1] = out[2] = m_whiteIsZero ? uint8_t(255 - value) : value;
        else
            out[2 - plane] = value;
        if (plane == 0)
            out[3] = 255;
    }
}

}  // namespace rasterlib
