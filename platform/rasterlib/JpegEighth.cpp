#include "platform/rasterlib/JpegEighth.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

// Zigzag order to the natural order of a block; a run past the last coefficient
// lands on it, as in libjpeg.
const uint8_t kNaturalOrder[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
    6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
    39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

uint16_t Be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

// libjpeg-turbo's tables for YCbCr to RGB and its limits of samples.
struct ColourTables {
    int32_t crRed[256];
    int32_t cbBlue[256];
    int32_t crGreen[256];
    int32_t cbGreen[256];
    uint8_t clamp[1024];     // sample + 384 to 0..255
    uint8_t idctLimit[1024]; // an inverse DCT's output (masked to 10 bits) to a sample

    ColourTables()
    {
        constexpr int kScaleBits = 16;
        constexpr int32_t kHalf = 1 << (kScaleBits - 1);
        auto fix = [](double x) { return int32_t(x * (1 << kScaleBits) + 0.5); };
        for (int i = 0; i < 256; ++i) {
            const int32_t x = i - 128;
            crRed[i] = (fix(1.40200) * x + kHalf) >> kScaleBits;
            cbBlue[i] = (fix(1.77200) * x + kHalf) >> kScaleBits;
            crGreen[i] = -fix(0.71414) * x;
            cbGreen[i] = -fix(0.34414) * x + kHalf;
        }
        for (int i = 0; i < 1024; ++i) {
            const int v = i - 384;
            clamp[i] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
            idctLimit[i] = uint8_t(i < 128 ? i + 128 : i < 512 ? 255 : i < 896 ? 0 : i - 896);
        }
    }
};

const ColourTables& Colours()
{
    static const ColourTables tables;
    return tables;
}

// The one sample of a block at one eighth: its DC value, dequantized, over 8.
inline uint8_t BlockMean(int32_t predictor, uint16_t quant, const ColourTables& colours)
{
    const int32_t value = int32_t(int16_t(predictor)) * int32_t(int16_t(quant));
    return colours.idctLimit[((value + 4) >> 3) & 1023];
}

inline int32_t Saturate16(int32_t v)
{
    return v < -32768 ? -32768 : v > 32767 ? 32767 : v;
}

inline uint8_t Sample8(int32_t v)
{
    v = Saturate16(v);
    return uint8_t((v < -128 ? -128 : v > 127 ? 127 : v) + 128);
}

// The 2 x 2 reduced inverse DCT as libjpeg-turbo's SSE2 code computes it: 16-bit
// dequantization, 32-bit sums that wrap, the first pass's odd terms saturated to
// 16 bits, the samples saturated.
void Idct2x2(const int16_t* block, const uint16_t* quant, uint8_t* row0, uint8_t* row1)
{
    constexpr int32_t k0720 = 5906, k0850 = 6967, k1272 = 10426, k3624 = 29692;
    static const int kColumns[5] = {0, 1, 3, 5, 7};
    auto q = [&](int r, int c) { return int32_t(int16_t(uint16_t(block[r * 8 + c]) * quant[r * 8 + c])); };
    int32_t top[8] = {}, bottom[8] = {};
    for (int c : kColumns) {
        const uint32_t odd = uint32_t(q(1, c) * k3624) + uint32_t(q(3, c) * -k1272) + uint32_t(q(5, c) * k0850) +
                             uint32_t(q(7, c) * -k0720);
        const uint32_t even = uint32_t(q(0, c)) << 15;
        top[c] = int32_t(even + odd + 4096) >> 13;
        bottom[c] = int32_t(even - odd + 4096) >> 13;
    }
    uint8_t* rows[2] = {row0, row1};
    const int32_t* passes[2] = {top, bottom};
    for (int r = 0; r < 2; ++r) {
        const int32_t* w = passes[r];
        const uint32_t odd = uint32_t(Saturate16(w[1]) * k3624) + uint32_t(Saturate16(w[3]) * -k1272) +
                             uint32_t(Saturate16(w[5]) * k0850) + uint32_t(Saturate16(w[7]) * -k0720);
        const uint32_t even = uint32_t(w[0]) << 15;
        rows[r][0] = Sample8(int32_t(even + odd + (1u << 19)) >> 20);
        rows[r][1] = Sample8(int32_t(even - odd + (1u << 19)) >> 20);
    }
}

// Adds a block's DC difference to its component's predictor.
inline bool AddDc(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, int32_t& predictor)
{
    uint32_t length, size;
    if (!DecodeSymbol(dc, PeekBits(bytes, position), length, size))
        return false;
    position += length;
    if (size != 0) {
        const uint32_t bits = PeekBits(bytes, position) >> (32 - size);
        position += size;
        predictor = int32_t(uint32_t(predictor) + uint32_t(ExtendValue(bits, size)));
    }
    return true;
}

// A block of which only the DC value is wanted: its AC coefficients passed over
// by their lengths alone.
inline bool SkipBlock(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, const HuffmanTable& ac,
                      int32_t& predictor)
{
    if (!AddDc(bytes, position, dc, predictor))
        return false;
    uint32_t at = position;
    for (uint32_t k = 1; k < 64;) {
        const uint32_t peek = PeekBits(bytes, at);
        const uint32_t entry = ac.skips[peek >> (32 - kHuffmanLookupBits)];
        if (entry != 0) {
            // Two coefficients at once while the first leaves the block open.
            const uint32_t advance = entry & 0x7F;
            if (k + advance < 64) {
                k += (entry >> 12) & 0x7F;
                at += entry >> 19;
            } else {
                k += advance;
                at += (entry >> 7) & 0x1F;
            }
            continue;
        }
        uint32_t length, symbol;
        if (!DecodeLongSymbol(ac, peek, length, symbol))
            return false;
        const uint32_t run = symbol >> 4, size = symbol & 15;
        at += length + size;
        if (size != 0)
            k += run + 1;
        else if (run == 15)
            k += 16;
        else
            break;
    }
    position = at;
    return true;
}

// A whole block's coefficients, into a cleared block in natural order.
inline bool ReadBlock(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, const HuffmanTable& ac,
                      int32_t& predictor, int16_t* block)
{
    if (!AddDc(bytes, position, dc, predictor))
        return false;
    block[0] = int16_t(predictor);
    uint32_t at = position;
    for (uint32_t k = 1; k < 64;) {
        uint32_t length, symbol;
        if (!DecodeSymbol(ac, PeekBits(bytes, at), length, symbol))
            return false;
        at += length;
        const uint32_t run = symbol >> 4, size = symbol & 15;
        if (size != 0) {
            k += run;
            const uint32_t bits = PeekBits(bytes, at) >> (32 - size);
            at += size;
            block[kNaturalOrder[k]] = int16_t(ExtendValue(bits, size));
            ++k;
        } else if (run == 15) {
            k += 16;
        } else {
            break;
        }
    }
    position = at;
    return true;
}

}  // namespace

