// The whole-file check of CheckRasterImageW, and the reads of damaged files: a
// palette PNG whose data stop short is not read at all, and TIFF tags that claim
// more values than the file holds are refused before any decoder sees them.
#include "RasterTestSupport.h"

#include "tests/support/DamagedPictures.h"
#include "tests/support/KeepForReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

using namespace rastertest;
using namespace testpictures;
using namespace rasterlib;

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::wstring Wide(const std::string& ansi)
{
    return std::wstring(ansi.begin(), ansi.end());
}

// The check of the bytes written to a file.
int32_t CheckedAs(const std::string& bytes)
{
    const std::string path = TempPath("checked.pic");
    WriteBytes(path, Bytes(bytes));
    return Lib().checkW(Wide(path).c_str(), 0);
}

// Little-endian fields of a file's bytes.
uint32_t Le16(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

uint32_t Le32(const std::string& bytes, size_t at)
{
    return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

// Where a field's entry lies in the first directory of a little-endian TIFF.
size_t TiffEntry(const std::string& bytes, uint16_t tag)
{
    size_t entry = size_t(Le32(bytes, 4)) + 2;
    while (Le16(bytes, entry) != tag)
        entry += 12;
    return entry;
}

std::string Flipped(std::string bytes, size_t at, size_t count = 1)
{
    for (size_t i = at; i < at + count && i < bytes.size(); ++i)
        bytes[i] = char(bytes[i] ^ 0x5A);
    return bytes;
}

}  // namespace

TEST(PictureCheck, TellsSoundFilesFromDamagedOnesByTheTable)
{
    const std::string jpeg = Text(EncodeJpeg(Gradient(64, 48), 85));
    const std::string png = GradientPng(40, 30);
    const std::string palette = PalettePng(40, 30, 30);
    const std::string gif = GreyGif(24, 20);
    const std::string bmp = FourBitBmp(20, 10, std::string(200, '\x80'));
    const std::string tiff = TiffFile(8, 8, std::string(8 * 8 * 3, '\x40'), 1, false);
    std::string hugeJpeg = jpeg;
    const size_t frame = hugeJpeg.find("\xFF\xC0");
    hugeJpeg[frame + 5] = hugeJpeg[frame + 7] = char(0xEA);  // 60,000 pixels a side
    // The tenth entry, the strip's byte count: readers take an unpacked
    // strip's count from the picture's size when it runs past the file.
    std::string stripsOutside = TiffFile(8, 6, std::string(8 * 6 * 3, '\x40'), 1, true);
    stripsOutside[10 + 9 * 12 + 8 + 2] = char(0x7F);
    std::string countOutside = tiff;
    countOutside[10 + 9 * 12 + 8 + 2] = char(0x7F);

    struct Case {
        const char* name;
        std::string bytes;
        int32_t expected;
    };
    const Case cases[] = {
        {"sound JPEG", jpeg, kPictureSound},
        {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), kPictureDamaged},
        {"JPEG claiming 60,000 pixels a side", hugeJpeg, kPictureDamaged},
        {"sound PNG", png, kPictureSound},
        {"sound palette PNG", palette, kPictureSound},
        {"PNG with a byte of its data changed", Flipped(png, PngChunkData(png, "IDAT") + 6), kPictureDamaged},
        {"PNG cut inside its data", png.substr(0, PngChunkData(png, "IDAT") + 10), kPictureDamaged},
        {"PNG without its end chunk", png.substr(0, png.size() - 12), kPictureDamaged},
        {"palette PNG whose data stop short under right CRCs", PalettePng(40, 30, 12), kPictureDamaged},
        {"sound GIF", gif, kPictureSound},
        {"GIF without its trailer", gif.substr(0, gif.size() - 1), kPictureDamaged},
        {"GIF cut inside its data", gif.substr(0, gif.size() / 2), kPictureDamaged},
        {"sound BMP", bmp, kPictureSound},
        {"BMP cut short", bmp.substr(0, bmp.size() - 20), kPictureDamaged},
        {"sound TIFF", tiff, kPictureSound},
        {"LZW TIFF whose strip runs past the file", stripsOutside, kPictureDamaged},
        {"TIFF whose plain strip's byte count runs past the file", countOutside, kPictureSound},
        {"TIFF claiming 200 million strip offsets", TiffClaimingValues(273, 200000000), kPictureDamaged},
        {"text named as a picture", "These are not the bytes of a picture.\r\n", kPictureNotImage},
        {"empty file", "", kPictureEmpty},
    };
    const auto& lib = Lib();
    ASSERT_TRUE(lib.checkW);
    for (const Case& c : cases) {
        const std::string path = TempPath("check.pic");
        WriteBytes(path, Bytes(c.bytes));
        EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), kCheckByDecoding)) << c.name;
        EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), 0)) << "without decoding, " << c.name;
        // Only what is sound reads; what the library reads of a damaged file
        // comes out whole, never with rows the decoder left.
        const bool reads = !ReadFile(path).empty();
        if (c.expected == kPictureSound)
            EXPECT_TRUE(reads) << c.name;
    }
    EXPECT_EQ(kPictureMissing, lib.checkW(Wide(TempPath("no such picture.png")).c_str(), kCheckByDecoding));
}

