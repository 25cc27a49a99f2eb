#include "platform/rasterlib/JpegBaseline.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

uint16_t Be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

}  // namespace

bool JpegBaseline::Read(const uint8_t* data, size_t count)
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
            // As libjpeg reads a JFIF segment: its first 14 bytes.
            if (size >= 14 && std::memcmp(segment, "JFIF", 5) == 0) {
                m_jfif.seen = true;
                m_jfif.major = segment[5];
                m_jfif.minor = segment[6];
                m_jfif.unit = segment[7];
                m_jfif.x = Be16(segment + 8);
                m_jfif.y = Be16(segment + 10);
            }
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
            return IsTaken();
        default:
            // Only application segments and comments are passed over: other
            // frames, arithmetic coding, markers that stand alone, the end or a
            // second start of the image, line counts, hierarchical segments and
            // the reserved markers are not read here.
            if (!(marker >= 0xE1 && marker <= 0xEF) && marker != 0xFE)
                return false;
            break;
        }
    }
}

bool JpegBaseline::ReadFrame(const uint8_t* segment, size_t size)
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
        JpegComponent& c = m_components[i];
        c.id = p[0];
        c.h = p[1] >> 4;
        c.v = p[1] & 15;
        c.quant = p[2];
        if (c.quant > 3 || c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4)
            return false;
        for (int j = 0; j < i; ++j)
            if (m_components[j].id == c.id)
                return false;
    }
    m_componentCount = count;
    return true;
}

bool JpegBaseline::ReadHuffman(const uint8_t* segment, size_t size)
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

bool JpegBaseline::ReadQuantization(const uint8_t* segment, size_t size)
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

bool JpegBaseline::ReadScan(const uint8_t* segment, size_t size)
{
    const int count = size > 0 ? segment[0] : 0;
    if (count != m_componentCount || size != 4 + 2 * size_t(count))
        return false;
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = segment + 1 + 2 * i;
        JpegComponent& c = m_components[i];
        c.dcTable = p[1] >> 4;
        c.acTable = p[1] & 15;
        if (p[0] != c.id || c.dcTable > 3 || c.acTable > 3)
            return false;
    }
    // Spectral selection and successive approximation of a sequential scan.
    const uint8_t* tail = segment + 1 + 2 * count;
    return tail[0] == 0 && tail[1] == 63 && tail[2] == 0;
}

bool JpegBaseline::IsTaken() const
{
    for (int i = 0; i < m_componentCount; ++i) {
        const JpegComponent& c = m_components[i];
        if (!m_quantDefined[c.quant] || !m_dcRaw[c.dcTable].defined || !m_acRaw[c.acTable].defined)
            return false;
    }
    if (m_sawAdobe)
        return false;
    if (m_componentCount == 1)
        return true;
    // YCbCr as libjpeg-turbo infers it (not RGB by its component ids), chroma
    // at full size, half width or half width and height.
    const JpegComponent& luma = m_components[0];
    if (!m_jfif.seen && luma.id == 'R' && m_components[1].id == 'G' && m_components[2].id == 'B')
        return false;
    for (int i = 1; i < 3; ++i)
        if (m_components[i].h != 1 || m_components[i].v != 1)
            return false;
    return (luma.h == 1 && luma.v == 1) || (luma.h == 2 && (luma.v == 1 || luma.v == 2));
}

uint32_t JpegBaseline::BlocksWide(int index) const
{
    const uint32_t samples = (m_width * (m_componentCount == 1 ? 1 : m_components[index].h) + MaxH() - 1) / MaxH();
    return (samples + 7) / 8;
}

uint32_t JpegBaseline::BlocksHigh(int index) const
{
    const uint32_t samples = (m_height * (m_componentCount == 1 ? 1 : m_components[index].v) + MaxV() - 1) / MaxV();
    return (samples + 7) / 8;
}

bool JpegBaseline::BuildTables(std::vector<HuffmanTable>& tables) const
{
    try {
        tables.resize(size_t(m_componentCount) * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 0; i < m_componentCount; ++i) {
        const JpegComponent& c = m_components[i];
        const RawHuffman& dc = m_dcRaw[c.dcTable];
        const RawHuffman& ac = m_acRaw[c.acTable];
        if (!BuildHuffmanTable(dc.counts, dc.symbols, true, tables[size_t(i) * 2]) ||
            !BuildHuffmanTable(ac.counts, ac.symbols, false, tables[size_t(i) * 2 + 1]))
            return false;
    }
    return true;
}

}  // namespace rasterlib