bool JpegEighth::Open(const uint8_t* data, size_t count)
{
    return ReadSegments(data, count) && Prepare();
}

bool JpegEighth::ReadSegments(const uint8_t* data, size_t count)
{
    if (!data || count < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    size_t at = 2;
    for (;;) {
        // Bytes between segments are left to libjpeg-turbo, which warns of them.
        if (at >= count || data[at] != 0xFF)
            return false;
        while (at < count && data[at] == 0xFF)
            ++at;
        if (at + 3 > count)
            return false;
        const uint8_t marker = data[at++];
        const size_t length = Be16(data + at);
        if (length < 2 || length > count - at)
            return false;
        const uint8_t* segment = data + at + 2;
        const size_t size = length - 2;
        at += length;
        switch (marker) {
        case 0xC0:  // baseline
        case 0xC1:  // extended sequential, Huffman coded
            if (m_componentCount != 0 || !ReadFrame(segment, size))
                return false;
            break;
        case 0xC4:
            if (!ReadHuffman(segment, size))
                return false;
            break;
        case 0xDB:
            if (!ReadQuantization(segment, size))
                return false;
            break;
        case 0xDD:
            if (size != 2)
                return false;
            m_restartInterval = Be16(segment);
            break;
        case 0xE0:
            if (size >= 14 && std::memcmp(segment, "JFIF", 5) == 0)
                m_sawJfif = true;
            break;
        case 0xEE:
            if (size >= 5 && std::memcmp(segment, "Adobe", 5) == 0)
                m_sawAdobe = true;
            break;
        case 0xDA:
            if (m_componentCount == 0 || !ReadScan(segment, size))
                return false;
            m_scanData = data + at;
            m_dataEnd = data + count;
            return true;
        default:
            // Other frames, arithmetic coding, markers that stand alone, the end or a
            // second start of the image, line counts and hierarchical segments.
            if ((marker >= 0xC0 && marker <= 0xCF) || marker <= 0x01 || (marker >= 0xD0 && marker <= 0xD9) ||
                marker == 0xDC || marker == 0xDE || marker == 0xDF)
                return false;
            break;
        }
    }
}

bool JpegEighth::ReadFrame(const uint8_t* segment, size_t size)
{
    if (size < 6 || segment[0] != 8)
        return false;
    m_height = Be16(segment + 1);
    m_width = Be16(segment + 3);
    const int count = segment[5];
    if (m_width == 0 || m_height == 0 || (count != 1 && count != 3) || size != 6 + 3 * size_t(count))
        return false;
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = segment + 6 + 3 * i;
        Component& c = m_components[i];
        c.id = p[0];
        c.h = p[1] >> 4;
        c.v = p[1] & 15;
        c.quant = p[2];
        if (c.quant > 3)
            return false;
        for (int j = 0; j < i; ++j)
            if (m_components[j].id == c.id)
                return false;
    }
    m_componentCount = count;
    return true;
}

