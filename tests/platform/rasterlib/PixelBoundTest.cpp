// Pictures are bounded by their pixels, not their bytes: a file of a few
// hundred kilobytes holding 16000 x 16000 pixels (a PNG, a GIF, a TIFF, an
// icon holding such a PNG) is measured from its header and answered "too
// large" by the check, and no read decodes it; the process's memory stays
// where it was. A picture at the bound is read, a thumbnail of it a row at a
// time, and one row more is too large.
#include "RasterTestSupport.h"

#include "tests/support/HugePictures.h"
#include "tests/support/PrivateBytes.h"

#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

using namespace rastertest;
using namespace testpictures;

namespace {

constexpr uint32_t kHugeSide = 16000;

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::wstring Wide(const std::string& ansi)
{
    return std::wstring(ansi.begin(), ansi.end());
}

struct HugeFile {
    const char* name;
    std::string bytes;
    const char* format;
};

std::vector<HugeFile> HugeFiles(uint32_t width, uint32_t height)
{
    const std::string png = HugeGreyPng(width, height);
    return {
        {"grey.png", png, "png"},
        {"one colour.gif", HugeOneColourGif(width, height, 200, 40, 10), "gif"},
        {"grey.tif", HugeGreyTiff(width, height), "tif"},
        {"holding a png.ico", IconHoldingPng(png), "ico"},
    };
}

// Every call of the library on the file: measured, too large, unreadable.
void ExpectTooLarge(const HugeFile& file, uint32_t width, uint32_t height)
{
    SCOPED_TRACE(file.name);
    const auto& lib = Lib();
    const std::string path = TempPath(file.name);
    WriteBytes(path, Bytes(file.bytes));
    EXPECT_EQ(rasterlib::kPictureTooLarge, lib.checkW(Wide(path).c_str(), 0));
    EXPECT_EQ(rasterlib::kPictureTooLarge, lib.checkW(Wide(path).c_str(), kCheckByDecoding));
    RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
    ASSERT_EQ(1, lib.infoW(Wide(path).c_str(), &info));
    EXPECT_EQ(int32_t(width), info.width);
    EXPECT_EQ(int32_t(height), info.height);
    EXPECT_STREQ(file.format, info.format);
    EXPECT_EQ(0, lib.read(path.c_str(), nullptr, 0));
    EXPECT_TRUE(ReadFileReduced(path, 128, 128).empty());
    EXPECT_TRUE(ReadFileReduced(path, 1024, 1024).empty());
    EXPECT_TRUE(ReadMemory(Bytes(file.bytes), "").empty());
    ::DeleteFileA(path.c_str());
}

}  // namespace

