// Picture files made byte by byte, as cameras, scanners and other programs write
// them: an EXIF segment with an orientation, TIFF files (plain, LZW, BigTIFF), PNG files
// of 8 or 16 bits with or without alpha, and 4-bit bitmaps. Pixels come in as
// R, G, B (and A) rows, top row first.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testpictures {

inline void Put16(std::string& out, uint16_t v, bool bigEndian)
{
    out += char(bigEndian ? v >> 8 : v & 0xFF);
    out += char(bigEndian ? v & 0xFF : v >> 8);
}

inline void Put32(std::string& out, uint32_t v, bool bigEndian)
{
    for (int i = 0; i < 4; ++i)
        out += char(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i));
}

// A TIFF directory entry of one value that fits its value field.
inline void Entry(std::string& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value, bool bigEndian)
{
    Put16(out, tag, bigEndian);
    Put16(out, type, bigEndian);
    Put32(out, count, bigEndian);
    if (type == 3 && count == 1) {
        Put16(out, uint16_t(value), bigEndian);
        Put16(out, 0, bigEndian);
    } else {
        Put32(out, value, bigEndian);
    }
}

// An entry of the orientation (tag 274) as cameras and editors write it: a
// SHORT (3) or a LONG (4), of one value or of a list of them (the value
// first, then 1s), which stands after the directory.
struct OrientationEntry {
    uint16_t type;
    uint32_t count;
    uint16_t value;
};

// An APP1 "Exif" segment whose first directory holds the camera's make and the
// orientation entries, in either byte order.
inline std::string ExifSegmentWith(const std::vector<OrientationEntry>& entries, bool bigEndian = false)
{
    std::string tiff = bigEndian ? "MM" : "II";
    Put16(tiff, 42, bigEndian);
    Put32(tiff, 8, bigEndian);
    Put16(tiff, uint16_t(1 + entries.size()), bigEndian);
    Entry(tiff, 271, 2, 4, bigEndian ? 0x4B574300u : 0x0043574Bu, bigEndian);  // make "KWC"
    std::string lists;
    const uint32_t listsAt = uint32_t(8 + 2 + 12 * (1 + entries.size()) + 4);
    for (const OrientationEntry& entry : entries) {
        const uint32_t bytes = entry.count * (entry.type == 4 ? 4 : 2);
        if (bytes <= 4) {
            Entry(tiff, 274, entry.type, entry.count, entry.value, bigEndian);
            continue;
        }
        Entry(tiff, 274, entry.type, entry.count, listsAt + uint32_t(lists.size()), bigEndian);
        for (uint32_t i = 0; i < entry.count; ++i) {
            if (entry.type == 4)
                Put32(lists, i ? 1 : entry.value, bigEndian);
            else
                Put16(lists, i ? 1 : entry.value, bigEndian);
        }
    }
    Put32(tiff, 0, bigEndian);
    const std::string payload = std::string("Exif\0\0", 6) + tiff + lists;
    std::string segment = "\xFF\xE1";
    Put16(segment, uint16_t(payload.size() + 2), true);
    return segment + payload;
}

// The same with one orientation, a SHORT, as cameras record it.
inline std::string ExifSegment(uint16_t orientation, bool bigEndian = false)
{
    return ExifSegmentWith({{3, 1, orientation}}, bigEndian);
}

// An APP1 XMP packet naming the orientation, as photo editors write it beside
// the EXIF one.
inline std::string XmpSegment(uint16_t orientation)
{
    const std::string packet = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                               "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                               "xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" tiff:Orientation=\"" +
                               std::to_string(orientation) + "\"/></rdf:RDF></x:xmpmeta>";
    const std::string payload = std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet;
    std::string segment = "\xFF\xE1";
    Put16(segment, uint16_t(payload.size() + 2), true);
    return segment + payload;
}

