#include "framework/KWAlphaComposite.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"

#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace rastertest;

namespace {

std::vector<uint8_t> Block(uint32_t width, uint32_t height, uint32_t stride, size_t size)
{
    std::vector<uint8_t> block(size < 12 ? 12 : size, 0);
    Put32(block, 0, width);
    Put32(block, 4, height);
    Put32(block, 8, stride);
    return block;
}

}  // namespace

TEST(KWRasterImage, RecordBytesDoNotWrapAndOversizedRecordsAreRefused)
{
    EXPECT_EQ(12u + 2 * 8, KWRasterImageBytes(2, 8));
    // 0x10000 rows of 0x10000 bytes wrap to 12 in 32 bits.
    EXPECT_EQ(12ull + 0x100000000ull, KWRasterImageBytes(0x10000, 0x10000));
    EXPECT_EQ(12ull + 0xFFFFFFFFull * 0xFFFFFFFFull, KWRasterImageBytes(0xFFFFFFFF, 0xFFFFFFFF));
    EXPECT_EQ(nullptr, KWAllocRasterImage(0x10000, 0x10000, 0x40000));
    KWRasterImagePtr small(KWAllocRasterImage(3, 2, 12));
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(12u, small->stride);
    KWRasterImagePtr image = MakeImage(5, 4, 24);
    KWRasterImagePtr copy(KWCopyRasterImage(image.get()));
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(image.get(), copy.get());
    EXPECT_TRUE(SameImage(image.get(), copy.get())) << "a copy is whole and separate";
    EXPECT_EQ(nullptr, KWCopyRasterImage(nullptr));
}

TEST(KWRasterImage, BlockValidity)
{
    struct Case {
        uint32_t width, height, stride;
        size_t blockSize;
        bool valid;
    } cases[] = {
        {2, 3, 8, 12 + 24, true},
        {2, 3, 8, 12 + 24 + 5, true},        // a larger block is fine
        {2, 3, 8, 12 + 23, false},           // one byte short
        {2, 3, 7, 12 + 21, false},           // rows narrower than the pixels
        {0, 0, 0, 12, true},                 // an empty image
        {1, 0x10000, 0x10000, 12, false},    // wraps to 12 in 32 bits
        {1, 0xFFFFFFFF, 4, 64, false},
        {1, 1, 4, 11, false},                // not even a header
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = Block(c.width, c.height, c.stride, c.blockSize);
        EXPECT_EQ(c.valid, KWIsRasterBlockValid(block.data(), c.blockSize))
            << c.width << "x" << c.height << " stride " << c.stride << " in " << c.blockSize;
    }
    EXPECT_FALSE(KWIsRasterBlockValid(nullptr, 100));
    std::vector<uint8_t> block = Block(1, 1, 4, 16);
    EXPECT_FALSE(KWIsRasterBlockValid(block.data(), KW_RASTER_MAX_BLOCK + 1));
}

TEST(KWRasterImage, GrayConversion)
{
    struct Case {
        uint8_t in[4];
        uint8_t out[4];
    } cases[] = {
        {{10, 20, 31, 255}, {20, 20, 20, 255}},
        {{0, 0, 0, 0}, {0, 0, 0, 0}},
        {{255, 255, 255, 255}, {255, 255, 255, 255}},
        {{255, 255, 254, 9}, {254, 254, 254, 9}},
        {{1, 1, 0, 1}, {0, 0, 0, 1}},
        // A clear pixel keeps its fourth byte whatever colour it hides: the
        // grey picture shows what lies under it, as the colour one does.
        {{0, 255, 0, 0}, {85, 85, 85, 0}},
        {{200, 100, 0, 128}, {100, 100, 100, 128}},
    };
    for (const Case& c : cases) {
        KWRasterImagePtr image(KWAllocRasterImage(1, 1, 4));
        std::memcpy(image->Pixels(), c.in, 4);
        KWRasterImagePtr gray(CKWRasterLib::RasterToGray(image.get()));
        ASSERT_NE(nullptr, gray);
        EXPECT_EQ(0, std::memcmp(c.out, gray->Pixels(), 4))
            << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2]);
    }
}

TEST(KWRasterImage, GrayConversionWalksTheWholeStride)
{
    // Two pixels wide, but the rows hold three whole pixels and two more bytes.
    KWRasterImagePtr image(KWAllocRasterImage(2, 2, 14));
    for (uint32_t i = 0; i < 28; ++i)
        image->Pixels()[i] = uint8_t(3 * i);
    KWRasterImagePtr gray(CKWRasterLib::RasterToGray(image.get()));
    ASSERT_NE(nullptr, gray);
    EXPECT_EQ(2u, gray->width);
    EXPECT_EQ(2u, gray->height);
    EXPECT_EQ(14u, gray->stride);
    for (uint32_t y = 0; y < 2; ++y) {
        const uint8_t* in = image->Pixels() + y * 14;
        const uint8_t* out = gray->Pixels() + y * 14;
        for (uint32_t x = 0; x < 3; ++x) {
            uint8_t v = uint8_t((in[4 * x] + in[4 * x + 1] + in[4 * x + 2]) / 3);
            EXPECT_EQ(v, out[4 * x]);
            EXPECT_EQ(v, out[4 * x + 2]);
            EXPECT_EQ(in[4 * x + 3], out[4 * x + 3]);
        }
        EXPECT_EQ(in[12], out[12]);
        EXPECT_EQ(in[13], out[13]);
    }
    EXPECT_EQ(nullptr, CKWRasterLib::RasterToGray(nullptr));
}

