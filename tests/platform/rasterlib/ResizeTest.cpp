// Resizing: area averaging when shrinking, bilinear when growing, the fit mode, alpha,
// strides, and the checks on sizes and buffers.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace rastertest;

namespace {

Picture Row(std::initializer_list<uint8_t> values)
{
    Picture row(uint32_t(values.size()), 1);
    uint32_t x = 0;
    for (uint8_t v : values)
        row.Set(x++, 0, Pixel{v, v, v, 255});
    return row;
}

// A black row with one white column.
Picture Column(uint32_t width, uint32_t at)
{
    Picture row(width, 1);
    for (uint32_t x = 0; x < width; ++x)
        row.Set(x, 0, x == at ? Pixel{255, 255, 255, 255} : Pixel{0, 0, 0, 255});
    return row;
}

std::vector<int> Greys(const Picture& picture)
{
    std::vector<int> greys;
    for (uint32_t x = 0; x < picture.Width(); ++x)
        greys.push_back(picture.At(x, 0).g);
    return greys;
}

}  // namespace

TEST(RasterResize, RowsResampleByAreaAndByInterpolation)
{
    const struct {
        const char* what;
        Picture source;
        int32_t width;
        std::vector<int> expected;
    } cases[] = {
        // Output pixel 0 covers source [0, 1.5): (0 * 1 + 90 * 0.5) / 1.5.
        {"3 to 2", Row({0, 90, 180}), 2, {30, 150}},
        {"4 to 2", Row({10, 30, 200, 100}), 2, {20, 150}},
        {"6 to 4", Row({0, 60, 120, 180, 240, 60}), 4, {20, 100, 200, 120}},
        {"2 to 4", Row({0, 200}), 4, {0, 50, 150, 200}},
        {"3 to 3", Row({7, 8, 9}), 3, {7, 8, 9}},
        // 300 source pixels an output pixel: the column, first of output 64's, weighs 1/300 there alone.
        {"38,400 with one white column to 128", Column(38400, 19200), 128, [] {
             std::vector<int> greys(128, 0);
             greys[64] = 1;
             return greys;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Picture out;
        ASSERT_TRUE(Picture::FromRecord(Resize(c.source, c.width, 1, rasterlib::kResizeExact), out));
        const std::vector<int> greys = Greys(out);
        ASSERT_EQ(c.expected.size(), greys.size());
        for (size_t i = 0; i < greys.size(); ++i)
            EXPECT_NEAR(c.expected[i], greys[i], 1) << i;
    }
}

TEST(RasterResize, CheckerboardShrinksToGrey)
{
    const Picture checker = Checker(100, 100, 1, Pixel{0, 0, 0, 255}, Pixel{255, 255, 255, 255});
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(Resize(checker, 10, 10, rasterlib::kResizeExact), out));
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 10; ++x)
            EXPECT_LE(MaxDifference(out.At(x, y), Pixel{128, 128, 128, 255}), 1);
}

TEST(RasterResize, FitModeKeepsTheProportions)
{
    const Picture source = Gradient(400, 300);
    const struct {
        int32_t width, height, mode;
        uint32_t outWidth, outHeight;
    } cases[] = {
        {128, 128, rasterlib::kResizeFit, 128, 96},  {0, 60, rasterlib::kResizeFit, 80, 60},
        {100, 0, rasterlib::kResizeFit, 100, 75},    {800, 800, rasterlib::kResizeFit, 800, 600},
        {128, 128, rasterlib::kResizeExact, 128, 128}, {3, 500, rasterlib::kResizeExact, 3, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " mode " + std::to_string(c.mode));
        Picture out;
        ASSERT_TRUE(Picture::FromRecord(Resize(source, c.width, c.height, c.mode), out));
        EXPECT_EQ(c.outWidth, out.Width());
        EXPECT_EQ(c.outHeight, out.Height());
    }
}

TEST(RasterResize, GradientStaysSmooth)
{
    const Picture source = Gradient(300, 200);
    for (int32_t width : {97, 150, 600}) {
        SCOPED_TRACE(width);
        Picture out;
        ASSERT_TRUE(Picture::FromRecord(Resize(source, width, 0, rasterlib::kResizeFit), out));
        int worst = 0;
        for (uint32_t y = 0; y < out.Height(); ++y)
            for (uint32_t x = 0; x < out.Width(); ++x) {
                const double sx = (x + 0.5) * 300 / out.Width() - 0.5;
                const double sy = (y + 0.5) * 200 / out.Height() - 0.5;
                // Inside the image the linear gradient is reproduced; the outermost
                // growing rows repeat the edge.
                if (sx < 0 || sy < 0 || sx > 299 || sy > 199)
                    continue;
                worst = std::max(worst, MaxDifference(out.At(x, y), GradientAt(sx, sy, 300, 200)));
            }
        EXPECT_LE(worst, 2);
    }
}