TEST(RasterPixelBound, SmallFilesOfTooManyPixelsAreToldTooLargeFromTheirHeaderAlone)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const std::vector<HugeFile> files = HugeFiles(kHugeSide, kHugeSide);
    for (const HugeFile& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_LT(file.bytes.size(), size_t(1) << 20);
        AllocationWatch::Reset();
        ExpectTooLarge(file, kHugeSide, kHugeSide);
        // Nothing of the pixels (a gigabyte): no block beyond a copy of the
        // file's bytes or the window its header is read through.
        EXPECT_LE(AllocationWatch::Largest(), std::max<size_t>(file.bytes.size(), size_t(64) << 10));
    }
    // The decoders of the system allocate outside the watched imports: in a
    // process of its own, the same calls leave its memory where it was.
    EXPECT_EXIT(
        {
            size_t startPeak = 0;
            const size_t start = test_support::PrivateBytes(&startPeak);
            for (const HugeFile& file : files)
                ExpectTooLarge(file, kHugeSide, kHugeSide);
            size_t peak = 0;
            test_support::PrivateBytes(&peak);
            std::fprintf(stderr, "peak %u KB above the start\n", unsigned((peak - start) >> 10));
            // This process's folder of files goes with it.
            const std::string folder = TempPath("");
            ::RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
            std::exit(!::testing::Test::HasFailure() && peak < start + (size_t(64) << 20) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(RasterPixelBound, TheSameFilesOfAFewPixelsReadWhole)
{
    const auto& lib = Lib();
    for (const HugeFile& file : HugeFiles(40, 24)) {
        SCOPED_TRACE(file.name);
        const std::string path = TempPath(file.name);
        WriteBytes(path, Bytes(file.bytes));
        EXPECT_EQ(rasterlib::kPictureSound, lib.checkW(Wide(path).c_str(), 0));
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
        ASSERT_EQ(40u, read.Width());
        ASSERT_EQ(24u, read.Height());
        const bool gif = std::strcmp(file.format, "gif") == 0;
        for (uint32_t y = 0; y < 24; ++y) {
            for (uint32_t x = 0; x < 40; ++x) {
                const uint8_t grey = HugeGreyAt(x, y);
                const Pixel expected = gif ? Pixel{10, 40, 200, 255} : Pixel{grey, grey, grey, 255};
                ASSERT_EQ(0, MaxDifference(expected, read.At(x, y))) << x << ", " << y;
            }
        }
    }
}

TEST(RasterPixelBound, APictureOfAsManyPixelsAsTheBoundReadsAndOneRowMoreIsTooLarge)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const auto& lib = Lib();
    const uint32_t width = kHugeSide;
    const uint32_t height = uint32_t(rasterlib::kMaxImagePixels / width);
    ASSERT_EQ(rasterlib::kMaxImagePixels, uint64_t(width) * height) << "the bound is whole rows of the width";
    const std::string path = TempPath("at the bound.png");
    WriteBytes(path, Bytes(HugeGreyPng(width, height)));
    AllocationWatch::Reset();
    EXPECT_EQ(rasterlib::kPictureSound, lib.checkW(Wide(path).c_str(), 0));
    // The thumbnail comes a row at a time: no block near the picture's size.
    Picture thumbnail;
    ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, 128, 128), thumbnail));
    EXPECT_EQ(128u, thumbnail.Width());
    EXPECT_EQ(80u, thumbnail.Height());
    EXPECT_LT(AllocationWatch::Largest(), size_t(width) * 4 * 16);
    // Squares of 8 pixels averaged over 125: a grey between the two.
    EXPECT_LE(MaxDifference(thumbnail.At(64, 40), Pixel{128, 128, 128, 255}), 2);
    ::DeleteFileA(path.c_str());

    ExpectTooLarge(HugeFile{"one row more.png", HugeGreyPng(width, height + 1), "png"}, width, height + 1);
}

