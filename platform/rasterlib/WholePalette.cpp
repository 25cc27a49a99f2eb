#include "platform/rasterlib/WholePalette.h"

#include "platform/rasterlib/ByteOrder.h"
#include "platform/rasterlib/RasterImage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kWholeGifTable = 256 * 3;
constexpr uint32_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;

// Appends a colour table of the flags' size, completed to 256 colours; the flags
// then say 256.
bool AppendGifTable(const uint8_t* bytes, size_t count, size_t& pos, uint8_t& flags, std::vector<uint8_t>& out)
{
    const size_t present = (flags & 0x80) ? size_t(3) << ((flags & 7) + 1) : 0;
    if (pos + present > count)
        return false;
    out.insert(out.end(), bytes + pos, bytes + pos + present);
    out.insert(out.end(), kWholeGifTable - present, 0);
    pos += present;
    flags = uint8_t(flags | 0x87);
    return true;
}

}  // namespace

bool IsInsideScreen(const uint8_t* bytes, size_t descriptor)
{
    const uint32_t screenWidth = Le16(bytes + 6), screenHeight = Le16(bytes + 8);
    const uint32_t left = Le16(bytes + descriptor + 1), top = Le16(bytes + descriptor + 3);
    const uint32_t width = Le16(bytes + descriptor + 5), height = Le16(bytes + descriptor + 7);
    return width > 0 && height > 0 && left + width <= screenWidth && top + height <= screenHeight;
}

size_t SubBlocksEnd(const uint8_t* bytes, size_t count, size_t pos)
{
    while (pos < count) {
        const size_t length = bytes[pos];
        pos += 1 + length;
        if (length == 0)
            return pos;
    }
    return count + 1;
}