// The check walks a file through a view of it and lets go of it on return:
// the file may be rewritten and deleted at once.
TEST(PictureCheck, LetsGoOfTheFileItChecked)
{
    const auto& lib = Lib();
    ASSERT_TRUE(lib.checkW);
    const std::string jpeg = Text(EncodeJpeg(Gradient(640, 480), 85));
    const struct {
        const char* name;
        std::string bytes;
        int32_t expected;
    } cases[] = {
        {"jpeg", jpeg, kPictureSound},
        {"jpeg cut short", jpeg.substr(0, jpeg.size() / 2), kPictureDamaged},
        {"png", GradientPng(300, 200), kPictureSound},
    };
    for (const auto& c : cases) {
        const std::string path = TempPath("held.pic");
        WriteBytes(path, Bytes(c.bytes));
        for (int32_t flags : {0, int32_t(kCheckByDecoding)})
            EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), flags)) << c.name;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << c.name << ": still held";
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        EXPECT_TRUE(::DeleteFileA(path.c_str())) << c.name;
    }
}

TEST(PictureCheck, PalettePngCutShortIsNotReadInAnyWay)
{
    const std::vector<uint8_t> cut = Bytes(PalettePng(64, 64, 20));
    const std::string path = TempPath("cut palette.png");
    WriteBytes(path, cut);
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(ReadFileReduced(path, 16, 16).empty());
    EXPECT_TRUE(ReadMemory(cut, "png").empty());
    // The whole picture reads, so the refusal is the short data's.
    EXPECT_FALSE(ReadMemory(Bytes(PalettePng(64, 64, 64)), "png").empty());
}

TEST(PictureCheck, TiffTagsClaimingMoreThanTheFileAreRefusedAtOnce)
{
    for (uint16_t tag : {uint16_t(273), uint16_t(279), uint16_t(258)}) {
        const std::string path = TempPath("claims.tif");
        WriteBytes(path, Bytes(TiffClaimingValues(tag, 400000000)));
        const DWORD start = ::GetTickCount();
        int32_t width = -1, height = -1;
        EXPECT_EQ(0, Lib().readSize(path.c_str(), &width, &height)) << tag;
        EXPECT_TRUE(ReadFile(path).empty()) << tag;
        EXPECT_TRUE(ReadFileReduced(path, 128, 128).empty()) << tag;
        EXPECT_LT(::GetTickCount() - start, 1000u) << tag;
    }
}