bool JpegEighth::ReadHuffman(const uint8_t* segment, size_t size)
{
    while (size > 0) {
        if (size < 17)
            return false;
        const int kind = segment[0] >> 4, slot = segment[0] & 15;
        size_t total = 0;
        for (int i = 1; i <= 16; ++i)
            total += segment[i];
        if (kind > 1 || slot > 3 || total > 256 || size < 17 + total)
            return false;
        RawHuffman& raw = kind == 0 ? m_dcRaw[slot] : m_acRaw[slot];
        std::memcpy(raw.counts, segment + 1, 16);
        std::memset(raw.symbols, 0, sizeof raw.symbols);
        std::memcpy(raw.symbols, segment + 17, total);
        raw.defined = true;
        segment += 17 + total;
        size -= 17 + total;
    }
    return true;
}

bool JpegEighth::ReadQuantization(const uint8_t* segment, size_t size)
{
    while (size > 0) {
        const bool wide = (segment[0] >> 4) != 0;
        const int slot = segment[0] & 15;
        const size_t bytes = 1 + (wide ? 128 : 64);
        if (slot > 3 || size < bytes)
            return false;
        for (int i = 0; i < 64; ++i)
            m_quant[slot][kNaturalOrder[i]] = wide ? Be16(segment + 1 + 2 * i) : segment[1 + i];
        m_quantDefined[slot] = true;
        segment += bytes;
        size -= bytes;
    }
    return true;
}

bool JpegEighth::ReadScan(const uint8_t* segment, size_t size)
{
    const int count = size > 0 ? segment[0] : 0;
    if (count != m_componentCount || size != 4 + 2 * size_t(count))
        return false;
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = segment + 1 + 2 * i;
        Component& c = m_components[i];
        c.dcTable = p[1] >> 4;
        c.acTable = p[1] & 15;
        if (p[0] != c.id || c.dcTable > 3 || c.acTable > 3)
            return false;
    }
    // Spectral selection and successive approximation of a sequential scan.
    const uint8_t* tail = segment + 1 + 2 * count;
    return tail[0] == 0 && tail[1] == 63 && tail[2] == 0;
}

