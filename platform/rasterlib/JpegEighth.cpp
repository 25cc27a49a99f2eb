#include "platform/rasterlib/JpegEighth.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

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

}  // namespace

bool JpegEighth::Open(const uint8_t* data, size_t count)
{
    if (!m_header.Read(data, count) || !m_header.BuildTables(m_tables))
        return false;
    m_componentCount = m_header.ComponentCount();
    m_lumaH = m_header.MaxH();
    m_lumaV = m_header.MaxV();
    m_outWidth = (m_header.Width() + 7) / 8;
    m_outHeight = (m_header.Height() + 7) / 8;
    m_mcuColumns = m_header.McuColumns();
    m_mcuRows = m_header.McuRows();
    m_lumaStride = m_mcuColumns * m_lumaH;
    // Chroma stored at half height and width has 2 x 2 samples a block at one
    // eighth, as libjpeg-turbo scales it to the luma's size.
    m_chromaBlock = m_componentCount == 3 && m_lumaV == 2 ? 2 : 1;
    m_chromaStride = m_mcuColumns * m_chromaBlock;
    for (int i = 0; i < m_componentCount; ++i)
        m_quant[i] = m_header.Quant(m_header.Component(i).quant);
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
    m_restartInterval = m_header.RestartInterval();
    m_untilRestart = m_restartInterval;
    return m_bits.Start(m_header.ScanData(), m_header.DataEnd());
}

const uint8_t* JpegEighth::Row(uint32_t y)
{
    if (m_damaged || y >= m_outHeight)
        return nullptr;
    const uint32_t band = y / m_lumaV;
    if (band + 1 < m_band)
        return nullptr;  // rows are read in order
    while (m_band <= band) {
        if (!DecodeBand()) {
            m_damaged = true;
            return nullptr;
        }
    }
    return &m_rows[size_t(y % m_lumaV) * m_outWidth * 4];
}

bool JpegEighth::Finish()
{
    while (!m_damaged && m_band < m_mcuRows) {
        if (!DecodeBand())
            m_damaged = true;
    }
    return !m_damaged && m_bits.SkipToMarker() == 0xD9 && !m_bits.SawFillBytes();
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
        // Data with fill bytes are left to libjpeg-turbo, whose pixels they
        // are: its fast decoding reads them in a way of its own.
        if (m_bits.SawFillBytes() || !DecodeMcu(column) || m_bits.Overrun())
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
    const uint16_t lumaQuant = m_quant[0][0];
    for (uint32_t by = 0; by < m_lumaV; ++by) {
        uint8_t* row = &m_luma[size_t(by) * m_lumaStride + size_t(column) * m_lumaH];
        for (uint32_t bx = 0; bx < m_lumaH; ++bx) {
            if (!SkipBlock(bytes, position, lumaDc, lumaAc, m_predictors[0]))
                return false;
            row[bx] = BlockMean(m_predictors[0], lumaQuant, colours);
        }
    }
    for (int i = 1; i < m_componentCount; ++i) {
        const HuffmanTable& dc = m_tables[size_t(i) * 2];
        const HuffmanTable& ac = m_tables[size_t(i) * 2 + 1];
        const uint16_t* quant = m_quant[i];
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
    const uint32_t first = m_band * m_lumaV;
    const uint32_t rows = m_outHeight - first < m_lumaV ? m_outHeight - first : m_lumaV;
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