// TIFFs other readers read: JPEG-coded, PackBits runs that run on into the
// next row, a strip byte count of 0, a picture in a tile larger than it,
// CMYK, planes stored apart, tiles cut at the picture's edges (JPEG-coded
// too, each decoded in runs to its last stored row), YCbCr of 2 x 2
// blocks deflated nearly as far as deflate goes (and in one strip whose
// pixels pass 64 MB), a tile whose pixels pass 64 MB. Each is sound, reads whole as its
// pixels, and its thumbnail is its full read reduced; the file and the full
// read are kept for the test command's independent reader. JPEG-coded data
// libjpeg warns of, or whose end it refuses, is damaged for the check and
// every read, as in a JPEG file; a count of samples libtiff reads as an
// SLONG is bounded by the header as a SHORT is, before any decoding. A TIFF
// no reader here reads is of a kind not read, not damaged: a BigTIFF,
// floating-point samples, a layout libtiff's RGBA reader has no conversion
// for, a colour space, a coding libtiff is built without. PixarLog is read,
// damaged when its coded data change, and too large in a strip whose
// samples its decoder holds pass the reading's bound. RGB of 1 and 4 bits is read by the
// system's decoder, exactly, uncoded or in LZW, PackBits or deflate, and
// damaged when its coded data change; with an alpha sample, which that
// decoder shows wrong, with its planes apart, in a fax coding or in one
// libtiff lacks, it is of a kind not read.
TEST(PictureCheck, TiffsOtherReadersReadAreSoundAndReadAsTheyReadThem)
{
    const Picture photo = Gradient(64, 48);
    const std::string jpeg = Text(EncodeJpeg(photo, 95));
    // Rows of 64: a run of 128 over rows 0 and 1, 128 bytes as they are over rows 2 and 3.
    std::string packed("\x81\x20\x7F", 3);
    Picture rows(64, 4, Pixel{0x20, 0x20, 0x20, 255});
    for (uint32_t i = 0; i < 128; ++i) {
        packed += char(i * 2);
        rows.Set(i % 64, 2 + i / 64, Pixel{uint8_t(i * 2), uint8_t(i * 2), uint8_t(i * 2), 255});
    }
    const std::string lzw = LzwCodes(std::string(8 * 6 * 3, '\x50'));
    const Picture small = Gradient(12, 10);
    std::string tile(16 * 16 * 3, '\0');
    for (uint32_t i = 0; i < 12 * 10; ++i) {
        const Pixel p = small.At(i % 12, i / 12);
        tile.replace(size_t(i / 12 * 16 + i % 12) * 3, 3, {char(p.r), char(p.g), char(p.b)});
    }
    std::string damaged = jpeg;
    for (size_t at = jpeg.find("\xFF\xDA") + 200; at < jpeg.size() - 200; at += 7)
        damaged[at] = char(damaged[at] ^ 0x5A);
    ASSERT_EQ(kPictureDamaged, CheckedAs(damaged)) << "the same damage in a JPEG file";
    const auto gradient = [&photo](uint32_t x, uint32_t y) { return photo.At(x % 64, y % 48); };
    Picture repeated(300, 200);
    for (uint32_t i = 0; i < 300 * 200; ++i)
        repeated.Set(i % 300, i / 300, gradient(i % 300, i / 300));
    // One colour in blocks of Y Y Y Y Cb Cr: three samples a pixel would be
    // more than deflate can make of the file's bytes.
    const uint32_t side = 1200;
    std::string blocks;
    for (uint32_t i = 0; i < side * side / 4; ++i)
        blocks += "\x78\x78\x78\x78\x5A\xAA";
    const std::vector<uint8_t> ycbcr = WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, side}, {TIFFTAG_IMAGELENGTH, side}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR},
         {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_ZIPQUALITY, 9}, {TIFFTAG_ROWSPERSTRIP, side}},
        [&blocks](TIFF* tif) {
            return TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 2, 2) &&
                   TIFFWriteEncodedStrip(tif, 0, &blocks[0], tmsize_t(blocks.size())) >= 0;
        });
    ASSERT_LT(ycbcr.size() * 1032 + 1024, uint64_t(side) * side * 3);
    // JPEG-coded YCbCr in tiles of 64, cut at the picture's edges.
    const Picture smooth = Gradient(300, 200);
    const std::string jpegTiles = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, 300}, {TIFFTAG_IMAGELENGTH, 200}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR}, {TIFFTAG_COMPRESSION, COMPRESSION_JPEG},
         {TIFFTAG_TILEWIDTH, 64}, {TIFFTAG_TILELENGTH, 64}},
        [&smooth](TIFF* tif) {
            bool written = TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95) && TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE,
                                                                                     JPEGCOLORMODE_RGB);
            std::vector<uint8_t> tile(64 * 64 * 3);
            for (uint32_t top = 0; top < 200 && written; top += 64)
                for (uint32_t left = 0; left < 300 && written; left += 64) {
                    for (uint32_t i = 0; i < 64 * 64; ++i) {
                        const Pixel p = smooth.At(std::min(299u, left + i % 64), std::min(199u, top + i / 64));
                        const uint8_t rgb[3] = {p.r, p.g, p.b};
                        std::memcpy(&tile[size_t(i) * 3], rgb, 3);
                    }
                    written = TIFFWriteTile(tif, tile.data(), left, top, 0, 0) >= 0;
                }
            return written;
        }));
    // The same in one strip of 8000 x 8000, written a row of blocks at a
    // time: its pixels pass 64 MB.
    constexpr uint32_t kBig = 8000;
    const std::string bigYcbcr = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, kBig}, {TIFFTAG_IMAGELENGTH, kBig}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR},
         {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_ZIPQUALITY, 9}, {TIFFTAG_ROWSPERSTRIP, kBig}},
        [&blocks](TIFF* tif) {
            const size_t half = kBig / 2 * 6 / 2;
            bool written = TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 2, 2) != 0;
            for (uint32_t y = 0; y < kBig && written; y += 2)
                written = TIFFWriteScanline(tif, &blocks[0], y) >= 0 && TIFFWriteScanline(tif, &blocks[half], y + 1) >= 0;
            return written;
        }));
    // A grey tile of 4112 x 4112, its converted pixels past 64 MB.
    constexpr uint32_t kTile = 4112;
    const auto squares = [](uint32_t x, uint32_t y) { return uint8_t((x / 64 * 13 + y / 64 * 7) & 255); };
    Picture greySquares(kTile, kTile);
    std::string squaresTile(size_t(kTile) * kTile, '\0');
    for (uint32_t y = 0; y < kTile; ++y)
        for (uint32_t x = 0; x < kTile; ++x) {
            const uint8_t grey = squares(x, y);
            squaresTile[size_t(y) * kTile + x] = char(grey);
            greySquares.Set(x, y, Pixel{grey, grey, grey, 255});
        }
    const std::string bigTile = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, kTile}, {TIFFTAG_IMAGELENGTH, kTile}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, 1}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
         {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE}, {TIFFTAG_TILEWIDTH, kTile}, {TIFFTAG_TILELENGTH, kTile}},
        [&squaresTile](TIFF* tif) { return TIFFWriteTile(tif, &squaresTile[0], 0, 0, 0, 0) >= 0; }));
    squaresTile.clear();
    squaresTile.shrink_to_fit();
    // The end marker replaced by one libjpeg does not know.
    std::string unended = jpeg;
    unended.back() = char(0xC8);
    ASSERT_EQ(kPictureDamaged, CheckedAs(unended)) << "the same data as a JPEG file";
    // 20,000 grey samples in planes apart, their count written as an SLONG,
    // which libtiff reads as it reads a SHORT.
    constexpr uint16_t kPlanes = 20000;
    std::string manyPlanes = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, 8}, {TIFFTAG_IMAGELENGTH, 1}, {TIFFTAG_BITSPERSAMPLE, 8},
         {TIFFTAG_SAMPLESPERPIXEL, kPlanes}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
         {TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE}, {TIFFTAG_ROWSPERSTRIP, 1}},
        [](TIFF* tif) {
            const std::vector<uint16_t> extras(kPlanes - 1, EXTRASAMPLE_UNSPECIFIED);
            uint8_t row[8] = {};
            bool written = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(extras.size()), extras.data()) != 0;
            for (uint16_t s = 0; s < kPlanes && written; ++s)
                written = TIFFWriteScanline(tif, row, 0, s) >= 0;
            return written;
        }));
    manyPlanes[TiffEntry(manyPlanes, TIFFTAG_SAMPLESPERPIXEL) + 2] = char(TIFF_SLONG);
    // Half floats of 0 to 1 in grey.
    const std::string halfFloats = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, 5}, {TIFFTAG_IMAGELENGTH, 1}, {TIFFTAG_BITSPERSAMPLE, 16},
         {TIFFTAG_SAMPLESPERPIXEL, 1}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
         {TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP}, {TIFFTAG_ROWSPERSTRIP, 1}},
        [](TIFF* tif) {
            uint16_t row[5] = {0, 0x3400, 0x3800, 0x3A00, 0x3C00};
            return TIFFWriteScanline(tif, row, 0, 0) >= 0;
        }));
    // LZW written as 2049 values, one for each sample and more: past 4 KB,
    // and read by libtiff all the same.
    std::string photoRgb;
    for (uint32_t i = 0; i < 64 * 48; ++i) {
        const Pixel p = photo.At(i % 64, i / 64);
        photoRgb += {char(p.r), char(p.g), char(p.b)};
    }
    std::string manyCodings = TiffFile(64, 48, photoRgb, 0, true);
    const size_t coding = TiffEntry(manyCodings, TIFFTAG_COMPRESSION);
    const size_t values = manyCodings.size();
    manyCodings.replace(coding + 4, 8, {char(2049 & 255), char(2049 >> 8), 0, 0, char(values), char(values >> 8), 0, 0});
    for (int i = 0; i < 2049; ++i)
        manyCodings += std::string("\x05\0", 2);
    // The photograph in PixarLog, which libtiff decodes; and with 600 bytes
    // of its coded data changed.
    const std::string pixarLog = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, 64}, {TIFFTAG_IMAGELENGTH, 48}, {TIFFTAG_BITSPERSAMPLE, 8}, {TIFFTAG_SAMPLESPERPIXEL, 3},
         {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}, {TIFFTAG_COMPRESSION, COMPRESSION_PIXARLOG}, {TIFFTAG_ROWSPERSTRIP, 48}},
        [&photoRgb](TIFF* tif) { return TIFFWriteEncodedStrip(tif, 0, &photoRgb[0], tmsize_t(photoRgb.size())) >= 0; }));
    // PixarLog of 3000 x 3000 in one strip: its decoder holds the strip's
    // samples at 16 bits (54 MB), whatever rows it decodes.
    const std::string pixarLogStrip = Text(WrittenByLibtiff(
        {{TIFFTAG_IMAGEWIDTH, 3000}, {TIFFTAG_IMAGELENGTH, 3000}, {TIFFTAG_BITSPERSAMPLE, 8}, {TIFFTAG_SAMPLESPERPIXEL, 3},
         {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB}, {TIFFTAG_COMPRESSION, COMPRESSION_PIXARLOG}, {TIFFTAG_ROWSPERSTRIP, 3000}},
        [](TIFF* tif) {
            std::vector<uint8_t> strip(3000 * 3000 * 3, 0x60);
            return TIFFWriteEncodedStrip(tif, 0, strip.data(), tmsize_t(strip.size())) >= 0;
        }));
    std::string rgb2 = StripTiff(8, 4, 3, 1, 2, std::string(24, 'Z'), 24);
    rgb2[134] = rgb2[136] = rgb2[138] = 2;  // its bits per sample
    std::string rgb1Lzma = StripTiff(8, 4, 3, COMPRESSION_LZMA, 2, std::string(12, 'Z'), 12);
    rgb1Lzma[134] = rgb1Lzma[136] = rgb1Lzma[138] = 1;
    const std::string cmyk("\0\0\0\0\xFF\0\0\0\0\0\0\xFF\x64\x32\xC8\x28", 16);
    Picture inks(4, 1, Pixel{255, 255, 255, 255});
    inks.Set(1, 0, Pixel{255, 255, 0, 255});
    inks.Set(2, 0, Pixel{0, 0, 0, 255});
    inks.Set(3, 0, Pixel{46, 172, 130, 255});  // white (255 - k) less each ink's share
    struct Case {
        std::string name;
        std::string bytes;
        Picture expected;
        int tolerance;
        int32_t state = kPictureSound;
        bool measured = true;  // false: refused by the header, before any decoding
        bool pillow = true;    // Pillow reads its kind: kept for the test command's check
    };
    std::vector<Case> cases = {
        {"jpeg.tif", StripTiff(64, 48, 3, 7, 6, jpeg, uint32_t(jpeg.size())), photo, 6},
        {"packbits.tif", StripTiff(64, 4, 1, 32773, 1, packed, uint32_t(packed.size())), rows, 0},
        {"zero count.tif", StripTiff(8, 6, 3, 5, 2, lzw, 0), Picture(8, 6, Pixel{0x50, 0x50, 0x50, 255}), 0},
        {"tile.tif", StripTiff(12, 10, 3, 1, 2, tile, uint32_t(tile.size()), 0, 16), small, 0},
        {"lzw written 2049 times.tif", manyCodings, photo, 0},
        {"cmyk.tif", StripTiff(4, 1, 4, 1, 5, cmyk, 16), inks, 0},
        {"damaged jpeg.tif", StripTiff(64, 48, 3, 7, 6, damaged, uint32_t(damaged.size())), Picture(), 0,
         kPictureDamaged},
        {"jpeg ending in an unknown marker.tif", StripTiff(64, 48, 3, 7, 6, unended, uint32_t(unended.size())),
         Picture(), 0, kPictureDamaged},
        {"20000 samples as an slong.tif", manyPlanes, Picture(), 0, kPictureDamaged, false},
        {"half floats.tif", halfFloats, Picture(), 0, kPictureUnreadKind},
        {"bigtiff.tif", BigTiff(8, 6, std::string(8 * 6 * 3, '\x40')), Picture(), 0, kPictureUnreadKind, false},
        {"rgb of 2 bits.tif", rgb2, Picture(), 0, kPictureUnreadKind},
        {"icc lab.tif", StripTiff(8, 4, 3, 1, PHOTOMETRIC_ICCLAB, std::string(96, 'Z'), 96), Picture(), 0,
         kPictureUnreadKind},
        {"lzma.tif", StripTiff(8, 4, 3, COMPRESSION_LZMA, 2, std::string(96, 'Z'), 96), Picture(), 0, kPictureUnreadKind},
        {"rgb of 1 bit in lzma.tif", rgb1Lzma, Picture(), 0, kPictureUnreadKind},
        {"planes apart.tif", Text(LibtiffRgb(300, 200, {true, 0, 64}, gradient)), repeated, 0},
        {"tiles.tif", Text(LibtiffRgb(300, 200, {false, 64}, gradient)), repeated, 0},
        {"tiles of planes apart.tif", Text(LibtiffRgb(300, 200, {true, 48}, gradient)), repeated, 0},
        {"jpeg tiles.tif", jpegTiles, smooth, 8},
        // libtiff's own colours of Y 120, Cb 90, Cr 170.
        {"ycbcr 2x2.tif", Text(ycbcr), Picture(side, side, Pixel{53, 103, 179, 255}), 1},
        {"ycbcr 2x2 in one strip of 8000.tif", bigYcbcr, Picture(kBig, kBig, Pixel{53, 103, 179, 255}), 1},
        {"grey tile of 4112.tif", bigTile, greySquares, 0},
        {"pixarlog.tif", pixarLog, photo, 2, kPictureSound, true, false},
        {"pixarlog with 600 bytes changed.tif", Flipped(pixarLog, 200, 600), Picture(), 0, kPictureDamaged},
        {"pixarlog in one strip of 3000 x 3000.tif", pixarLogStrip, Picture(), 0, kPictureTooLarge},
    };
    // RGB of 1 and 4 bits in strips and in tiles, in each coding libtiff
    // writes it in: alone, with an alpha sample of each kind, or in planes
    // apart. The system's decoder reads the three samples together as stored
    // in the codings that hold them all; with alpha it gave the first row
    // alone right, and planes apart it refuses. A fax coding (of 1 bit only)
    // codes a row of one bit a pixel, a third of the row's samples: that
    // decoder showed it as noise.
    const std::pair<uint16_t, bool> codings[] = {
        {COMPRESSION_ADOBE_DEFLATE, true}, {COMPRESSION_DEFLATE, true},     {COMPRESSION_NONE, true},
        {COMPRESSION_LZW, true},           {COMPRESSION_PACKBITS, true},    {COMPRESSION_CCITTRLE, false},
        {COMPRESSION_CCITTRLEW, false},    {COMPRESSION_CCITTFAX3, false}, {COMPRESSION_CCITTFAX4, false}};
    for (uint16_t bits : {uint16_t(1), uint16_t(4)})
        for (const auto& [coding, whole] : codings)
            for (int extra = -2; extra <= EXTRASAMPLE_UNASSALPHA && (whole || bits == 1); ++extra)  // -2: planes apart
                for (uint32_t tile : {0u, 64u}) {
                    const uint16_t samples = uint16_t(extra < 0 ? 3 : 4), kind = uint16_t(extra);
                    const auto level = [bits](uint32_t x, uint32_t y, uint16_t s) {
                        return (x * 7 + y * 13 + s * 5 + x * y) % (1u << bits);
                    };
                    std::vector<std::pair<uint32_t, uint32_t>> fields = {
                        {TIFFTAG_IMAGEWIDTH, 70}, {TIFFTAG_IMAGELENGTH, 41}, {TIFFTAG_BITSPERSAMPLE, bits},
                        {TIFFTAG_SAMPLESPERPIXEL, samples}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                        {TIFFTAG_COMPRESSION, coding}, {TIFFTAG_PLANARCONFIG, extra == -2 ? 2 : 1},
                        {tile ? TIFFTAG_TILEWIDTH : TIFFTAG_ROWSPERSTRIP, tile ? tile : 5}};
                    if (tile)
                        fields.push_back({TIFFTAG_TILELENGTH, tile});
                    const std::string bytes = Text(WrittenByLibtiff(fields, [&](TIFF* tif) {
                        return (extra < 0 || TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &kind)) &&
                               WritePackedSamples(tif, 70, 41, samples, bits, tile, level, extra == -2);
                    }));
                    Picture stretched(70, 41);
                    for (uint32_t i = 0; i < 70 * 41; ++i) {
                        const auto at = [&](uint16_t s) {
                            return uint8_t(level(i % 70, i / 70, s) * 255 / ((1u << bits) - 1));
                        };
                        stretched.Set(i % 70, i / 70, Pixel{at(2), at(1), at(0), 255});
                    }
                    const std::string name =
                        "rgb of " + std::to_string(bits) + (bits == 1 ? " bit" : " bits") + " coded " +
                        std::to_string(coding) + (extra < 0 ? "" : " and extra sample " + std::to_string(extra)) +
                        (extra == -2 ? " in planes apart" : "") + (tile ? " in tiles" : " in strips");
                    if (extra != -1 || !whole)
                        cases.push_back({name + ".tif", bytes, Picture(), 0, kPictureUnreadKind});
                    else
                        cases.push_back({name + ".tif", bytes, stretched, 0, kPictureSound, true, false});
                    // Its coded data changed: of a kind the system's decoder reads, damaged.
                    if (coding == COMPRESSION_ADOBE_DEFLATE && extra == -1 && !tile)
                        cases.push_back(
                            {name + ", changed.tif", Flipped(bytes, 100, 16), Picture(), 0, kPictureDamaged});
                }
    // Random bytes as RGB of 1 bit in G4, where libtiff finds bad code words.
    std::string noise(400, '\0');
    std::generate(noise.begin(), noise.end(), std::mt19937(106));
    std::string randomG4 = StripTiff(70, 41, 3, COMPRESSION_CCITTFAX4, PHOTOMETRIC_RGB, noise, 400);
    randomG4[134] = randomG4[136] = randomG4[138] = 1;
    cases.push_back({"rgb of 1 bit, random bytes in g4.tif", randomG4, Picture(), 0, kPictureUnreadKind});
    // Uncoded RGB whose strip or tile table no longer fits (values of 2 bytes put): an offset fewer;
    // of 1 and 4 bits (the system's decoder's), 7 rows a strip said to be 3 or 10, the last count past the end.
    const auto put = [](std::string b, size_t at, uint16_t v) { return b.replace(at, 2, {char(v), char(v >> 8)}); };
    for (uint16_t bits : {uint16_t(1), uint16_t(4), uint16_t(8)})
        for (uint32_t tile : {0u, 16u}) {
            const auto level = [bits](uint32_t x, uint32_t y, uint16_t s) { return (x * 3 + y * 5 + s) % (1u << bits); };
            const std::string bytes = Text(WrittenByLibtiff(
                {{TIFFTAG_IMAGEWIDTH, 70}, {TIFFTAG_IMAGELENGTH, 45}, {TIFFTAG_BITSPERSAMPLE, bits},
                 {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
                 {tile ? TIFFTAG_TILEWIDTH : TIFFTAG_ROWSPERSTRIP, tile ? tile : 7},
                 {tile ? TIFFTAG_TILELENGTH : TIFFTAG_ROWSPERSTRIP, tile ? tile : 7}},
                [&](TIFF* tif) { return WritePackedSamples(tif, 70, 45, 3, bits, tile, level); }));
            const size_t offsets = TiffEntry(bytes, tile ? TIFFTAG_TILEOFFSETS : TIFFTAG_STRIPOFFSETS),
                         rows = tile ? 0 : TiffEntry(bytes, TIFFTAG_ROWSPERSTRIP) + 8,
                         counts = tile ? 0 : Le32(bytes, TiffEntry(bytes, TIFFTAG_STRIPBYTECOUNTS) + 8);
            const std::pair<std::string, std::string> mutants[] = {
                {", an offset fewer", put(bytes, offsets + 4, tile ? 14 : 6)}, {" of 3 rows", put(bytes, rows, 3)},
                {" of 10 rows", put(bytes, rows, 10)},
                {", the last strip's count past the end", put(bytes, counts + 12, 0xFFFF)}};
            for (size_t m = 0; m < (tile || bits == 8 ? 1 : std::size(mutants)); ++m)
                cases.push_back({"uncoded rgb of " + std::to_string(bits) + (bits > 1 ? " bits in " : " bit in ") +
                                     (tile ? "tiles" : "strips") + mutants[m].first + ".tif",
                                 mutants[m].second, Picture(), 0, kPictureDamaged});
        }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        WriteBytes(path, Bytes(c.bytes));
        EXPECT_EQ(c.state, Lib().checkW(Wide(path).c_str(), 0));
        if (c.state != kPictureSound) {
            int32_t width = 0, height = 0;
            EXPECT_EQ(c.measured, Lib().readSize(path.c_str(), &width, &height) != 0);
            EXPECT_TRUE(ReadFile(path).empty());
            EXPECT_TRUE(ReadFileReduced(path, 16, 16).empty());
            continue;
        }
        Picture whole, thumbnail, reduced;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(path), whole));
        EXPECT_LE(MaxDifference(c.expected, whole), c.tolerance);
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, 16, 16), thumbnail));
        ASSERT_TRUE(Picture::FromRecord(Resize(whole, int32_t(thumbnail.Width()), int32_t(thumbnail.Height()),
                                               kResizeExact),
                                        reduced));
        EXPECT_LE(MaxDifference(reduced, thumbnail), 1);
        if (!c.pillow)
            continue;
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < size_t(whole.Width()) * whole.Height() * 4; i += 4)
            rgb.insert(rgb.end(), {whole.Data()[i + 2], whole.Data()[i + 1], whole.Data()[i]});
        WriteBytes(path + ".rgb", rgb);
        KeepForReaders("OT_TIFF_CHECK_DIR", Wide(path), Wide(c.name).c_str());
        KeepForReaders("OT_TIFF_CHECK_DIR", Wide(path + ".rgb"), Wide(c.name + ".rgb").c_str());
    }
}