bool JpegEighth::Prepare()
{
    const Component& luma = m_components[0];
    if (m_componentCount == 3) {
        // YCbCr with chroma at full, half width or half width and height; the
        // colour space as libjpeg-turbo infers it (an Adobe segment is left to it).
        if (m_sawAdobe || (!m_sawJfif && luma.id == 'R' && m_components[1].id == 'G' && m_components[2].id == 'B'))
            return false;
        const bool lumaSampling = (luma.h == 1 && luma.v == 1) || (luma.h == 2 && (luma.v == 1 || luma.v == 2));
        for (int i = 1; i < 3; ++i)
            if (m_components[i].h != 1 || m_components[i].v != 1)
                return false;
        if (!lumaSampling)
            return false;
        m_lumaH = luma.h;
        m_lumaV = luma.v;
    } else if (luma.h < 1 || luma.h > 4 || luma.v < 1 || luma.v > 4) {
        return false;
    }
    try {
        m_tables.resize(size_t(m_componentCount) * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 0; i < m_componentCount; ++i) {
        const Component& c = m_components[i];
        const RawHuffman& dc = m_dcRaw[c.dcTable];
        const RawHuffman& ac = m_acRaw[c.acTable];
        if (!m_quantDefined[c.quant] || !dc.defined || !ac.defined ||
            !BuildHuffmanTable(dc.counts, dc.symbols, true, m_tables[size_t(i) * 2]) ||
            !BuildHuffmanTable(ac.counts, ac.symbols, false, m_tables[size_t(i) * 2 + 1]))
            return false;
    }
    m_outWidth = (m_width + 7) / 8;
    m_outHeight = (m_height + 7) / 8;
    if (m_componentCount == 1) {
        // One component: an MCU is one block.
        m_lumaH = m_lumaV = 1;
    }
    m_mcuColumns = (m_width + 8 * m_lumaH - 1) / (8 * m_lumaH);
    m_mcuRows = (m_height + 8 * m_lumaV - 1) / (8 * m_lumaV);
    m_lumaStride = m_mcuColumns * uint32_t(m_lumaH);
    // Chroma stored at half height and width has 2 x 2 samples a block at one
    // eighth, as libjpeg-turbo scales it to the luma's size.
    m_chromaBlock = m_componentCount == 3 && m_lumaV == 2 ? 2 : 1;
    m_chromaStride = m_mcuColumns * m_chromaBlock;
    try {
        m_luma.assign(size_t(m_lumaStride) * m_lumaV, 0);
        if (m_componentCount == 3) {
            m_cb.assign(size_t(m_chromaStride) * m_chromaBlock, 0);
            m_cr.assign(size_t(m_chromaStride) * m_chromaBlock, 0);
        }
        m_rows.assign(size_t(m_outWidth) * 4 * m_lumaV, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_untilRestart = m_restartInterval;
    return m_bits.Start(m_scanData, m_dataEnd);
}

const uint8_t* JpegEighth::Row(uint32_t y)
{
    if (m_damaged || y >= m_outHeight)
        return nullptr;
    const uint32_t band = y / uint32_t(m_lumaV);
    if (band + 1 < m_band)
        return nullptr;  // rows are read in order
    while (m_band <= band) {
        if (!DecodeBand()) {
            m_damaged = true;
            return nullptr;
        }
    }
    return &m_rows[size_t(y % uint32_t(m_lumaV)) * m_outWidth * 4];
}

bool JpegEighth::Finish()
{
    while (!m_damaged && m_band < m_mcuRows) {
        if (!DecodeBand())
            m_damaged = true;
    }
    return !m_damaged && m_bits.SkipToMarker() == 0xD9;
}

bool JpegEighth::DecodeBand()
{
    for (uint32_t column = 0; column < m_mcuColumns; ++column) {
        if (m_restartInterval != 0) {
            if (m_untilRestart == 0) {
                if (m_bits.SkipToMarker() != 0xD0 + (m_restarts & 7))
                    return false;
                ++m_restarts;
                m_bits.Restart();
                m_predictors[0] = m_predictors[1] = m_predictors[2] = 0;
                m_untilRestart = m_restartInterval;
            }
            --m_untilRestart;
        }
        m_bits.Reserve();
        if (!DecodeMcu(column) || m_bits.Overrun())
            return false;
    }
    ConvertBand();
    ++m_band;
    return true;
}

bool JpegEighth::DecodeMcu(uint32_t column)
{
    const ColourTables& colours = Colours();
    const uint8_t* bytes = m_bits.Bytes();
    uint32_t position = m_bits.Position();
    const HuffmanTable& lumaDc = m_tables[0];
    const HuffmanTable& lumaAc = m_tables[1];
    const uint16_t lumaQuant = m_quant[m_components[0].quant][0];
    for (int by = 0; by < m_lumaV; ++by) {
        uint8_t* row = &m_luma[size_t(by) * m_lumaStride + size_t(column) * uint32_t(m_lumaH)];
        for (int bx = 0; bx < m_lumaH; ++bx) {
            if (!SkipBlock(bytes, position, lumaDc, lumaAc, m_predictors[0]))
                return false;
            row[bx] = BlockMean(m_predictors[0], lumaQuant, colours);
        }
    }
    for (int i = 1; i < m_componentCount; ++i) {
        const HuffmanTable& dc = m_tables[size_t(i) * 2];
        const HuffmanTable& ac = m_tables[size_t(i) * 2 + 1];
        const uint16_t* quant = m_quant[m_components[i].quant];
        uint8_t* plane = i == 1 ? m_cb.data() : m_cr.data();
        if (m_chromaBlock == 2) {
            int16_t block[64] = {};
            if (!ReadBlock(bytes, position, dc, ac, m_predictors[i], block))
                return false;
            uint8_t* top = plane + size_t(column) * 2;
            Idct2x2(block, quant, top, top + m_chromaStride);
        } else {
            if (!SkipBlock(bytes, position, dc, ac, m_predictors[i]))
                return false;
            plane[column] = BlockMean(m_predictors[i], quant[0], colours);
        }
    }
    m_bits.SetPosition(position);
    return true;
}

void JpegEighth::ConvertBand()
{
    const ColourTables& colours = Colours();
    const uint32_t first = m_band * uint32_t(m_lumaV);
    const uint32_t rows = m_outHeight - first < uint32_t(m_lumaV) ? m_outHeight - first : uint32_t(m_lumaV);
    const uint8_t* clamp = colours.clamp + 384;
    for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t* y = &m_luma[size_t(r) * m_lumaStride];
        uint8_t* out = &m_rows[size_t(r) * m_outWidth * 4];
        if (m_componentCount == 1) {
            for (uint32_t x = 0; x < m_outWidth; ++x, out += 4) {
                out[0] = out[1] = out[2] = y[x];
                out[3] = 255;
            }
            continue;
        }
        const size_t chromaRow = m_chromaBlock == 2 ? size_t(r) * m_chromaStride : 0;
        const uint8_t* cb = m_cb.data() + chromaRow;
        const uint8_t* cr = m_cr.data() + chromaRow;
        // Chroma at half width and full height is widened by repeating each sample.
        const int shift = m_chromaBlock == 1 && m_lumaH == 2 ? 1 : 0;
        for (uint32_t x = 0; x < m_outWidth; ++x, out += 4) {
            const int luma = y[x];
            const uint8_t blue = cb[x >> shift], red = cr[x >> shift];
            out[0] = clamp[luma + colours.cbBlue[blue]];
            out[1] = clamp[luma + ((colours.cbGreen[blue] + colours.crGreen[red]) >> 16)];
            out[2] = clamp[luma + colours.crRed[red]];
            out[3] = 255;
        }
    }
}

}  // namespace rasterlib
