#include "platform/rasterlib/Orientation.h"

#include <cstring>

namespace rasterlib {

namespace {

constexpr uint16_t kOrientationTag = 274;
constexpr uint16_t kMaxEntries = 1024;

class TiffReader {
public:
    TiffReader(const ByteSource& source, uint64_t offset, uint64_t length)
        : m_source(source), m_offset(offset), m_length(length)
    {
    }

    bool ReadHeader(uint32_t& firstDirectory)
    {
        uint8_t head[8];
        if (!Read(0, head, 8))
            return false;
        if (head[0] == 'I' && head[1] == 'I')
            m_bigEndian = false;
        else if (head[0] == 'M' && head[1] == 'M')
            m_bigEndian = true;
        else
            return false;
        if (Value16(head + 2) != 42)
            return false;
        firstDirectory = Value32(head + 4);
        return true;
    }

    bool Read(uint64_t at, uint8_t* dst, size_t count) const
    {
        return at <= m_length && count <= m_length - at && m_source.ReadAt(m_offset + at, dst, count);
    }

    uint16_t Value16(const uint8_t* p) const
    {
        return m_bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    }

    uint32_t Value32(const uint8_t* p) const
    {
        return m_bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                           : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }

    bool BigEndian() const { return m_bigEndian; }

private:
    const ByteSource& m_source;
    uint64_t m_offset;
    uint64_t m_length;
    bool m_bigEndian = false;
};

}  // namespace

bool FindTiffOrientations(const ByteSource& source, uint64_t offset, uint64_t length, OrientationEntries& found)
{
    found = OrientationEntries();
    TiffReader tiff(source, offset, length);
    uint32_t directory = 0;
    uint8_t count[2];
    if (length == 0 || !tiff.ReadHeader(directory) || !tiff.Read(directory, count, 2))
        return false;
    const uint16_t entries = tiff.Value16(count);
    for (uint16_t i = 0; i < entries && i < kMaxEntries; ++i) {
        const uint64_t at = uint64_t(directory) + 2 + 12u * i;
        uint8_t entry[12];
        if (!tiff.Read(at, entry, 12))
            return false;
        if (tiff.Value16(entry) != kOrientationTag)
            continue;
        ++found.count;
        found.type = tiff.Value16(entry + 2);
        found.values = tiff.Value32(entry + 4);
        found.valueAt = offset + at + 8;
        found.bigEndian = tiff.BigEndian();
        // A single value stands in the entry itself; readers turn by a LONG too.
        const uint32_t value = found.type == kTiffTypeShort  ? tiff.Value16(entry + 8)
                               : found.type == kTiffTypeLong ? tiff.Value32(entry + 8)
                                                         : 0;
        found.value = found.values == 1 && value >= 1 && value <= 8 ? uint8_t(value) : 0;
    }
    return true;
}

uint8_t ReadTiffOrientation(const ByteSource& source, uint64_t offset, uint64_t length)
{
    OrientationEntries entries;
    // Readers that meet the tag twice keep the last one.
    if (!FindTiffOrientations(source, offset, length, entries) || entries.value == 0)
        return kOrientationUpright;
    return entries.value;
}

bool OrientPixels(const PixelView& src, uint8_t orientation, const PixelTarget& dst)
{
    return OrientRows(src, 0, src.height, orientation, dst);
}

bool OrientRows(const PixelView& rows, uint32_t firstRow, uint32_t height, uint8_t orientation, const PixelTarget& dst)
{
    const bool swap = SwapsSides(orientation);
    const uint32_t w = rows.width, h = height;
    if (dst.width != (swap ? h : w) || dst.height != (swap ? w : h) || firstRow > h || rows.height > h - firstRow)
        return false;
    // Where the raw pixel (x, y) goes: x' = ax * x + bx * y + cx, y' likewise.
    struct Map {
        int ax, bx, cx, ay, by, cy;
    };
    const int W = int(w) - 1, H = int(h) - 1;
    const Map maps[9] = {
        {1, 0, 0, 0, 1, 0},    // (unused)
        {1, 0, 0, 0, 1, 0},    // 1
        {-1, 0, W, 0, 1, 0},   // 2
        {-1, 0, W, 0, -1, H},  // 3
        {1, 0, 0, 0, -1, H},   // 4
        {0, 1, 0, 1, 0, 0},    // 5
        {0, -1, H, 1, 0, 0},   // 6
        {0, -1, H, -1, 0, W},  // 7
        {0, 1, 0, -1, 0, W},   // 8
    };
    const Map& m = maps[orientation <= 8 ? orientation : 1];
    for (uint32_t row = 0; row < rows.height; ++row) {
        const uint8_t* from = rows.Row(row);
        const int y = int(firstRow + row);
        for (uint32_t x = 0; x < w; ++x, from += 4) {
            const int tx = m.ax * int(x) + m.bx * y + m.cx;
            const int ty = m.ay * int(x) + m.by * y + m.cy;
            std::memcpy(dst.Row(uint32_t(ty)) + size_t(tx) * 4, from, 4);
        }
    }
    return true;
}

}  // namespace rasterlib
