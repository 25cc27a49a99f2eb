// Reading files and memory: every format at full size, the header-only size, the
// format test, the image type, and clipboard bitmaps without a file header.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace rastertest;

namespace {

Picture WithAlphaRamp(Picture picture)
{
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        for (uint32_t x = 0; x < picture.Width(); ++x) {
            Pixel p = picture.At(x, y);
            p.a = uint8_t(x * 255 / (picture.Width() - 1));
            picture.Set(x, y, p);
        }
    }
    return picture;
}

struct FormatCase {
    const char* name;
    Picture picture;
    std::function<std::vector<uint8_t>(const Picture&)> encode;
    int tolerance;          // against the source picture
    int decoderTolerance;   // against the imaging component's decoding of the file
};

std::vector<FormatCase> FormatCases()
{
    const Picture four = Checker(96, 64, 8, Pixel{200, 30, 10, 255}, Pixel{20, 180, 240, 255});
    return {
        {"photo.jpg", Gradient(120, 80), [](const Picture& p) { return EncodeJpeg(p, 95); }, 8, 3},
        {"alpha.png", WithAlphaRamp(Gradient(90, 70)),
         [](const Picture& p) { return EncodeWithWic(p, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA); }, 0,
         0},
        {"few.gif", four,
         [](const Picture& p) { return EncodeWithWic(p, GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed); },
         8, 0},
        {"plain.bmp", Gradient(77, 51),
         [](const Picture& p) { return EncodeWithWic(p, GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR); }, 0,
         0},
        {"alpha.tif", WithAlphaRamp(Gradient(64, 48)),
         [](const Picture& p) { return EncodeWithWic(p, GUID_ContainerFormatTiff, GUID_WICPixelFormat32bppBGRA); },
         0, 0},
    };
}

}  // namespace

TEST(RasterRead, LibraryExportsEveryFunction)
{
    EXPECT_TRUE(Lib().IsComplete());
}

TEST(RasterRead, EachFormatReadsFromFileAndMemory)
{
    ASSERT_TRUE(Lib().IsComplete());
    for (const FormatCase& c : FormatCases()) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = c.encode(c.picture);
        ASSERT_FALSE(bytes.empty());
        const std::string path = TempPath(c.name);
        WriteBytes(path, bytes);

        int32_t width = -1, height = -1;
        EXPECT_EQ(1, Lib().readSize(path.c_str(), &width, &height));
        EXPECT_EQ(int32_t(c.picture.Width()), width);
        EXPECT_EQ(int32_t(c.picture.Height()), height);
        EXPECT_EQ(1, Lib().test(path.c_str()));

        const std::vector<uint8_t> record = ReadFile(path);
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(record, read));
        EXPECT_EQ(12 + c.picture.Width() * 4 * c.picture.Height(), record.size());
        EXPECT_LE(MaxDifference(c.picture, read), c.tolerance);
        Picture reference;
        ASSERT_TRUE(DecodeWithWic(bytes, reference));
        EXPECT_LE(MaxDifference(reference, read), c.decoderTolerance);

        EXPECT_EQ(record, ReadMemory(bytes, nullptr));
    }
}

TEST(RasterRead, FormatIsFoundFromTheBytesNotTheName)
{
    const Picture picture = Gradient(40, 30);
    const std::string path = TempPath("really-a-png.jpg");
    WriteBytes(path, EncodeWithWic(picture, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR));
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
    EXPECT_EQ(0, MaxDifference(picture, read));
    // A wrong hint does not matter either.
    ASSERT_TRUE(Picture::FromRecord(ReadMemory(ReadBytes(path), "bmp"), read));
    EXPECT_EQ(0, MaxDifference(picture, read));
}

TEST(RasterRead, OpaqueImagesReadWithFullAlpha)
{
    const Picture picture = Gradient(50, 40);
    for (const auto& bytes : {EncodeJpeg(picture, 90),
                              EncodeWithWic(picture, GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR)}) {
        Picture read;
        ASSERT_TRUE(Picture::FromRecord(ReadMemory(bytes, nullptr), read));
        for (uint32_t y = 0; y < read.Height(); ++y)
            for (uint32_t x = 0; x < read.Width(); ++x)
                ASSERT_EQ(255, read.At(x, y).a);
    }
}

TEST(RasterRead, ImageTypeTellsGreyFromColour)
{
    std::vector<uint8_t> grey(64 * 48);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = uint8_t(i * 7);
    Picture greyPicture(64, 48);
    for (uint32_t y = 0; y < 48; ++y)
        for (uint32_t x = 0; x < 64; ++x) {
            const uint8_t v = grey[y * 64 + x];
            greyPicture.Set(x, y, Pixel{v, v, v, 255});
        }
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* format;
        uint8_t type;
    } cases[] = {
        {"grey jpeg", EncodeGreyJpeg(grey, 64, 48, 90), "JPG", 1},
        {"colour jpeg", EncodeJpeg(Gradient(64, 48), 90), "JPEG", 0},
        {"grey png", EncodeWithWic(greyPicture, GUID_ContainerFormatPng, GUID_WICPixelFormat8bppGray), "png", 1},
        {"colour png", EncodeWithWic(Gradient(64, 48), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR), "png",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t type = 99;
        EXPECT_EQ(1, Lib().readType(c.bytes.data(), int32_t(c.bytes.size()), c.format, &type));
        EXPECT_EQ(c.type, type);
    }
    const char junk[] = "not an image at all";
    uint8_t type = 99;
    EXPECT_EQ(0, Lib().readType(junk, int32_t(sizeof junk), "jpg", &type));
    EXPECT_EQ(0, type);
}