namespace {

// A bitmap of width x height in runs of 8 bits (4 with nibbles), with a
// palette of four greys (index i is 60 * i + 20), the runs as given.
std::string RunsBmp(uint32_t width, uint32_t height, bool nibbles, const std::string& runs)
{
    std::string out = BmpHeaders(width, height, nibbles ? 4 : 8, nibbles ? 2 : 1, 4, 4, uint32_t(runs.size()));
    for (uint32_t i = 0; i < 4; ++i)
        Put32(out, (60 * i + 20) * 0x010101u, false);
    return out + runs;
}

// Runs of a 4 x 3 bitmap: each stored row (the bottom one first) one run of
// its number plus one, ended by an end of line.
std::string RowRuns(uint32_t rows, bool nibbles)
{
    std::string runs;
    for (uint32_t row = 0; row < rows; ++row) {
        const uint8_t index = uint8_t(row + 1);
        runs += std::string{4, char(nibbles ? index << 4 | index : index), 0, 0};
    }
    return runs;
}

// A plain bitmap whose header says it uses the colours given.
std::string ClaimingColours(std::string bmp, uint32_t colours)
{
    for (int i = 0; i < 4; ++i)
        bmp[46 + i] = char(colours >> (8 * i));
    return bmp;
}

// A bitmap whose file header says its pixels start at the offset given.
std::string StartingAt(std::string bmp, uint32_t offset)
{
    for (int i = 0; i < 4; ++i)
        bmp[10 + i] = char(offset >> (8 * i));
    return bmp;
}

std::string EightBitBmp(uint32_t width, uint32_t height)
{
    const uint32_t stride = (width + 3) & ~3u;
    std::string out = BmpHeaders(width, height, 8, 0, 256, 256, stride * height);
    for (uint32_t i = 0; i < 256; ++i)
        Put32(out, i * 0x010101u, false);
    return out + std::string(size_t(stride) * height, '\x30');
}

}  // namespace

