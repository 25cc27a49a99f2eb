// Pictures that record an orientation (EXIF in JPEG, tag 274 in TIFF) read
// upright: every read, full or reduced, and the size from the header; the
// reads by UTF-16 path take names outside the code page.
#include "RasterTestSupport.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

using namespace rastertest;

namespace {

enum Colour { R, G, B, W };
const Pixel kColours[] = {{0, 0, 230, 255}, {0, 230, 0, 255}, {230, 0, 0, 255}, {240, 240, 240, 255}};

// 32 x 16 in four quadrants: red, green above blue, white.
Picture Quadrants()
{
    Picture picture(32, 16);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 32; ++x)
            picture.Set(x, y, kColours[(y >= 8) * 2 + (x >= 16)]);
    return picture;
}

std::string Bytes(const std::vector<uint8_t>& v)
{
    return std::string(v.begin(), v.end());
}

std::vector<uint8_t> Vector(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// Where the quadrants end up when the picture stands upright.
struct OrientationCase {
    uint16_t orientation;
    Colour topLeft, topRight, bottomLeft, bottomRight;
};
const OrientationCase kCases[] = {
    {1, R, G, B, W}, {2, G, R, W, B}, {3, W, B, G, R}, {4, B, W, R, G},
    {5, R, B, G, W}, {6, B, R, W, G}, {7, W, G, B, R}, {8, G, W, R, B},
};

void ExpectUpright(const std::vector<uint8_t>& record, const OrientationCase& c, const std::string& what)
{
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(record, read)) << what;
    const bool turned = c.orientation >= 5;
    ASSERT_EQ(turned ? 16u : 32u, read.Width()) << what;
    ASSERT_EQ(turned ? 32u : 16u, read.Height()) << what;
    const uint32_t w = read.Width(), h = read.Height();
    EXPECT_LT(MaxDifference(read.At(w / 4, h / 4), kColours[c.topLeft], false), 40) << what;
    EXPECT_LT(MaxDifference(read.At(3 * w / 4, h / 4), kColours[c.topRight], false), 40) << what;
    EXPECT_LT(MaxDifference(read.At(w / 4, 3 * h / 4), kColours[c.bottomLeft], false), 40) << what;
    EXPECT_LT(MaxDifference(read.At(3 * w / 4, 3 * h / 4), kColours[c.bottomRight], false), 40) << what;
}

std::string QuadrantsRgb()
{
    const Picture picture = Quadrants();
    std::string rgb;
    for (uint32_t y = 0; y < 16; ++y) {
        for (uint32_t x = 0; x < 32; ++x) {
            const Pixel p = picture.At(x, y);
            rgb += char(p.r);
            rgb += char(p.g);
            rgb += char(p.b);
        }
    }
    return rgb;
}

}  // namespace

TEST(RasterOrientation, JpegAndTiffReadUpright)
{
    const std::string jpeg = Bytes(EncodeJpeg(Quadrants(), 98));
    for (const OrientationCase& c : kCases) {
        for (bool bigEndian : {false, true}) {
            const std::string what = "jpeg orientation " + std::to_string(c.orientation) + (bigEndian ? " MM" : " II");
            const std::string path = TempPath("turned.jpg");
            WriteBytes(path, Vector(testpictures::WithSegment(jpeg, testpictures::ExifSegment(c.orientation, bigEndian))));
            ExpectUpright(ReadFile(path), c, what);
            int32_t width = 0, height = 0;
            EXPECT_EQ(1, Lib().readSize(path.c_str(), &width, &height));
            EXPECT_EQ(c.orientation >= 5 ? 16 : 32, width) << what;
            // Reduced to half: the box is the upright one.
            std::vector<uint8_t> reduced = ReadFileReduced(path, c.orientation >= 5 ? 8 : 16, 0);
            Picture small;
            ASSERT_TRUE(Picture::FromRecord(reduced, small)) << what;
            EXPECT_EQ(c.orientation >= 5 ? 8u : 16u, small.Width()) << what;
            EXPECT_EQ(c.orientation >= 5 ? 16u : 8u, small.Height()) << what;
        }
        const std::string what = "tiff orientation " + std::to_string(c.orientation);
        const std::string tiff = TempPath("turned.tif");
        WriteBytes(tiff, Vector(testpictures::TiffFile(32, 16, QuadrantsRgb(), c.orientation, c.orientation % 2 == 0)));
        ExpectUpright(ReadFile(tiff), c, what);
    }
}

TEST(RasterOrientation, WideReadsTakeNamesOutsideTheCodePage)
{
    const auto readW = Lib().readW;
    const auto infoW = Lib().infoW;
    ASSERT_TRUE(readW && infoW && Lib().saveW);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"\u7167\u7247 ot_rasterlib.png";
    const Picture picture = Quadrants();
    ASSERT_TRUE(Lib().saveW(path.c_str(), 32, 16, 128, rasterlib::kPixelLayoutBgra, 0, "png", picture.Data()));
    RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
    ASSERT_EQ(1, infoW(path.c_str(), &info));
    EXPECT_EQ(32, info.width);
    EXPECT_EQ(16, info.height);
    EXPECT_EQ(1, info.orientation);
    EXPECT_STREQ("png", info.format);
    int32_t size = readW(path.c_str(), nullptr, 0);
    std::vector<uint8_t> record(size_t(size > 0 ? size : 0));
    ASSERT_EQ(size, readW(path.c_str(), record.data(), size));
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(record, read));
    EXPECT_EQ(0, MaxDifference(read, picture));
    ::DeleteFileW(path.c_str());
    // A record too small for the answer is refused.
    RasterImageInfo small = {sizeof small - 1, 0, 0, 0, {}};
    EXPECT_EQ(0, infoW(path.c_str(), &small));
}
