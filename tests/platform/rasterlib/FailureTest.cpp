// Damaged, empty and absurd input gives a failure result and never a crash; the fill
// call never writes past the buffer it is given.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace rastertest;

namespace {

// Every way of reading a file answers 0 and leaves the size 0 x 0.
void ExpectUnreadable(const std::string& path)
{
    const auto& lib = Lib();
    int32_t width = -1, height = -1;
    EXPECT_EQ(0, lib.readSize(path.c_str(), &width, &height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    EXPECT_EQ(0, lib.test(path.c_str()));
    // A reader may answer a size from an intact header and fail on the fill call; the
    // program then discards the block, as ReadFile does.
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(ReadFileReduced(path, 128, 128).empty());
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t keep)
{
    bytes.resize(keep);
    return bytes;
}

// The end-of-image marker put back after a cut: the structure looks whole, the scan
// data still stops short.
std::vector<uint8_t> WithEnd(std::vector<uint8_t> bytes)
{
    bytes.push_back(0xFF);
    bytes.push_back(0xD9);
    return bytes;
}

}  // namespace

TEST(RasterFailure, DamagedFilesFailCleanly)
{
    const Picture picture = Gradient(200, 150);
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, 90);
    const std::vector<uint8_t> png = EncodeWithWic(picture, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR);
    const std::vector<uint8_t> bmp = EncodeWithWic(picture, GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR);
    const std::vector<uint8_t> gif = EncodeWithWic(picture, GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed);
    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    std::vector<uint8_t> jpegNoFrame = jpeg;
    // Destroy the frame header: every SOF marker byte becomes a comment marker.
    for (size_t i = 0; i + 1 < jpegNoFrame.size(); ++i)
        if (jpegNoFrame[i] == 0xFF && jpegNoFrame[i + 1] == 0xC0)
            jpegNoFrame[i + 1] = 0xFE;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty.jpg", {}},
        {"garbage.png", garbage},
        {"only-magic.jpg", {0xFF, 0xD8, 0xFF}},
        {"truncated.jpg", Cut(jpeg, jpeg.size() * 6 / 10)},
        {"truncated-then-ended.jpg", WithEnd(Cut(jpeg, jpeg.size() * 6 / 10))},
        {"header-only.jpg", Cut(jpeg, 700)},
        {"no-frame.jpg", jpegNoFrame},
        {"truncated.png", Cut(png, png.size() / 2)},
        {"truncated.bmp", Cut(bmp, 100)},
        {"truncated.gif", Cut(gif, 30)},
        {"png-magic-only.png", Cut(png, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        const auto& lib = Lib();
        // Reading whole files must fail; measuring may succeed only when the header
        // is intact.
        EXPECT_TRUE(ReadFile(path).empty());
        EXPECT_TRUE(ReadFileReduced(path, 64, 64).empty());
        if (!c.bytes.empty()) {
            EXPECT_TRUE(ReadMemory(c.bytes, "jpg").empty());
        }
        int32_t width = 0, height = 0;
        if (lib.readSize(path.c_str(), &width, &height)) {
            EXPECT_EQ(200, width);
            EXPECT_EQ(150, height);
        }
    }
    for (const char* name : {"empty.jpg", "garbage.png", "only-magic.jpg", "no-frame.jpg", "png-magic-only.png"}) {
        SCOPED_TRACE(name);
        ExpectUnreadable(TempPath(name));
    }
}

namespace {

// A JPEG's frame header made to claim another size.
std::vector<uint8_t> JpegClaiming(std::vector<uint8_t> jpeg, uint8_t frameMarker, uint32_t side)
{
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == frameMarker) {
            jpeg[i + 5] = jpeg[i + 7] = uint8_t(side >> 8);
            jpeg[i + 6] = jpeg[i + 8] = uint8_t(side);
            break;
        }
    }
    return jpeg;
}

// A PNG whose IHDR claims another size, with its CRC made right again.
std::vector<uint8_t> PngClaiming(std::vector<uint8_t> png, uint32_t side)
{
    for (int i = 0; i < 4; ++i)
        png[16 + i] = png[20 + i] = uint8_t(side >> (24 - 8 * i));
    uint32_t table[256];
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 12; i < 29; ++i)
        crc = table[(crc ^ png[i]) & 0xFF] ^ (crc >> 8);
    crc = ~crc;
    for (int i = 0; i < 4; ++i)
        png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    return png;
}