TEST(RasterRead, FormatTestRefusesOtherFiles)
{
    const std::string text = TempPath("notes.txt");
    WriteBytes(text, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\r', '\n'});
    EXPECT_EQ(0, Lib().test(text.c_str()));
    EXPECT_EQ(0, Lib().test(TempPath("missing.png").c_str()));
    EXPECT_EQ(0, Lib().test(nullptr));
}

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    std::memcpy(&out[at], &v, 4);
}

// A clipboard DIB: BITMAPINFOHEADER, masks when asked, bottom-up rows.
std::vector<uint8_t> MakeDib(const Picture& picture, uint16_t bits, bool bitfields, bool topDown)
{
    const uint32_t w = picture.Width(), h = picture.Height();
    const uint32_t rowBytes = ((w * bits + 31) / 32) * 4;
    const size_t masks = bitfields ? 12 : 0;
    std::vector<uint8_t> dib(40 + masks + size_t(rowBytes) * h, 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, w);
    Put32(dib, 8, topDown ? uint32_t(-int32_t(h)) : h);
    dib[12] = 1;
    dib[14] = uint8_t(bits);
    Put32(dib, 16, bitfields ? 3 : 0);
    if (bitfields) {
        Put32(dib, 40, 0x00FF0000);
        Put32(dib, 44, 0x0000FF00);
        Put32(dib, 48, 0x000000FF);
    }
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = &dib[40 + masks + size_t(topDown ? y : h - 1 - y) * rowBytes];
        for (uint32_t x = 0; x < w; ++x) {
            const Pixel p = picture.At(x, y);
            uint8_t* out = row + x * (bits / 8);
            out[0] = p.b;
            out[1] = p.g;
            out[2] = p.r;
            if (bits == 32)
                out[3] = 0;  // the fourth byte of clipboard bitmaps is usually unused
        }
    }
    return dib;
}

}  // namespace

TEST(RasterRead, ClipboardBitmapsWithoutFileHeader)
{
    const Picture picture = Gradient(37, 23);
    const struct {
        const char* what;
        uint16_t bits;
        bool bitfields;
        bool topDown;
    } cases[] = {
        {"24-bit bottom-up", 24, false, false},
        {"32-bit bottom-up", 32, false, false},
        {"32-bit bit fields", 32, true, false},
        {"24-bit top-down", 24, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* hint : {"DIB", "dib", "bmp"}) {
            Picture read;
            ASSERT_TRUE(Picture::FromRecord(ReadMemory(MakeDib(picture, c.bits, c.bitfields, c.topDown), hint), read));
            EXPECT_EQ(0, MaxDifference(picture, read));
        }
    }
    // Without a bitmap hint the block is not recognised.
    EXPECT_TRUE(ReadMemory(MakeDib(picture, 24, false, false), "png").empty());
    EXPECT_TRUE(ReadMemory(MakeDib(picture, 24, false, false), nullptr).empty());
}

TEST(RasterRead, ClipboardBitmapCutShortIsRefused)
{
    std::vector<uint8_t> dib = MakeDib(Gradient(20, 20), 24, false, false);
    dib.resize(dib.size() - 30);
    EXPECT_EQ(0, Lib().readMemory(dib.data(), int32_t(dib.size()), nullptr, 0, "DIB"));
    std::vector<uint8_t> huge = MakeDib(Gradient(4, 4), 24, false, false);
    Put32(huge, 4, 0x7FFFFFFF);
    EXPECT_EQ(0, Lib().readMemory(huge.data(), int32_t(huge.size()), nullptr, 0, "DIB"));
}

TEST(RasterRead, IconGivesItsLargestImage)
{
    // Two single-image icons made by the library, joined into one icon file holding
    // a 16 x 16 and a 48 x 32 image.
    const Picture small(16, 16, Pixel{0, 0, 255, 255});
    const Picture large = Gradient(48, 32);
    const std::vector<uint8_t> a = WriteMemory(small.Record(), "ico");
    const std::vector<uint8_t> b = WriteMemory(large.Record(), "ico");
    ASSERT_GT(a.size(), 22u);
    ASSERT_GT(b.size(), 22u);
    std::vector<uint8_t> icon = {0, 0, 1, 0, 2, 0};
    icon.insert(icon.end(), a.begin() + 6, a.begin() + 22);
    icon.insert(icon.end(), b.begin() + 6, b.begin() + 22);
    const uint32_t firstOffset = 6 + 2 * 16;
    const uint32_t secondOffset = firstOffset + uint32_t(a.size() - 22);
    std::memcpy(&icon[6 + 12], &firstOffset, 4);
    std::memcpy(&icon[6 + 16 + 12], &secondOffset, 4);
    icon.insert(icon.end(), a.begin() + 22, a.end());
    icon.insert(icon.end(), b.begin() + 22, b.end());

    const std::string path = TempPath("two.ico");
    WriteBytes(path, icon);
    int32_t width = 0, height = 0;
    EXPECT_EQ(1, Lib().readSize(path.c_str(), &width, &height));
    EXPECT_EQ(48, width);
    EXPECT_EQ(32, height);
    Picture read;
    ASSERT_TRUE(Picture::FromRecord(ReadFile(path), read));
    EXPECT_EQ(0, MaxDifference(large, read));
}
