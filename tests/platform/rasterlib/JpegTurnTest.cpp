// A JPEG recorded turned or mirrored, written upright by moving its coded blocks:
// byte for byte what libjpeg-turbo's lossless turn writes (`jpegtran -copy none
// -perfect`) for every layout, size, restart interval, JFIF segment and table
// precision, nothing where no exact turn exists, and about the file's size held
// rather than every coefficient.
#include "RasterTestSupport.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rastertest;

namespace {

Picture Scene(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    uint32_t state = width * 7 + height * 13;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 28) - 8;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            picture.Set(x, y, Pixel{clamp(int((x * 3 + y) % 256) + grain), clamp(int(y * 255 / height) - grain),
                                    clamp(((x / 9 + y / 5) % 4) * 60 + grain), 255});
        }
    return picture;
}

std::vector<uint8_t> Recorded(const std::vector<uint8_t>& jpeg, int orientation)
{
    const std::string bytes = testpictures::WithSegment(std::string(jpeg.begin(), jpeg.end()),
                                                        testpictures::ExifSegment(uint16_t(orientation), false));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The library's turn of the bytes; empty when it writes nothing.
std::vector<uint8_t> TurnWithLibrary(const std::vector<uint8_t>& bytes)
{
    const std::string source = TempPath("turn-source.jpg"), target = TempPath("turn-target.jpg");
    WriteBytes(source, bytes);
    ::DeleteFileA(target.c_str());
    const std::wstring wideSource(source.begin(), source.end()), wideTarget(target.begin(), target.end());
    if (Lib().writeUpright(wideSource.c_str(), wideTarget.c_str()) != 1)
        return {};
    return ReadBytes(target);
}

}  // namespace

TEST(RasterJpegTurn, TurnsAreLibjpegTurbosByteForByte)
{
    const struct {
        const char* name;
        JpegLayout layout;
        bool fill;  // fill bytes before the scan's stuffed bytes and restart markers
    } layouts[] = {
        {"4:2:0", {2, 2, false, 0, false, true, true}, false},
        {"4:2:2 restarts", {2, 1, false, 3, false, true, true}, false},
        {"4:4:4 no JFIF", {1, 1, false, 0, false, false, true}, false},
        {"grey restarts", {1, 1, true, 5, false, true, true}, false},
        {"grey sampled 2 x 2", {2, 2, true, 0, false, true, true}, false},
        {"grey sampled 2 x 1, restarts", {2, 1, true, 4, false, true, true}, false},
        {"4:2:0 16-bit tables", {2, 2, false, 1, false, false, false}, false},
        {"4:2:0 fill bytes", {2, 2, false, 0, false, true, true}, true},
        {"grey fill bytes", {1, 1, true, 0, false, true, true}, true},
        {"4:2:2 restarts, fill bytes", {2, 1, false, 3, false, true, true}, true},
    };
    // Sides of whole MCUs, and sides that end in part of one.
    const uint32_t sizes[][2] = {{64, 48}, {56, 40}, {200, 152}, {33, 70}};
    int turned = 0, inexact = 0;
    for (const auto& l : layouts)
        for (const auto& size : sizes) {
            // Quality 5 without baseline tables makes values over 255.
            const std::vector<uint8_t> encoded =
                EncodeLaidOutJpeg(Scene(size[0], size[1]), l.layout.baseline ? 88 : 5, l.layout);
            const std::vector<uint8_t> jpeg = l.fill ? WithFillBytes(encoded) : encoded;
            if (l.fill)
                ASSERT_GT(jpeg.size(), encoded.size()) << l.name;
            for (int orientation = 2; orientation <= 8; ++orientation) {
                SCOPED_TRACE(std::string(l.name) + " " + std::to_string(size[0]) + "x" + std::to_string(size[1]) +
                             " orientation " + std::to_string(orientation));
                const std::vector<uint8_t> recorded = Recorded(jpeg, orientation);
                const std::vector<uint8_t> expected = TurnWithTurbo(recorded, orientation);
                const std::vector<uint8_t> written = TurnWithLibrary(recorded);
                EXPECT_TRUE(written == expected) << written.size() << " bytes written, " << expected.size()
                                                 << " by libjpeg-turbo";
                (expected.empty() ? inexact : turned) += 1;
            }
        }
    // Both kinds occur: turns made, and turns refused as inexact.
    EXPECT_GT(turned, 120);
    EXPECT_GT(inexact, 80);
}