// Bitmaps that other readers refuse are damaged, and read in no way: a
// palette of more colours than the bits can name or than the file holds,
// pixels said to start inside the headers or the palette or past the file's
// end (browsers refuse the first two, the system's decoder reads the headers
// as pixels and fails on the third), and runs that stop before the last row is full. Runs that fill every row, by
// ends of lines, by the last row's pixels or by a move past the last row,
// read as other readers read them.
TEST(PictureCheck, BitmapsOtherReadersRefuseAreDamagedAndUnread)
{
    const std::string sound24 = Text(EncodeWithWic(Gradient(6, 4), GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR));
    const std::string fourBit = FourBitBmp(6, 4, std::string(24, '\x80'));
    const std::string sound32 =
        Text(EncodeWithWic(Gradient(6, 4), GUID_ContainerFormatBmp, GUID_WICPixelFormat32bppBGRA));
    const struct {
        const char* name;
        std::string bytes;
        int32_t expected;
        const char* rows;  // sound runs: the palette index of each row, top first ('0' to '3')
    } cases[] = {
        {"runs ending every row", RunsBmp(4, 3, false, RowRuns(3, false) + std::string("\0\1", 2)), kPictureSound,
         "321"},
        {"runs filling the last row, then the end", RunsBmp(4, 3, false, RowRuns(2, false) + std::string("\4\3\0\1", 4)),
         kPictureSound, "321"},
        {"runs of nibbles ending every row", RunsBmp(4, 3, true, RowRuns(3, true) + std::string("\0\1", 2)),
         kPictureSound, "321"},
        {"a move past the last row", RunsBmp(4, 3, false, RowRuns(1, false) + std::string("\0\2\0\2\0\1", 6)),
         kPictureSound, "001"},
        {"runs ending after two rows", RunsBmp(4, 3, false, RowRuns(2, false) + std::string("\0\1", 2)), kPictureDamaged,
         ""},
        {"runs ending inside the last row", RunsBmp(4, 3, false, RowRuns(2, false) + std::string("\2\3\0\1", 4)),
         kPictureDamaged, ""},
        {"run data cut inside the last row", RunsBmp(4, 3, false, RowRuns(2, false) + std::string("\2\3", 2)),
         kPictureDamaged, ""},
        {"runs of nibbles ending after a row", RunsBmp(4, 3, true, RowRuns(1, true) + std::string("\0\1", 2)),
         kPictureDamaged, ""},
        {"8 bits, 256 colours", EightBitBmp(5, 3), kPictureSound, nullptr},
        {"8 bits, 257 colours", ClaimingColours(EightBitBmp(5, 3), 257), kPictureDamaged, nullptr},
        {"4 bits, 16 colours", fourBit, kPictureSound, nullptr},
        {"4 bits, 17 colours", ClaimingColours(fourBit, 17), kPictureDamaged, nullptr},
        {"24 bits, no palette", sound24, kPictureSound, nullptr},
        {"24 bits, a huge colour count", ClaimingColours(sound24, 0x5A5A5A5A), kPictureDamaged, nullptr},
        {"24 bits, more colours than the file holds", ClaimingColours(sound24, 4000), kPictureDamaged, nullptr},
        {"4 bits, pixels said to start inside the headers", StartingAt(fourBit, 30), kPictureDamaged, nullptr},
        {"4 bits, pixels said to start inside the palette", StartingAt(fourBit, 100), kPictureDamaged, nullptr},
        {"24 bits, pixels said to start past the file", StartingAt(sound24, 4000), kPictureDamaged, nullptr},
        {"32 bits, pixels said to start inside the headers", StartingAt(sound32, 20), kPictureDamaged, nullptr},
        {"32 bits, pixels said to start after the headers", sound32, kPictureSound, nullptr},
    };
    const auto& lib = Lib();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath("bitmap.bmp");
        WriteBytes(path, Bytes(c.bytes));
        EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), 0));
        const std::vector<uint8_t> record = ReadFile(path);
        if (c.expected != kPictureSound) {
            EXPECT_TRUE(record.empty());
            EXPECT_TRUE(ReadFileReduced(path, 2, 2).empty());
            EXPECT_TRUE(ReadMemory(Bytes(c.bytes), "").empty());
            continue;
        }
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(record, read));
        if (!c.rows)
            continue;
        ASSERT_EQ(4u, read.Width());
        ASSERT_EQ(3u, read.Height());
        for (uint32_t y = 0; y < 3; ++y) {
            const uint8_t grey = uint8_t(60 * (c.rows[y] - '0') + 20);
            for (uint32_t x = 0; x < 4; ++x)
                EXPECT_EQ(0, MaxDifference(Pixel{grey, grey, grey, 255}, read.At(x, y))) << x << ", " << y;
        }
    }
}

