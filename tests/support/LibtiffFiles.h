// TIFFs written by libtiff itself, the writer the raster library's TIFF
// reading is held against: the fields given, then the rows or tiles as the
// layout asks (RGB; samples of fewer than 8 bits), or rows of YCbCr blocks.
// libtiff's output buffer is kept small, so that writing a picture of many
// megapixels costs the writer little memory.
#pragma once

#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testpictures {

// Writes path: the fields of one value, then what write puts in through the
// handle; false when the file cannot be made or write answers false.
inline bool WriteWithLibtiff(const std::string& path, const std::vector<std::pair<uint32_t, uint32_t>>& fields,
                             const std::function<bool(TIFF*)>& write)
{
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return false;
    for (const auto& field : fields)
        TIFFSetField(tif, field.first, field.second);
    TIFFWriteBufferSetup(tif, nullptr, tmsize_t(1) << 20);
    const bool written = write(tif);
    TIFFClose(tif);
    return written;
}

// An 8-bit RGB picture coded with deflate at its fastest: in strips of
// rowsPerStrip rows (0: one strip, of each plane), or in square tiles of
// tileSide; its planes apart when planar.
struct LibtiffLayout {
    bool planar = false;
    uint32_t tileSide = 0;
    uint32_t rowsPerStrip = 0;
};

// colour(x, y) gives each pixel as 0xRRGGBB.
inline bool WriteLibtiffRgb(const std::string& path, uint32_t width, uint32_t height, const LibtiffLayout& layout,
                            const std::function<uint32_t(uint32_t, uint32_t)>& colour)
{
    const uint32_t planes = layout.planar ? 3 : 1;
    std::vector<std::pair<uint32_t, uint32_t>> fields = {
        {TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height}, {TIFFTAG_BITSPERSAMPLE, 8},
        {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
        {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_ZIPQUALITY, 1},
        {TIFFTAG_PLANARCONFIG, layout.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG}};
    if (layout.tileSide) {
        fields.push_back({TIFFTAG_TILEWIDTH, layout.tileSide});
        fields.push_back({TIFFTAG_TILELENGTH, layout.tileSide});
    } else {
        fields.push_back({TIFFTAG_ROWSPERSTRIP, layout.rowsPerStrip ? layout.rowsPerStrip : height});
    }
    const size_t pixelBytes = 3 / planes;
    // A plane's samples, or all three, of a columns x rows block at (left,
    // top), its rows side bytes apart.
    const auto fill = [&](uint8_t* out, uint32_t left, uint32_t top, uint32_t columns, uint32_t rows, size_t side,
                          uint32_t plane) {
        for (uint32_t y = 0; y < rows; ++y) {
            for (uint32_t x = 0; x < columns; ++x) {
                const uint32_t rgb = colour(left + x, top + y);
                const uint8_t samples[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
                std::memcpy(&out[y * side + x * pixelBytes], planes == 3 ? &samples[plane] : samples, pixelBytes);
            }
        }
    };
    return WriteWithLibtiff(path, fields, [&](TIFF* tif) {
        if (layout.tileSide) {
            const uint32_t side = layout.tileSide;
            std::vector<uint8_t> tile(size_t(side) * side * pixelBytes, 0);
            for (uint32_t plane = 0; plane < planes; ++plane)
                for (uint32_t top = 0; top < height; top += side)
                    for (uint32_t left = 0; left < width; left += side) {
                        fill(tile.data(), left, top, std::min(side, width - left), std::min(side, height - top),
                             side * pixelBytes, plane);
                        if (TIFFWriteTile(tif, tile.data(), left, top, 0, uint16_t(plane)) < 0)
                            return false;
                    }
            return true;
        }
        std::vector<uint8_t> row(size_t(width) * pixelBytes);
        for (uint32_t plane = 0; plane < planes; ++plane)
            for (uint32_t y = 0; y < height; ++y) {
                fill(row.data(), 0, y, width, 1, row.size(), plane);
                if (TIFFWriteScanline(tif, row.data(), y, uint16_t(plane)) < 0)
                    return false;
            }
        return true;
    });
}

// Samples of fewer than 8 bits packed as a TIFF stores them: rows of the
// picture, or of square tiles of tileSide (past the picture's edges 0), each
// starting a byte; each sample in a plane of its own when apart. level(x, y,
// s) is sample s of the pixel at (x, y).
inline bool WritePackedSamples(TIFF* tif, uint32_t width, uint32_t height, uint16_t samples, uint16_t bits,
                               uint32_t tileSide, const std::function<uint32_t(uint32_t, uint32_t, uint16_t)>& level,
                               bool apart = false)
{
    const uint32_t across = tileSide ? tileSide : width;
    const uint16_t together = apart ? 1 : samples;
    const size_t rowBytes = (size_t(across) * together * bits + 7) / 8;
    std::vector<uint8_t> rows(rowBytes * (tileSide ? tileSide : 1));
    const auto pack = [&](uint32_t left, uint32_t y, uint16_t plane, uint8_t* out) {
        std::memset(out, 0, rowBytes);
        for (uint32_t i = 0; i < across * together; ++i) {
            const uint32_t x = left + i / together;
            const uint16_t s = uint16_t(apart ? plane : i % samples);
            const uint32_t value = x < width && y < height ? level(x, y, s) : 0;
            out[size_t(i) * bits / 8] |= uint8_t(value << (8 - bits - i * bits % 8));
        }
    };
    for (uint16_t plane = 0; plane < (apart ? samples : 1); ++plane)
        for (uint32_t top = 0; top < height; top += tileSide ? tileSide : 1)
            for (uint32_t left = 0; left < width; left += across) {
                for (uint32_t r = 0; r < (tileSide ? tileSide : 1); ++r)
                    pack(left, top + r, plane, &rows[rowBytes * r]);
                const bool written = tileSide ? TIFFWriteTile(tif, rows.data(), left, top, 0, plane) >= 0
                                              : TIFFWriteScanline(tif, rows.data(), top, plane) >= 0;
                if (!written)
                    return false;
            }
    return true;
}

// YCbCr of 8 bits in blocks of 2 x 2 stored together, deflated, in strips of
// rowsPerStrip rows: each block's four Ys and its Cb and Cr change every few
// blocks; a row of blocks is written as its two scanlines.
inline bool WriteLibtiffYCbCr(const std::string& path, uint32_t side, uint32_t rowsPerStrip)
{
    return WriteWithLibtiff(
        path,
        {{TIFFTAG_IMAGEWIDTH, side}, {TIFFTAG_IMAGELENGTH, side}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR},
         {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_ROWSPERSTRIP, rowsPerStrip}},
        [side](TIFF* tif) {
            std::vector<uint8_t> row(size_t(side + 1) / 2 * 6);
            bool written = TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 2, 2) != 0;
            for (uint32_t y = 0; y < side && written; y += 2) {
                for (size_t b = 0; b < row.size() / 6; ++b) {
                    const uint8_t luma = uint8_t(16 + (b / 8 + y / 16) % 16 * 12);
                    const uint8_t block[6] = {luma, uint8_t(luma + 8), uint8_t(luma + 16), uint8_t(luma + 24),
                                              uint8_t(96 + b / 32 % 8 * 8), uint8_t(96 + y / 64 % 8 * 8)};
                    std::memcpy(&row[b * 6], block, 6);
                }
                written = TIFFWriteScanline(tif, row.data(), y) >= 0 &&
                          TIFFWriteScanline(tif, &row[row.size() / 2], y + 1) >= 0;
            }
            return written;
        });
}

}  // namespace testpictures
