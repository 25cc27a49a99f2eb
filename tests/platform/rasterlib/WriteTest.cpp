// Writing: every format to memory and back, independent decoding of what is written,
// transparency per format, files through SaveRasterImage, and refusals.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace rastertest;

namespace {

Picture Translucent(uint32_t width, uint32_t height)
{
    Picture picture = Gradient(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            Pixel p = picture.At(x, y);
            p.a = uint8_t((x * 7 + y * 3) % 256);
            picture.Set(x, y, p);
        }
    return picture;
}

bool StartsWith(const std::vector<uint8_t>& bytes, const char* magic, size_t count)
{
    return bytes.size() >= count && std::memcmp(bytes.data(), magic, count) == 0;
}

}  // namespace

TEST(RasterWrite, EveryFormatRoundTrips)
{
    const Picture smooth = Gradient(70, 45);
    const Picture fewColours = Checker(70, 45, 5, Pixel{10, 20, 250, 255}, Pixel{240, 230, 0, 255});
    const struct {
        const char* format;
        const Picture* picture;
        const char* magic;
        size_t magicCount;
        int tolerance;
    } cases[] = {
        {"jpg", &smooth, "\xFF\xD8\xFF", 3, 10},   {"JPEG", &smooth, "\xFF\xD8\xFF", 3, 10},
        {"png", &smooth, "\x89PNG", 4, 0},         {"bmp", &smooth, "BM", 2, 0},
        {"tif", &smooth, "II*", 3, 0},             {"TIFF", &smooth, "II*", 3, 0},
        {"gif", &fewColours, "GIF8", 4, 0},        {"ico", &smooth, "\0\0\1\0", 4, 0},
        {".png", &smooth, "\x89PNG", 4, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const std::vector<uint8_t> bytes = WriteMemory(c.picture->Record(), c.format);
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(StartsWith(bytes, c.magic, c.magicCount));
        Picture back;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(bytes, c.format), back));
        EXPECT_LE(MaxDifference(*c.picture, back), c.tolerance);
        // What the library writes, the imaging component reads the same.
        Picture independent;
        ASSERT_TRUE(DecodeWithWic(bytes, independent));
        EXPECT_LE(MaxDifference(*c.picture, independent), c.tolerance + 2);
    }
}

TEST(RasterWrite, ManyColoursStillMakeAGif)
{
    const Picture smooth = Gradient(64, 64);
    const std::vector<uint8_t> bytes = WriteMemory(smooth.Record(), "gif");
    Picture back;
    ASSERT_TRUE(Picture::FromRecord(ReadMemory(bytes, nullptr), back));
    EXPECT_EQ(64u, back.Width());
    EXPECT_LE(MaxDifference(smooth, back), 48);
}

TEST(RasterWrite, TransparencyPerFormat)
{
    const Picture translucent = Translucent(40, 30);
    // PNG, TIFF and icons keep the alpha channel.
    for (const char* format : {"png", "tif", "ico"}) {
        SCOPED_TRACE(format);
        Picture back;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(WriteMemory(translucent.Record(), format), nullptr), back));
        int worst = 0;
        for (uint32_t y = 0; y < 30; ++y)
            for (uint32_t x = 0; x < 40; ++x) {
                const Pixel a = translucent.At(x, y), b = back.At(x, y);
                worst = std::max(worst, std::abs(a.a - b.a));
                if (a.a == 255)
                    worst = std::max(worst, MaxDifference(a, b));
            }
        EXPECT_EQ(0, worst);
    }
    // Formats without alpha show clear pixels as the white of the page.
    Picture clearAndRed(16, 16, Pixel{0, 0, 0, 0});
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 8; x < 16; ++x)
            clearAndRed.Set(x, y, Pixel{0, 0, 255, 255});
    for (const char* format : {"jpg", "bmp", "gif"}) {
        SCOPED_TRACE(format);
        Picture back;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(WriteMemory(clearAndRed.Record(), format), nullptr), back));
        EXPECT_LE(MaxDifference(back.At(2, 8), Pixel{255, 255, 255, 255}), 6);
        EXPECT_LE(MaxDifference(back.At(13, 8), Pixel{0, 0, 255, 255}), 6);
    }
}

TEST(RasterWrite, GreyCopyWithZeroFourthBytesStaysVisible)
{
    // The program's grey copies carry 0 in every fourth byte; written out they must be
    // an opaque grey image, not a clear one.
    Picture grey(20, 20);
    for (uint32_t y = 0; y < 20; ++y)
        for (uint32_t x = 0; x < 20; ++x) {
            const uint8_t v = uint8_t(x * 12);
            grey.Set(x, y, Pixel{v, v, v, 0});
        }
    for (const char* format : {"png", "tif", "jpg", "bmp"}) {
        SCOPED_TRACE(format);
        Picture back;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(WriteMemory(grey.Record(), format), nullptr), back));
        EXPECT_EQ(255, back.At(10, 10).a);
        EXPECT_NEAR(120, back.At(10, 10).g, 4);
    }
}