// The JPEG with the segment placed after its start of image.
inline std::string WithSegment(const std::string& jpeg, const std::string& segment)
{
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

// LZW as TIFF decoders read it: every byte as a 9-bit code, the table cleared
// before it would need wider codes.
inline std::string LzwCodes(const std::string& bytes)
{
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t code) {
        bits = bits << 9 | code;
        count += 9;
        while (count >= 8) {
            out += char(bits >> (count - 8));
            count -= 8;
        }
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 250 == 0)
            put(256);
        put(uint8_t(bytes[i]));
    }
    put(257);
    if (count > 0)
        out += char(bits << (8 - count));
    return out;
}

// A little-endian TIFF of one strip of 8-bit samples (or one tile of tile
// pixels a side): the strip's bytes after the directory, with the byte count
// given; an orientation entry unless it is 0. JPEG-coded YCbCr (photometric
// 6) has no subsampling entry: readers take it from the JPEG stream, as
// writers that leave it out expect.
inline std::string StripTiff(uint32_t width, uint32_t height, uint16_t samples, uint16_t compression,
                             uint16_t photometric, const std::string& strip, uint32_t byteCount,
                             uint16_t orientation = 0, uint32_t tile = 0)
{
    const uint16_t entries = uint16_t(10 + (orientation ? 1 : 0) + (tile ? 1 : 0));
    const uint32_t directory = 8;
    const uint32_t bitsAt = directory + 2 + 12 * entries + 4;
    const uint32_t dataAt = bitsAt + 2 * samples;
    std::string out = "II";
    Put16(out, 42, false);
    Put32(out, directory, false);
    Put16(out, entries, false);
    Entry(out, 256, 4, 1, width, false);
    Entry(out, 257, 4, 1, height, false);
    Entry(out, 258, 3, samples, samples == 1 ? 8 : samples == 2 ? 8 | 8 << 16 : bitsAt, false);
    Entry(out, 259, 3, 1, compression, false);
    Entry(out, 262, 3, 1, photometric, false);
    if (!tile)
        Entry(out, 273, 4, 1, dataAt, false);
    if (orientation)
        Entry(out, 274, 3, 1, orientation, false);
    Entry(out, 277, 3, 1, samples, false);
    if (!tile) {
        Entry(out, 278, 4, 1, height, false);
        Entry(out, 279, 4, 1, byteCount, false);
    }
    Entry(out, 284, 3, 1, 1, false);
    if (tile) {
        Entry(out, 322, 4, 1, tile, false);
        Entry(out, 323, 4, 1, tile, false);
        Entry(out, 324, 4, 1, dataAt, false);
        Entry(out, 325, 4, 1, byteCount, false);
    }
    Put32(out, 0, false);
    for (int i = 0; i < samples; ++i)
        Put16(out, 8, false);
    return out + strip;
}

// A little-endian RGB TIFF of one strip.
inline std::string TiffFile(uint32_t width, uint32_t height, const std::string& rgb, uint16_t orientation, bool lzw)
{
    const std::string data = lzw ? LzwCodes(rgb) : rgb;
    return StripTiff(width, height, 3, lzw ? 5 : 1, 2, data, uint32_t(data.size()), orientation);
}

// A little-endian BigTIFF (version 43, offsets of 8 bytes), as large scans
// and tiled maps are written: one strip of 8-bit RGB.
inline std::string BigTiff(uint32_t width, uint32_t height, const std::string& rgb)
{
    std::string out("II\x2B\0\x08\0\0\0", 8);
    const auto put64 = [&out](uint64_t v) { Put32(out, uint32_t(v), false), Put32(out, uint32_t(v >> 32), false); };
    // Tag, type and value of each entry: bits per sample three SHORTs of 8, the strip's place and size LONG8s.
    const uint64_t entries[9][3] = {{256, 4, width}, {257, 4, height}, {258, 3, 0x800080008}, {259, 3, 1}, {262, 3, 2},
                                    {273, 16, 16 + 8 + 9 * 20 + 8}, {277, 3, 3}, {278, 4, height}, {279, 16, rgb.size()}};
    put64(16);
    put64(9);
    for (const auto& entry : entries) {
        Put16(out, uint16_t(entry[0]), false);
        Put16(out, uint16_t(entry[1]), false);
        put64(entry[0] == 258 ? 3 : 1);
        put64(entry[2]);
    }
    put64(0);
    return out + rgb;
}

