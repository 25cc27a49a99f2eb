// Reduced reads at one eighth of a JPEG's size, which read only what that scale
// needs of a baseline stream: the pixels are libjpeg-turbo's, exactly, for every
// layout a camera or an editor writes; a thumbnail is the same whether the
// stream is read so or left to libjpeg-turbo (an Adobe segment leaves it); and a
// damaged stream reads as libjpeg-turbo reads it.
#include "RasterTestSupport.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace rastertest;

namespace {

// A photograph-like picture: light across the frame, edges and fine grain.
Picture Photo(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    uint32_t state = width * 31 + height;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 27) - 16;
            const int edge = ((x / 13 + y / 7) % 3) * 40;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            picture.Set(x, y, Pixel{clamp(int(x * 255 / width) + grain), clamp(edge + grain + 60),
                                    clamp(int(y * 255 / height) - grain), 255});
        }
    return picture;
}

// The reduced read of the file at exactly one eighth of its size.
bool ReadEighth(const std::vector<uint8_t>& bytes, uint32_t width, uint32_t height, Picture& read)
{
    const std::string path = TempPath("eighth.jpg");
    WriteBytes(path, bytes);
    return Picture::FromRecord(ReadFileReduced(path, int32_t(width + 7) / 8, int32_t(height + 7) / 8), read);
}

std::vector<uint8_t> Thumbnail(const std::vector<uint8_t>& bytes)
{
    const std::string path = TempPath("thumbnail.jpg");
    WriteBytes(path, bytes);
    return ReadFileReduced(path, 128, 128);
}

std::vector<uint8_t> WithSegment(const std::vector<uint8_t>& jpeg, const std::string& segment)
{
    const std::string bytes = testpictures::WithSegment(std::string(jpeg.begin(), jpeg.end()), segment);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The offset of the n-th marker of the kind (FF kind) in the bytes; 0 when none.
size_t FindMarker(const std::vector<uint8_t>& bytes, uint8_t kind, int n = 0)
{
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == kind && n-- == 0)
            return i;
    return 0;
}

}  // namespace

TEST(RasterJpegEighth, ReducedReadsGiveLibjpegTurbosPixels)
{
    const struct {
        const char* name;
        JpegLayout layout;
    } layouts[] = {
        {"4:2:0", {2, 2, false, 0, false}}, {"4:2:2", {2, 1, false, 0, false}}, {"4:4:4", {1, 1, false, 0, false}},
        {"grey", {1, 1, true, 0, false}},   {"4:2:0 restarts", {2, 2, false, 3, false}},
        {"4:2:2 restart every MCU", {2, 1, false, 1, false}}, {"grey restarts", {1, 1, true, 7, false}},
    };
    const uint32_t sizes[][2] = {{640, 480}, {264, 200}, {1000, 24}};
    for (const auto& l : layouts)
        for (const auto& size : sizes)
            for (int quality : {40, 92, 100}) {
                const std::string what =
                    std::string(l.name) + " " + std::to_string(size[0]) + "x" + std::to_string(size[1]) + " q" +
                    std::to_string(quality);
                SCOPED_TRACE(what);
                const std::vector<uint8_t> encoded = EncodeLaidOutJpeg(Photo(size[0], size[1]), quality, l.layout);
                // With fill bytes in its data too, which libjpeg-turbo's fast
                // decoding reads in a way of its own.
                for (const std::vector<uint8_t>& bytes : {encoded, WithFillBytes(encoded)}) {
                Picture read, expected;
                ASSERT_TRUE(ReadEighth(bytes, size[0], size[1], read));
                ASSERT_TRUE(DecodeJpegEighthWithTurbo(bytes, expected));
                ASSERT_EQ(expected.Width(), read.Width());
                ASSERT_EQ(expected.Height(), read.Height());
                EXPECT_EQ(0, std::memcmp(expected.Data(), read.Data(), size_t(read.Width()) * read.Height() * 4));
                }
            }
}