// A little-endian TIFF whose first directory claims another size.
std::vector<uint8_t> TiffClaiming(std::vector<uint8_t> tiff, uint32_t side)
{
    const uint32_t directory = uint32_t(tiff[4]) | uint32_t(tiff[5]) << 8 | uint32_t(tiff[6]) << 16;
    const uint32_t count = uint32_t(tiff[directory]) | uint32_t(tiff[directory + 1]) << 8;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + i * 12;
        const uint32_t tag = uint32_t(tiff[entry]) | uint32_t(tiff[entry + 1]) << 8;
        if (tag == 256 || tag == 257) {
            PutLe(tiff, entry + 2, 4, 2);  // a long
            PutLe(tiff, entry + 8, side, 4);
        }
    }
    return tiff;
}

// A bitmap of 16 x 16 whose header then claims a side of 16,000, cut to 254 bytes.
std::vector<uint8_t> BmpClaiming(uint32_t compression)
{
    std::vector<uint8_t> bmp(254, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, 254, 4);
    PutLe(bmp, 10, 54 + 8, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, 16000, 4);
    PutLe(bmp, 22, 16000, 4);
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, compression == 1 ? 8 : 24, 2);
    PutLe(bmp, 30, compression, 4);
    return bmp;
}

// An icon of one 16 x 16 entry of 8 bits with a whole palette, then damaged.
std::vector<uint8_t> Icon(uint32_t bits, uint32_t colours, uint32_t claimedHeight, uint32_t claimedSize)
{
    const uint32_t rows = (16 * bits + 31) / 32 * 4 * 16 + 4 * 16;
    std::vector<uint8_t> icon(22 + 40 + colours * 4 + rows, 0x5A);
    PutLe(icon, 0, 0, 2);
    PutLe(icon, 2, 1, 2);
    PutLe(icon, 4, 1, 2);
    icon[6] = icon[7] = 16;
    icon[8] = 0;
    icon[9] = 0;
    PutLe(icon, 10, 1, 2);
    PutLe(icon, 12, bits, 2);
    PutLe(icon, 14, claimedSize, 4);
    PutLe(icon, 18, 22, 4);
    PutLe(icon, 22, 40, 4);
    PutLe(icon, 26, 16, 4);
    PutLe(icon, 30, claimedHeight, 4);
    PutLe(icon, 34, 1, 2);
    PutLe(icon, 36, bits, 2);
    PutLe(icon, 38, 0, 4);
    PutLe(icon, 54, colours, 4);
    return icon;
}

// A GIF of 16 x 16 with a table of two colours from 9-bit codes, then the end code.
std::vector<uint8_t> HandGif(const std::vector<uint32_t>& codes)
{
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 16, 0, 16, 0, 0x80, 0, 0, 255, 0, 0, 0, 255, 0,
                                0x2C, 0, 0, 0, 0, 16, 0, 16, 0, 0, 8};
    std::vector<uint8_t> data;
    uint32_t bits = 0, held = 0;
    for (uint32_t value : codes) {
        bits |= value << held;
        for (held += 9; held >= 8; held -= 8, bits >>= 8)
            data.push_back(uint8_t(bits));
    }
    bits |= 257u << held;
    for (held += 9; held > 0; held = held > 8 ? held - 8 : 0, bits >>= 8)
        data.push_back(uint8_t(bits));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t length = std::min<size_t>(255, data.size() - at);
        gif.push_back(uint8_t(length));
        gif.insert(gif.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + length));
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

}  // namespace

