// Rotation: quarter turns move pixels exactly; other angles enlarge the canvas,
// interpolate, and fill the uncovered corners.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rastertest;

namespace {

// A 3 x 2 image whose pixels are numbered 1 to 6 in their blue byte:
//   1 2 3
//   4 5 6
Picture Numbered()
{
    Picture picture(3, 2);
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x)
            picture.Set(x, y, Pixel{uint8_t(1 + y * 3 + x), 0, 0, 255});
    return picture;
}

std::vector<std::vector<int>> Numbers(const Picture& picture)
{
    std::vector<std::vector<int>> rows(picture.Height());
    for (uint32_t y = 0; y < picture.Height(); ++y)
        for (uint32_t x = 0; x < picture.Width(); ++x)
            rows[y].push_back(picture.At(x, y).b);
    return rows;
}

}  // namespace

TEST(RasterRotate, QuarterTurnsAreExact)
{
    const struct {
        int32_t angle;
        std::vector<std::vector<int>> expected;
    } cases[] = {
        {0, {{1, 2, 3}, {4, 5, 6}}},
        {90, {{4, 1}, {5, 2}, {6, 3}}},
        {180, {{6, 5, 4}, {3, 2, 1}}},
        {270, {{3, 6}, {2, 5}, {1, 4}}},
        {-90, {{3, 6}, {2, 5}, {1, 4}}},
        {450, {{4, 1}, {5, 2}, {6, 3}}},
        {-360, {{1, 2, 3}, {4, 5, 6}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        Picture out;
        ASSERT_TRUE(Picture::FromRecord(Rotate(Numbered(), c.angle), out));
        EXPECT_EQ(c.expected, Numbers(out));
    }
}

TEST(RasterRotate, OddAngleEnlargesTheCanvas)
{
    const struct {
        int32_t angle;
        uint32_t width, height;
    } cases[] = {
        {45, 107, 107},  // 100 x 50: (100 + 50) * cos 45 = 106.07
        {30, 112, 94},   // 100 cos 30 + 50 sin 30 = 111.6; 100 sin 30 + 50 cos 30 = 93.3
        {-30, 112, 94},
        {1, 101, 52},
    };
    const Picture source(100, 50, Pixel{10, 200, 30, 255});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        Picture out;
        ASSERT_TRUE(Picture::FromRecord(Rotate(source, c.angle), out));
        EXPECT_EQ(c.width, out.Width());
        EXPECT_EQ(c.height, out.Height());
        // The middle is the image, the corner the clear background.
        EXPECT_EQ(0, MaxDifference(out.At(out.Width() / 2, out.Height() / 2), Pixel{10, 200, 30, 255}));
        if (c.angle != 1) {
            EXPECT_EQ(0, MaxDifference(out.At(0, 0), Pixel{0, 0, 0, 0}));
        }
    }
}

TEST(RasterRotate, OddAngleMovesPixelsClockwise)
{
    // A gradient turned by 30 degrees: each output pixel shows the source point that
    // turns onto it.
    const uint32_t w = 120, h = 80;
    const Picture source = Gradient(w, h);
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(Rotate(source, 30), out));
    const double theta = 30 * 3.14159265358979 / 180;
    int checked = 0, worst = 0;
    for (uint32_t y = 0; y < out.Height(); y += 7)
        for (uint32_t x = 0; x < out.Width(); x += 7) {
            const double dx = x + 0.5 - out.Width() / 2.0, dy = y + 0.5 - out.Height() / 2.0;
            const double sx = dx * std::cos(theta) + dy * std::sin(theta) + w / 2.0 - 0.5;
            const double sy = -dx * std::sin(theta) + dy * std::cos(theta) + h / 2.0 - 0.5;
            if (sx < 1 || sy < 1 || sx > w - 2 || sy > h - 2)
                continue;
            worst = std::max(worst, MaxDifference(out.At(x, y), GradientAt(sx, sy, w, h)));
            ++checked;
        }
    EXPECT_GT(checked, 100);
    EXPECT_LE(worst, 2);

    // Clockwise on screen, the left end of a wide image turns to point up and left.
    Picture marked(60, 20, Pixel{0, 0, 0, 255});
    for (uint32_t y = 0; y < 20; ++y)
        for (uint32_t x = 0; x < 10; ++x)
            marked.Set(x, y, Pixel{0, 0, 255, 255});  // red left end
    ASSERT_TRUE(Picture::FromRecord(Rotate(marked, 60), out));
    uint32_t redRows = 0;
    for (uint32_t y = 0; y < out.Height() / 3; ++y)
        for (uint32_t x = 0; x < out.Width(); ++x)
            redRows += out.At(x, y).r > 200 && out.At(x, y).a == 255;
    EXPECT_GT(redRows, 20u);
}

TEST(RasterRotate, BackgroundValueFillsTheCorners)
{
    const Picture source(40, 40, Pixel{0, 0, 0, 255});
    Picture out;
    ASSERT_TRUE(Picture::FromRecord(Rotate(source, 45, 0xFFFFFFFFu), out));
    EXPECT_EQ(0, MaxDifference(out.At(0, 0), Pixel{255, 255, 255, 255}));
    // A grey copy (fourth bytes 0) is turned without premultiplying.
    const Picture grey(40, 40, Pixel{100, 100, 100, 0});
    ASSERT_TRUE(Picture::FromRecord(Rotate(grey, 20), out));
    EXPECT_EQ(0, MaxDifference(out.At(out.Width() / 2, out.Height() / 2), Pixel{100, 100, 100, 0}));
}

TEST(RasterRotate, BadSizesAndShortBuffersFailCleanly)
{
    const Picture source = Gradient(10, 6);
    const auto& lib = Lib();
    EXPECT_EQ(0, lib.rotate(source.Data(), 0, 6, nullptr, 0, 0, 90));
    EXPECT_EQ(0, lib.rotate(source.Data(), 10, -6, nullptr, 0, 0, 90));
    EXPECT_EQ(0, lib.rotate(nullptr, 10, 6, nullptr, 0, 0, 90));
    EXPECT_EQ(0, lib.rotate(source.Data(), 0x20000000, 0x20000000, nullptr, 0, 0, 45));
    EXPECT_EQ(0, lib.rotate(source.Data(), 200000, 200000, nullptr, 0, 0, 90));

    const int32_t needed = lib.rotate(source.Data(), 10, 6, nullptr, 0, 0, 90);
    ASSERT_EQ(12 + 10 * 6 * 4, needed);
    std::vector<uint8_t> small(size_t(needed) - 4, 0xCD);
    EXPECT_EQ(needed, lib.rotate(source.Data(), 10, 6, small.data(), int32_t(small.size()), 0, 90));
    for (uint8_t b : small)
        ASSERT_EQ(0xCD, b);
}