namespace {

// True when the LZW data at pos (the code size, then sub-blocks) is a valid code
// stream that gives at least the frame's pixels. The system's decoder fills a frame
// whose codes run out or go wrong from memory it never wrote.
bool IsWholeFrame(const uint8_t* bytes, size_t count, size_t pos, uint64_t pixels)
{
    if (pos >= count)
        return false;
    const uint32_t minimum = bytes[pos++];
    if (minimum < 2 || minimum > 8)
        return false;
    const uint32_t clear = 1u << minimum, end = clear + 1;
    std::vector<uint16_t> lengths(4096, 1);
    uint32_t next = clear + 2, width = minimum + 1, held = 0, bits = 0;
    int32_t previous = -1;
    uint64_t produced = 0;
    size_t block = 0;  // bytes left in the current sub-block
    while (produced < pixels) {
        while (held < width) {
            if (block == 0) {
                if (pos >= count || bytes[pos] == 0)
                    return false;  // the data ends before the frame does
                block = bytes[pos++];
            }
            if (pos >= count)
                return false;
            bits |= uint32_t(bytes[pos++]) << held;
            held += 8;
            --block;
        }
        const uint32_t code = bits & ((1u << width) - 1);
        bits >>= width;
        held -= width;
        if (code == clear) {
            next = clear + 2;
            width = minimum + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            return false;
        // A literal, a string of the table, or the one being made (the previous
        // string and its own first pixel); after a clear only a literal.
        if (code > next || (previous < 0 && code > clear))
            return false;
        uint32_t length = code < clear ? 1 : code < next ? lengths[code] : lengths[size_t(previous)] + 1u;
        if (previous >= 0 && next < 4096)
            lengths[next++] = uint16_t(lengths[size_t(previous)] + 1u);
        produced += length;
        previous = int32_t(code);
        if (next == (1u << width) && width < 12)
            ++width;
    }
    return true;
}

}  // namespace

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

bool RebuildGifPalettes(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt, GifPlacement& placement)
{
    if (!bytes || count < 13)
        return false;
    try {
        rebuilt.assign(bytes, bytes + 13);
        rebuilt.reserve(count + 2 * kWholeGifTable);
        size_t pos = 13;
        uint8_t flags = bytes[10];
        if (!AppendGifTable(bytes, count, pos, flags, rebuilt))
            return false;
        rebuilt[10] = flags;
        for (int blocks = 0; blocks < 4096 && pos < count; ++blocks) {
            const uint8_t kind = bytes[pos];
            if (kind == 0x2C) {
                const size_t at = pos;
                if (pos + 10 > count)
                    return false;
                const size_t descriptor = rebuilt.size();
                rebuilt.insert(rebuilt.end(), bytes + pos, bytes + pos + 10);
                // The image alone on a screen of its size: the decoder makes
                // the logical screen whatever size the file claims for it.
                std::memcpy(&rebuilt[6], bytes + at + 5, 4);
                std::memset(&rebuilt[descriptor + 1], 0, 4);
                pos += 10;
                uint8_t local = bytes[pos - 1];
                if (local & 0x80) {
                    if (!AppendGifTable(bytes, count, pos, local, rebuilt))
                        return false;
                    rebuilt[descriptor + 9] = local;
                }
                if (!IsInsideScreen(bytes, at))
                    return false;
                placement = GifPlacement{Le16(bytes + at + 1), Le16(bytes + at + 3), Le16(bytes + at + 5),
                                         Le16(bytes + at + 7)};
                const uint64_t pixels = uint64_t(Le16(bytes + at + 5)) * Le16(bytes + at + 7);
                if (!IsWholeFrame(bytes, count, pos, pixels))
                    return false;
                // The first image alone: the decoder reads every frame when it
                // opens a file, whatever frame is asked for.
                const size_t end = std::min(count, SubBlocksEnd(bytes, count, pos + 1));
                rebuilt.insert(rebuilt.end(), bytes + pos, bytes + end);
                if (end == count || bytes[end - 1] != 0)
                    rebuilt.push_back(0);
                rebuilt.push_back(0x3B);
                return true;
            }
            // An extension: its label, then sub-blocks up to an empty one.
            if (kind != 0x21 || pos + 2 > count)
                return false;
            size_t end = pos + 2;
            for (;;) {
                if (end >= count)
                    return false;
                const uint8_t length = bytes[end];
                end += 1 + length;
                if (length == 0)
                    break;
            }
            rebuilt.insert(rebuilt.end(), bytes + pos, bytes + end);
            pos = end;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return false;
}

bool RebuildIndexedBitmap(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt)
{
    rebuilt.clear();
    if (!bytes || count < kFileHeader + 12)
        return false;
    const uint32_t dibSize = Le32(bytes + kFileHeader);
    const uint8_t* dib = bytes + kFileHeader;
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0, colours = 0, entryBytes = 4;
    if (dibSize == 12) {
        width = Le16(dib + 4);
        height = Le16(dib + 6);
        bits = Le16(dib + 10);
        entryBytes = 3;
    } else if (dibSize >= kInfoHeader && dibSize <= 124 && count >= kFileHeader + dibSize) {
        width = int32_t(Le32(dib + 4));
        height = int32_t(Le32(dib + 8));
        bits = Le16(dib + 14);
        compression = Le32(dib + 16);
        colours = Le32(dib + 32);
    } else {
        return false;
    }
    const bool runs = compression == 1 || compression == 2;
    if (bits > 8 && !runs)
        return true;  // no palette to complete
    if ((compression != 0 && !runs) || (bits != 1 && bits != 2 && bits != 4 && bits != 8) || width <= 0 ||
        height == 0 || (runs && height < 0))
        return false;
    const uint32_t rows = uint32_t(height < 0 ? -height : height);
    if (!IsAcceptableSize(uint64_t(width), rows))
        return false;
    const uint32_t paletteSize = 1u << bits;
    if (colours > paletteSize)
        return false;
    if (colours == 0)
        colours = paletteSize;
    const size_t palette = kFileHeader + dibSize;
    const size_t paletteEnd = palette + size_t(colours) * entryBytes;
    uint32_t offset = Le32(bytes + 10);
    if (offset < paletteEnd || offset >= count)
        offset = uint32_t(paletteEnd);
    if (paletteEnd > count)
        return false;
    const uint32_t outBits = runs ? 8 : bits;
    const uint32_t outPalette = 1u << outBits;
    const size_t rowBytes = (size_t(width) * outBits + 31) / 32 * 4;
    const size_t header = kFileHeader + kInfoHeader + size_t(outPalette) * 4;
    const uint64_t total = header + uint64_t(rowBytes) * rows;
    if (total > 0xFFFFFFFFu)
        return false;
    try {
        rebuilt.assign(size_t(total), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    rebuilt[0] = 'B';
    rebuilt[1] = 'M';
    PutLe32(&rebuilt[2], uint32_t(total));
    PutLe32(&rebuilt[10], uint32_t(header));
    PutLe32(&rebuilt[kFileHeader], kInfoHeader);
    PutLe32(&rebuilt[kFileHeader + 4], uint32_t(width));
    PutLe32(&rebuilt[kFileHeader + 8], uint32_t(int32_t(height)));
    PutLe16(&rebuilt[kFileHeader + 12], 1);
    PutLe16(&rebuilt[kFileHeader + 14], outBits);
    for (uint32_t i = 0; i < colours; ++i)
        std::memcpy(&rebuilt[kFileHeader + kInfoHeader + size_t(i) * 4], bytes + palette + size_t(i) * entryBytes, 3);
    uint8_t* out = &rebuilt[header];
    if (runs) {
        // Runs that stop before the last row is full leave pixels other
        // readers refuse to make up.
        if (!ExpandRuns(bytes + offset, count - offset, compression == 2, uint32_t(width), rows, rowBytes, out))
            return false;
    } else {
        // Plain rows must all be there, as the size read from the header said.
        const uint64_t data = uint64_t(rowBytes) * rows;
        if (offset + data > count)
            return false;
        std::memcpy(out, bytes + offset, size_t(data));
    }
    return true;
}

}  // namespace rasterlib