TEST(RasterFailure, ImagesMoreThanTheirFileCanHoldAreRefusedAtOnceInEveryCall)
{
    constexpr uint64_t kHeaderOnlyBytes = 8 << 10;
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const Picture small = Gradient(64, 64);
    const std::vector<uint8_t> tiff =
        EncodeWithWic(Gradient(8, 8), GUID_ContainerFormatTiff, GUID_WICPixelFormat24bppBGR);
    const std::vector<uint8_t> gif = EncodeWithWic(Gradient(1, 1), GUID_ContainerFormatGif,
                                                   GUID_WICPixelFormat8bppIndexed);
    std::vector<uint8_t> hugeGif = gif;
    PutLe(hugeGif, 6, 65535, 2);
    PutLe(hugeGif, 8, 65535, 2);
    for (size_t i = 13; i + 9 < hugeGif.size(); ++i) {
        if (hugeGif[i] == 0x2C && hugeGif[i + 1] == 0 && hugeGif[i + 3] == 0) {
            PutLe(hugeGif, i + 5, 65535, 2);
            PutLe(hugeGif, i + 7, 65535, 2);
            break;
        }
    }
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"3 KB 65500 x 65500.jpg", JpegClaiming(EncodeJpeg(small, 90), 0xC0, 65500)},
        {"progressive 16000 x 16000.jpg", JpegClaiming(EncodeJpeg(small, 90, true), 0xC2, 16000)},
        {"254-byte 16000 x 16000.bmp", BmpClaiming(0)},
        {"254-byte 16000 x 16000 runs.bmp", BmpClaiming(1)},
        {"16000 x 16000.tif", TiffClaiming(tiff, 16000)},
        {"65535 x 65535.png",
         PngClaiming(EncodeWithWic(Gradient(1, 1), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR), 65535)},
        {"65535 x 65535.gif", hugeGif},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_LT(c.bytes.size(), 4000u);
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        AllocationWatch::Reset();
        ExpectUnreadable(path);
        EXPECT_TRUE(ReadMemory(c.bytes, "").empty());
        // Refused from the header, before any decoder starts: all six calls
        // together ask for less memory than libjpeg-turbo's or libpng's own
        // state for one read of a 64 x 64 picture (40 KB and 17 KB), let
        // alone a row of the picture claimed.
        EXPECT_LT(AllocationWatch::Total(), kHeaderOnlyBytes);
        EXPECT_LT(AllocationWatch::Largest(), 16u << 20);
    }
    // A header width of 2^31 - 1 in a clipboard bitmap.
    std::vector<uint8_t> bmp = EncodeWithWic(Gradient(8, 8), GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR);
    PutLe(bmp, 18, 0x7FFFFFFF, 4);
    EXPECT_TRUE(ReadMemory(bmp, "bmp").empty());
}

TEST(RasterFailure, DamagedIconsAreUnreadableAndNoDecoderSeesThem)
{
    const uint32_t whole = 40 + 256 * 4 + (16 + 3) / 4 * 4 * 16 + 4 * 16;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"entry beyond the file.ico", Icon(8, 256, 32, whole * 4)},
        {"palette beyond the data.ico", [] {
             std::vector<uint8_t> icon = Icon(8, 16, 32, 40 + 16 * 4 + 64);
             PutLe(icon, 54, 255, 4);  // 255 colours said, 16 there
             return icon;
         }()},
        {"rows beyond the data.ico", [] {
             std::vector<uint8_t> icon = Icon(32, 0, 32, 40 + 100);
             icon.resize(22 + 40 + 100);
             return icon;
         }()},
        {"odd height.ico", Icon(8, 256, 33, whole)},
        {"sixteen planes.ico", [] {
             std::vector<uint8_t> icon = Icon(8, 256, 32, 40 + 256 * 4 + 16 * 16 + 64);
             PutLe(icon, 34, 16, 2);
             return icon;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        ExpectUnreadable(path);
        EXPECT_TRUE(ReadMemory(c.bytes, "ico").empty());
    }
    // The same icon made whole reads, its short palette completed with black.
    std::vector<uint8_t> icon = Icon(8, 16, 32, 40 + 16 * 4 + 16 * 16 + 64);
    for (size_t i = 22 + 40 + 16 * 4; i < icon.size(); ++i)
        icon[i] = i < 22 + 40 + 16 * 4 + 256 ? uint8_t(i % 32) : 0;
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadMemoryPrefilled(icon, "ico", 0xAB), read));
    EXPECT_EQ(16u, read.Width());
    EXPECT_EQ(16u, read.Height());
    EXPECT_EQ(ReadMemoryPrefilled(icon, "ico", 0xAB), ReadMemoryPrefilled(icon, "ico", 0x00));
}

