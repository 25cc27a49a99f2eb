#include "platform/rasterlib/IconEntry.h"

#include "platform/rasterlib/ByteOrder.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr uint32_t kInfoHeaderBytes = 40;
// Directory entries give sides up to 256 (0 standing for 256).
constexpr uint32_t kMaxDibSide = 256;

uint64_t RowBytes(uint64_t width, uint64_t bits)
{
    return (width * bits + 31) / 32 * 4;
}

// A bitmap entry rebuilt whole: its header, a full palette, the colour rows and the
// mask rows, behind a directory of that one entry.
bool RebuildDib(const std::vector<uint8_t>& dib, std::vector<uint8_t>& icon, ImageHeader& header)
{
    if (dib.size() < kInfoHeaderBytes || Le32(dib.data()) != kInfoHeaderBytes)
        return false;
    const int32_t width = int32_t(Le32(&dib[4]));
    const int32_t doubled = int32_t(Le32(&dib[8]));
    const uint32_t planes = Le16(&dib[12]), bits = Le16(&dib[14]), compression = Le32(&dib[16]);
    uint32_t colours = Le32(&dib[32]);
    // The height counts the colour rows and the mask rows.
    if (width <= 0 || doubled <= 0 || doubled % 2 != 0 || uint32_t(width) > kMaxDibSide ||
        uint32_t(doubled / 2) > kMaxDibSide || planes != 1 || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const uint32_t height = uint32_t(doubled / 2);
    const uint32_t fullPalette = bits <= 8 ? 1u << bits : 0;
    if (bits <= 8 && colours == 0)
        colours = fullPalette;
    if (bits <= 8 && colours > fullPalette)
        return false;
    const uint64_t colourBytes = RowBytes(uint32_t(width), bits) * height;
    const uint64_t maskBytes = RowBytes(uint32_t(width), 1) * height;
    const uint64_t present = uint64_t(kInfoHeaderBytes) + uint64_t(colours) * 4 + colourBytes;
    // 32-bit entries carry their transparency in the pixels; the mask may be missing.
    if (present + (bits == 32 ? 0 : maskBytes) > dib.size())
        return false;
    const uint64_t total = kDirectoryBytes + kEntryBytes + kInfoHeaderBytes + uint64_t(fullPalette) * 4 + colourBytes +
                           maskBytes;
    try {
        icon.assign(size_t(total), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* out = icon.data();
    PutLe16(out + 2, 1);
    PutLe16(out + 4, 1);
    uint8_t* entry = out + kDirectoryBytes;
    entry[0] = uint8_t(width == 256 ? 0 : width);
    entry[1] = uint8_t(height == 256 ? 0 : height);
    entry[2] = uint8_t(fullPalette < 256 ? fullPalette : 0);
    PutLe16(entry + 4, 1);
    PutLe16(entry + 6, bits);
    PutLe32(entry + 8, uint32_t(total - kDirectoryBytes - kEntryBytes));
    PutLe32(entry + 12, uint32_t(kDirectoryBytes + kEntryBytes));
    uint8_t* body = entry + kEntryBytes;
    std::memcpy(body, dib.data(), kInfoHeaderBytes);
    PutLe32(body + 20, 0);  // no stated image size
    PutLe32(body + 32, 0);  // the palette is whole
    uint8_t* palette = body + kInfoHeaderBytes;
    std::memcpy(palette, &dib[kInfoHeaderBytes], size_t(bits <= 8 ? colours : 0) * 4);
    const size_t source = kInfoHeaderBytes + size_t(colours) * 4;
    uint8_t* rows = palette + size_t(fullPalette) * 4;
    const size_t rest = size_t(dib.size() - source < colourBytes + maskBytes ? dib.size() - source
                                                                            : colourBytes + maskBytes);
    std::memcpy(rows, dib.data() + source, rest);
    header.width = uint32_t(width);
    header.height = height;
    return true;
}

}  // namespace

bool ExtractIconEntry(const ByteSource& source, std::vector<uint8_t>& entry, ImageFormat& entryFormat,
                      ImageHeader& header)
{
    uint8_t directory[kDirectoryBytes];
    if (!source.ReadAt(0, directory, sizeof directory) || Le16(directory) != 0 || Le16(directory + 2) != 1)
        return false;
    const uint32_t count = Le16(directory + 4);
    uint64_t bestArea = 0;
    uint32_t bestBits = 0, bestSize = 0, bestOffset = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t e[kEntryBytes];
        if (!source.ReadAt(kDirectoryBytes + uint64_t(i) * kEntryBytes, e, sizeof e))
            return false;
        const uint64_t area = uint64_t(e[0] ? e[0] : 256) * (e[1] ? e[1] : 256);
        const uint32_t bits = Le16(e + 6), size = Le32(e + 8), offset = Le32(e + 12);
        // Only entries whose data lies in the file are candidates.
        if (size < 8 || uint64_t(offset) + size > source.Size() || size > kMostCopiedBytes)
            continue;
        if (area > bestArea || (area == bestArea && bits > bestBits)) {
            bestArea = area;
            bestBits = bits;
            bestSize = size;
            bestOffset = offset;
        }
    }
    std::vector<uint8_t> data;
    try {
        data.resize(bestSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (bestArea == 0 || !source.ReadAt(bestOffset, data.data(), data.size()))
        return false;
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(data.data(), kPng, sizeof kPng) == 0) {
        ByteSource png;
        png.UseMemory(data.data(), data.size());
        if (!ReadImageHeader(png, ImageFormat::Png, header))
            return false;
        entry.swap(data);
        entryFormat = ImageFormat::Png;
        return true;
    }
    entryFormat = ImageFormat::Ico;
    return RebuildDib(data, entry, header);
}

}  // namespace rasterlib