TEST(KWRasterImage, BitmapDecoderReadsTheTestPattern)
{
    std::vector<uint8_t> file = MakeBitmapFile(5, 3);  // rows padded to 16 bytes
    KWRasterImagePtr image(KWDecodeBitmapFile(file.data(), file.size()));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(5u, image->width);
    EXPECT_EQ(3u, image->height);
    EXPECT_EQ(20u, image->stride);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            uint8_t bgr[3];
            PatternPixel(x, y, bgr);
            EXPECT_EQ(0, std::memcmp(bgr, image->Pixels() + y * 20 + x * 4, 3)) << x << "," << y;
        }
    }
}

TEST(KWRasterImage, BitmapDecoderRefusesBrokenFiles)
{
    std::vector<uint8_t> good = MakeBitmapFile(4, 4);
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(nullptr, 0));
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(good.data(), 0));
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(good.data(), 30));               // inside the headers
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(good.data(), good.size() - 1));  // one pixel byte short

    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[0] = 'X';
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(wrongMagic.data(), wrongMagic.size()));

    std::vector<uint8_t> huge = good;
    Put32(huge, 18, 0x7FFFFFFF);  // width
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(huge.data(), huge.size()));

    std::vector<uint8_t> offset = good;
    Put32(offset, 10, 0xFFFFFFF0);  // pixels far beyond the end
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(offset.data(), offset.size()));

    std::vector<uint8_t> palette = good;
    Put16(palette, 28, 8);           // 8 bits: a 256-entry palette that is not there
    Put32(palette, 10, 54);
    EXPECT_EQ(nullptr, KWDecodeBitmapFile(palette.data(), palette.size()));
}

// The same pictures blended in place (as a page shows them): the same pixels
// as the copy, the padding beyond each row untouched.
TEST(KWAlphaComposite, TransparentPicturesBlendOverTheBackgroundOthersCopyUnchanged)
{
    // Two pixels (B, G, R, A each) copied at (1, 0) of a 4-pixel row over a grey background.
    const uint32_t grey = RGB(100, 100, 100);
    const struct {
        const char* what;
        uint8_t pixels[8];
        bool transparent;
        uint8_t shown[8];
    } cases[] = {
        {"opaque", {10, 20, 30, 255, 40, 50, 60, 255}, false, {10, 20, 30, 255, 40, 50, 60, 255}},
        {"fourth bytes all 0 only pad", {10, 20, 30, 0, 40, 50, 60, 0}, false, {10, 20, 30, 0, 40, 50, 60, 0}},
        {"clear beside opaque", {10, 20, 30, 0, 40, 50, 60, 255}, true, {100, 100, 100, 255, 40, 50, 60, 255}},
        {"half", {200, 0, 100, 128, 0, 0, 0, 255}, true, {150, 50, 100, 255, 0, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        KWRasterImagePtr image(KWAllocRasterImage(2, 1, 12));
        std::memcpy(image->Pixels(), c.pixels, 8);
        std::memset(image->Pixels() + 8, 0xEE, 4);
        EXPECT_EQ(c.transparent, KWHasTransparency(*image)) << c.what;
        std::vector<uint8_t> row(16, 0x77);
        KWCopyRowsOver(*image, row.data(), 4, 1, 0, grey);
        EXPECT_EQ(std::vector<uint8_t>(4, 0x77), std::vector<uint8_t>(row.begin(), row.begin() + 4)) << c.what;
        EXPECT_EQ(std::vector<uint8_t>(c.shown, c.shown + 8), std::vector<uint8_t>(row.begin() + 4, row.begin() + 12))
            << c.what;
        EXPECT_EQ(std::vector<uint8_t>(4, 0x77), std::vector<uint8_t>(row.begin() + 12, row.end())) << c.what;

        EXPECT_EQ(c.transparent, KWBlendOver(*image, grey)) << c.what;
        EXPECT_EQ(std::vector<uint8_t>(c.shown, c.shown + 8), std::vector<uint8_t>(image->Pixels(), image->Pixels() + 8))
            << c.what;
        EXPECT_EQ(std::vector<uint8_t>(4, 0xEE), std::vector<uint8_t>(image->Pixels() + 8, image->Pixels() + 12))
            << c.what;
    }
}
