// Reading at reduced size for a target box: the sizes chosen, and pixels that are
// averages of the source area, not samples of it.
#include "RasterTestSupport.h"

#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

using namespace rastertest;

namespace {

// Average of the linear gradient over the source area of output pixel (x, y): the
// gradient's value at the area's centre.
Pixel ExpectedAverage(uint32_t x, uint32_t y, uint32_t srcWidth, uint32_t srcHeight, uint32_t outWidth,
                      uint32_t outHeight)
{
    const double cx = (x + 0.5) * srcWidth / outWidth - 0.5;
    const double cy = (y + 0.5) * srcHeight / outHeight - 0.5;
    return GradientAt(cx, cy, srcWidth, srcHeight);
}

int WorstAgainstGradient(const Picture& read, uint32_t srcWidth, uint32_t srcHeight)
{
    int worst = 0;
    for (uint32_t y = 0; y < read.Height(); ++y)
        for (uint32_t x = 0; x < read.Width(); ++x)
            worst = std::max(worst, MaxDifference(read.At(x, y), ExpectedAverage(x, y, srcWidth, srcHeight,
                                                                                  read.Width(), read.Height())));
    return worst;
}

}  // namespace

TEST(RasterReducedRead, SizeFitsTheTargetBox)
{
    const std::string jpg = TempPath("box.jpg");
    const std::string png = TempPath("box.png");
    const std::string thin = TempPath("thin.jpg");
    WriteBytes(jpg, EncodeJpeg(Gradient(400, 300), 90));
    WriteBytes(png, EncodeWithWic(Gradient(400, 300), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR));
    WriteBytes(thin, EncodeJpeg(Gradient(1000, 10), 90));
    const struct {
        const std::string* path;
        int32_t targetWidth, targetHeight;
        uint32_t width, height;
    } cases[] = {
        {&jpg, 128, 128, 128, 96}, {&jpg, 64, 0, 64, 48},     {&jpg, 0, 60, 80, 60},     {&jpg, 1000, 1000, 400, 300},
        {&jpg, 0, 0, 400, 300},    {&jpg, 300, 1000, 300, 225}, {&png, 128, 128, 128, 96}, {&png, 0, 75, 100, 75},
        {&png, 400, 300, 400, 300}, {&thin, 128, 128, 128, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.path + " " + std::to_string(c.targetWidth) + "x" + std::to_string(c.targetHeight));
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(*c.path, c.targetWidth, c.targetHeight), read));
        EXPECT_EQ(c.width, read.Width());
        EXPECT_EQ(c.height, read.Height());
    }
}

TEST(RasterReducedRead, ThumbnailsAndPreviewsAverageTheSource)
{
    const struct {
        uint32_t width, height;
        int32_t box;
        bool png;
    } cases[] = {{1024, 768, 128, false}, {4000, 3000, 1024, false}, {1024, 768, 128, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + (c.png ? " png" : " jpeg"));
        const std::string path = TempPath("average");
        const Picture source = Gradient(c.width, c.height);
        WriteBytes(path, c.png ? EncodeWithWic(source, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR)
                               : EncodeJpeg(source, 95));
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, c.box, c.box), read));
        ASSERT_EQ(uint32_t(c.box), read.Width());
        ASSERT_EQ(uint32_t(c.box) * 3 / 4, read.Height());
        EXPECT_LE(WorstAgainstGradient(read, c.width, c.height), 6);
    }
}

TEST(RasterReducedRead, FineDetailBecomesItsMeanNotASample)
{
    const Pixel black{0, 0, 0, 255}, white{255, 255, 255, 255};
    // 768 x 576 to 128 x 96: each thumbnail pixel covers 6 x 6 source pixels, half
    // of them white.
    const Picture checker = Checker(768, 576, 1, black, white);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int tolerance;
    } cases[] = {
        {"checker.png", EncodeWithWic(checker, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR), 1},
        {"checker.jpg", EncodeJpeg(checker, 95), 8},
        {"checker.gif", EncodeWithWic(checker, GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        Picture thumb;
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, 128, 128), thumb));
        ASSERT_EQ(128u, thumb.Width());
        ASSERT_EQ(96u, thumb.Height());
        const Pixel grey{128, 128, 128, 255};
        int worst = 0;
        for (uint32_t y = 0; y < thumb.Height(); ++y)
            for (uint32_t x = 0; x < thumb.Width(); ++x)
                worst = std::max(worst, MaxDifference(thumb.At(x, y), grey));
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST(RasterReducedRead, ReducedAndFullReadsAgreeOnColours)
{
    // Four flat quarters keep their colours at any scale.
    Picture quarters(800, 600);
    const Pixel colours[4] = {{20, 40, 200, 255}, {200, 60, 20, 255}, {30, 190, 60, 255}, {120, 120, 120, 255}};
    for (uint32_t y = 0; y < 600; ++y)
        for (uint32_t x = 0; x < 800; ++x)
            quarters.Set(x, y, colours[(y >= 300) * 2 + (x >= 400)]);
    const std::string path = TempPath("quarters.jpg");
    WriteBytes(path, EncodeJpeg(quarters, 95));
    for (int32_t target : {400, 200, 100, 50}) {
        SCOPED_TRACE(target);
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, target, target), read));
        const uint32_t qx = read.Width() / 4, qy = read.Height() / 4;
        for (int q = 0; q < 4; ++q) {
            const uint32_t x = (q % 2) ? read.Width() - 1 - qx : qx;
            const uint32_t y = (q / 2) ? read.Height() - 1 - qy : qy;
            EXPECT_LE(MaxDifference(read.At(x, y), colours[q]), 4);
        }
    }
}

// TIFFs of the kinds read reduced a row at a time, as the system's encoder
// and an LZW writer store them: the thumbnail is the full read (the system's
// decoder) resized.
TEST(RasterReducedRead, TiffThumbnailsAreTheFullReadResized)
{
    const Picture photo = Gradient(300, 200);
    std::string rgb;
    for (uint32_t y = 0; y < 200; ++y)
        for (uint32_t x = 0; x < 300; ++x)
            rgb += std::string{char(photo.At(x, y).r), char(photo.At(x, y).g), char(photo.At(x, y).b)};
    const std::string lzw = testpictures::TiffFile(300, 200, rgb, 1, true);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"rgb.tif", EncodeWithWic(photo, GUID_ContainerFormatTiff, GUID_WICPixelFormat24bppBGR)},
        {"grey.tif", EncodeWithWic(photo, GUID_ContainerFormatTiff, GUID_WICPixelFormat8bppGray)},
        {"palette.tif", EncodeWithWic(photo, GUID_ContainerFormatTiff, GUID_WICPixelFormat8bppIndexed)},
        {"lzw.tif", std::vector<uint8_t>(lzw.begin(), lzw.end())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        const std::string path = TempPath(c.name);
        WriteBytes(path, c.bytes);
        Picture whole, resized, reduced;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(path), whole));
        ASSERT_TRUE(Picture::FromRecord(Resize(whole, 100, 67, rasterlib::kResizeExact), resized));
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, 100, 100), reduced));
        EXPECT_LE(MaxDifference(resized, reduced), 0);
    }
}
