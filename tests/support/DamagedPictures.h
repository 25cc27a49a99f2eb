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
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += char(block.size());
        out += block;
    }
    out += '\0';
    out += ';';
    return out;
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

}  // namespace testpictures
