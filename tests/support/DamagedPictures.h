// Damaged picture files as they reach a user: cut short, with a changed CRC or
// changed bytes, empty, text under a picture's name, a palette PNG whose image
// data stop short under right CRCs, a GIF without its trailer, and TIFF files
// whose tags claim far more values than the file holds. Built on the sound
// files of TestPictureFiles.h.
#pragma once

#include "tests/support/TestPictureFiles.h"

#include <string>
#include <vector>

namespace testpictures {

// A sound palette PNG of width x height, 8 bits per index, four colours; rows
// counts the rows its image data hold (fewer than height: cut short with right CRCs).
inline std::string PalettePng(uint32_t width, uint32_t height, uint32_t rows)
{
    std::string raw;
    for (uint32_t y = 0; y < rows; ++y) {
        raw += '\0';
        for (uint32_t x = 0; x < width; ++x)
            raw += char((x / 4 + y / 4) % 4);
    }
    const std::string packed = Deflated(raw);
    std::string header;
    Put32(header, width, true);
    Put32(header, height, true);
    header += char(8);
    header += char(3);
    header += std::string(3, '\0');
    std::string out("\x89PNG\r\n\x1A\n", 8);
    PngChunk(out, "IHDR", header);
    PngChunk(out, "PLTE", std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF", 12));
    PngChunk(out, "IDAT", packed);
    PngChunk(out, "IEND", std::string());
    return out;
}

// A grey gradient PNG of RGB samples.
inline std::string GradientPng(uint32_t width, uint32_t height)
{
    std::string samples;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            samples += std::string{char(x * 255 / width), char(y * 255 / height), char(90)};
    return PngFile(width, height, 8, false, samples);
}

// The offset of a PNG chunk's data, or npos.
inline size_t PngChunkData(const std::string& png, const char* type)
{
    const size_t at = png.find(type);
    return at == std::string::npos ? at : at + 4;
}

// A grey GIF of width x height with a 256-entry table; its LZW data are 9-bit
// literal codes, the table cleared before the codes would grow wider.
inline std::string GreyGif(uint32_t width, uint32_t height)
{
    std::string out = "GIF89a";
    Put16(out, uint16_t(width), false);
    Put16(out, uint16_t(height), false);
    out += std::string("\x87\x00\x00", 3);
    for (int i = 0; i < 256; ++i)
        out += std::string(3, char(i));
    out += ',';
    Put32(out, 0, false);
    Put16(out, uint16_t(width), false);
    Put16(out, uint16_t(height), false);
    out += '\0';
    out += char(8);
    std::string data;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t code) {
        bits |= code << count;
        count += 9;
        while (count >= 8) {
            data += char(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (uint32_t i = 0; i < width * height; ++i) {
        if (i % 250 == 0)
            put(256);
        put((i % width + i / width) * 255 / (width + height));
    }
    put(257);
    if (count > 0)
        data += char(bits & 0xFF);
    return out + GifSubBlocks(data) + ';';
}

// A little-endian TIFF of 8 x 8 RGB whose entry for tag claims count values of
// type LONG at offset 8: a few hundred bytes that ask for count * 4 bytes.
inline std::string TiffClaimingValues(uint16_t tag, uint32_t count)
{
    const std::string rgb(8 * 8 * 3, '\x40');
    std::string tiff = TiffFile(8, 8, rgb, 1, false);
    // The entries start at 10; each is 12 bytes, sorted by tag.
    for (size_t at = 10; at + 12 <= tiff.size(); at += 12) {
        const uint16_t entryTag = uint16_t(uint8_t(tiff[at]) | uint8_t(tiff[at + 1]) << 8);
        if (entryTag != tag)
            continue;
        std::string entry;
        Entry(entry, tag, 4, count, 8, false);
        tiff.replace(at, 12, entry);
        break;
    }
    return tiff;
}

// A grey 16 x 16 baseline JPEG recorded in the orientation, coded by hand:
// each block a DC of 0 and one AC coefficient of 1500, which takes 11 bits,
// under tables that code it (fillBytes: a fill byte before the end of the
// image). Such a stream decodes; libjpeg-turbo's lossless turn writes it with
// the standard tables, which have no code for it, and answers success.
inline std::string TurnedElevenBitJpeg(uint16_t orientation, bool fillBytes)
{
    std::string out("\xFF\xD8", 2);
    out += ExifSegment(orientation, false);
    out += std::string("\xFF\xDB\x00\x43\x00", 5) + std::string(64, '\x01');
    out += std::string("\xFF\xC0\x00\x0B\x08\x00\x10\x00\x10\x01\x01\x11\x00", 13);
    // DC: one code "0" for size 0. AC: "0" the end of block, "10" run 0 size 11.
    out += std::string("\xFF\xC4\x00\x14\x00\x01", 6) + std::string(15, '\0') + std::string(1, '\0');
    out += std::string("\xFF\xC4\x00\x15\x10\x01\x01", 7) + std::string(14, '\0') + std::string("\x00\x0B", 2);
    out += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    // Per block: 0 (DC), 10 and 1500 in 11 bits, 0 (the end): 15 bits.
    std::vector<bool> bits;
    for (int block = 0; block < 4; ++block) {
        bits.push_back(false);
        bits.push_back(true);
        bits.push_back(false);
        for (int b = 10; b >= 0; --b)
            bits.push_back(((1500 >> b) & 1) != 0);
        bits.push_back(false);
    }
    while (bits.size() % 8)
        bits.push_back(true);
    for (size_t i = 0; i < bits.size(); i += 8) {
        uint8_t byte = 0;
        for (size_t b = 0; b < 8; ++b)
            byte = uint8_t(byte << 1 | (bits[i + b] ? 1 : 0));
        out += char(byte);
        if (byte == 0xFF)
            out += '\0';
    }
    if (fillBytes)
        out += '\xFF';
    out += std::string("\xFF\xD9", 2);
    return out;
}

}  // namespace testpictures
