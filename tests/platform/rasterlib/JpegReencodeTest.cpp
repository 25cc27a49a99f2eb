// A JPEG encoded anew upright and turned (EncodeTurnedJpegW): for every
// layout, size, recorded orientation and added quarter turn the written file
// decodes (through WIC) to the source's picture with its samples where the
// orientation and the turn put them; streams the path does not take leave no
// file behind.
#include "RasterTestSupport.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace rastertest;

namespace {

// Smooth, and different along each side and each direction, so that every
// wrong turn or mirror shows.
Picture Slopes(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            picture.Set(x, y, Pixel{uint8_t(x * 200 / width + 20), uint8_t(y * 220 / height + 10),
                                    uint8_t((x * 60 / width) + (y * 150 / height) + 30), 255});
    return picture;
}

// The picture a viewer shows for a stored one that records the orientation.
Picture Upright(const Picture& raw, int orientation)
{
    const uint32_t w = raw.Width(), h = raw.Height();
    const bool swap = orientation >= 5;
    Picture out(swap ? h : w, swap ? w : h);
    for (uint32_t y = 0; y < out.Height(); ++y)
        for (uint32_t x = 0; x < out.Width(); ++x) {
            uint32_t sx = x, sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x, sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y, sy = x; break;
            case 6: sx = y, sy = h - 1 - x; break;
            case 7: sx = w - 1 - y, sy = h - 1 - x; break;
            case 8: sx = w - 1 - y, sy = x; break;
            default: break;
            }
            out.Set(x, y, raw.At(sx, sy));
        }
    return out;
}

Picture TurnedClockwise(Picture picture, int degrees)
{
    for (int quarters = degrees / 90 % 4; quarters > 0; --quarters)
        picture = Upright(picture, 6);
    return picture;
}

double MeanDifference(const Picture& a, const Picture& b)
{
    uint64_t sum = 0;
    for (uint32_t y = 0; y < a.Height(); ++y)
        for (uint32_t x = 0; x < a.Width(); ++x) {
            const Pixel p = a.At(x, y), q = b.At(x, y);
            sum += uint64_t(std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b));
        }
    return double(sum) / (3.0 * a.Width() * a.Height());
}

// The library's file for the bytes; empty when it writes none (and then no file is there).
std::vector<uint8_t> EncodeTurned(const std::vector<uint8_t>& bytes, int rotation)
{
    const std::string source = TempPath("reencode-source.jpg"), target = TempPath("reencode-target.jpg");
    WriteBytes(source, bytes);
    ::DeleteFileA(target.c_str());
    const std::wstring wideSource(source.begin(), source.end()), wideTarget(target.begin(), target.end());
    if (Lib().encodeTurned(wideSource.c_str(), wideTarget.c_str(), rotation, 0) != 1) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(target.c_str())) << "a refused stream leaves no file";
        return {};
    }
    return ReadBytes(target);
}

std::vector<uint8_t> Recorded(const std::vector<uint8_t>& jpeg, int orientation)
{
    const std::string bytes = testpictures::WithSegment(std::string(jpeg.begin(), jpeg.end()),
                                                        testpictures::ExifSegment(uint16_t(orientation), false));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

TEST(RasterJpegReencode, EveryOrientationAndTurnLandsWhereAViewerShowsIt)
{
    ASSERT_TRUE(Lib().IsComplete());
    const struct {
        const char* name;
        JpegLayout layout;
    } layouts[] = {
        {"4:2:0", {2, 2, false, 0, false, true, true}},
        {"4:2:2 restarts", {2, 1, false, 3, false, true, true}},
        {"4:1:1", {4, 1, false, 0, false, true, true}},
        {"4:4:4", {1, 1, false, 0, false, true, true}},
        {"grey", {1, 1, true, 0, false, true, true}},
    };
    // Whole MCUs, and sides that end in part of one (no exact lossless turn).
    const uint32_t sizes[][2] = {{64, 48}, {200, 150}, {33, 70}};
    for (const auto& l : layouts)
        for (const auto& size : sizes) {
            const Picture scene = Slopes(size[0], size[1]);
            const std::vector<uint8_t> jpeg = EncodeLaidOutJpeg(scene, 95, l.layout);
            Picture decodedSource;
            ASSERT_TRUE(DecodeWithWic(jpeg, decodedSource));
            // A side ending in part of a colour sample, mirrored, is left to the pixel path.
            const bool partSample = !l.layout.grey && (size[0] % uint32_t(l.layout.lumaH) != 0 ||
                                                       size[1] % uint32_t(l.layout.lumaV) != 0);
            int refused = 0;
            for (int orientation = 1; orientation <= 8; ++orientation)
                for (int rotation : {0, 90, 180, 270}) {
                    SCOPED_TRACE(std::string(l.name) + " " + std::to_string(size[0]) + "x" + std::to_string(size[1]) +
                                 " orientation " + std::to_string(orientation) + " rotation " +
                                 std::to_string(rotation));
                    const std::vector<uint8_t> written = EncodeTurned(Recorded(jpeg, orientation), rotation);
                    if (written.empty() && partSample && !(orientation == 1 && rotation == 0)) {
                        ++refused;
                        continue;
                    }
                    Picture decoded;
                    ASSERT_TRUE(DecodeWithWic(written, decoded)) << written.size() << " bytes written";
                    const Picture expected = TurnedClockwise(Upright(decodedSource, orientation), rotation);
                    ASSERT_EQ(expected.Width(), decoded.Width());
                    ASSERT_EQ(expected.Height(), decoded.Height());
                    EXPECT_LT(MeanDifference(expected, decoded), 2.5);
                    if (l.layout.grey)
                        EXPECT_EQ(0, decoded.At(3, 3).r - decoded.At(3, 3).b) << "a grey stream stays grey";
                }
            // Of the 32 ways, those that mirror the side with part of a sample: half across, half down.
            if (partSample)
                EXPECT_GE(refused, 16) << l.name << " " << size[0] << "x" << size[1];
        }
}

TEST(RasterJpegReencode, StreamsThePathDoesNotTakeLeaveNoFile)
{
    const Picture scene = Slopes(64, 48);
    const std::vector<uint8_t> jpeg = EncodeLaidOutJpeg(scene, 90, JpegLayout{});
    // Cut short: libjpeg warns, and the pixel path shows what decodes of it.
    const std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
    EXPECT_TRUE(EncodeTurned(Recorded(cut, 6), 0).empty());
    // CMYK has no planes to encode as they stand.
    const std::vector<uint8_t> inks(64 * 48 * 4, 40);
    EXPECT_TRUE(EncodeTurned(EncodeCmykJpeg(inks, 64, 48, true, false), 0).empty());
    // A turn that is no quarter, and a file that is no JPEG.
    EXPECT_TRUE(EncodeTurned(jpeg, 45).empty());
    EXPECT_TRUE(EncodeTurned(std::vector<uint8_t>(100, 7), 0).empty());
    // The whole stream is taken.
    EXPECT_FALSE(EncodeTurned(jpeg, 0).empty());
}