TEST(RasterFailure, DamagedImagesThatReadGiveTheSamePixelsWhateverTheMemoryHeld)
{
    // A bitmap in runs of 16 x 16 with a palette of four colours, each row
    // fifteen pixels of colour 2 and one of colour 200, which it lacks.
    std::vector<uint8_t> runs(14 + 40 + 4 * 4, 0);
    runs[0] = 'B';
    runs[1] = 'M';
    PutLe(runs, 10, 14 + 40 + 16, 4);
    PutLe(runs, 14, 40, 4);
    PutLe(runs, 18, 16, 4);
    PutLe(runs, 22, 16, 4);
    PutLe(runs, 26, 1, 2);
    PutLe(runs, 28, 8, 2);
    PutLe(runs, 30, 1, 4);
    PutLe(runs, 46, 4, 4);
    for (int i = 0; i < 4; ++i)
        runs[54 + i * 4] = uint8_t(60 * i + 20);
    for (int row = 0; row < 16; ++row)
        runs.insert(runs.end(), {15, 2, 1, 200, 0, 0});
    runs.insert(runs.end(), {0, 1});
    PutLe(runs, 2, uint32_t(runs.size()), 4);
    // A GIF of 16 x 16 with a table of two colours, its pixels naming colours 200 to
    // 249: 9-bit codes, a clear code every hundred pixels.
    std::vector<uint32_t> codes{256};
    for (uint32_t i = 0; i < 256; ++i) {
        codes.push_back(200 + i % 50);
        if (i % 100 == 99)
            codes.push_back(256);
    }
    const std::vector<uint8_t> gif = HandGif(codes);
    // Codes that break off, or name a string not made yet, leave pixels out.
    EXPECT_TRUE(ReadMemory(HandGif(std::vector<uint32_t>(codes.begin(), codes.begin() + 100)), "").empty());
    EXPECT_TRUE(ReadMemory(HandGif({256, 7, 300, 7}), "").empty());
    const std::vector<uint8_t> dirt = EncodeWithWic(Gradient(300, 300), GUID_ContainerFormatPng,
                                                    GUID_WICPixelFormat24bppBGR);
    for (const std::vector<uint8_t>* bytes : {static_cast<const std::vector<uint8_t>*>(&runs), &gif}) {
        const std::vector<uint8_t> first = ReadMemoryPrefilled(*bytes, "", 0x00);
        ASSERT_EQ(12u + 16 * 16 * 4, first.size()) << (bytes == &runs ? "runs" : "gif");
        for (int round = 0; round < 3; ++round) {
            ReadMemory(dirt, "");  // memory others used and left
            EXPECT_EQ(first, ReadMemoryPrefilled(*bytes, "", 0xAB)) << (bytes == &runs ? "runs" : "gif");
        }
        const std::string path = TempPath("prefilled");
        WriteBytes(path, *bytes);
        EXPECT_EQ(first, ReadFile(path)) << "the same bytes from a file and from memory";
        // A colour the image lacks is black.
        EXPECT_EQ(0, first[12 + 15 * 16 * 4 + 15 * 4] | first[13 + 15 * 16 * 4 + 15 * 4]);
    }
}

TEST(RasterFailure, MissingAndNullArguments)
{
    const auto& lib = Lib();
    uint8_t buffer[64];
    EXPECT_EQ(0, lib.read(nullptr, nullptr, 0));
    EXPECT_EQ(0, lib.read("", nullptr, 0));
    EXPECT_EQ(0, lib.read(TempPath("not-there.jpg").c_str(), buffer, sizeof buffer));
    EXPECT_EQ(0, lib.readLQ(nullptr, nullptr, 0, nullptr, nullptr, 0, 0, 0));
    EXPECT_EQ(0, lib.readMemory(nullptr, 0, nullptr, 0, "jpg"));
    EXPECT_EQ(0, lib.readMemory(buffer, -5, nullptr, 0, "jpg"));
    EXPECT_EQ(0, lib.readMemory(buffer, 0, nullptr, 0, "jpg"));
    EXPECT_EQ(0, lib.readSize(nullptr, nullptr, nullptr));
    uint8_t type = 7;
    EXPECT_EQ(0, lib.readType(nullptr, 0, "jpg", &type));
    EXPECT_EQ(0, type);
    EXPECT_EQ(0, lib.readType(buffer, sizeof buffer, "jpg", nullptr));
}

TEST(RasterFailure, FillCallChecksTheBufferAgainstTheImage)
{
    const std::string path = TempPath("changing.png");
    WriteBytes(path, EncodeWithWic(Gradient(30, 20), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR));
    const auto& lib = Lib();
    const int32_t size = lib.read(path.c_str(), nullptr, 0);
    ASSERT_EQ(12 + 30 * 20 * 4, size);

    // The file grows between the two calls: the fill call answers the new size and
    // writes nothing into the old buffer.
    WriteBytes(path, EncodeWithWic(Gradient(60, 40), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR));
    std::vector<uint8_t> block(size_t(size) + 16, 0x77);
    EXPECT_EQ(12 + 60 * 40 * 4, lib.read(path.c_str(), block.data(), size));
    for (uint8_t b : block)
        ASSERT_EQ(0x77, b);

    // A buffer one byte short is left alone too; a negative size is a size query.
    const int32_t now = lib.read(path.c_str(), nullptr, 0);
    EXPECT_EQ(now, lib.read(path.c_str(), block.data(), now - 1));
    EXPECT_EQ(0x77, block[0]);
    EXPECT_EQ(now, lib.read(path.c_str(), block.data(), -1));
    EXPECT_EQ(0x77, block[0]);
}
