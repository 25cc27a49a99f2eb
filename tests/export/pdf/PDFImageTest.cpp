// Image XObjects: JPEG files copied as they are, the frame header that
// decides it, re-encoded pictures and decoded pixels.
#include <gtest/gtest.h>

#include "export/pdf/PDFFile.h"
#include "export/ExportJpeg.h"
#include "framework/KWRasterLib.h"
#include "tests/export/pdf/PDFTestJpegs.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

template <size_t N>
std::string Bytes(const unsigned char (&data)[N])
{
    return std::string(reinterpret_cast<const char*>(data), N);
}

// A 24-bit bottom-up BMP of width x height whose pixel (x, y) is (x, y, x + y).
std::string MakeBmp(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char* p = &pixels[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            p[0] = static_cast<char>(x + y);  // blue
            p[1] = static_cast<char>(y);      // green
            p[2] = static_cast<char>(x);      // red
        }
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
           std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + pixels;
}

// Writes the images of the records as a file with one empty page.
pdftest::Document WriteImageFile(const std::vector<PDFImageRecord>& images)
{
    PDFPageRecord page;
    page.name = L"p";
    page.width = page.height = 100;
    for (uint32_t i = 0; i < images.size(); ++i)
        page.images.push_back(i);
    const std::vector<PDFPageRecord> pages = {page};
    pdftest::Sink sink;
    {
        PDFFile file(sink.Open());
        EXPECT_TRUE(file.AssignObjectNumbers(1, static_cast<uint32_t>(images.size()), 0));
        file.WriteHeader();
        file.WriteInfo(L"", L"", L"", L"", L"");
        file.WriteCatalog();
        file.WriteOutlines(pages);
        file.WritePages(pages, images, {});
        file.BeginPageContent(0);
        file.EndPageContent(0);
        file.WriteImages(images, g_rasterLib, nullptr);
        file.WriteXref();
        file.WriteTrailer();
        EXPECT_TRUE(file.Finish());
    }
    return pdftest::Document(sink.bytes);
}

PDFImageRecord Record(uint32_t id, int32_t rotation = 0, bool gray = false)
{
    PDFImageRecord record;
    record.key = PDFImageRecordKey(id, rotation, gray);
    record.rotation = rotation;
    record.grayscale = gray ? 1 : 0;
    if (rotation == 0 && !gray)
        PDFFile::CheckPassThrough(g_rasterLib, id, record);
    return record;
}

bool HaveLibrary()
{
    return g_rasterLib.GetLibraryModule() != nullptr;
}

TEST(PDFJpegInfo, ReadsTheFrameHeader)
{
    struct Case {
        std::string bytes;
        uint32_t width, height;
        uint8_t components, marker;
        bool passThrough;
    } cases[] = {
        {Bytes(pdftest::kJpegRgb16x12), 16, 12, 3, 0xC0, true},
        {Bytes(pdftest::kJpegGray8x8), 8, 8, 1, 0xC0, true},
        {Bytes(pdftest::kJpegCmyk8x8), 8, 8, 4, 0xC0, false},
        {Bytes(pdftest::kJpegProgressive16x16), 16, 16, 3, 0xC2, true},
    };
    for (const Case& c : cases) {
        ExportJpegInfo info;
        ASSERT_TRUE(ReadJpegFrame(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), info));
        EXPECT_EQ(c.width, info.width);
        EXPECT_EQ(c.height, info.height);
        EXPECT_EQ(c.components, info.components);
        EXPECT_EQ(c.marker, info.frameMarker);
        EXPECT_EQ(c.passThrough, info.CanPassThrough());
    }
}