TEST(RasterJpegEighth, ThumbnailsAreTheSameWhicheverDecoderReadsTheStream)
{
    // 1,600 x 1,200 to 128 x 96 through one eighth; the second of each pair has an
    // Adobe segment, which leaves it to libjpeg-turbo; the last pair is recorded
    // turned.
    const Picture photo = Photo(1600, 1200);
    const struct {
        const char* name;
        JpegLayout layout;
        uint16_t orientation;
    } cases[] = {
        {"4:2:0", {2, 2, false, 0, false}, 1},
        {"4:2:2 restarts", {2, 1, false, 4, false}, 1},
        {"grey", {1, 1, true, 0, false}, 1},
        {"4:2:0 turned", {2, 2, false, 0, false}, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JpegLayout left = c.layout;
        left.adobe = true;
        std::vector<uint8_t> ours = EncodeLaidOutJpeg(photo, 90, c.layout);
        std::vector<uint8_t> theirs = EncodeLaidOutJpeg(photo, 90, left);
        if (c.orientation != 1) {
            const std::string exif = testpictures::ExifSegment(c.orientation, false);
            ours = WithSegment(ours, exif);
            theirs = WithSegment(theirs, exif);
        }
        const std::vector<uint8_t> thumbnail = Thumbnail(ours);
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(thumbnail, read));
        EXPECT_EQ(c.orientation == 1 ? 128u : 96u, read.Width());
        EXPECT_EQ(thumbnail, Thumbnail(theirs));
    }
}

TEST(RasterJpegEighth, DamagedStreamsReadAsLibjpegTurboReadsThem)
{
    JpegLayout layout{2, 2, false, 4, false};
    const Picture photo = Photo(320, 240);
    const std::vector<uint8_t> sound = EncodeLaidOutJpeg(photo, 85, layout);
    layout.adobe = true;
    const std::vector<uint8_t> soundLeft = EncodeLaidOutJpeg(photo, 85, layout);
    // The same damage to the stream read here and to the one left to libjpeg-turbo.
    const struct {
        const char* name;
        void (*damage)(std::vector<uint8_t>& bytes);
        bool fails;
    } cases[] = {
        {"cut in half", [](std::vector<uint8_t>& b) { b.resize(FindMarker(b, 0xDA) + (b.size() - FindMarker(b, 0xDA)) / 2); },
         true},
        {"no end marker", [](std::vector<uint8_t>& b) { b.resize(b.size() - 2); }, true},
        {"restart marker numbered wrong", [](std::vector<uint8_t>& b) { b[FindMarker(b, 0xD2) + 1] = 0xD5; }, false},
        {"restart marker missing",
         [](std::vector<uint8_t>& b) {
             const size_t at = FindMarker(b, 0xD3);
             b.erase(b.begin() + long(at), b.begin() + long(at) + 2);
         },
         false},
        {"bytes before a restart marker",
         [](std::vector<uint8_t>& b) { b.insert(b.begin() + long(FindMarker(b, 0xD1)), {0x12, 0x34, 0x56}); }, false},
        {"a flipped byte in the scan",
         [](std::vector<uint8_t>& b) { b[FindMarker(b, 0xD4) + 40] ^= 0x5A; }, false},
        {"a segment inside the scan",
         [](std::vector<uint8_t>& b) { b.insert(b.begin() + long(FindMarker(b, 0xD6)), {0xFF, 0xFE, 0x00, 0x04, 0x41, 0x42}); },
         false},
        {"bytes before the end marker",
         [](std::vector<uint8_t>& b) { b.insert(b.end() - 2, {0x01, 0x02, 0x03, 0x04}); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> ours = sound, theirs = soundLeft;
        c.damage(ours);
        c.damage(theirs);
        Picture read, left;
        const bool readOurs = ReadEighth(ours, 320, 240, read);
        const bool readTheirs = ReadEighth(theirs, 320, 240, left);
        EXPECT_EQ(readTheirs, readOurs);
        if (c.fails) {
            EXPECT_FALSE(readOurs);
        }
        if (readOurs && readTheirs) {
            ASSERT_EQ(left.Width(), read.Width());
            EXPECT_EQ(0, std::memcmp(left.Data(), read.Data(), size_t(read.Width()) * read.Height() * 4));
        }
    }
}