namespace {

const Pixel kGifColours[4] = {{0, 0, 0, 255}, {30, 60, 220, 255}, {40, 200, 30, 255}, {230, 100, 20, 255}};

// The palette index of a pixel of the first image, counted from its corner.
uint8_t FrameIndex(uint32_t x, uint32_t y)
{
    return uint8_t((x / 2 + y) % 3 + 1);
}

// A GIF whose screen of screenWidth x screenHeight holds a first image of
// width x height at (left, top), of FrameIndex, then a second image of colour
// 3 over the whole screen; a table of four colours (kGifColours), 9-bit
// literal codes.
std::string GifOnScreen(uint32_t screenWidth, uint32_t screenHeight, uint32_t left, uint32_t top, uint32_t width,
                        uint32_t height)
{
    std::string out = "GIF89a";
    Put16(out, uint16_t(screenWidth), false);
    Put16(out, uint16_t(screenHeight), false);
    out += std::string("\x81\x00\x00", 3);
    for (const Pixel& p : kGifColours)
        out += std::string{char(p.r), char(p.g), char(p.b)};
    const auto image = [&](uint32_t x0, uint32_t y0, uint32_t w, uint32_t h, bool first) {
        out += ',';
        Put16(out, uint16_t(x0), false);
        Put16(out, uint16_t(y0), false);
        Put16(out, uint16_t(w), false);
        Put16(out, uint16_t(h), false);
        out += '\0';
        out += char(8);
        std::string data;
        uint32_t bits = 0;
        int held = 0;
        const auto put = [&](uint32_t code) {
            bits |= code << held;
            for (held += 9; held >= 8; held -= 8, bits >>= 8)
                data += char(bits & 0xFF);
        };
        for (uint32_t i = 0; i < w * h; ++i) {
            if (i % 250 == 0)
                put(256);
            put(first ? FrameIndex(i % w, i / w) : 3);
        }
        put(257);
        if (held > 0)
            data += char(bits & 0xFF);
        out += GifSubBlocks(data);
    };
    image(left, top, width, height, true);
    image(0, 0, screenWidth, screenHeight, false);
    out += ';';
    return out;
}

}  // namespace