TEST(PDFJpegInfo, FindsTheFrameBehindLargeSegmentsAndRefusesBrokenData)
{
    const std::string jpeg = Bytes(pdftest::kJpegRgb16x12);
    // An APP1 segment of 65000 bytes between the start of image and the rest.
    std::string app1 = std::string("\xFF\xE1", 2) + char(0xFD) + char(0xE8) + std::string(65000 - 2, 'e');
    const std::string big = jpeg.substr(0, 2) + app1 + jpeg.substr(2);
    ExportJpegInfo info;
    ASSERT_TRUE(ReadJpegFrame(reinterpret_cast<const uint8_t*>(big.data()), big.size(), info));
    EXPECT_EQ(16u, info.width);

    const std::string png("\x89PNG\r\n\x1A\n", 8);
    const std::string truncated = jpeg.substr(0, 30);
    const std::string lengthPastEnd = std::string("\xFF\xD8\xFF\xE0\xFF\xF0", 6);
    const std::string noFrame = std::string("\xFF\xD8\xFF\xDA\x00\x02", 6);
    for (const std::string& bad : {png, truncated, lengthPastEnd, noFrame, std::string()})
        EXPECT_FALSE(ReadJpegFrame(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), info));
}

TEST(PDFImages, AJpegFileOfAnyCaseIsCopiedAsItIs)
{
    struct Case {
        const wchar_t* suffix;
        std::string bytes;
        const char* colorSpace;
        const char* size[2];
    } cases[] = {
        {L".JpEg", Bytes(pdftest::kJpegRgb16x12), "/DeviceRGB", {"16", "12"}},
        {L".jpg", Bytes(pdftest::kJpegGray8x8), "/DeviceGray", {"8", "8"}},
        {L".JPG", Bytes(pdftest::kJpegProgressive16x16), "/DeviceRGB", {"16", "16"}},
    };
    for (const Case& c : cases) {
        pdftest::TempPath path(c.suffix);
        ASSERT_TRUE(pdftest::WriteFile(path.c_str(), c.bytes));
        const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
        pdftest::Document doc = WriteImageFile({Record(id)});
        ASSERT_TRUE(doc.Valid());
        const uint32_t object = 9;
        EXPECT_EQ("/DCTDecode", doc.Entry(object, "/Filter"));
        EXPECT_EQ(c.colorSpace, doc.Entry(object, "/ColorSpace"));
        EXPECT_EQ(c.size[0], doc.Entry(object, "/Width"));
        EXPECT_EQ(c.size[1], doc.Entry(object, "/Height"));
        EXPECT_EQ("8", doc.Entry(object, "/BitsPerComponent"));
        EXPECT_EQ(static_cast<int64_t>(c.bytes.size() + 2), doc.Length(object));
        EXPECT_EQ(c.bytes + "\r\n", doc.StreamData(object));
        EXPECT_EQ(std::to_string(c.bytes.size() + 2) + "\r\n", doc.Object(object + 1));
        // The picture's whole overhead in the file: dictionary, frame, length object, two xref lines.
        const size_t overhead = doc.Object(object).size() - c.bytes.size() + doc.Object(object + 1).size() + 2 * 20;
        EXPECT_LT(overhead, 1024u);
    }
}

TEST(PDFImages, ACmykJpegIsNotPassedThroughAsRgb)
{
    pdftest::TempPath path(L".jpg");
    const std::string cmyk = Bytes(pdftest::kJpegCmyk8x8);
    ASSERT_TRUE(pdftest::WriteFile(path.c_str(), cmyk));
    const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
    pdftest::Document doc = WriteImageFile({Record(id)});
    ASSERT_TRUE(doc.Valid());
    EXPECT_NE(cmyk + "\r\n", doc.StreamData(9));
    EXPECT_EQ("/DeviceRGB", doc.Entry(9, "/ColorSpace"));
    if (HaveLibrary()) {
        // Re-encoded by the raster library into a colour JPEG of the same size.
        EXPECT_EQ("/DCTDecode", doc.Entry(9, "/Filter"));
        const std::string data = doc.StreamData(9);
        ExportJpegInfo info;
        ASSERT_TRUE(ReadJpegFrame(reinterpret_cast<const uint8_t*>(data.data()), data.size(), info));
        EXPECT_EQ(3, info.components);
        EXPECT_EQ("8", doc.Entry(9, "/Width"));
    }
}

TEST(PDFImages, AFileNamedJpegThatIsNotOneIsNotCopied)
{
    pdftest::TempPath path(L".jpg");
    ASSERT_TRUE(pdftest::WriteFile(path.c_str(), MakeBmp(4, 4)));
    const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
    pdftest::Document doc = WriteImageFile({Record(id)});
    ASSERT_TRUE(doc.Valid());
    EXPECT_EQ(std::string::npos, doc.StreamData(9).find("BM"));
}

