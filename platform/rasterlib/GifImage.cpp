#include "platform/rasterlib/GifImage.h"

#include "platform/rasterlib/GifCodes.h"
#include "platform/rasterlib/PlacedRows.h"
#include "platform/rasterlib/Resampler.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace rasterlib {

namespace {

// Sums a reduced read of an interlaced image may hold whatever the image's size.
constexpr uint64_t kSmallSums = uint64_t(4) << 20;

// The rows of an interlaced image: every eighth from the first, every eighth
// from the fifth, every fourth from the third, every second from the second.
const uint32_t kPassStart[4] = {0, 4, 2, 1};
const uint32_t kPassStep[4] = {8, 8, 4, 2};

// The image's pixels as palette indices, in the order they are stored.
class GifPixels {
public:
    bool Start(const uint8_t* bytes, size_t count, size_t data)
    {
        if (!m_codes.Start(bytes, count, data))
            return false;
        for (uint32_t code = 0; code < m_codes.Clear(); ++code) {
            m_suffix[code] = m_first[code] = uint8_t(code);
            m_length[code] = 1;
        }
        return true;
    }

    // The next count indices.
    bool Read(uint8_t* out, uint32_t count)
    {
        while (count > 0) {
            if (m_at == m_size && !Spell())
                return false;
            const uint32_t taken = std::min(count, m_size - m_at);
            std::memcpy(out, m_string + m_at, taken);
            out += taken;
            m_at += taken;
            count -= taken;
        }
        return true;
    }

private:
    // The string of the next code into m_string, the entry it adds into the table.
    bool Spell()
    {
        uint32_t code = 0;
        if (!m_codes.Next(code))
            return false;
        const int32_t added = m_codes.Added(), before = m_codes.Previous();
        if (added >= 0) {
            // The previous string and the first pixel of this one, which is
            // the previous one's own when this code names the entry it adds.
            m_prefix[added] = uint16_t(before);
            m_first[added] = m_first[before];
            m_suffix[added] = m_first[code == uint32_t(added) ? uint32_t(before) : code];
            m_length[added] = uint16_t(m_length[before] + 1);
        }
        m_size = m_length[code];
        m_at = 0;
        uint32_t at = code;
        for (uint32_t i = m_size; i-- > 0; at = m_prefix[at])
            m_string[i] = m_suffix[at];
        return true;
    }

    GifCodes m_codes;
    uint16_t m_prefix[GifCodes::kTableSize] = {};
    uint16_t m_length[GifCodes::kTableSize] = {};
    uint8_t m_suffix[GifCodes::kTableSize] = {};
    uint8_t m_first[GifCodes::kTableSize] = {};
    uint8_t m_string[GifCodes::kTableSize] = {};
    uint32_t m_at = 0;
    uint32_t m_size = 0;
};

// The image's rows in B, G, R, A, one after the other.
class FrameRows : public RowSource {
public:
    FrameRows(GifPixels& pixels, uint32_t width, const uint32_t* colours, int32_t transparent)
        : m_pixels(pixels), m_width(width), m_colours(colours), m_transparent(transparent)
    {
    }

    bool Prepare()
    {
        try {
            m_indices.resize(m_width);
            m_row.resize(size_t(m_width) * 4);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    // Each row once, in order; the last one again.
    const uint8_t* Row(uint32_t y) override
    {
        if (y + 1 == m_next)
            return m_row.data();
        if (y != m_next || !m_pixels.Read(m_indices.data(), m_width))
            return nullptr;
        ++m_next;
        for (uint32_t x = 0; x < m_width; ++x) {
            std::memcpy(&m_row[size_t(x) * 4], &m_colours[m_indices[x]], 4);
            opaque = opaque || int32_t(m_indices[x]) != m_transparent;
        }
        return m_row.data();
    }

    bool opaque = false;  // a pixel of the rows read so far was

private:
    GifPixels& m_pixels;
    uint32_t m_width;
    const uint32_t* m_colours;
    int32_t m_transparent;
    uint32_t m_next = 0;
    std::vector<uint8_t> m_indices;
    std::vector<uint8_t> m_row;
};

}  // namespace

bool GifImage::Open(const uint8_t* bytes, size_t count)
{
    m_bytes = bytes;
    m_count = count;
    if (!ReadGifLayout(bytes, count, m_layout))
        return false;
    // The image's own table, else the global one; colours it lacks black.
    const bool local = m_layout.localColours > 0;
    const uint8_t* table = local ? bytes + m_layout.descriptor + 10 : bytes + 13;
    const uint32_t colours = local ? m_layout.localColours : m_layout.globalColours;
    for (uint32_t i = 0; i < 256; ++i) {
        uint8_t bgra[4] = {0, 0, 0, 255};
        if (i < colours) {
            const uint8_t* rgb = table + size_t(i) * 3;
            bgra[0] = rgb[2];
            bgra[1] = rgb[1];
            bgra[2] = rgb[0];
        }
        if (int32_t(i) == m_layout.transparent)
            bgra[3] = 0;
        std::memcpy(&m_colours[i], bgra, 4);
    }
    return true;
}

bool GifImage::ReadsReduced(uint32_t width, uint32_t height) const
{
    if (!m_layout.interlaced)
        return true;
    const uint64_t sums = uint64_t(width) * height * ResampleSums::kSumBytes;
    return sums <= std::max(kSmallSums, uint64_t(m_layout.placement.width) * m_layout.placement.height);
}

bool GifImage::CopyReduced(const PixelTarget& dst)
{
    const GifPlacement& frame = m_layout.placement;
    const bool covers = frame.width == Width() && frame.height == Height();
    // Transparent pixels around the image, or a clear colour, are resampled
    // premultiplied; an image all clear is not, as the full read resized
    // takes it.
    AlphaUse alpha = !covers || m_layout.transparent >= 0 ? AlphaUse::Mixed : AlphaUse::Opaque;
    bool opaque = false;
    if (!Read(dst, alpha, opaque))
        return false;
    return opaque || !covers || Read(dst, AlphaUse::Padding, opaque);
}

bool GifImage::Read(const PixelTarget& dst, AlphaUse alpha, bool& opaque)
{
    const GifPlacement& frame = m_layout.placement;
    std::unique_ptr<GifPixels> pixels;
    try {
        pixels.reset(new GifPixels);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FrameRows rows(*pixels, frame.width, m_colours, m_layout.transparent);
    if (!pixels->Start(m_bytes, m_count, m_layout.data) || !rows.Prepare())
        return false;
    const FramePlacement placement{Width(), Height(), frame.left, frame.top};
    if (!m_layout.interlaced) {
        PlacedRows canvas(rows, frame.width, frame.height, placement);
        const bool covers = frame.width == Width() && frame.height == Height();
        if (covers ? !ResampleRows(Width(), Height(), alpha, rows, dst)
                   : !canvas.Prepare() || !ResampleRows(Width(), Height(), alpha, canvas, dst))
            return false;
        opaque = rows.opaque;
        return true;
    }
    ResampleSums sums;
    if (!sums.Begin(Width(), Height(), alpha, dst))
        return false;
    uint32_t stored = 0;  // the rows come in the order they are stored
    for (int pass = 0; pass < 4; ++pass) {
        for (uint32_t y = kPassStart[pass]; y < frame.height; y += kPassStep[pass]) {
            const uint8_t* row = rows.Row(stored++);
            if (!row)
                return false;
            sums.Add(frame.top + y, row, frame.left, 1, frame.width);
        }
    }
    sums.Finish();
    opaque = rows.opaque;
    return true;
}

}  // namespace rasterlib