TEST(RasterResize, ClearPixelsDoNotBleedTheirColour)
{
    // Opaque blue next to clear red: the blend is half-transparent blue.
    Picture source(2, 1);
    source.Set(0, 0, Pixel{255, 0, 0, 255});
    source.Set(1, 0, Pixel{0, 0, 255, 0});
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(Resize(source, 1, 1, rasterlib::kResizeExact), out));
    const Pixel p = out.At(0, 0);
    EXPECT_NEAR(255, p.b, 1);
    EXPECT_EQ(0, p.r);
    EXPECT_NEAR(128, p.a, 1);
}

TEST(RasterResize, PaddingAlphaIsKeptAsIs)
{
    // A grey copy made by the program has 0 in every fourth byte.
    Picture grey(4, 4, Pixel{90, 90, 90, 0});
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(Resize(grey, 2, 2, rasterlib::kResizeExact), out));
    EXPECT_EQ(0, MaxDifference(out.At(1, 1), Pixel{90, 90, 90, 0}));
}

TEST(RasterResize, WideStrideIsHonoured)
{
    // Rows 40 bytes apart for a 4-pixel width; the padding must not show.
    const uint32_t stride = 40;
    std::vector<uint8_t> pixels(stride * 4, 0xEE);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x) {
            const Pixel p{50, 100, 150, 255};
            std::memcpy(&pixels[y * stride + x * 4], &p, 4);
        }
    const auto& lib = Lib();
    const int32_t size = lib.resize(pixels.data(), 4, 4, int32_t(stride), nullptr, 2, 2, 0, rasterlib::kResizeExact);
    ASSERT_EQ(12 + 2 * 2 * 4, size);
    std::vector<uint8_t> record(size_t(size), 0);
    ASSERT_EQ(size,
              lib.resize(pixels.data(), 4, 4, int32_t(stride), record.data(), 2, 2, size, rasterlib::kResizeExact));
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(record, out));
    EXPECT_EQ(0, MaxDifference(out.At(0, 0), Pixel{50, 100, 150, 255}));
    EXPECT_EQ(0, MaxDifference(out.At(1, 1), Pixel{50, 100, 150, 255}));
}

TEST(RasterResize, BadSizesAndShortBuffersFailCleanly)
{
    const Picture source = Gradient(8, 8);
    const auto& lib = Lib();
    const uint8_t* px = source.Data();
    const struct {
        const char* what;
        int32_t width, height, stride, newWidth, newHeight, mode;
    } refused[] = {
        {"zero width", 0, 8, 32, 4, 4, 0},
        {"negative height", 8, -8, 32, 4, 4, 0},
        {"stride below width * 4", 8, 8, 31, 4, 4, 0},
        {"zero target in exact mode", 8, 8, 32, 0, 4, 0},
        {"both targets 0 in fit mode", 8, 8, 32, 0, 0, 1},
        {"negative target", 8, 8, 32, -4, 4, 0},
        {"unknown mode", 8, 8, 32, 4, 4, 7},
        {"absurd target", 8, 8, 32, 100000, 100000, 0},
        {"absurd source", 0x40000000, 0x40000000, 0x7FFFFFFF, 4, 4, 0},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(0, lib.resize(px, c.width, c.height, c.stride, nullptr, c.newWidth, c.newHeight, 0, c.mode));
    }
    EXPECT_EQ(0, lib.resize(nullptr, 8, 8, 32, nullptr, 4, 4, 0, 0));

    // A fill call with a buffer smaller than the record writes nothing and answers the
    // size it needs.
    const int32_t needed = lib.resize(px, 8, 8, 32, nullptr, 4, 4, 0, 0);
    ASSERT_EQ(12 + 4 * 4 * 4, needed);
    std::vector<uint8_t> small(size_t(needed - 1), 0xAB);
    EXPECT_EQ(needed, lib.resize(px, 8, 8, 32, small.data(), 4, 4, int32_t(small.size()), 0));
    for (uint8_t b : small)
        ASSERT_EQ(0xAB, b);
}
