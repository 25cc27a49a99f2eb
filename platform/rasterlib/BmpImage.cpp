#include "platform/rasterlib/BmpImage.h"

#include "platform/rasterlib/ByteOrder.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;

// The pixels of bottom-up rows in runs (8 bits per pixel, or 4 with nibbles)
// as indices rowBytes apart. True when the runs fill the bitmap, every row to
// its end, before the data or an end of bitmap stop them; other readers
// refuse a bitmap whose runs do not.
bool ExpandRuns(const uint8_t* data, size_t count, bool nibbles, uint32_t width, uint32_t height, size_t rowBytes,
                uint8_t* rows)
{
    uint32_t x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (rows && x < width && y < height)
            rows[size_t(y) * rowBytes + x] = index;
        ++x;
    };
    for (size_t pos = 0; pos + 1 < count && y < height;) {
        const uint8_t first = data[pos++], second = data[pos++];
        if (first > 0) {
            for (uint32_t i = 0; i < first; ++i)
                put(nibbles ? uint8_t(i % 2 ? second & 15 : second >> 4) : second);
        } else if (second == 0) {
            x = 0;
            ++y;
        } else if (second == 1) {
            break;
        } else if (second == 2) {
            if (pos + 1 >= count)
                break;
            x += data[pos++];
            y += data[pos++];
        } else {
            // Literal pixels, their bytes padded to a 16-bit boundary.
            const size_t bytesUsed = nibbles ? (second + 1u) / 2 : second;
            for (uint32_t i = 0; i < second && pos + (nibbles ? i / 2 : i) < count; ++i) {
                const uint8_t byte = data[pos + (nibbles ? i / 2 : i)];
                put(nibbles ? uint8_t(i % 2 ? byte & 15 : byte >> 4) : byte);
            }
            pos += bytesUsed + (bytesUsed & 1);
        }
    }
    // Every row reached its end: an end of line on the last row, or the last
    // row's pixels all there.
    return y >= height || (y + 1 == height && x >= width);
}

}  // namespace

BmpImage::Opening BmpImage::Open(const uint8_t* bytes, size_t count)
{
    m_bytes = bytes;
    if (!bytes || count < kFileHeader + 12)
        return Opening::Damaged;
    const uint32_t dibSize = Le32(bytes + kFileHeader);
    const uint8_t* dib = bytes + kFileHeader;
    int64_t width = 0, height = 0;
    uint32_t compression = 0, colours = 0, entryBytes = 4;
    if (dibSize == 12) {
        width = Le16(dib + 4);
        height = Le16(dib + 6);
        m_bits = Le16(dib + 10);
        entryBytes = 3;
    } else if (dibSize >= kInfoHeader && dibSize <= 124 && count >= kFileHeader + dibSize) {
        width = int32_t(Le32(dib + 4));
        height = int32_t(Le32(dib + 8));
        m_bits = Le16(dib + 14);
        compression = Le32(dib + 16);
        colours = Le32(dib + 32);
    } else {
        return Opening::Damaged;
    }
    const bool runs = (compression == 1 && m_bits == 8) || (compression == 2 && m_bits == 4);
    const bool indexed = m_bits == 1 || m_bits == 2 || m_bits == 4 || m_bits == 8;
    if (!runs && !(compression == 0 && (indexed || m_bits == 24)))
        return Opening::NotTaken;
    // Rows in runs are stored bottom up only.
    if (width <= 0 || height == 0 || (runs && height < 0))
        return Opening::Damaged;
    m_bottomUp = height > 0;
    m_width = uint32_t(width);
    m_height = uint32_t(height < 0 ? -height : height);
    if (!IsAcceptableSize(m_width, m_height))
        return Opening::Damaged;
    size_t paletteEnd = kFileHeader + dibSize;
    if (indexed) {
        const uint32_t whole = 1u << m_bits;
        if (colours > whole)
            return Opening::Damaged;
        if (colours == 0)
            colours = whole;
        if (paletteEnd + size_t(colours) * entryBytes > count)
            return Opening::Damaged;
        m_grey = true;
        for (uint32_t i = 0; i < 256; ++i) {
            const uint8_t* entry = bytes + paletteEnd + size_t(i) * entryBytes;
            const uint8_t black[3] = {0, 0, 0};
            std::memcpy(m_palette[i], i < colours ? entry : black, 3);
            m_palette[i][3] = 255;
            m_grey = m_grey && m_palette[i][0] == m_palette[i][1] && m_palette[i][1] == m_palette[i][2];
        }
        paletteEnd += size_t(colours) * entryBytes;
    }
    // An offset that points into the headers or past the file is taken to
    // mean right after the palette.
    m_data = Le32(bytes + 10);
    if (m_data < paletteEnd || m_data >= count)
        m_data = paletteEnd;
    try {
        m_row.assign(size_t(m_width) * 4, 0);
        if (runs)
            m_indices.assign(size_t(m_width) * m_height, 0);
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    if (runs)
        return ExpandRuns(bytes + m_data, count - m_data, compression == 2, m_width, m_height, m_width,
                          m_indices.data())
                   ? Opening::Ready
                   : Opening::Damaged;
    // Plain rows must all be there.
    m_stride = (size_t(m_width) * m_bits + 31) / 32 * 4;
    return uint64_t(m_stride) * m_height <= count - m_data ? Opening::Ready : Opening::Damaged;
}

const uint8_t* BmpImage::Row(uint32_t y)
{
    if (y >= m_height)
        return nullptr;
    const uint32_t stored = m_bottomUp ? m_height - 1 - y : y;
    uint8_t* out = m_row.data();
    if (!m_indices.empty()) {
        const uint8_t* in = &m_indices[size_t(stored) * m_width];
        for (uint32_t x = 0; x < m_width; ++x)
            std::memcpy(out + size_t(x) * 4, m_palette[in[x]], 4);
        return out;
    }
    const uint8_t* in = m_bytes + m_data + size_t(stored) * m_stride;
    if (m_bits == 24) {
        for (uint32_t x = 0; x < m_width; ++x) {
            std::memcpy(out + size_t(x) * 4, in + size_t(x) * 3, 3);
            out[size_t(x) * 4 + 3] = 255;
        }
        return out;
    }
    // The first pixel of a byte in its high bits.
    const uint32_t perByte = 8 / m_bits, mask = (1u << m_bits) - 1;
    for (uint32_t x = 0; x < m_width; ++x) {
        const uint32_t shift = (perByte - 1 - x % perByte) * m_bits;
        std::memcpy(out + size_t(x) * 4, m_palette[(in[x / perByte] >> shift) & mask], 4);
    }
    return out;
}

bool BmpImage::CopyTo(const PixelTarget& dst)
{
    if (dst.width != m_width || dst.height != m_height)
        return false;
    for (uint32_t y = 0; y < m_height; ++y)
        std::memcpy(dst.Row(y), Row(y), size_t(m_width) * 4);
    return true;
}

bool BmpImage::CopyReduced(const PixelTarget& dst)
{
    return ResampleRows(m_width, m_height, AlphaUse::Opaque, *this, dst);
}

}  // namespace rasterlib
