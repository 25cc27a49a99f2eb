// Damaged, empty and absurd input gives a failure result and never a crash; the fill
// call never writes past the buffer it is given.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

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

TEST(RasterFailure, AbsurdDimensionsAreRefusedBeforeDecoding)
{
    // A small JPEG whose frame header claims 65000 x 65000 pixels.
    std::vector<uint8_t> jpeg = EncodeJpeg(Gradient(16, 16), 90);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xFD;
            jpeg[i + 6] = 0xE8;
            jpeg[i + 7] = 0xFD;
            jpeg[i + 8] = 0xE8;
            break;
        }
    const std::string path = TempPath("huge.jpg");
    WriteBytes(path, jpeg);
    const auto& lib = Lib();
    int32_t width = 0, height = 0;
    EXPECT_EQ(1, lib.readSize(path.c_str(), &width, &height));
    EXPECT_EQ(65000, width);
    // 65000 * 65000 * 4 bytes is beyond any record: the size call fails.
    EXPECT_EQ(0, lib.read(path.c_str(), nullptr, 0));
    EXPECT_TRUE(ReadFile(path).empty());
    // A thumbnail fits, but the data cannot fill such a frame.
    EXPECT_TRUE(ReadFileReduced(path, 128, 128).empty());

    // A BMP header with a width of 2^31 - 1.
    std::vector<uint8_t> bmp = EncodeWithWic(Gradient(8, 8), GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR);
    const int32_t wide = 0x7FFFFFFF;
    std::memcpy(&bmp[18], &wide, 4);
    EXPECT_TRUE(ReadMemory(bmp, "bmp").empty());
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