// A GIF is shown at its screen's size, its first image in its place and the
// rest of the screen transparent, as every other reader shows it; later
// images change nothing. The reduced read is the full one reduced.
TEST(PictureCheck, AGifReadsAtItsScreenSizeWithItsFirstImageInPlace)
{
    const auto& lib = Lib();
    const std::string bytes = GifOnScreen(64, 48, 40, 30, 16, 16);
    const std::string path = TempPath("framed.gif");
    WriteBytes(path, Bytes(bytes));
    EXPECT_EQ(kPictureSound, lib.checkW(Wide(path).c_str(), 0));
    RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
    ASSERT_EQ(1, lib.infoW(Wide(path).c_str(), &info));
    EXPECT_EQ(64, info.width);
    EXPECT_EQ(48, info.height);
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
    ASSERT_EQ(64u, read.Width());
    ASSERT_EQ(48u, read.Height());
    for (uint32_t y = 0; y < 48; ++y) {
        for (uint32_t x = 0; x < 64; ++x) {
            const bool inside = x >= 40 && x < 56 && y >= 30 && y < 46;
            const Pixel expected = inside ? kGifColours[FrameIndex(x - 40, y - 30)] : Pixel{0, 0, 0, 0};
            ASSERT_EQ(0, MaxDifference(expected, read.At(x, y))) << x << ", " << y;
        }
    }
    EXPECT_TRUE(ReadMemory(Bytes(bytes), "") == read.Record());
    Picture reduced;
    ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, 32, 24), reduced));
    Picture resized;
    ASSERT_TRUE(Picture::FromRecord(Resize(read, 32, 24, rasterlib::kResizeExact), resized));
    ASSERT_EQ(32u, reduced.Width());
    ASSERT_EQ(24u, reduced.Height());
    EXPECT_EQ(0, MaxDifference(resized, reduced));
    // A first image that covers the screen reads as it is; one that passes its
    // edge is damage.
    WriteBytes(path, Bytes(GifOnScreen(16, 16, 0, 0, 16, 16)));
    ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
    EXPECT_EQ(0, MaxDifference(kGifColours[FrameIndex(5, 7)], read.At(5, 7)));
    WriteBytes(path, Bytes(GifOnScreen(64, 48, 50, 30, 16, 16)));
    EXPECT_EQ(kPictureDamaged, lib.checkW(Wide(path).c_str(), 0));
    EXPECT_TRUE(ReadFile(path).empty());
}
