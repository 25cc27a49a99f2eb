#include "platform/rasterlib/ImageHeader.h"

#include "platform/rasterlib/ByteOrder.h"
#include "platform/rasterlib/GifLayout.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/RasterLibApi.h"
#include "platform/rasterlib/TiffDirectory.h"

#include <cstring>

namespace rasterlib {

namespace {

// The greatest plausible ratios of decoded to encoded data. Deflate gives at most
// 1032 bytes per byte; LZW with 12-bit codes at most 4096 bytes per code; PackBits
// 128 bytes per 2; a BMP run 255 pixels per 2 bytes (with some room for skips); a
// fax line of white can cost a single bit.
constexpr uint64_t kDeflateBytes = 1032;
constexpr uint64_t kLzwBytes = 2731;
constexpr uint64_t kPackBitsBytes = 64;
constexpr uint64_t kRlePixels = 256;
constexpr uint64_t kFaxBytes = 4096;
// Huffman-coded JPEG spends at least one bit on the DC value of each 8 x 8 block.
constexpr uint64_t kHuffmanJpegPixels = 512;
constexpr uint64_t kArithmeticJpegPixels = 4096;
// Room for headers and tables on top of the data.
constexpr uint64_t kSlack = 1024;

uint32_t Crc32(const uint8_t* bytes, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Rows of width x bits, each padded to whole bytes.
uint64_t RawBytes(uint64_t width, uint64_t height, uint64_t bits, uint64_t rowPadding = 0)
{
    return height * ((width * bits + 7) / 8 + rowPadding);
}

bool Fits(uint64_t decoded, uint64_t ratio, uint64_t fileSize)
{
    return decoded <= ratio * fileSize + kSlack;
}

// IHDR first, its CRC right: a changed header is not taken for another image.
bool ReadPng(const ByteSource& source, ImageHeader& header)
{
    uint8_t b[33];
    if (!source.ReadAt(0, b, sizeof b) || Be32(b + 8) != 13 || std::memcmp(b + 12, "IHDR", 4) != 0 ||
        Be32(b + 29) != Crc32(b + 12, 17))
        return false;
    header.width = Be32(b + 16);
    header.height = Be32(b + 20);
    const uint32_t depth = b[24];
    static const uint32_t kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const uint32_t channels = b[25] <= 6 ? kChannels[b[25]] : 0;
    const bool depthFits = depth == 8 || depth == 16 || (depth < 8 && (b[25] == 0 || b[25] == 3) &&
                                                         (depth == 1 || depth == 2 || depth == 4));
    if (!channels || !depthFits || (b[25] == 3 && depth == 16) || b[26] != 0 || b[27] != 0 || b[28] > 1)
        return false;
    // Each row starts with its filter byte.
    return Fits(RawBytes(header.width, header.height, depth * channels, 1), kDeflateBytes, source.Size());
}

// The logical screen's size, which other readers show, with the first image
// placed on it; the first image's descriptor lies past the colour table and any
// extension blocks, and its pixels must come from the file's data.
bool ReadGif(const ByteSource& source, ImageHeader& header)
{
    uint8_t b[13];
    if (!source.ReadAt(0, b, sizeof b))
        return false;
    uint64_t pos = 13 + uint64_t(3) * TableColours(b[10]);
    for (int blocks = 0; blocks < 4096; ++blocks) {
        uint8_t kind = 0;
        if (!source.ReadAt(pos++, &kind, 1))
            return false;
        if (kind == 0x2C) {
            uint8_t d[9];
            if (!source.ReadAt(pos, d, sizeof d))
                return false;
            header.width = Le16(b + 6);
            header.height = Le16(b + 8);
            return Fits(uint64_t(Le16(d + 4)) * Le16(d + 6), kLzwBytes, source.Size());
        }
        if (kind != 0x21 || !source.ReadAt(pos++, &kind, 1))
            return false;
        // The extension's sub-blocks, each after its length byte, up to an empty one.
        for (uint8_t length = 1; length != 0; pos += length) {
            if (!source.ReadAt(pos++, &length, 1))
                return false;
        }
    }
    return false;
}

bool ReadBmp(const ByteSource& source, ImageHeader& header)
{
    uint8_t b[54] = {};
    if (!source.ReadAt(0, b, 18))
        return false;
    const uint32_t dibSize = Le32(b + 14);
    uint32_t bits = 0, compression = 0, colours = 0;
    int64_t width = 0, height = 0;
    if (dibSize == 12) {
        if (!source.ReadAt(18, b + 18, 8))
            return false;
        width = Le16(b + 18);
        height = Le16(b + 20);
        bits = Le16(b + 24);
    } else if (dibSize >= 40 && dibSize <= 124) {
        if (!source.ReadAt(18, b + 18, 36))
            return false;
        width = int32_t(Le32(b + 18));
        height = int32_t(Le32(b + 22));
        bits = Le16(b + 28);
        compression = Le32(b + 30);
        colours = Le32(b + 46);
    } else {
        return false;
    }
    if (height < 0)
        height = -height;  // rows stored top down
    if (width <= 0 || height <= 0 || width > 0xFFFFFFFF || height > 0xFFFFFFFF)
        return false;
    header.width = uint32_t(width);
    header.height = uint32_t(height);
    const uint64_t headers = 14 + uint64_t(dibSize);
    if (source.Size() <= headers)
        return false;
    // A palette of more colours than the pixels can name, or than the file
    // holds, is refused by other readers.
    if ((bits < 32 && uint64_t(colours) > (uint64_t(1) << bits)) || headers + uint64_t(colours) * 4 > source.Size())
        return false;
    const uint64_t start = BmpPixelStart(Le32(b + 10), dibSize, bits, compression, colours, source.Size());
    if (start == 0)
        return false;
    const uint64_t data = source.Size() - start;
    const bool knownBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    switch (compression) {
    case 0:  // plain rows, each padded to 4 bytes: all of them must be there
    case 3:
    case 6:
        return knownBits && ((uint64_t(width) * bits + 31) / 32) * 4 * uint64_t(height) <= data;
    case 1:  // runs
    case 2:
        return bits == (compression == 1 ? 8u : 4u) && uint64_t(width) * uint64_t(height) <= kRlePixels * data;
    default:
        return false;
    }
}

// True when the values of a TIFF directory entry lie inside the file (four bytes
// or less stand in the entry itself).
bool TiffValuesFit(uint32_t type, uint32_t values, uint32_t offset, uint64_t fileSize)
{
    const uint64_t bytes = uint64_t(values) * TiffTypeBytes(type);
    return bytes <= 4 || uint64_t(offset) + bytes <= fileSize;
}

// An entry of a TIFF directory: its type, its count and the four bytes that
// hold its values or their offset.
struct TiffEntry {
    uint32_t type = 0;
    uint32_t count = 0;
    uint8_t field[4] = {};
    bool present = false;
};

// The values of the directory's integer fields as libtiff reads them: of any
// integer type, signed or not, of one byte to eight, a negative one or one
// past the field's range refused. A reader that took only SHORT and LONG
// would pass over a field libtiff takes, and bound a picture libtiff reads
// otherwise.
class TiffFieldReader {
public:
    TiffFieldReader(const ByteSource& source, bool little) : m_source(source), m_little(little) {}

    // Value index of the entry; false when it is not an integer that fits in
    // most, or is not in the file.
    bool Value(const TiffEntry& entry, uint32_t index, uint64_t most, uint64_t& value) const
    {
        const uint32_t type = entry.type;
        const bool isSigned = type == 6 || type == 8 || type == 9 || type == 17;
        const bool isInteger = isSigned || type == 1 || type == 3 || type == 4 || type == 16;
        if (!isInteger || index >= entry.count)
            return false;
        const uint32_t size = TiffTypeBytes(type);
        uint8_t b[8] = {};
        if (uint64_t(entry.count) * size <= 4)
            std::memcpy(b, entry.field + index * size, size);
        else if (!m_source.ReadAt(uint64_t(U32(entry.field)) + uint64_t(index) * size, b, size))
            return false;
        uint64_t v = 0;
        for (uint32_t i = 0; i < size; ++i)
            v |= uint64_t(b[m_little ? i : size - 1 - i]) << (8 * i);
        if (isSigned && (v >> (8 * size - 1)) != 0)
            return false;
        value = v;
        return v <= most;
    }

    // A field of one value, as libtiff's readers of one value take it: a count
    // other than 1 is refused.
    bool Single(const TiffEntry& entry, uint64_t most, uint64_t& value) const
    {
        return entry.count == 1 && Value(entry, 0, most, value);
    }

    // A field of one value that older writers wrote once for each sample
    // (compression, bits per sample): one value, or at least one a sample,
    // every value in range and the samples' ones all alike.
    bool PerSample(const TiffEntry& entry, uint32_t samples, uint64_t& value) const
    {
        if (entry.count == 1)
            return Value(entry, 0, 0xFFFF, value);
        if (entry.count < samples || !Value(entry, 0, 0xFFFF, value))
            return false;
        for (uint32_t i = 1; i < entry.count; ++i) {
            uint64_t other = 0;
            if (!Value(entry, i, 0xFFFF, other) || (i < samples && other != value))
                return false;
        }
        return true;
    }

    uint32_t U16(const uint8_t* p) const { return m_little ? Le16(p) : Be16(p); }
    uint32_t U32(const uint8_t* p) const { return m_little ? Le32(p) : Be32(p); }

private:
    const ByteSource& m_source;
    bool m_little;
};

// The first image file directory's size, samples and compression, each field
// read as libtiff reads it: the first of two entries of one tag, of any
// integer type.
bool ReadTiff(const ByteSource& source, ImageHeader& header)
{
    uint8_t b[8];
    if (!source.ReadAt(0, b, sizeof b))
        return false;
    const TiffFieldReader fields(source, b[0] == 'I');
    const uint32_t directory = fields.U32(b + 4);
    uint8_t countBytes[2];
    if (!source.ReadAt(directory, countBytes, 2))
        return false;
    const uint32_t count = fields.U16(countBytes);
    enum Field { Width, Height, Bits, Compression, Photometric, Samples, Planar, Subsampling, Fields };
    TiffEntry entries[Fields];
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t e[12];
        if (!source.ReadAt(uint64_t(directory) + 2 + uint64_t(i) * 12, e, sizeof e))
            return false;
        const uint32_t tag = fields.U16(e);
        TiffEntry entry;
        entry.type = fields.U16(e + 2);
        entry.count = fields.U32(e + 4);
        std::memcpy(entry.field, e + 8, 4);
        entry.present = true;
        // The decoder reads every value of every entry: one that claims more
        // values than the file holds would have it allocate for them first.
        if (!TiffValuesFit(entry.type, entry.count, fields.U32(entry.field), source.Size()))
            return false;
        static const uint32_t kTags[Fields] = {256, 257, 258, 259, 262, 277, 284, 530};
        for (int f = 0; f < Fields; ++f)
            if (tag == kTags[f] && !entries[f].present)
                entries[f] = entry;
    }
    // Defaults as libtiff's where a field is missing; the size has none.
    uint64_t width = 0, height = 0, samples = 1, bitsPerSample = 1, compression = 1, photometric = 0, planar = 1;
    uint64_t subsampling[2] = {2, 2};
    if (!fields.Single(entries[Width], 0xFFFFFFFF, width) || !fields.Single(entries[Height], 0xFFFFFFFF, height) ||
        (entries[Samples].present && !fields.Single(entries[Samples], 0xFFFF, samples)) ||
        (entries[Planar].present && !fields.Single(entries[Planar], 0xFFFF, planar)) ||
        (entries[Compression].present && !fields.PerSample(entries[Compression], uint32_t(samples), compression)) ||
        (entries[Bits].present && !fields.PerSample(entries[Bits], uint32_t(samples), bitsPerSample)))
        return false;
    // libtiff passes over a colour space or a subsampling it cannot read.
    if (entries[Photometric].present && !fields.Single(entries[Photometric], 0xFFFF, photometric))
        photometric = 0;
    const TiffEntry& steps = entries[Subsampling];
    if (steps.count == 2 && !(fields.Value(steps, 0, 0xFFFF, subsampling[0]) &&
                              fields.Value(steps, 1, 0xFFFF, subsampling[1]))) {
        subsampling[0] = subsampling[1] = 2;
    }
    header.width = uint32_t(width);
    header.height = uint32_t(height);
    if (bitsPerSample == 0 || bitsPerSample > 64 || samples == 0 || samples > 16 || (planar != 1 && planar != 2))
        return false;
    uint64_t raw = RawBytes(header.width, header.height, bitsPerSample * samples);
    // YCbCr stored together, not JPEG-coded, holds its Cb and Cr once for each
    // block of subsampled pixels: the samples it really holds.
    const auto isStep = [](uint64_t step) { return step == 1 || step == 2 || step == 4; };
    if (photometric == 6 && planar == 1 && samples == 3 && compression != 6 && compression != 7 &&
        isStep(subsampling[0]) && isStep(subsampling[1])) {
        const uint64_t blocks = (width + subsampling[0] - 1) / subsampling[0] *
                                ((height + subsampling[1] - 1) / subsampling[1]);
        raw = blocks * (subsampling[0] * subsampling[1] + 2) * bitsPerSample / 8;
    }
    const uint64_t size = source.Size();
    switch (compression) {
    case 1:
        return raw <= size;
    case 32773:
        return Fits(raw, kPackBitsBytes, size);
    case 8:
    case 32946:
        return Fits(raw, kDeflateBytes, size);
    case 6:
    case 7:
        return Fits(width * height, kHuffmanJpegPixels, size);
    case 2:
    case 3:
    case 4:
        return Fits(raw, kFaxBytes, size);
    default:
        // LZW, and any coding the system's decoder may know.
        return Fits(raw, compression == 5 ? kLzwBytes : kFaxBytes, size);
    }
}

}  // namespace

bool ReadImageHeader(const ByteSource& source, ImageFormat format, ImageHeader& header)
{
    header = ImageHeader();
    bool ok = false;
    switch (format) {
    case ImageFormat::Png:
        ok = ReadPng(source, header);
        break;
    case ImageFormat::Gif:
        ok = ReadGif(source, header);
        break;
    case ImageFormat::Bmp:
        ok = ReadBmp(source, header);
        break;
    case ImageFormat::Tiff:
        ok = ReadTiff(source, header);
        break;
    default:
        break;
    }
    return ok && IsMeasurableSize(header.width, header.height);
}

uint64_t BmpPixelStart(uint32_t offset, uint32_t dibSize, uint32_t bits, uint32_t compression, uint32_t colours,
                       uint64_t fileSize)
{
    const uint64_t masks = dibSize != 40 ? 0 : compression == 3 ? 12 : compression == 6 ? 16 : 0;
    // The oldest header's palette entries are of three bytes.
    const uint64_t entries = bits > 8 ? 0 : colours != 0 ? colours : uint64_t(1) << bits;
    const uint64_t pixels = 14 + uint64_t(dibSize) + masks + entries * (dibSize == 12 ? 3 : 4);
    return offset >= pixels && offset < fileSize ? offset : 0;
}

bool IsPlausibleJpeg(const JpegInfo& info, uint64_t fileSize)
{
    const uint64_t pixels = uint64_t(info.width) * info.height;
    if (!Fits(pixels, info.arithmetic ? kArithmeticJpegPixels : kHuffmanJpegPixels, fileSize))
        return false;
    // A progressive image is decoded from all its coefficients at once, two bytes
    // each, whatever size is asked for.
    return !info.progressive || pixels * uint64_t(info.components) * 2 <= kMaxRecordBytes;
}

}  // namespace rasterlib
