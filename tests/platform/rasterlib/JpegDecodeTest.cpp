// JPEG reads a band of rows at a time: the pixels are TurboJPEG's own at every
// scale and kind of stream, a picture recorded turned reads as its upright
// pixels exactly, and a turned read holds no second whole picture.
#include "RasterTestSupport.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <cstring>

using namespace rastertest;

namespace {

Picture Photo(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    uint32_t state = width + height * 5;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 28) - 8;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            picture.Set(x, y, Pixel{clamp(int(x * 255 / width) + grain), clamp(int((x + y) % 200) - grain),
                                    clamp(((x / 11 + y / 7) % 3) * 80 + grain), 255});
        }
    return picture;
}

// TurboJPEG's decoding of the bytes into B, G, R, A at a size it scales to.
bool DecodeWithTurbo(const std::vector<uint8_t>& bytes, uint32_t width, uint32_t height, bool reduced,
                     Picture& picture)
{
    tjhandle tj = tjInitDecompress();
    picture = Picture(width, height);
    const int status =
        tjDecompress2(tj, bytes.data(), static_cast<unsigned long>(bytes.size()), picture.Data(), int(width),
                      int(width * 4), int(height), TJPF_BGRA, TJFLAG_LIMITSCANS | (reduced ? TJFLAG_FASTUPSAMPLE : 0));
    tjDestroy(tj);
    return status == 0;
}

// The picture as it stands upright from the orientation, as written out by hand.
Picture Upright(const Picture& stored, int orientation)
{
    const uint32_t w = stored.Width(), h = stored.Height();
    const bool swap = orientation >= 5;
    Picture out(swap ? h : w, swap ? w : h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t tx = x, ty = y;
            switch (orientation) {
            case 2: tx = w - 1 - x; break;
            case 3: tx = w - 1 - x, ty = h - 1 - y; break;
            case 4: ty = h - 1 - y; break;
            case 5: tx = y, ty = x; break;
            case 6: tx = h - 1 - y, ty = x; break;
            case 7: tx = h - 1 - y, ty = w - 1 - x; break;
            case 8: tx = y, ty = w - 1 - x; break;
            default: break;
            }
            out.Set(tx, ty, stored.At(x, y));
        }
    return out;
}

bool Same(const Picture& a, const Picture& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::memcmp(a.Data(), b.Data(), size_t(a.Width()) * a.Height() * 4) == 0;
}

std::vector<uint8_t> Recorded(const std::vector<uint8_t>& jpeg, int orientation)
{
    const std::string bytes = testpictures::WithSegment(std::string(jpeg.begin(), jpeg.end()),
                                                        testpictures::ExifSegment(uint16_t(orientation), false));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

TEST(RasterJpegDecode, ReadsGiveTurboJpegsPixelsAtEveryScale)
{
    const Picture photo = Photo(320, 240);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } kinds[] = {
        {"4:4:4", EncodeJpeg(photo, 92)},
        {"progressive", EncodeJpeg(photo, 92, true)},
        {"4:2:0 restarts", EncodeLaidOutJpeg(photo, 80, {2, 2, false, 2, false})},
        {"grey", EncodeLaidOutJpeg(photo, 80, {1, 1, true, 0, false})},
    };
    for (const auto& kind : kinds) {
        const std::string path = TempPath("scales.jpg");
        WriteBytes(path, kind.bytes);
        for (uint32_t denominator : {1u, 2u, 4u}) {
            SCOPED_TRACE(std::string(kind.name) + " at 1/" + std::to_string(denominator));
            const uint32_t width = 320 / denominator, height = 240 / denominator;
            Picture read, expected;
            ASSERT_TRUE(Picture::FromRecord(denominator == 1 ? ReadFile(path)
                                                             : ReadFileReduced(path, int32_t(width), int32_t(height)),
                                            read));
            ASSERT_TRUE(DecodeWithTurbo(kind.bytes, width, height, denominator != 1, expected));
            EXPECT_TRUE(Same(expected, read));
        }
    }
}

TEST(RasterJpegDecode, TurnedPicturesReadAsTheirUprightPixels)
{
    const Picture photo = Photo(96, 64);
    std::vector<uint8_t> inks(96 * 64 * 4);
    for (size_t i = 0; i < inks.size(); ++i)
        inks[i] = uint8_t(i * 7 % 251);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } kinds[] = {
        {"4:2:0", EncodeLaidOutJpeg(photo, 85, {2, 2, false, 0, false})},
        {"progressive", EncodeJpeg(photo, 85, true)},
        {"grey", EncodeLaidOutJpeg(photo, 85, {1, 1, true, 0, false})},
        {"CMYK", EncodeCmykJpeg(inks, 96, 64, true, false)},
    };
    for (const auto& kind : kinds) {
        const std::string plainPath = TempPath("plain.jpg");
        WriteBytes(plainPath, kind.bytes);
        Picture stored;
        ASSERT_TRUE(Picture::FromRecord(ReadFile(plainPath), stored)) << kind.name;
        for (int orientation = 2; orientation <= 8; ++orientation) {
            SCOPED_TRACE(std::string(kind.name) + " orientation " + std::to_string(orientation));
            const std::string path = TempPath("turned.jpg");
            WriteBytes(path, Recorded(kind.bytes, orientation));
            Picture read;
            ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
            EXPECT_TRUE(Same(Upright(stored, orientation), read));
        }
    }
    // Cut short, a turned picture does not read, as an upright one does not.
    const std::vector<uint8_t> turned = Recorded(kinds[0].bytes, 6);
    const std::string cut = TempPath("turned-cut.jpg");
    WriteBytes(cut, std::vector<uint8_t>(turned.begin(), turned.begin() + long(turned.size() * 2 / 3)));
    EXPECT_TRUE(ReadFile(cut).empty());
}

TEST(RasterJpegDecode, ATurnedReadHoldsNoSecondPicture)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const uint32_t width = 1600, height = 1200;
    const std::string path = TempPath("turned-large.jpg");
    WriteBytes(path, Recorded(EncodeLaidOutJpeg(Photo(width, height), 85, {2, 2, false, 0, false}), 6));
    AllocationWatch::Reset();
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
    EXPECT_EQ(height, read.Width());
    // The caller's block holds the picture; the library a band of it at most.
    EXPECT_LT(AllocationWatch::Largest(), size_t(width) * height);
}