// A JPEG copied for a reader that turns it itself: every byte as it stands
// but the orientation's value, which reads upright in the file's byte order;
// nothing written for a file that records no orientation or is no JPEG.
TEST(RasterJpegTurn, AnUnturnedCopyChangesOnlyTheRecordedOrientation)
{
    using testpictures::ExifSegment;
    using testpictures::WithSegment;
    const std::vector<uint8_t> encoded = EncodeJpeg(Scene(56, 40), 90);
    const std::string jpeg(encoded.begin(), encoded.end());
    const struct {
        const char* name;
        std::string source;
        std::string expected;  // empty: nothing written
    } cases[] = {
        {"little-endian, turned a quarter", WithSegment(jpeg, ExifSegment(6)), WithSegment(jpeg, ExifSegment(1))},
        {"big-endian, turned back a quarter", WithSegment(jpeg, ExifSegment(8, true)),
         WithSegment(jpeg, ExifSegment(1, true))},
        {"big-endian, upside down", WithSegment(jpeg, ExifSegment(3, true)), WithSegment(jpeg, ExifSegment(1, true))},
        {"mirrored", WithSegment(jpeg, ExifSegment(2)), WithSegment(jpeg, ExifSegment(1))},
        {"upright already", WithSegment(jpeg, ExifSegment(1)), WithSegment(jpeg, ExifSegment(1))},
        {"no orientation recorded", jpeg, ""},
        {"no JPEG", "GIF89a" + std::string(64, '\0'), ""},
    };
    const std::string source = TempPath("unturned-source.jpg"), target = TempPath("unturned-target.jpg");
    const std::wstring wideSource(source.begin(), source.end()), wideTarget(target.begin(), target.end());
    for (const auto& c : cases) {
        WriteBytes(source, std::vector<uint8_t>(c.source.begin(), c.source.end()));
        ::DeleteFileA(target.c_str());
        const int32_t written = Lib().writeUnturned(wideSource.c_str(), wideTarget.c_str());
        if (c.expected.empty()) {
            EXPECT_EQ(0, written) << c.name;
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(target.c_str())) << c.name;
            continue;
        }
        EXPECT_EQ(1, written) << c.name;
        const std::vector<uint8_t> bytes = ReadBytes(target);
        EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == c.expected) << c.name;
        int width = 0, height = 0;
        EXPECT_TRUE(DecodesWholeWithTurbo(bytes, &width, &height)) << c.name;
        EXPECT_EQ(56, width) << c.name;
        EXPECT_EQ(40, height) << c.name;
    }
}

// Orientations that readers may take otherwise than the file's first entry
// says: two entries (readers keep the last), a LONG (readers turn by it), a
// list of three (readers that want one value turn by none), an orientation
// in XMP too (readers that honour it would turn an unturned copy again). The
// library reads each as those readers do, copies none of them unturned, and
// its upright file is libjpeg-turbo's lossless turn by that orientation,
// recording no turn at all.
TEST(RasterJpegTurn, OrientationsReadersMayTakeOtherwiseAreWrittenUprightNotUnturned)
{
    using testpictures::ExifSegment;
    using testpictures::ExifSegmentWith;
    using testpictures::WithSegment;
    using testpictures::XmpSegment;
    const std::vector<uint8_t> encoded = EncodeJpeg(Scene(64, 48), 90);
    const std::string jpeg(encoded.begin(), encoded.end());
    const struct {
        const char* name;
        std::string source;
        int readers;  // the orientation EXIF-honouring readers turn by
    } cases[] = {
        {"two entries, the last a quarter turn", WithSegment(jpeg, ExifSegmentWith({{3, 1, 3}, {3, 1, 6}})), 6},
        {"two entries, big-endian", WithSegment(jpeg, ExifSegmentWith({{3, 1, 6}, {3, 1, 8}}, true)), 8},
        {"a LONG", WithSegment(jpeg, ExifSegmentWith({{4, 1, 6}})), 6},
        {"a LONG, big-endian", WithSegment(jpeg, ExifSegmentWith({{4, 1, 3}}, true)), 3},
        {"a list of three", WithSegment(jpeg, ExifSegmentWith({{3, 3, 6}})), 1},
        {"XMP beside EXIF", WithSegment(WithSegment(jpeg, XmpSegment(6)), ExifSegment(6)), 6},
        {"XMP alone", WithSegment(jpeg, XmpSegment(8)), 1},
    };
    const std::string source = TempPath("awkward-source.jpg"), target = TempPath("awkward-target.jpg");
    const std::wstring wideSource(source.begin(), source.end()), wideTarget(target.begin(), target.end());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes(c.source.begin(), c.source.end());
        WriteBytes(source, bytes);
        ::DeleteFileA(target.c_str());
        EXPECT_EQ(0, Lib().writeUnturned(wideSource.c_str(), wideTarget.c_str()));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(target.c_str()));
        RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
        ASSERT_EQ(1, Lib().infoW(wideSource.c_str(), &info));
        EXPECT_EQ(c.readers, info.orientation);
        const bool sideways = c.readers >= 5;
        EXPECT_EQ(sideways ? 48 : 64, info.width);
        const std::vector<uint8_t> upright = TurnWithLibrary(bytes);
        if (c.readers == 1) {
            EXPECT_TRUE(upright.empty()) << "nothing to turn";
            continue;
        }
        EXPECT_TRUE(upright == TurnWithTurbo(bytes, c.readers));
        int width = 0, height = 0;
        EXPECT_TRUE(DecodesWholeWithTurbo(upright, &width, &height));
        EXPECT_EQ(sideways ? 48 : 64, width);
        EXPECT_EQ(sideways ? 64 : 48, height);
        EXPECT_EQ(std::string::npos, std::string(upright.begin(), upright.end()).find("Orientation"));
    }
}

TEST(RasterJpegTurn, ATurnHoldsAboutTheFilesSizeNotItsCoefficients)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const uint32_t width = 1600, height = 1200;
    const std::vector<uint8_t> recorded =
        Recorded(EncodeLaidOutJpeg(Scene(width, height), 90, {2, 2, false, 0, false, true, true}), 6);
    AllocationWatch::Reset();
    const std::vector<uint8_t> written = TurnWithLibrary(recorded);
    ASSERT_FALSE(written.empty());
    EXPECT_TRUE(written == TurnWithTurbo(recorded, 6));
    // The luma's coefficients alone take two bytes a pixel.
    const size_t lumaCoefficients = size_t(width) * height * 2;
    EXPECT_LE(AllocationWatch::Largest(), std::max(recorded.size(), size_t(256) << 10) + (64 << 10));
    EXPECT_LT(AllocationWatch::Largest(), lumaCoefficients / 2);
}
