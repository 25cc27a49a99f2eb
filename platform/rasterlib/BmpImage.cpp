#include "platform/rasterlib/BmpImage.h"

#include "platform/rasterlib/ByteOrder.h"
#include "platform/rasterlib/ImageHeader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;

}  // namespace

bool BmpImage::Runs::Begin(const uint8_t* data, size_t count, bool nibbles, uint32_t width, uint32_t height)
{
    m_data = data;
    m_count = count;
    m_pos = 0;
    m_nibbles = nibbles;
    m_ended = false;
    m_width = width;
    m_height = height;
    m_x = m_y = m_next = 0;
    try {
        m_row.assign(width, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void BmpImage::Runs::Put(uint8_t index)
{
    if (m_x < m_width)
        m_row[m_x] = index;
    ++m_x;
}

// One run, escape or literal; a pixel the runs move past keeps index 0.
void BmpImage::Runs::Step()
{
    if (m_pos + 1 >= m_count) {
        m_ended = true;
        return;
    }
    const uint8_t first = m_data[m_pos++], second = m_data[m_pos++];
    if (first > 0) {
        for (uint32_t i = 0; i < first; ++i)
            Put(m_nibbles ? uint8_t(i % 2 ? second & 15 : second >> 4) : second);
    } else if (second == 0) {
        m_x = 0;
        ++m_y;
    } else if (second == 1) {
        m_ended = true;
    } else if (second == 2) {
        if (m_pos + 1 >= m_count) {
            m_ended = true;
            return;
        }
        m_x += m_data[m_pos++];
        m_y += m_data[m_pos++];
    } else {
        // Literal pixels, their bytes padded to a 16-bit boundary.
        const size_t bytesUsed = m_nibbles ? (second + 1u) / 2 : second;
        for (uint32_t i = 0; i < second && m_pos + (m_nibbles ? i / 2 : i) < m_count; ++i) {
            const uint8_t byte = m_data[m_pos + (m_nibbles ? i / 2 : i)];
            Put(m_nibbles ? uint8_t(i % 2 ? byte & 15 : byte >> 4) : byte);
        }
        m_pos += bytesUsed + (bytesUsed & 1);
    }
}

const uint8_t* BmpImage::Runs::Indices(uint32_t y)
{
    if (y < m_next || y >= m_height)
        return nullptr;
    for (; m_next <= y; ++m_next) {
        std::fill(m_row.begin(), m_row.end(), uint8_t(0));
        while (!m_ended && m_y == m_next)
            Step();
    }
    return m_row.data();
}

bool BmpImage::Runs::Finish()
{
    while (!m_ended && m_y < m_height)
        Step();
    // Every row reached its end: an end of line on the last row, or the last
    // row's pixels all there.
    return m_y >= m_height || (m_y + 1 == m_height && m_x >= m_width);
}

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
    const size_t palette = kFileHeader + dibSize;
    if (indexed) {
        const uint32_t whole = 1u << m_bits;
        if (colours > whole)
            return Opening::Damaged;
        if (colours == 0)
            colours = whole;
        if (palette + size_t(colours) * entryBytes > count)
            return Opening::Damaged;
        m_grey = true;
        for (uint32_t i = 0; i < 256; ++i) {
            const uint8_t* entry = bytes + palette + size_t(i) * entryBytes;
            const uint8_t black[3] = {0, 0, 0};
            std::memcpy(m_palette[i], i < colours ? entry : black, 3);
            m_palette[i][3] = 255;
            m_grey = m_grey && m_palette[i][0] == m_palette[i][1] && m_palette[i][1] == m_palette[i][2];
        }
    }
    // The pixels where the file header says, as the header reader found them.
    m_data = size_t(BmpPixelStart(Le32(bytes + 10), dibSize, m_bits, compression, colours, count));
    if (m_data == 0)
        return Opening::Damaged;
    m_count = count;
    m_compression = compression;
    m_inRuns = runs;
    try {
        m_row.assign(size_t(m_width) * 4, 0);
    } catch (const std::bad_alloc&) {
        return Opening::Damaged;
    }
    // Runs are told whole or not by their reading, which every read finishes.
    if (runs)
        return Opening::Ready;
    // Plain rows must all be there.
    m_stride = (size_t(m_width) * m_bits + 31) / 32 * 4;
    return uint64_t(m_stride) * m_height <= count - m_data ? Opening::Ready : Opening::Damaged;
}

bool BmpImage::RestartRuns()
{
    return m_runs.Begin(m_bytes + m_data, m_count - m_data, m_compression == 2, m_width, m_height);
}

const uint8_t* BmpImage::Colours(const uint8_t* indices)
{
    uint8_t* out = m_row.data();
    for (uint32_t x = 0; x < m_width; ++x)
        std::memcpy(out + size_t(x) * 4, m_palette[indices[x]], 4);
    return out;
}

const uint8_t* BmpImage::Row(uint32_t y)
{
    if (y >= m_height)
        return nullptr;
    if (m_inRuns) {
        const uint8_t* indices = m_runs.Indices(y);
        return indices ? Colours(indices) : nullptr;
    }
    const uint32_t stored = m_bottomUp ? m_height - 1 - y : y;
    uint8_t* out = m_row.data();
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
    if (dst.width != m_width || dst.height != m_height || (m_inRuns && !RestartRuns()))
        return false;
    for (uint32_t y = 0; y < m_height; ++y) {
        // Runs give the bottom row first.
        const uint8_t* row = Row(y);
        if (!row)
            return false;
        std::memcpy(dst.Row(m_inRuns ? m_height - 1 - y : y), row, size_t(m_width) * 4);
    }
    return !m_inRuns || m_runs.Finish();
}

bool BmpImage::CopyReduced(const PixelTarget& dst)
{
    if (!m_inRuns)
        return ResampleRows(m_width, m_height, AlphaUse::Opaque, *this, dst);
    // The picture upside down, as its runs give it, then the thumbnail's rows
    // turned over: the area each output row averages is the same either way.
    if (!RestartRuns() || !ResampleRows(m_width, m_height, AlphaUse::Opaque, *this, dst) || !m_runs.Finish())
        return false;
    std::vector<uint8_t> swap;
    try {
        swap.resize(size_t(dst.width) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t top = 0, bottom = dst.height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(swap.data(), dst.Row(top), swap.size());
        std::memcpy(dst.Row(top), dst.Row(bottom), swap.size());
        std::memcpy(dst.Row(bottom), swap.data(), swap.size());
    }
    return true;
}

}  // namespace rasterlib