inline void PngChunk(std::string& out, const char* type, const std::string& data)
{
    Put32(out, uint32_t(data.size()), true);
    const std::string body = std::string(type, 4) + data;
    out += body;
    Put32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))), true);
}

// The bytes as a zlib stream, as PNG image data hold them.
inline std::string Deflated(const std::string& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
              uLong(raw.size()), 6);
    packed.resize(size);
    return packed;
}

// samples: channels (3 or 4) per pixel, each of depth 8 or 16 bits, rows top
// first (16-bit samples big-endian, as the file stores them).
inline std::string PngFile(uint32_t width, uint32_t height, int depth, bool alpha, const std::string& samples)
{
    const size_t row = size_t(width) * (alpha ? 4 : 3) * (depth / 8);
    std::string raw;
    for (uint32_t y = 0; y < height; ++y)
        raw += '\0' + samples.substr(y * row, row);
    const std::string packed = Deflated(raw);
    std::string header;
    Put32(header, width, true);
    Put32(header, height, true);
    header += char(depth);
    header += char(alpha ? 6 : 2);
    header += std::string(3, '\0');
    std::string out("\x89PNG\r\n\x1A\n", 8);
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", packed);
    PngChunk(out, "IEND", std::string());
    return out;
}

// A logo as drawing programs save it: an opaque block of the colour in the
// middle half each way, clear all round, with black kept under the clear part.
inline std::string ClearLogoPng(uint32_t side, uint8_t red, uint8_t green, uint8_t blue)
{
    std::string samples;
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const bool block = x >= side / 4 && x < side * 3 / 4 && y >= side / 4 && y < side * 3 / 4;
            samples += block ? std::string{char(red), char(green), char(blue), '\xFF'} : std::string(4, '\0');
        }
    }
    return PngFile(side, side, 8, true, samples);
}

// A bitmap's file header and 40-byte info header: its pixels (dataBytes of
// them) start after a palette of paletteEntries; colours is the count the
// header says it uses.
inline std::string BmpHeaders(uint32_t width, uint32_t height, uint16_t bits, uint32_t compression, uint32_t colours,
                              uint32_t paletteEntries, uint32_t dataBytes)
{
    const uint32_t offset = 14 + 40 + paletteEntries * 4;
    std::string out = "BM";
    Put32(out, offset + dataBytes, false);
    Put32(out, 0, false);
    Put32(out, offset, false);
    Put32(out, 40, false);
    Put32(out, width, false);
    Put32(out, height, false);
    Put16(out, 1, false);
    Put16(out, bits, false);
    for (uint32_t v : {compression, dataBytes, 2835u, 2835u, colours, 0u})
        Put32(out, v, false);
    return out;
}

// LZW data as a GIF holds them: sub-blocks of at most 255 bytes, each after
// its length, then the empty one.
inline std::string GifSubBlocks(const std::string& data)
{
    std::string out;
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += char(block.size());
        out += block;
    }
    return out + '\0';
}

// A bitmap of 4 bits per pixel: a 16-colour grey palette, index = value / 16.
inline std::string FourBitBmp(uint32_t width, uint32_t height, const std::string& grey)
{
    const uint32_t stride = ((width + 1) / 2 + 3) & ~3u;
    std::string out = BmpHeaders(width, height, 4, 0, 16, 16, stride * height);
    for (int i = 0; i < 16; ++i)
        Put32(out, uint32_t(i * 17) * 0x010101u, false);
    for (uint32_t y = height; y-- > 0;) {
        std::string line(stride, '\0');
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t index = uint8_t(grey[y * width + x]) >> 4;
            line[x / 2] = char(uint8_t(line[x / 2]) | (x % 2 ? index : index << 4));
        }
        out += line;
    }
    return out;
}

}  // namespace testpictures
