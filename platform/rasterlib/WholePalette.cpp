#include "platform/rasterlib/WholePalette.h"

#include "platform/rasterlib/GifCodes.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kWholeGifTable = 256 * 3;
// A colour table's flags saying 256 colours.
constexpr uint8_t kWholeTableFlags = 0x87;

// Appends the colour table completed to 256 colours with black.
void AppendWholeTable(const uint8_t* table, uint32_t colours, std::vector<uint8_t>& out)
{
    out.insert(out.end(), table, table + size_t(colours) * 3);
    out.insert(out.end(), kWholeGifTable - size_t(colours) * 3, 0);
}

// True when the LZW data at pos (the code size, then sub-blocks) is a valid code
// stream that gives at least the frame's pixels. The system's decoder fills a frame
// whose codes run out or go wrong from memory it never wrote.
bool IsWholeFrame(const uint8_t* bytes, size_t count, size_t pos, uint64_t pixels)
{
    GifCodes codes;
    if (!codes.Start(bytes, count, pos))
        return false;
    std::vector<uint16_t> lengths(GifCodes::kTableSize, 1);
    uint64_t produced = 0;
    uint32_t code = 0;
    while (produced < pixels) {
        if (!codes.Next(code))
            return false;
        if (codes.Added() >= 0)
            lengths[size_t(codes.Added())] = uint16_t(lengths[size_t(codes.Previous())] + 1u);
        produced += code < codes.Clear() ? 1 : lengths[code];
    }
    return true;
}

}  // namespace

bool RebuildGifPalettes(const uint8_t* bytes, size_t count, std::vector<uint8_t>& rebuilt, GifPlacement& placement)
{
    GifLayout layout;
    if (!ReadGifLayout(bytes, count, layout) ||
        !IsWholeFrame(bytes, count, layout.data, uint64_t(layout.placement.width) * layout.placement.height))
        return false;
    placement = layout.placement;
    try {
        rebuilt.assign(bytes, bytes + 13);
        rebuilt.reserve(count + 2 * kWholeGifTable);
        // The image alone on a screen of its size: the decoder makes the
        // logical screen whatever size the file claims for it.
        std::memcpy(&rebuilt[6], bytes + layout.descriptor + 5, 4);
        rebuilt[10] = uint8_t(rebuilt[10] | kWholeTableFlags);
        AppendWholeTable(bytes + 13, layout.globalColours, rebuilt);
        rebuilt.insert(rebuilt.end(), bytes + layout.blocks, bytes + layout.descriptor);
        const size_t descriptor = rebuilt.size();
        rebuilt.insert(rebuilt.end(), bytes + layout.descriptor, bytes + layout.descriptor + 10);
        std::memset(&rebuilt[descriptor + 1], 0, 4);
        if (layout.localColours > 0) {
            rebuilt[descriptor + 9] = uint8_t(rebuilt[descriptor + 9] | kWholeTableFlags);
            AppendWholeTable(bytes + layout.descriptor + 10, layout.localColours, rebuilt);
        }
        // The first image alone: the decoder reads every frame when it opens
        // a file, whatever frame is asked for.
        const size_t end = std::min(count, SubBlocksEnd(bytes, count, layout.data + 1));
        rebuilt.insert(rebuilt.end(), bytes + layout.data, bytes + end);
        if (end == count || bytes[end - 1] != 0)
            rebuilt.push_back(0);
        rebuilt.push_back(0x3B);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace rasterlib
