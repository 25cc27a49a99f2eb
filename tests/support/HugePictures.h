// Small files of many pixels, as a scanner, a map tile server or a prank
// makes them: a grey PNG and TIFF whose rows deflate to almost nothing, a GIF
// of one colour coded with ever longer LZW strings, an icon holding such a
// PNG, and bitmaps of 1 bit a pixel or in runs. Each is made a row at a time, so that a 16000 x 16000 file of a few
// hundred kilobytes never stands as pixels in the test's memory; the same
// makers at a small size give files every reader reads.
#pragma once

#include "tests/support/TestPictureFiles.h"

#include <zlib.h>

#include <cstdint>
#include <string>

namespace testpictures {

// The grey value of pixel (x, y) of the PNG and TIFF below: squares of 8
// pixels, dark and light.
inline uint8_t HugeGreyAt(uint32_t x, uint32_t y)
{
    return ((x / 8 + y / 8) % 2) ? 0xE0 : 0x20;
}

// Rows of HugeGreyAt deflated as a zlib stream, each row after a filter byte
// of 0 when filtered (PNG) or bare (TIFF). The pattern repeats every 16 rows:
// those are deflated once, ending in a full flush, which no later block
// looks back past, and their blocks repeated; the checksum is combined from
// theirs. Empty when zlib fails.
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
    const std::string unitRaw = rows(kPeriod), restRaw = rows(height % kPeriod);
    const std::string unit = pack(unitRaw, Z_FULL_FLUSH);
    const std::string rest = pack(restRaw, Z_FINISH);
    deflateEnd(&stream);
    if (!ok)
        return std::string();
    std::string out("\x78\xDA", 2);
    uLong adler = adler32(0, nullptr, 0);
    const uLong unitAdler = adler32(1, reinterpret_cast<const Bytef*>(unitRaw.data()), uInt(unitRaw.size()));
    for (uint32_t n = 0; n < height / kPeriod; ++n) {
        out += unit;
        adler = adler32_combine(adler, unitAdler, z_off_t(unitRaw.size()));
    }
    out += rest;
    adler = adler32_combine(adler, adler32(1, reinterpret_cast<const Bytef*>(restRaw.data()), uInt(restRaw.size())),
                            z_off_t(restRaw.size()));
    Put32(out, uint32_t(adler), true);
    return out;
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