TEST(RasterWrite, SizeCallAndFillCallAgree)
{
    const std::vector<uint8_t> record = Gradient(300, 200).Record();
    const auto& lib = Lib();
    for (const char* format : {"jpg", "png"}) {
        SCOPED_TRACE(format);
        const int32_t size = lib.write(record.data(), nullptr, 0, format);
        ASSERT_GT(size, 0);
        // Too small a buffer is left alone and the size is answered again.
        std::vector<uint8_t> small(size_t(size) - 1, 0x5A);
        EXPECT_EQ(size, lib.write(record.data(), small.data(), int32_t(small.size()), format));
        for (uint8_t b : small)
            ASSERT_EQ(0x5A, b);
        std::vector<uint8_t> buffer(static_cast<size_t>(size));
        EXPECT_EQ(size, lib.write(record.data(), buffer.data(), size, format));
        Picture back;
        EXPECT_TRUE(Picture::FromRecord(ReadMemory(buffer, nullptr), back));
    }
    // Pixels changed between the calls are encoded afresh, not taken from the first.
    std::vector<uint8_t> changing = Gradient(64, 64).Record();
    const int32_t first = lib.write(changing.data(), nullptr, 0, "png");
    std::memset(changing.data() + 12, 0x80, changing.size() - 12);
    const int32_t again = lib.write(changing.data(), nullptr, 0, "png");
    std::vector<uint8_t> buffer(static_cast<size_t>(again));
    ASSERT_EQ(again, lib.write(changing.data(), buffer.data(), again, "png"));
    EXPECT_NE(first, again);
    Picture back;
    ASSERT_TRUE(Picture::FromRecord(ReadMemory(buffer, nullptr), back));
    EXPECT_EQ(0, MaxDifference(back.At(5, 5), Pixel{0x80, 0x80, 0x80, 255}, false));
}

TEST(RasterWrite, WritingRefusesWhatItCannotDo)
{
    const auto& lib = Lib();
    const std::vector<uint8_t> record = Gradient(16, 16).Record();
    EXPECT_EQ(0, lib.write(record.data(), nullptr, 0, "xyz"));
    EXPECT_EQ(0, lib.write(record.data(), nullptr, 0, nullptr));
    EXPECT_EQ(0, lib.write(nullptr, nullptr, 0, "png"));
    // Icons hold at most 256 pixels a side.
    EXPECT_EQ(0, lib.write(Gradient(300, 10).Record().data(), nullptr, 0, "ico"));
    // Headers that do not describe a real image.
    const uint32_t bad[][3] = {{0, 16, 64}, {16, 16, 60}, {0x10000000, 0x10000000, 0x40000000}};
    for (const auto& header : bad) {
        std::vector<uint8_t> broken = record;
        std::memcpy(broken.data(), header, 12);
        EXPECT_EQ(0, lib.write(broken.data(), nullptr, 0, "png"));
    }
}

TEST(RasterWrite, SaveWritesFilesThatReadBack)
{
    const Picture picture = Gradient(160, 120);
    const auto& lib = Lib();
    const struct {
        const char* name;
        const char* format;
        int quality;
        int tolerance;
    } cases[] = {
        {"saved.jpg", "jpg", 95, 8}, {"saved.bmp", "bmp", 0, 0}, {"saved.png", "png", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        ASSERT_NE(0, lib.save(path.c_str(), 160, 120, 640, rasterlib::kPixelLayoutBgra, c.quality, c.format,
                              picture.Data()));
        Picture back;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(path), back));
        EXPECT_LE(MaxDifference(picture, back), c.tolerance);
    }
    // Quality counts for JPEG.
    const std::string low = TempPath("low.jpg"), high = TempPath("high.jpg");
    const Picture detailed = Checker(160, 120, 3, Pixel{0, 0, 0, 255}, Pixel{255, 200, 100, 255});
    ASSERT_NE(0, lib.save(low.c_str(), 160, 120, 640, 3, 20, "jpg", detailed.Data()));
    ASSERT_NE(0, lib.save(high.c_str(), 160, 120, 640, 3, 100, "jpg", detailed.Data()));
    EXPECT_LT(ReadBytes(low).size(), ReadBytes(high).size());
}

TEST(RasterWrite, SaveRefusesBadArguments)
{
    const Picture picture = Gradient(10, 10);
    const auto& lib = Lib();
    const std::string path = TempPath("refused.bmp");
    EXPECT_EQ(0, lib.save(path.c_str(), 10, 10, 40, 4, 90, "bmp", picture.Data()));
    EXPECT_EQ(0, lib.save(path.c_str(), 10, 10, 39, 3, 90, "bmp", picture.Data()));
    EXPECT_EQ(0, lib.save(path.c_str(), -10, 10, 40, 3, 90, "bmp", picture.Data()));
    EXPECT_EQ(0, lib.save(path.c_str(), 10, 10, 40, 3, 90, "bmp", nullptr));
    EXPECT_EQ(0, lib.save(path.c_str(), 10, 10, 40, 3, 90, "abc", picture.Data()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
    EXPECT_EQ(0, lib.save(TempPath("no-such-folder\\x.bmp").c_str(), 10, 10, 40, 3, 90, "bmp", picture.Data()));
    EXPECT_EQ(0, lib.save(nullptr, 10, 10, 40, 3, 90, "bmp", picture.Data()));
}
