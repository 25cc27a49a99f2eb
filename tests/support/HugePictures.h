// Small files of many pixels, as a scanner, a map tile server or a prank
// makes them: a grey PNG and TIFF whose rows deflate to almost nothing, a GIF
// of one colour coded with ever longer LZW strings, GIFs, PNGs and a TIFF of
// blocks of striped rows (interlaced or not), an icon holding such a PNG, and
// bitmaps of 1 bit a pixel or in runs. Each is made a row at a time, so that a 16000 x 16000 file of a few
// hundred kilobytes never stands as pixels in the test's memory; the same
// makers at a small size give files every reader reads.
#pragma once

#include "tests/support/TestPictureFiles.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace testpictures {

// The grey value of pixel (x, y) of the PNG and TIFF below: squares of 8
// pixels, dark and light.
inline uint8_t HugeGreyAt(uint32_t x, uint32_t y)
{
    return ((x / 8 + y / 8) % 2) ? 0xE0 : 0x20;
}

// Raw pieces, each repeated so many times, deflated as one zlib stream: each
// piece is deflated once, ending in a full flush, which no later block looks
// back past, and its blocks repeated; the checksum is combined from theirs.
// Empty when zlib fails.
inline std::string DeflatedPieces(const std::vector<std::pair<std::string, uint32_t>>& pieces)
{
    z_stream stream = {};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::string();
    bool ok = true;
    const auto pack = [&](std::string raw, int flush) {
        std::string out(deflateBound(&stream, uLong(raw.size())) + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(&raw[0]);
        stream.avail_in = uInt(raw.size());
        stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
        stream.avail_out = uInt(out.size());
        const int status = deflate(&stream, flush);
        ok = ok && stream.avail_in == 0 && (status == Z_OK || status == Z_STREAM_END);
        out.resize(out.size() - stream.avail_out);
        return out;
    };
    std::string out("\x78\xDA", 2);
    uLong adler = adler32(0, nullptr, 0);
    for (const auto& piece : pieces) {
        if (piece.first.empty() || piece.second == 0)
            continue;
        const std::string packed = pack(piece.first, Z_FULL_FLUSH);
        const uLong pieceAdler =
            adler32(1, reinterpret_cast<const Bytef*>(piece.first.data()), uInt(piece.first.size()));
        for (uint32_t n = 0; n < piece.second; ++n) {
            out += packed;
            adler = adler32_combine(adler, pieceAdler, z_off_t(piece.first.size()));
        }
    }
    out += pack(std::string(), Z_FINISH);
    deflateEnd(&stream);
    if (!ok)
        return std::string();
    Put32(out, uint32_t(adler), true);
    return out;
}

// Rows of HugeGreyAt deflated as a zlib stream, each row after a filter byte
// of 0 when filtered (PNG) or bare (TIFF). The pattern repeats every 16 rows,
// which are deflated once.
inline std::string DeflatedGreyRows(uint32_t width, uint32_t height, bool filtered)
{
    constexpr uint32_t kPeriod = 16;
    const auto rows = [&](uint32_t count) {
        std::string raw;
        for (uint32_t y = 0; y < count; ++y) {
            if (filtered)
                raw += '\0';
            for (uint32_t x = 0; x < width; ++x)
                raw += char(HugeGreyAt(x, y));
        }
        return raw;
    };
    return DeflatedPieces({{rows(kPeriod), height / kPeriod}, {rows(height % kPeriod), 1}});
}

// An 8-bit grey PNG of HugeGreyAt.
inline std::string HugeGreyPng(uint32_t width, uint32_t height)
{
    std::string header;
    Put32(header, width, true);
    Put32(header, height, true);
    header += char(8);
    header += char(0);
    header += std::string(3, '\0');
    std::string out("\x89PNG\r\n\x1A\n", 8);
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", DeflatedGreyRows(width, height, true));
    PngChunk(out, "IEND", std::string());
    return out;
}

// A little-endian 8-bit grey TIFF of HugeGreyAt, one strip compressed with deflate.
inline std::string HugeGreyTiff(uint32_t width, uint32_t height)
{
    const std::string data = DeflatedGreyRows(width, height, false);
    std::string out = "II";
    Put16(out, 42, false);
    Put32(out, 8, false);
    const uint16_t entries = 9;
    Put16(out, entries, false);
    const uint32_t dataAt = 8 + 2 + entries * 12 + 4;
    Entry(out, 256, 4, 1, width, false);
    Entry(out, 257, 4, 1, height, false);
    Entry(out, 258, 3, 1, 8, false);
    Entry(out, 259, 3, 1, 8, false);   // deflate
    Entry(out, 262, 3, 1, 1, false);   // black is zero
    Entry(out, 273, 4, 1, dataAt, false);
    Entry(out, 277, 3, 1, 1, false);
    Entry(out, 278, 4, 1, height, false);
    Entry(out, 279, 4, 1, uint32_t(data.size()), false);
    Put32(out, 0, false);
    return out + data;
}

// A GIF of one colour (index 1 of a table of four: black, the colour, grey,
// white) on a logical screen of its size. Its LZW codes name ever longer
// strings of the colour, as an encoder makes them: the string one longer
// than the last each time, from the start again once the table is nearly full.
inline std::string HugeOneColourGif(uint32_t width, uint32_t height, uint8_t red, uint8_t green, uint8_t blue)
{
    std::string out = "GIF89a";
    Put16(out, uint16_t(width), false);
    Put16(out, uint16_t(height), false);
    out += std::string("\x81\x00\x00", 3);
    out += std::string("\x00\x00\x00", 3) + char(red) + char(green) + char(blue) + std::string("\x80\x80\x80\xFF\xFF\xFF", 6);
    out += ',';
    Put32(out, 0, false);
    Put16(out, uint16_t(width), false);
    Put16(out, uint16_t(height), false);
    out += '\0';
    const uint32_t minimum = 2, clear = 1u << minimum, end = clear + 1;
    out += char(minimum);
    std::string data;
    uint32_t bits = 0, held = 0;
    // The code width the decoder reads with, and the code of its next entry.
    uint32_t codeBits = minimum + 1, next = clear + 2;
    auto put = [&](uint32_t code) {
        bits |= code << held;
        held += codeBits;
        while (held >= 8) {
            data += char(bits & 0xFF);
            bits >>= 8;
            held -= 8;
        }
    };
    // After a clear, code clear + 2 + i holds the string of i + 2 pixels:
    // each code names the longest string there is, and the encoder enters
    // it one pixel longer. Before the table is full the encoder clears it
    // and starts again, as encoders do (decoders of the giflib line take a
    // full table otherwise than others).
    uint64_t left = uint64_t(width) * height;
    uint32_t longest = 1, i = 0;
    put(clear);
    while (left > 0) {
        if (clear + 2 + i >= 4094) {
            put(clear);
            codeBits = minimum + 1;
            next = clear + 2;
            longest = 1;
            i = 0;
        }
        const uint32_t length = uint32_t(left < longest ? left : longest);
        put(length == 1 ? 1 : clear + length);
        left -= length;
        longest = i + 2;
        // The decoder enters a string on each code but the first after a clear.
        if (i > 0 && ++next == (1u << codeBits) && codeBits < 12)
            ++codeBits;
        ++i;
    }
    put(end);
    if (held > 0)
        data += char(bits & 0xFF);
    return out + GifSubBlocks(data) + ';';
}

// Pictures of blocks: the picture in 4 x 3 blocks, each of rows of two
// colours taking turns, so that a thumbnail pixel averages them and a read
// that left out or misplaced a pass of rows would not. Blocks whose sides are
// whole multiples of a thumbnail's pixel give the same thumbnail at any size.
constexpr uint32_t kBlockColumns = 4;
constexpr uint32_t kBlockRows = 3;
// R, G, B of the eight colours; the last is the clear one of a framed GIF.
constexpr uint8_t kBlockColours[8][3] = {{20, 20, 20},   {230, 230, 230}, {200, 40, 30},  {30, 60, 210},
                                         {40, 180, 60},  {240, 200, 40},  {120, 40, 160}, {20, 200, 220}};

// Row y of a width x height picture of blocks, as colour indices.
inline void BlockRow(uint32_t y, uint32_t width, uint32_t height, std::string& row)
{
    static const uint8_t kStripes[kBlockColumns * kBlockRows][2] = {
        {0, 1}, {2, 3}, {4, 5}, {6, 7}, {1, 2}, {3, 4}, {5, 6}, {7, 0}, {0, 2}, {1, 3}, {4, 6}, {5, 7}};
    const uint32_t band = uint32_t(uint64_t(y) * kBlockRows / height);
    row.resize(width);
    // Block column c holds the x with c <= x * 4 / width < c + 1.
    for (uint32_t c = 0; c < kBlockColumns; ++c) {
        const uint32_t from = uint32_t((uint64_t(c) * width + kBlockColumns - 1) / kBlockColumns);
        const uint32_t to = uint32_t((uint64_t(c + 1) * width + kBlockColumns - 1) / kBlockColumns);
        std::fill(row.begin() + from, row.begin() + to, char(kStripes[band * kBlockColumns + c][y % 2]));
    }
}

// The rows of a picture in the order an interlaced GIF stores them: every
// eighth from the first, every eighth from the fifth, every fourth from the
// third, every second from the second.
inline std::vector<uint32_t> GifRowOrder(uint32_t height, bool interlaced)
{
    std::vector<uint32_t> order;
    const uint32_t starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
        for (uint32_t y = interlaced ? starts[pass] : 0; y < height; y += interlaced ? steps[pass] : 1)
            order.push_back(y);
    return order;
}

// A GIF of blocks, its rows interlaced when asked, LZW coded as encoders code:
// each string the longest the table holds, the table cleared before it is
// full. framed: its image leaves out the first column of blocks, transparent
// on the logical screen, and a graphic control block makes the last colour
// clear.
inline std::string HugeBlockGif(uint32_t width, uint32_t height, bool interlaced, bool framed)
{
    std::string out = "GIF89a";
    Put16(out, uint16_t(width), false);
    Put16(out, uint16_t(height), false);
    out += std::string("\x82\x00\x00", 3);  // a global table of 8 colours
    for (const auto& colour : kBlockColours)
        out += std::string(reinterpret_cast<const char*>(colour), 3);
    if (framed)
        out += std::string("\x21\xF9\x04\x01\x00\x00\x07\x00", 8);
    const uint32_t left = framed ? width / kBlockColumns : 0;
    out += ',';
    Put16(out, uint16_t(left), false);
    Put16(out, 0, false);
    Put16(out, uint16_t(width - left), false);
    Put16(out, uint16_t(height), false);
    out += char(interlaced ? 0x40 : 0);
    constexpr uint32_t kMinimum = 3, kClear = 1u << kMinimum, kEnd = kClear + 1, kColours = 8;
    out += char(kMinimum);
    std::string data;
    uint32_t bits = 0, held = 0, codeBits = kMinimum + 1;
    const auto put = [&](uint32_t code) {
        bits |= code << held;
        for (held += codeBits; held >= 8; held -= 8, bits >>= 8)
            data += char(bits & 0xFF);
    };
    // The table as a tree: the entry of a string and one colour more. The
    // decoder enters a string one code later than the encoder, and widens
    // its codes when its own table reaches a power of two.
    std::vector<uint16_t> child(4096 * kColours, 0);
    uint32_t next = kClear + 2, decoderNext = kClear + 2;
    bool first = true;
    const auto clear = [&] {
        put(kClear);
        std::fill(child.begin(), child.end(), uint16_t(0));
        next = decoderNext = kClear + 2;
        codeBits = kMinimum + 1;
        first = true;
    };
    const auto emit = [&](uint32_t code) {
        put(code);
        if (!first && ++decoderNext == (1u << codeBits) && codeBits < 12)
            ++codeBits;
        first = false;
    };
    clear();
    int32_t current = -1;
    std::string row;
    for (uint32_t y : GifRowOrder(height, interlaced)) {
        BlockRow(y, width, height, row);
        for (uint32_t x = left; x < width; ++x) {
            const uint32_t colour = uint8_t(row[x]);
            if (current < 0) {
                current = int32_t(colour);
                continue;
            }
            const uint16_t known = child[size_t(current) * kColours + colour];
            if (known) {
                current = known;
                continue;
            }
            emit(uint32_t(current));
            if (next < 4094)
                child[size_t(current) * kColours + colour] = uint16_t(next++);
            else
                clear();
            current = int32_t(colour);
        }
    }
    emit(uint32_t(current));
    put(kEnd);
    if (held > 0)
        data += char(bits & 0xFF);
    return out + GifSubBlocks(data) + ';';
}

// The raw rows of a picture of blocks as 8-bit indices, each after a filter
// byte of 0 when filtered (PNG) or bare (TIFF), interlaced (Adam7) when asked,
// as pieces for DeflatedPieces: within a block the rows of a pass repeat
// every 16, which are deflated once.
inline std::vector<std::pair<std::string, uint32_t>> BlockPieces(uint32_t width, uint32_t height, bool interlaced,
                                                                 bool filtered)
{
    struct Pass {
        uint32_t x0, y0, dx, dy;
    };
    const Pass adam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    const Pass whole[1] = {{0, 0, 1, 1}};
    std::vector<std::pair<std::string, uint32_t>> pieces;
    std::string row;
    for (const Pass& pass : interlaced ? std::vector<Pass>(adam7, adam7 + 7) : std::vector<Pass>(whole, whole + 1)) {
        if (pass.x0 >= width)
            continue;
        for (uint32_t band = 0; band < kBlockRows; ++band) {
            std::vector<uint32_t> rows;
            for (uint32_t y = pass.y0; y < height; y += pass.dy)
                if (uint64_t(y) * kBlockRows / height == band)
                    rows.push_back(y);
            const auto raw = [&](size_t count) {
                std::string out;
                for (size_t i = 0; i < count; ++i) {
                    BlockRow(rows[i], width, height, row);
                    if (filtered)
                        out += '\0';
                    for (uint32_t x = pass.x0; x < width; x += pass.dx)
                        out += row[x];
                }
                return out;
            };
            const size_t runs = rows.size() / 16;
            pieces.emplace_back(raw(runs ? 16 : 0), uint32_t(runs));
            // The rest start as a run does.
            pieces.emplace_back(raw(rows.size() % 16), 1);
        }
    }
    return pieces;
}

// A PNG of blocks, 8-bit indices into a palette of the eight colours,
// interlaced (Adam7) when asked.
inline std::string HugeBlockPng(uint32_t width, uint32_t height, bool interlaced)
{
    std::string header;
    Put32(header, width, true);
    Put32(header, height, true);
    header += std::string{char(8), char(3), char(0), char(0), char(interlaced ? 1 : 0)};
    std::string palette;
    for (const auto& colour : kBlockColours)
        palette += std::string(reinterpret_cast<const char*>(colour), 3);
    std::string out("\x89PNG\r\n\x1A\n", 8);
    PngChunk(out, "IHDR", header);
    PngChunk(out, "PLTE", palette);
    PngChunk(out, "IDAT", DeflatedPieces(BlockPieces(width, height, interlaced, true)));
    PngChunk(out, "IEND", std::string());
    return out;
}

// A little-endian TIFF of blocks, 8-bit indices into a colour map of the
// eight colours (their values times 257), in one strip compressed with deflate.
inline std::string HugeBlockTiff(uint32_t width, uint32_t height)
{
    const std::string data = DeflatedPieces(BlockPieces(width, height, false, false));
    std::string out = "II";
    Put16(out, 42, false);
    Put32(out, 8, false);
    const uint16_t entries = 10;
    Put16(out, entries, false);
    const uint32_t mapAt = 8 + 2 + entries * 12 + 4, dataAt = mapAt + 3 * 256 * 2;
    Entry(out, 256, 4, 1, width, false);
    Entry(out, 257, 4, 1, height, false);
    Entry(out, 258, 3, 1, 8, false);
    Entry(out, 259, 3, 1, 8, false);  // deflate
    Entry(out, 262, 3, 1, 3, false);  // a palette
    Entry(out, 273, 4, 1, dataAt, false);
    Entry(out, 277, 3, 1, 1, false);
    Entry(out, 278, 4, 1, height, false);
    Entry(out, 279, 4, 1, uint32_t(data.size()), false);
    Entry(out, 320, 3, 3 * 256, mapAt, false);
    Put32(out, 0, false);
    for (int channel = 0; channel < 3; ++channel)
        for (uint32_t i = 0; i < 256; ++i)
            Put16(out, uint16_t(i < 8 ? kBlockColours[i][channel] * 257 : 0), false);
    return out + data;
}

// A bitmap of 1 bit a pixel of HugeGreyAt, its palette the two greys.
inline std::string HugeCheckerBmp(uint32_t width, uint32_t height)
{
    const uint32_t stride = (width + 31) / 32 * 4;
    std::string out = BmpHeaders(width, height, 1, 0, 2, 2, stride * height);
    Put32(out, 0x202020, false);
    Put32(out, 0xE0E0E0, false);
    std::string rows[2];
    for (uint32_t kind = 0; kind < 2; ++kind) {
        rows[kind].assign(stride, '\0');
        for (uint32_t x = 0; x < width; ++x)
            if (HugeGreyAt(x, kind * 8) == 0xE0)
                rows[kind][x / 8] = char(uint8_t(rows[kind][x / 8]) | (0x80 >> (x % 8)));
    }
    out.reserve(out.size() + size_t(stride) * height);
    for (uint32_t y = height; y-- > 0;)  // the bottom row first
        out += rows[(y / 8) % 2];
    return out;
}

// A bitmap in runs of 8 bits, its palette the two greys of HugeGreyAt: rows
// of the dark one and the light one in bands of 8, each row in runs of 255.
inline std::string HugeStripedRunsBmp(uint32_t width, uint32_t height)
{
    std::string runs;
    for (uint32_t y = height; y-- > 0;) {
        for (uint32_t x = 0; x < width; x += 255)
            runs += std::string{char(width - x < 255 ? width - x : 255), char((y / 8) % 2)};
        runs += std::string("\0\0", 2);
    }
    runs += std::string("\0\1", 2);
    std::string out = BmpHeaders(width, height, 8, 1, 2, 2, uint32_t(runs.size()));
    Put32(out, 0x202020, false);
    Put32(out, 0xE0E0E0, false);
    return out + runs;
}

// A grey TIFF in one PackBits strip of runs of 127 pixels, dark and light by turns, across rows.
inline std::string HugeRunsAcrossRowsTiff(uint32_t width, uint32_t height)
{
    std::string runs;
    for (uint64_t at = 0, pixels = uint64_t(width) * height; at < pixels; at += 127)
        runs += std::string{char(257 - std::min<uint64_t>(127, pixels - at)), char(at / 127 % 2 ? 0xE0 : 0x20)};
    return StripTiff(width, height, 1, 32773, 1, runs, uint32_t(runs.size()));
}

// A little-endian TIFF of 16 planes apart, each one deflated strip: RGB of
// HugeGreyAt, an opaque alpha and 12 more samples of 0. With profileBytes,
// its directory names a colour profile of that many bytes (of another type
// than UNDEFINED, a private field of that many bytes of its values) at the
// end of the bytes returned, for the caller to write after them
// (AppendZeros); unlinked, its directory (the last 2 + 12 x 12 bytes) comes
// after the profile and ends the file without its link to the next one.
inline std::string PlanesTiff(uint32_t width, uint32_t height, uint32_t profileBytes, uint16_t type = 7,
                              bool linked = true)
{
    constexpr uint16_t kPlanes = 16;
    const std::string grey = DeflatedGreyRows(width, height, false);
    const std::string opaque = DeflatedPieces({{std::string(width, '\xFF'), height}});
    const std::string none = DeflatedPieces({{std::string(width, '\0'), height}});
    const uint16_t entries = profileBytes ? 12 : 11;
    // The arrays and strips after the directory, or after the header.
    const uint32_t bitsAt = linked ? 8 + 2 + entries * 12 + 4 : 8, extrasAt = bitsAt + 2 * kPlanes,
                   offsetsAt = extrasAt + 2 * (kPlanes - 3), countsAt = offsetsAt + 4 * kPlanes,
                   stripsAt = countsAt + 4 * kPlanes;
    std::string arrays, offsets, counts, strips;
    for (uint16_t plane = 0; plane < kPlanes; ++plane) {
        const std::string& strip = plane < 3 ? grey : plane == 3 ? opaque : none;
        Put32(offsets, stripsAt + uint32_t(strips.size()), false);
        Put32(counts, uint32_t(strip.size()), false);
        strips += strip;
        Put16(arrays, 8, false);
    }
    for (uint16_t extra = 3; extra < kPlanes; ++extra)
        Put16(arrays, 0, false);  // the first, unspecified, is alpha multiplied in
    const uint32_t afterStrips = stripsAt + uint32_t(strips.size());
    std::string out = "II";
    Put16(out, 42, false);
    Put32(out, linked ? 8 : afterStrips + profileBytes, false);
    std::string directory;
    std::string& head = linked ? out : directory;
    Put16(head, entries, false);
    Entry(head, 256, 4, 1, width, false);
    Entry(head, 257, 4, 1, height, false);
    Entry(head, 258, 3, kPlanes, bitsAt, false);
    Entry(head, 259, 3, 1, 8, false);  // deflate
    Entry(head, 262, 3, 1, 2, false);  // RGB
    Entry(head, 273, 4, kPlanes, offsetsAt, false);
    Entry(head, 277, 3, 1, kPlanes, false);
    Entry(head, 278, 4, 1, height, false);
    Entry(head, 279, 4, kPlanes, countsAt, false);
    Entry(head, 284, 3, 1, 2, false);  // planes apart
    Entry(head, 338, 3, kPlanes - 3, extrasAt, false);
    if (profileBytes)
        Entry(head, type == 7 ? 34675 : 65000, type, profileBytes / (type == 16 ? 8 : 1), afterStrips, false);
    if (!linked)
        return out + arrays + offsets + counts + strips + directory;
    Put32(out, 0, false);
    return out + arrays + offsets + counts + strips;
}

// Appends count bytes of 0 to the file at path, a megabyte at a time, and
// the tail after them.
inline bool AppendZeros(const std::string& path, uint64_t count, const std::string& tail = std::string())
{
    FILE* file = std::fopen(path.c_str(), "ab");
    const std::string zeros(size_t(1) << 20, '\0');
    bool written = file != nullptr;
    for (uint64_t left = count; left > 0 && written;) {
        const size_t chunk = size_t(std::min<uint64_t>(left, zeros.size()));
        written = std::fwrite(zeros.data(), 1, chunk, file) == chunk;
        left -= chunk;
    }
    written = written && std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
    return file && std::fclose(file) == 0 && written;
}

// PlanesTiff written to path, its profile's zeros where the directory names
// them.
inline bool WritePlanesTiff(const std::string& path, uint32_t width, uint32_t height, uint32_t profileBytes,
                            uint16_t type, bool linked)
{
    const std::string bytes = PlanesTiff(width, height, profileBytes, type, linked);
    const size_t head = linked ? bytes.size() : bytes.size() - (2 + 12 * (profileBytes ? 12 : 11));
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(bytes.data(), 1, head, file) == head;
    return file && std::fclose(file) == 0 && written && AppendZeros(path, profileBytes, bytes.substr(head));
}

// An icon whose one entry (said to be 256 x 256, 32 bits) is the PNG.
inline std::string IconHoldingPng(const std::string& png)
{
    std::string out;
    Put16(out, 0, false);
    Put16(out, 1, false);
    Put16(out, 1, false);
    out += std::string(4, '\0');  // 256 x 256, no palette
    Put16(out, 1, false);
    Put16(out, 32, false);
    Put32(out, uint32_t(png.size()), false);
    Put32(out, 22, false);
    return out + png;
}

}  // namespace testpictures
