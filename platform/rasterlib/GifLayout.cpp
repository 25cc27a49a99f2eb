#include "platform/rasterlib/GifLayout.h"

#include "platform/rasterlib/ByteOrder.h"

namespace rasterlib {

namespace {

constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kGraphicControl = 0xF9;
// Blocks looked at before the first image: far more than real files have.
constexpr int kMostBlocks = 4096;

}  // namespace

uint32_t TableColours(uint8_t flags)
{
    return (flags & 0x80) ? 2u << (flags & 7) : 0;
}

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

bool ReadGifLayout(const uint8_t* bytes, size_t count, GifLayout& layout)
{
    layout = GifLayout();
    if (!bytes || count < 13)
        return false;
    layout.screenWidth = Le16(bytes + 6);
    layout.screenHeight = Le16(bytes + 8);
    layout.globalColours = TableColours(bytes[10]);
    size_t pos = 13 + size_t(layout.globalColours) * 3;
    if (pos > count)
        return false;
    layout.blocks = pos;
    for (int blocks = 0; blocks < kMostBlocks && pos < count; ++blocks) {
        if (bytes[pos] == kImage) {
            if (count - pos < 10 || !IsInsideScreen(bytes, pos))
                return false;
            layout.descriptor = pos;
            layout.placement = GifPlacement{Le16(bytes + pos + 1), Le16(bytes + pos + 3), Le16(bytes + pos + 5),
                                            Le16(bytes + pos + 7)};
            const uint8_t flags = bytes[pos + 9];
            layout.interlaced = (flags & 0x40) != 0;
            layout.localColours = TableColours(flags);
            layout.data = pos + 10 + size_t(layout.localColours) * 3;
            return layout.data <= count;
        }
        // An extension: its label, then sub-blocks up to an empty one.
        if (bytes[pos] != kExtension || count - pos < 2)
            return false;
        const size_t end = SubBlocksEnd(bytes, count, pos + 2);
        if (end > count)
            return false;
        // A graphic control block: four bytes, the flags first, the clear
        // index last.
        if (bytes[pos + 1] == kGraphicControl && end - pos >= 8 && bytes[pos + 2] == 4)
            layout.transparent = (bytes[pos + 3] & 1) ? int32_t(bytes[pos + 6]) : -1;
        pos = end;
    }
    return false;
}

}  // namespace rasterlib