TEST(PDFImages, ASmallBmpIsWrittenAsFlateCompressedRgb)
{
    if (!HaveLibrary())
        GTEST_SKIP() << "DAZiruraRuv.dll is not next to the test program";
    pdftest::TempPath path(L".bmp");
    ASSERT_TRUE(pdftest::WriteFile(path.c_str(), MakeBmp(100, 100)));
    const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
    pdftest::Document doc = WriteImageFile({Record(id)});
    ASSERT_TRUE(doc.Valid());
    EXPECT_EQ("/FlateDecode", doc.Entry(9, "/Filter"));
    EXPECT_EQ("/DeviceRGB", doc.Entry(9, "/ColorSpace"));
    EXPECT_EQ("100", doc.Entry(9, "/Width"));
    const std::string rgb = pdftest::Inflate(doc.StreamData(9));
    ASSERT_EQ(30002u, rgb.size());
    EXPECT_EQ("\r\n", rgb.substr(30000));
    // Pixel (x, y) is red x, green y, blue x + y, rows from the top.
    for (int y : {0, 37, 99}) {
        for (int x : {0, 50, 99}) {
            const size_t at = (static_cast<size_t>(y) * 100 + x) * 3;
            EXPECT_EQ(x, static_cast<uint8_t>(rgb[at]));
            EXPECT_EQ(y, static_cast<uint8_t>(rgb[at + 1]));
            EXPECT_EQ(x + y, static_cast<uint8_t>(rgb[at + 2]));
        }
    }
}

TEST(PDFImages, ALargerBmpAndARotatedJpegAreReencodedAsJpeg)
{
    if (!HaveLibrary())
        GTEST_SKIP() << "DAZiruraRuv.dll is not next to the test program";
    pdftest::TempPath bmp(L".bmp");
    ASSERT_TRUE(pdftest::WriteFile(bmp.c_str(), MakeBmp(200, 200)));
    pdftest::TempPath jpeg(L".jpg");
    ASSERT_TRUE(pdftest::WriteFile(jpeg.c_str(), Bytes(pdftest::kJpegRgb16x12)));
    const uint32_t bmpId = g_rasterLib.GetPictureId(bmp.c_str());
    const uint32_t jpegId = g_rasterLib.GetPictureId(jpeg.c_str());
    pdftest::Document doc = WriteImageFile({Record(bmpId), Record(jpegId, 90), Record(jpegId, 0, true)});
    ASSERT_TRUE(doc.Valid());
    for (uint32_t object : {9u, 11u, 13u})
        EXPECT_EQ("/DCTDecode", doc.Entry(object, "/Filter")) << object;
    EXPECT_EQ("200", doc.Entry(9, "/Width"));
    // A quarter turn swaps the sides.
    EXPECT_EQ("12", doc.Entry(11, "/Width"));
    EXPECT_EQ("16", doc.Entry(11, "/Height"));
    EXPECT_NE(Bytes(pdftest::kJpegRgb16x12) + "\r\n", doc.StreamData(13));
}

TEST(PDFImages, AMissingPictureStillGetsItsObject)
{
    PDFImageRecord record = Record(0x0FFFFFF0);  // never registered
    pdftest::Document doc = WriteImageFile({record});
    ASSERT_TRUE(doc.Valid());
    EXPECT_FALSE(doc.Object(9).empty());
    EXPECT_FALSE(doc.Object(10).empty());
}

TEST(PDFImageRecordKey, HoldsQuarterTurnsAndGrey)
{
    EXPECT_EQ(8u * 130 + 0, PDFImageRecordKey(130, 0, false));
    EXPECT_EQ(8u * 130 + 2, PDFImageRecordKey(130, 90, false));
    EXPECT_EQ(8u * 130 + 7, PDFImageRecordKey(130, 270, true));
    EXPECT_EQ(PDFImageRecordKey(130, 270, false), PDFImageRecordKey(130, -90, false));
    EXPECT_EQ(PDFImageRecordKey(130, 0, false), PDFImageRecordKey(130, 360, false));
    EXPECT_EQ(130u, PDFImageRecordKey(130, 450, true) >> 3);  // turns never reach the image key
}

}  // namespace
