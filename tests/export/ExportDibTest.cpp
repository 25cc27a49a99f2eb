#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "export/ExportDib.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"
#include "tests/export/ExportTestSupport.h"

namespace {

// A record whose rows are padded past 4 x width bytes; pixel (x, y) holds x, y, x ^ y, 0xAB.
KWRasterImagePtr PaddedImage(uint32_t width, uint32_t height, uint32_t stride)
{
    KWRasterImagePtr image(KWAllocRasterImage(width, height, stride));
    uint8_t* row = image->Pixels();
    for (uint32_t y = 0; y < height; ++y, row += stride) {
        std::memset(row, 0xEE, stride);
        for (uint32_t x = 0; x < width; ++x) {
            row[x * 4] = static_cast<uint8_t>(x);
            row[x * 4 + 1] = static_cast<uint8_t>(y);
            row[x * 4 + 2] = static_cast<uint8_t>(x ^ y);
            row[x * 4 + 3] = 0xAB;
        }
    }
    return image;
}

struct DibPixels {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<uint8_t> pixels;  // top row first, 4 bytes a pixel
};

// The pixels of any bitmap as a 32-bit top-down copy.
DibPixels ReadPixels(HBITMAP bitmap)
{
    DibPixels out;
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    out.bits = info.bmBitsPixel;
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = out.width;
    request.bmiHeader.biHeight = -out.height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height * 4);
    HDC dc = ::GetDC(nullptr);
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(out.height), out.pixels.data(), &request, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    return out;
}

const uint8_t* At(const DibPixels& p, int x, int y)
{
    return &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4];
}

TEST(ExportDibTest, PaddedRowsAreCopiedRowByRow)
{
    // Rows of 16 bytes for 3 pixels: a block copy of stride x height would
    // shift every row and write past the DIB.
    KWRasterImagePtr image = PaddedImage(3, 4, 16);
    HBITMAP dib = CreateDibFromRasterImage(*image);
    ASSERT_NE(nullptr, dib);
    DIBSECTION section = {};
    ASSERT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(dib, sizeof(section), &section));
    EXPECT_EQ(3, section.dsBm.bmWidth);
    EXPECT_EQ(4, section.dsBm.bmHeight);
    EXPECT_EQ(32, section.dsBm.bmBitsPixel);
    EXPECT_EQ(12, section.dsBm.bmWidthBytes);
    // Top-down: the first row in memory is the image's top row.
    const uint8_t* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    for (uint32_t y = 0; y < 4; ++y) {
        for (uint32_t x = 0; x < 3; ++x) {
            const uint8_t* px = bits + y * 12 + x * 4;
            EXPECT_EQ(x, px[0]);
            EXPECT_EQ(y, px[1]);
            EXPECT_EQ(x ^ y, px[2]);
            EXPECT_EQ(0xAB, px[3]);
        }
    }
    ::DeleteObject(dib);
    KWRasterImagePtr empty(KWAllocRasterImage(0, 5, 0));
    EXPECT_TRUE(!empty || !CreateDibFromRasterImage(*empty));
}

TEST(ExportDibTest, OneImageGivesItsOwnBitmapSeveralShowTheFirstOnTheFrame)
{
    EXPECT_EQ(nullptr, CreateDIBFromBitmaps({}));
    KWRasterImagePtr alone = PaddedImage(5, 2, 20);
    HBITMAP own = CreateDIBFromBitmaps({alone.get()});
    ASSERT_NE(nullptr, own);
    const DibPixels ownPixels = ReadPixels(own);
    ::DeleteObject(own);
    EXPECT_EQ(5, ownPixels.width);
    EXPECT_EQ(2, ownPixels.height);
    EXPECT_EQ(4, At(ownPixels, 4, 1)[0]);
    EXPECT_EQ(1, At(ownPixels, 4, 1)[1]);

    KWRasterImagePtr first = PaddedImage(40, 20, 160);
    KWRasterImagePtr second = PaddedImage(10, 10, 40);
    HBITMAP bitmap = CreateDIBFromBitmaps({first.get(), second.get()});
    ASSERT_NE(nullptr, bitmap);
    const DibPixels pixels = ReadPixels(bitmap);
    ASSERT_EQ(152, pixels.width);
    ASSERT_EQ(152, pixels.height);
    const int left = (152 - 40) / 2, top = (152 - 20) / 2;
    for (int y = 0; y < 20; y += 7) {
        for (int x = 0; x < 40; x += 9) {
            EXPECT_EQ(x, At(pixels, left + x, top + y)[0]) << x << "," << y;
            EXPECT_EQ(y, At(pixels, left + x, top + y)[1]) << x << "," << y;
            EXPECT_EQ(x ^ y, At(pixels, left + x, top + y)[2]) << x << "," << y;
        }
    }
    // The frame around it is the frame picture's.
    EXPECT_EQ(0x80, At(pixels, 2, 2)[0]);
    EXPECT_EQ(0xFF, At(pixels, 20, 20)[0]);
    ::DeleteObject(bitmap);
}

class ExportDibLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is not next to the test program";
    }
    CExportTestFolder m_folder;
};

TEST_F(ExportDibLibraryTest, DecodesFromMemory)
{
    const std::string bytes = TestBmp(7, 3);
    void* buffer = reinterpret_cast<void*>(1);
    const int32_t size = RasterReadImageFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), &buffer, "BMP");
    ASSERT_GT(size, 0);
    ASSERT_NE(nullptr, buffer);
    const KWRasterImage* image = static_cast<const KWRasterImage*>(buffer);
    EXPECT_EQ(7u, image->width);
    EXPECT_EQ(3u, image->height);
    EXPECT_EQ(static_cast<uint64_t>(size), KWRasterImageBytes(*image));
    std::free(buffer);

    const char garbage[] = "not an image at all";
    buffer = reinterpret_cast<void*>(1);
    EXPECT_EQ(0, RasterReadImageFromMemory(garbage, sizeof(garbage), &buffer, "BMP"));
    EXPECT_EQ(nullptr, buffer);
}

TEST_F(ExportDibLibraryTest, LoadsAFileAsTopDownDib)
{
    const std::wstring path = m_folder.Path() + L"file.bmp";
    ASSERT_TRUE(WriteTestBmp(path, 9, 5));
    HBITMAP bitmap = LoadImageFileAsDib(path.c_str());
    ASSERT_NE(nullptr, bitmap);
    DIBSECTION section = {};
    ASSERT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(bitmap, sizeof(section), &section));
    EXPECT_EQ(9, section.dsBm.bmWidth);
    EXPECT_EQ(5, section.dsBm.bmHeight);
    EXPECT_EQ(32, section.dsBm.bmBitsPixel);
    // The rows in the order the library decodes them, top row first.
    KWRasterImagePtr decoded(g_rasterLib.RasterReadFile(path.c_str(), 0, 0));
    ASSERT_TRUE(decoded);
    const uint8_t* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    for (uint32_t y = 0; y < 5; ++y)
        EXPECT_EQ(0, std::memcmp(bits + y * 36, decoded->Pixels() + y * decoded->stride, 36)) << y;
    ::DeleteObject(bitmap);
    EXPECT_EQ(nullptr, LoadImageFileAsDib(nullptr));
}

}  // namespace