// Bitmaps below the bound: a thumbnail of a plain one is read a row at a
// time, and so are the check and the thumbnail of one in runs, which store
// the bottom row first (they held one byte a pixel, and the system's decoder
// its own copy of the picture besides), of a TIFF of PackBits runs across rows (it held its strip),
// of a TIFF of its planes apart in one strip each and of one in tiles of
// 1088 pixels (a row of them held whole, or handed to the system's decoder),
// of one in two tiles of 4096 (a tile held 48 MB stored and 64 MB converted),
// of YCbCr blocks in one strip (libtiff's RGBA reader held the strip
// converted): these read as the same pixels in strips read. So does a TIFF
// of three planes apart, each one progressive JPEG strip (a decoder of each
// plane held every coefficient of it at once), as its full read resized,
// and one of 16 planes apart whose directory names a 40 MB colour profile
// (each plane's input held a copy of it), as the same planes without it; so
// do a private field of 40 MB of LONG8 values (counted as nothing, it was
// kept) and the profile in a directory that ends the file without its link
// to the next (then libtiff was given it whole). So does a 16-bit scan of
// 100 megapixels in two strips as stored, a file of 605 MB (past the 512 MB
// a file was once read to, then called damaged), through the file's reads, a
// window of each strip at a time.
TEST(RasterPixelBound, ChecksAndThumbnailsOfBitmapsAndOfTiffRunsHoldARow)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const std::string plain = TempPath("checker.bmp");
    WriteBytes(plain, Bytes(HugeCheckerBmp(12000, 12000)));
    AllocationWatch::Reset();
    Picture thumbnail;
    ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(plain, 128, 128), thumbnail));
    EXPECT_EQ(128u, thumbnail.Width());
    EXPECT_LT(AllocationWatch::Largest(), size_t(12000) * 4 * 16);
    // Squares of 8 pixels averaged over 94: a grey between the two.
    EXPECT_LE(MaxDifference(thumbnail.At(64, 64), Pixel{128, 128, 128, 255}), 4);
    ::DeleteFileA(plain.c_str());

    const uint32_t width = 16000, height = 8000;
    const auto blocks = [](uint32_t x, uint32_t y) {
        return Pixel{uint8_t(x / 16 * 7), uint8_t(y / 16 * 5), uint8_t((x + y) / 64 * 3), 255};
    };
    using Make = std::function<std::vector<uint8_t>()>;
    const uint32_t blocksSide = 4090;
    // RGB in three planes apart, each one progressive JPEG strip of squares
    // of its own: one plane's coefficients are within the reading's bound,
    // the three are past 64 MB.
    const uint32_t jpegSide = 3800;
    const auto progressivePlanes = [jpegSide] {
        return WrittenByLibtiff(
            {{TIFFTAG_IMAGEWIDTH, jpegSide}, {TIFFTAG_IMAGELENGTH, jpegSide}, {TIFFTAG_BITSPERSAMPLE, 8},
             {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
             {TIFFTAG_COMPRESSION, COMPRESSION_JPEG}, {TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE},
             {TIFFTAG_ROWSPERSTRIP, jpegSide}},
            [jpegSide](TIFF* tif) {
                bool written = true;
                for (uint16_t plane = 0; plane < 3 && written; ++plane) {
                    std::vector<uint8_t> grey(size_t(jpegSide) * jpegSide);
                    for (size_t i = 0; i < grey.size(); ++i)
                        grey[i] = uint8_t(i % jpegSide / 16 * (3 + plane) + i / jpegSide / 16 * (5 + 2 * plane));
                    std::vector<uint8_t> jpeg = EncodeGreyJpeg(grey, jpegSide, jpegSide, 90, true);
                    written = !jpeg.empty() && TIFFWriteRawStrip(tif, plane, jpeg.data(), tmsize_t(jpeg.size())) >= 0;
                }
                return written;
            });
    };
    // The scan's samples: each 8-bit one as the high byte, noise below it.
    const uint32_t scanWidth = 12000, scanHeight = 8400;
    const auto scan = [=](const std::string& path) {
        return WriteWithLibtiff(
            path,
            {{TIFFTAG_IMAGEWIDTH, scanWidth}, {TIFFTAG_IMAGELENGTH, scanHeight}, {TIFFTAG_BITSPERSAMPLE, 16},
             {TIFFTAG_SAMPLESPERPIXEL, 3}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB},
             {TIFFTAG_COMPRESSION, COMPRESSION_NONE}, {TIFFTAG_ROWSPERSTRIP, scanHeight / 2}},
            [=](TIFF* tif) {
                std::vector<uint16_t> row(size_t(scanWidth) * 3);
                bool written = true;
                for (uint32_t y = 0; y < scanHeight && written; ++y) {
                    for (uint32_t x = 0; x < scanWidth; ++x) {
                        const Pixel p = blocks(x, y);
                        const uint8_t samples[3] = {p.r, p.g, p.b};
                        for (uint32_t s = 0; s < 3; ++s)
                            row[size_t(x) * 3 + s] = uint16_t(samples[s] << 8 | ((x * 7 + y * 3 + s) & 255));
                    }
                    written = TIFFWriteScanline(tif, row.data(), y) >= 0;
                }
                return written;
            });
    };
    const Make planes = [] { return Bytes(PlanesTiff(1024, 768, 0)); };
    const struct {
        Make bytes;
        Make inStrips;  // the same pixels; none for runs of two greys, or for the full read resized
        bool againstWhole = false;
        uint32_t profileBytes = 0;  // written after the bytes
        // Writes the file in place of the bytes: one too large for the test's memory, or laid out otherwise.
        std::function<bool(const std::string&)> write = nullptr;
    } files[] = {
        {[=] { return Bytes(HugeStripedRunsBmp(width, height)); }, nullptr},
        {[=] { return Bytes(HugeRunsAcrossRowsTiff(width, height)); }, nullptr},
        {[=] { return LibtiffRgb(6000, 6000, {true}, blocks); },
         [=] { return LibtiffRgb(6000, 6000, {false, 0, 16}, blocks); }},
        {[=] { return LibtiffRgb(width, 1200, {false, 1088}, blocks); },
         [=] { return LibtiffRgb(width, 1200, {false, 0, 16}, blocks); }},
        {[=] { return LibtiffRgb(8192, 4096, {false, 4096}, blocks); },
         [=] { return LibtiffRgb(8192, 4096, {false, 0, 16}, blocks); }},
        {[=] { return LibtiffYCbCr(blocksSide, blocksSide); }, [=] { return LibtiffYCbCr(blocksSide, 16); }},
        {progressivePlanes, nullptr, true},
        // Each plane's input read its directory's 40 MB profile.
        {[] { return Bytes(PlanesTiff(1024, 768, 40u << 20)); }, planes, false, 40u << 20},
        {[] { return Bytes(PlanesTiff(1024, 768, 40u << 20, TIFF_LONG8)); }, planes, false, 40u << 20},
        {nullptr, planes, false, 0,
         [](const std::string& path) { return WritePlanesTiff(path, 1024, 768, 40u << 20, TIFF_UNDEFINED, false); }},
        {nullptr, [=] { return LibtiffRgb(scanWidth, scanHeight, {false, 0, 16}, blocks); }, false, 0, scan},
    };
    EXPECT_EXIT(
        {
            const size_t count = sizeof files / sizeof files[0];
            bool read = true;
            for (size_t i = 0; i < count; ++i) {
                if (files[i].write) {
                    read = read && files[i].write(TempPath(std::to_string(i)));
                } else {
                    const std::vector<uint8_t> bytes = files[i].bytes();
                    std::fprintf(stderr, "file %u: %u KB\n", unsigned(i), unsigned(bytes.size() >> 10));
                    read = read && !bytes.empty() && bytes.size() < (size_t(4) << 20);
                    WriteBytes(TempPath(std::to_string(i)), bytes);
                    read = read && AppendZeros(TempPath(std::to_string(i)), files[i].profileBytes);
                }
                WriteBytes(TempPath(std::to_string(i) + " in strips"), files[i].inStrips ? files[i].inStrips()
                                                                                          : std::vector<uint8_t>());
            }
            size_t startPeak = 0;
            const size_t start = test_support::PrivateBytes(&startPeak);
            std::vector<Picture> thumbnails(count);
            for (size_t i = 0; i < count; ++i) {
                const std::string path = TempPath(std::to_string(i));
                Picture& reduced = thumbnails[i];
                Picture expected;
                const bool sound = Lib().checkW(Wide(path).c_str(), 0) == rasterlib::kPictureSound &&
                                   Picture::FromRecord(ReadFileReduced(path, 128, 128), reduced);
                int difference = 0;
                if (files[i].inStrips)
                    difference = Picture::FromRecord(ReadFileReduced(path + " in strips", 128, 128), expected)
                                     ? MaxDifference(expected, reduced)
                                     : 256;
                else if (!files[i].againstWhole)
                    difference = std::max(0, MaxDifference(reduced.At(64, 32), Pixel{128, 128, 128, 255}) - 4);
                std::fprintf(stderr, "file %u: %s, %d off\n", unsigned(i), sound ? "read" : "NOT READ", difference);
                read = read && sound && difference == 0;
            }
            size_t peak = 0;
            test_support::PrivateBytes(&peak);
            std::fprintf(stderr, "peak %u MB above the start\n", unsigned((peak - start) >> 20));
            // The full reads, beyond the bound the peak was taken within.
            for (size_t i = 0; i < count; ++i) {
                const std::string path = TempPath(std::to_string(i));
                Picture whole;
                Picture resized;
                const bool same = (!files[i].inStrips || ReadFile(path) == ReadFile(path + " in strips")) &&
                                  (!files[i].againstWhole ||
                                   (Picture::FromRecord(ReadFile(path), whole) &&
                                    Picture::FromRecord(Resize(whole, int32_t(thumbnails[i].Width()),
                                                               int32_t(thumbnails[i].Height()),
                                                               rasterlib::kResizeExact),
                                                        resized) &&
                                    MaxDifference(resized, thumbnails[i]) <= 1));
                std::fprintf(stderr, "file %u: full read %s\n", unsigned(i), same ? "as expected" : "NOT AS EXPECTED");
                read = read && same;
                ::DeleteFileA(path.c_str());
                ::DeleteFileA((path + " in strips").c_str());
            }
            const std::string folder = TempPath("");
            ::RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
            std::exit(read && peak < start + (size_t(64) << 20) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Thumbnails of pictures below the bound whose rows the system's decoder or
// an interlaced read would hold whole: GIFs (stored row after row, and
// interlaced with their image framed on the screen and a clear colour), an
// interlaced PNG and a TIFF in one strip, of 138 megapixels in under a
// megabyte. In a process of its
// own each thumbnail leaves the process's peak within 64 MB, and equals the
// full read of a small version of the same blocks, resized.
TEST(RasterPixelBound, ThumbnailsOfGifsInterlacedPngsAndTiffStripsHoldRowsAndSumsNotThePicture)
{
    // Blocks of 32 x 32 thumbnail pixels at both sizes.
    constexpr uint32_t kWidth = 13568, kHeight = 10176, kSmallWidth = 512, kSmallHeight = 384;
    constexpr int32_t kThumbWidth = 128, kThumbHeight = 96;
    const struct {
        const char* name;
        std::string (*make)(uint32_t, uint32_t);
    } kinds[] = {
        {"blocks.gif", [](uint32_t w, uint32_t h) { return HugeBlockGif(w, h, false, false); }},
        {"framed interlaced blocks.gif", [](uint32_t w, uint32_t h) { return HugeBlockGif(w, h, true, true); }},
        {"interlaced blocks.png", [](uint32_t w, uint32_t h) { return HugeBlockPng(w, h, true); }},
        {"blocks in one strip.tif", [](uint32_t w, uint32_t h) { return HugeBlockTiff(w, h); }},
    };
    std::vector<Picture> expected;
    std::vector<std::string> huge;
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string path = TempPath(kind.name);
        WriteBytes(path, Bytes(kind.make(kSmallWidth, kSmallHeight)));
        Picture whole, resized, reduced;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(path), whole));
        ASSERT_TRUE(Picture::FromRecord(Resize(whole, kThumbWidth, kThumbHeight, rasterlib::kResizeExact), resized));
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, kThumbWidth, kThumbWidth), reduced));
        EXPECT_LE(MaxDifference(resized, reduced), 1);
        expected.push_back(resized);
        huge.push_back(kind.make(kWidth, kHeight));
        EXPECT_LT(huge.back().size(), size_t(1) << 20);
        ::DeleteFileA(path.c_str());
    }
    EXPECT_EXIT(
        {
            size_t startPeak = 0;
            const size_t start = test_support::PrivateBytes(&startPeak);
            bool same = true;
            for (size_t i = 0; i < huge.size(); ++i) {
                const std::string path = TempPath(kinds[i].name);
                WriteBytes(path, Bytes(huge[i]));
                Picture thumbnail;
                const bool read = Picture::FromRecord(ReadFileReduced(path, kThumbWidth, kThumbWidth), thumbnail) &&
                                  thumbnail.Width() == expected[i].Width() &&
                                  thumbnail.Height() == expected[i].Height();
                const int difference = read ? MaxDifference(expected[i], thumbnail) : 256;
                std::fprintf(stderr, "%s: %u KB, thumbnail %s, %d from the small one's\n", kinds[i].name,
                             unsigned(huge[i].size() >> 10), read ? "read" : "not read", difference);
                same = same && difference <= 2;
                ::DeleteFileA(path.c_str());
            }
            size_t peak = 0;
            test_support::PrivateBytes(&peak);
            std::fprintf(stderr, "peak %u MB above the start\n", unsigned((peak - start) >> 20));
            const std::string folder = TempPath("");
            ::RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
            std::exit(same && peak < start + (size_t(64) << 20) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
