// The whole-file check of CheckRasterImageW, and the reads of damaged files: a
// palette PNG whose data stop short is not read at all, and TIFF tags that claim
// more values than the file holds are refused before any decoder sees them.
#include "RasterTestSupport.h"

#include "tests/support/DamagedPictures.h"

#include <gtest/gtest.h>

#include <functional>

using namespace rastertest;
using namespace testpictures;
using namespace rasterlib;

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::wstring Wide(const std::string& ansi)
{
    return std::wstring(ansi.begin(), ansi.end());
}

std::string Flipped(std::string bytes, size_t at)
{
    bytes[at] = char(bytes[at] ^ 0x5A);
    return bytes;
}

}  // namespace

TEST(PictureCheck, TellsSoundFilesFromDamagedOnesByTheTable)
{
    const std::string jpeg = Text(EncodeJpeg(Gradient(64, 48), 85));
    const std::string png = GradientPng(40, 30);
    const std::string palette = PalettePng(40, 30, 30);
    const std::string gif = GreyGif(24, 20);
    const std::string bmp = FourBitBmp(20, 10, std::string(200, '\x80'));
    const std::string tiff = TiffFile(8, 8, std::string(8 * 8 * 3, '\x40'), 1, false);
    std::string hugeJpeg = jpeg;
    const size_t frame = hugeJpeg.find("\xFF\xC0");
    hugeJpeg[frame + 5] = hugeJpeg[frame + 7] = char(0xEA);  // 60,000 pixels a side
    std::string stripsOutside = tiff;
    stripsOutside[10 + 9 * 12 + 8 + 2] = char(0x7F);  // the tenth entry, the strip's byte count

    struct Case {
        const char* name;
        std::string bytes;
        int32_t expected;
    };
    const Case cases[] = {
        {"sound JPEG", jpeg, kPictureSound},
        {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), kPictureDamaged},
        {"JPEG claiming 60,000 pixels a side", hugeJpeg, kPictureDamaged},
        {"sound PNG", png, kPictureSound},
        {"sound palette PNG", palette, kPictureSound},
        {"PNG with a byte of its data changed", Flipped(png, PngChunkData(png, "IDAT") + 6), kPictureDamaged},
        {"PNG cut inside its data", png.substr(0, PngChunkData(png, "IDAT") + 10), kPictureDamaged},
        {"PNG without its end chunk", png.substr(0, png.size() - 12), kPictureDamaged},
        {"palette PNG whose data stop short under right CRCs", PalettePng(40, 30, 12), kPictureDamaged},
        {"sound GIF", gif, kPictureSound},
        {"GIF without its trailer", gif.substr(0, gif.size() - 1), kPictureDamaged},
        {"GIF cut inside its data", gif.substr(0, gif.size() / 2), kPictureDamaged},
        {"sound BMP", bmp, kPictureSound},
        {"BMP cut short", bmp.substr(0, bmp.size() - 20), kPictureDamaged},
        {"sound TIFF", tiff, kPictureSound},
        {"TIFF whose strip runs past the file", stripsOutside, kPictureDamaged},
        {"TIFF claiming 200 million strip offsets", TiffClaimingValues(273, 200000000), kPictureDamaged},
        {"text named as a picture", "These are not the bytes of a picture.\r\n", kPictureNotImage},
        {"empty file", "", kPictureEmpty},
    };
    const auto& lib = Lib();
    ASSERT_TRUE(lib.checkW);
    for (const Case& c : cases) {
        const std::string path = TempPath("check.pic");
        WriteBytes(path, Bytes(c.bytes));
        EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), kCheckByDecoding)) << c.name;
        EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), 0)) << "without decoding, " << c.name;
        // Only what is sound reads; what the library reads of a damaged file
        // comes out whole, never with rows the decoder left.
        const bool reads = !ReadFile(path).empty();
        if (c.expected == kPictureSound)
            EXPECT_TRUE(reads) << c.name;
    }
    EXPECT_EQ(kPictureMissing, lib.checkW(Wide(TempPath("no such picture.png")).c_str(), kCheckByDecoding));
}

// The check walks a file through a view of it and lets go of it on return:
// the file may be rewritten and deleted at once.
TEST(PictureCheck, LetsGoOfTheFileItChecked)
{
    const auto& lib = Lib();
    ASSERT_TRUE(lib.checkW);
    const std::string jpeg = Text(EncodeJpeg(Gradient(640, 480), 85));
    const struct {
        const char* name;
        std::string bytes;
        int32_t expected;
    } cases[] = {
        {"jpeg", jpeg, kPictureSound},
        {"jpeg cut short", jpeg.substr(0, jpeg.size() / 2), kPictureDamaged},
        {"png", GradientPng(300, 200), kPictureSound},
    };
    for (const auto& c : cases) {
        const std::string path = TempPath("held.pic");
        WriteBytes(path, Bytes(c.bytes));
        for (int32_t flags : {0, int32_t(kCheckByDecoding)})
            EXPECT_EQ(c.expected, lib.checkW(Wide(path).c_str(), flags)) << c.name;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << c.name << ": still held";
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        EXPECT_TRUE(::DeleteFileA(path.c_str())) << c.name;
    }
}

TEST(PictureCheck, PalettePngCutShortIsNotReadInAnyWay)
{
    const std::vector<uint8_t> cut = Bytes(PalettePng(64, 64, 20));
    const std::string path = TempPath("cut palette.png");
    WriteBytes(path, cut);
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(ReadFileReduced(path, 16, 16).empty());
    EXPECT_TRUE(ReadMemory(cut, "png").empty());
    // The whole picture reads, so the refusal is the short data's.
    EXPECT_FALSE(ReadMemory(Bytes(PalettePng(64, 64, 64)), "png").empty());
}

TEST(PictureCheck, TiffTagsClaimingMoreThanTheFileAreRefusedAtOnce)
{
    for (uint16_t tag : {uint16_t(273), uint16_t(279), uint16_t(258)}) {
        const std::string path = TempPath("claims.tif");
        WriteBytes(path, Bytes(TiffClaimingValues(tag, 400000000)));
        const DWORD start = ::GetTickCount();
        int32_t width = -1, height = -1;
        EXPECT_EQ(0, Lib().readSize(path.c_str(), &width, &height)) << tag;
        EXPECT_TRUE(ReadFile(path).empty()) << tag;
        EXPECT_TRUE(ReadFileReduced(path, 128, 128).empty()) << tag;
        EXPECT_LT(::GetTickCount() - start, 1000u) << tag;
    }
}
