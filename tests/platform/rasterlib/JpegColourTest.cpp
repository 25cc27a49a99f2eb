// JPEG colour spaces: CMYK stored plainly or inverted under an Adobe segment, YCCK,
// and greyscale all decode to the colours they stand for.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

using namespace rastertest;

namespace {

struct InkPatch {
    uint8_t c, m, y, k;
    Pixel expected;  // the colour on white paper
};

// Four flat patches side by side (each 32 pixels wide) so that compression leaves
// their centres exact within a few levels.
const InkPatch kPatches[] = {
    {255, 0, 0, 0, Pixel{255, 255, 0, 255}},        // cyan
    {0, 255, 0, 0, Pixel{255, 0, 255, 255}},        // magenta
    {0, 0, 255, 0, Pixel{0, 255, 255, 255}},        // yellow
    {0, 0, 0, 128, Pixel{127, 127, 127, 255}},      // half black
    {0, 0, 0, 0, Pixel{255, 255, 255, 255}},        // paper
    {128, 0, 128, 0, Pixel{127, 255, 127, 255}},    // half cyan and yellow: green
};
constexpr uint32_t kPatchWidth = 32;
constexpr uint32_t kHeight = 32;

std::vector<uint8_t> PatchInks()
{
    const uint32_t width = kPatchWidth * (sizeof kPatches / sizeof kPatches[0]);
    std::vector<uint8_t> inks(size_t(width) * kHeight * 4);
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const InkPatch& p = kPatches[x / kPatchWidth];
            uint8_t* out = &inks[(size_t(y) * width + x) * 4];
            out[0] = p.c;
            out[1] = p.m;
            out[2] = p.y;
            out[3] = p.k;
        }
    return inks;
}

void ExpectPatches(const Picture& read, uint32_t patchWidth, int tolerance)
{
    for (size_t i = 0; i < sizeof kPatches / sizeof kPatches[0]; ++i) {
        SCOPED_TRACE(i);
        const Pixel got = read.At(uint32_t(i * patchWidth + patchWidth / 2), read.Height() / 2);
        EXPECT_LE(MaxDifference(got, kPatches[i].expected), tolerance)
            << int(got.r) << "," << int(got.g) << "," << int(got.b) << "," << int(got.a);
    }
}

}  // namespace

TEST(RasterJpegColour, CmykVariantsDecodeToTheirColours)
{
    const uint32_t width = kPatchWidth * (sizeof kPatches / sizeof kPatches[0]);
    const struct {
        const char* what;
        bool adobeInverted;
        bool ycck;
    } cases[] = {
        {"Adobe inverted CMYK", true, false},
        {"plain CMYK", false, false},
        {"Adobe YCCK", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> bytes = EncodeCmykJpeg(PatchInks(), width, kHeight, c.adobeInverted, c.ycck);
        ASSERT_FALSE(bytes.empty());
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(bytes, "jpg"), read));
        ASSERT_EQ(width, read.Width());
        ExpectPatches(read, kPatchWidth, 6);

        // The same colours when the file is read reduced in the DCT domain.
        const std::string path = TempPath("cmyk.jpg");
        WriteBytes(path, bytes);
        Picture half;
        ASSERT_TRUE(Picture::FromRecord(ReadFileReduced(path, int32_t(width / 2), 0), half));
        ASSERT_EQ(width / 2, half.Width());
        ExpectPatches(half, kPatchWidth / 2, 6);
    }
}

TEST(RasterJpegColour, GreyscaleDecodesToEqualChannels)
{
    const uint32_t width = 64, height = 16;
    std::vector<uint8_t> grey(width * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            grey[y * width + x] = uint8_t((x / 16) * 80);  // four flat steps: 0, 80, 160, 240
    const std::vector<uint8_t> bytes = EncodeGreyJpeg(grey, width, height, 95);
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadMemory(bytes, "jpg"), read));
    ASSERT_EQ(width, read.Width());
    ASSERT_EQ(height, read.Height());
    for (uint32_t step = 0; step < 4; ++step) {
        const Pixel p = read.At(step * 16 + 8, 8);
        EXPECT_EQ(p.b, p.g);
        EXPECT_EQ(p.g, p.r);
        EXPECT_NEAR(int(step * 80), int(p.r), 3);
        EXPECT_EQ(255, p.a);
    }
    uint8_t type = 0;
    EXPECT_EQ(1, Lib().readType(bytes.data(), int32_t(bytes.size()), "JPEG", &type));
    EXPECT_EQ(1, type);
}
