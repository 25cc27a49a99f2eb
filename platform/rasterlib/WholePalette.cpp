#include "platform/rasterlib/WholePalette.h"

#include "platform/rasterlib/ByteOrder.h"
#include "platform/rasterlib/RasterImage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kWholeGifTable = 256 * 3;

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

}  // namespace rasterlib
