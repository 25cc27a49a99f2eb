// Image XObjects: the check a JPEG passes before it goes in as it is, files
// copied as they are, re-encoded pictures, decoded pixels, and pictures that
// keep the orientation their camera recorded.
#include <gtest/gtest.h>

#include "export/ExportJpeg.h"
#include "export/pdf/PDFFile.h"
#include "framework/KWRasterLib.h"
#include "tests/export/pdf/PDFTestSupport.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

namespace {

using namespace testpictures;

std::string Jpeg(uint32_t width, uint32_t height, int format = TJPF_RGB, int flags = 0)
{
    std::string pixels = PhotoPixels(width, height, width);
    if (format == TJPF_GRAY)
        pixels.resize(size_t(width) * height);
    if (format == TJPF_CMYK)
        pixels += pixels.substr(0, size_t(width) * height);
    return EncodeJpeg(pixels, width, height, format, 90, flags);
}

// Writes the images of the records as a file with one page, on which they
// stand side by side in squares along its foot.
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
        const float side = page.width / static_cast<float>(images.size());
        for (size_t i = 0; i < images.size(); ++i)
            file.DrawImage(images[i].key, side * static_cast<float>(i), 0, side, side, 0);
        file.EndPageContent(0);
        file.WriteImages(images, g_rasterLib, nullptr);
        file.WriteXref();
        file.WriteTrailer();
        EXPECT_TRUE(file.Finish());
    }
    return pdftest::Document(sink.bytes);
}

// The record the layout pass makes for a picture.
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

class PDFImages : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is missing"; }

    uint32_t Picture(const wchar_t* suffix, const std::string& bytes)
    {
        m_paths.emplace_back(new pdftest::TempPath(suffix));
        EXPECT_TRUE(WriteFileBytes(m_paths.back()->c_str(), bytes));
        return g_rasterLib.GetPictureId(m_paths.back()->c_str());
    }

    std::vector<std::unique_ptr<pdftest::TempPath>> m_paths;
};

}  // namespace

TEST(ExportJpeg, FrameAndSoundnessByTheTable)
{
    const std::string rgb = Jpeg(16, 12);
    const size_t scan = rgb.find("\xFF\xDA");
    std::string flipped = rgb;
    for (size_t k = scan + 20; k < rgb.size() - 2; ++k)
        flipped[k] = char(~flipped[k]);
    std::string huge = rgb;
    huge.replace(rgb.find("\xFF\xC0") + 5, 4, "\xFF\xDC\xFF\xDC");
    const std::string big = WithSegment(rgb, "\xFF\xE1\xFD\xE8" + std::string(65000 - 2, 'e'));
    const struct {
        const char* what;
        std::string bytes;
        bool frame, sound;
        uint32_t width;
        uint8_t components, marker;
        bool passThrough;
    } cases[] = {
        {"colour", rgb, true, true, 16, 3, 0xC0, true},
        {"grey", Jpeg(8, 8, TJPF_GRAY), true, true, 8, 1, 0xC0, true},
        {"cmyk", Jpeg(8, 8, TJPF_CMYK), true, true, 8, 4, 0xC0, false},
        {"progressive", Jpeg(16, 16, TJPF_RGB, TJFLAG_PROGRESSIVE), true, true, 16, 3, 0xC2, true},
        {"behind a 65000-byte segment", big, true, true, 16, 3, 0xC0, true},
        {"with EXIF", WithSegment(rgb, ExifSegment(6)), true, true, 16, 3, 0xC0, true},
        {"cut short", rgb.substr(0, rgb.size() - 40), true, false, 16, 3, 0xC0, true},
        {"no end of image", rgb.substr(0, rgb.size() - 2), true, false, 16, 3, 0xC0, true},
        {"damaged coded data", flipped, true, false, 16, 3, 0xC0, true},
        {"65,500 x 65,500 in a few bytes", huge, true, false, 65500, 3, 0xC0, true},
        {"a reserved marker", rgb.substr(0, 2) + "\xFF\x02\x00\x02" + rgb.substr(2), false, false, 0, 0, 0, false},
        {"scan without frame", std::string("\xFF\xD8\xFF\xDA\x00\x02", 6), false, false, 0, 0, 0, false},
        {"length past the end", std::string("\xFF\xD8\xFF\xE0\xFF\xF0", 6), false, false, 0, 0, 0, false},
        {"png", std::string("\x89PNG\r\n\x1A\n", 8), false, false, 0, 0, 0, false},
        {"nothing", std::string(), false, false, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(c.bytes.data());
        ExportJpegInfo info;
        EXPECT_EQ(c.sound, IsSoundJpeg(bytes, c.bytes.size(), info)) << c.what;
        ASSERT_EQ(c.frame, ReadJpegFrame(bytes, c.bytes.size(), info)) << c.what;
        if (!c.frame)
            continue;
        EXPECT_EQ(c.width, info.width) << c.what;
        EXPECT_EQ(c.components, info.components) << c.what;
        EXPECT_EQ(c.marker, info.frameMarker) << c.what;
        EXPECT_EQ(c.passThrough, info.CanPassThrough()) << c.what;
    }
}

TEST_F(PDFImages, ASoundJpegOfAnyNameIsCopiedAsItIs)
{
    const struct {
        const wchar_t* suffix;
        std::string bytes;
        const char* colorSpace;
        const char* size[2];
    } cases[] = {
        {L".JpEg", Jpeg(16, 12), "/DeviceRGB", {"16", "12"}},
        {L".jpg", Jpeg(8, 8, TJPF_GRAY), "/DeviceGray", {"8", "8"}},
        {L".png", Jpeg(16, 16, TJPF_RGB, TJFLAG_PROGRESSIVE), "/DeviceRGB", {"16", "16"}},
    };
    for (const auto& c : cases) {
        pdftest::Document doc = WriteImageFile({Record(Picture(c.suffix, c.bytes))});
        ASSERT_TRUE(doc.Valid());
        const uint32_t object = 9;
        EXPECT_EQ("/DCTDecode", doc.Entry(object, "/Filter"));
        EXPECT_EQ(c.colorSpace, doc.Entry(object, "/ColorSpace"));
        EXPECT_EQ(c.size[0], doc.Entry(object, "/Width"));
        EXPECT_EQ(c.size[1], doc.Entry(object, "/Height"));
        EXPECT_EQ("8", doc.Entry(object, "/BitsPerComponent"));
        EXPECT_EQ(c.bytes + "\r\n", doc.StreamData(object));
        EXPECT_EQ(std::to_string(c.bytes.size() + 2) + "\r\n", doc.Object(object + 1));
        // The picture's whole overhead in the file: dictionary, frame, length object, two xref lines.
        const size_t overhead = doc.Object(object).size() - c.bytes.size() + doc.Object(object + 1).size() + 2 * 20;
        EXPECT_LT(overhead, 1024u);
    }
}

// What cannot go in as it is goes as our decoder reads it: a CMYK JPEG as a
// colour one, a broken or a false one as the placeholder, every picture that
// is turned or grey re-encoded. A logo's clear part is the paper's white, in
// grey as in colour, whatever colour the file keeps under it.
TEST_F(PDFImages, OtherPicturesAreReencodedAsTheDecoderReadsThem)
{
    const std::string rgb = Jpeg(16, 12);
    const uint32_t bmp = Picture(L".bmp", TestBmp(200, 200));
    const uint32_t jpeg = Picture(L".jpg", rgb);
    const uint32_t logo = Picture(L".png", ClearLogoPng(40, 0, 128, 255));
    const struct {
        const char* what;
        PDFImageRecord record;
        const char* size[2];
        // Drawn alone for the test command's renderer as well.
        bool logo = false;
    } cases[] = {
        {"cmyk", Record(Picture(L".jpg", Jpeg(8, 8, TJPF_CMYK))), {"8", "8"}},
        {"cut short", Record(Picture(L".jpg", rgb.substr(0, 300))), {"64", "64"}},
        {"a bitmap named .jpg", Record(Picture(L".jpg", TestBmp(200, 150))), {"200", "150"}},
        {"a larger bitmap", Record(bmp), {"200", "200"}},
        {"turned a quarter", Record(jpeg, 90), {"12", "16"}},
        {"grey", Record(jpeg, 0, true), {"16", "12"}},
        {"never registered", Record(0x0FFFFFF0), {"64", "64"}},
        {"a clear logo", Record(logo), {"40", "40"}, true},
        {"a clear logo, grey", Record(logo, 0, true), {"40", "40"}, true},
    };
    std::vector<PDFImageRecord> records;
    for (const auto& c : cases)
        records.push_back(c.record);
    pdftest::Document doc = WriteImageFile(records);
    ASSERT_TRUE(doc.Valid());
    for (size_t i = 0; i < records.size(); ++i) {
        const uint32_t object = 9 + 2 * static_cast<uint32_t>(i);
        const auto& c = cases[i];
        EXPECT_EQ("/DCTDecode", doc.Entry(object, "/Filter")) << c.what;
        EXPECT_EQ("/DeviceRGB", doc.Entry(object, "/ColorSpace")) << c.what;
        EXPECT_EQ(c.size[0], doc.Entry(object, "/Width")) << c.what;
        EXPECT_EQ(c.size[1], doc.Entry(object, "/Height")) << c.what;
        const std::string data = doc.StreamData(object);
        ExportJpegInfo info;
        EXPECT_TRUE(IsSoundJpeg(reinterpret_cast<const uint8_t*>(data.data()), data.size() - 2, info)) << c.what;
        EXPECT_EQ(std::string::npos, data.find("BM")) << c.what;
    }
    // The logos alone, for the test command's renderer: the paper is white
    // where they are clear, never black.
    std::vector<PDFImageRecord> logos;
    for (const auto& c : cases) {
        if (c.logo)
            logos.push_back(c.record);
    }
    pdftest::TempPath logoFile;
    ASSERT_TRUE(WriteFileBytes(logoFile.Path(), WriteImageFile(logos).Bytes()));
    KeepForReaders("OT_PDF_CHECK_DIR", logoFile.Path(), L"clear_logos.pdf");
    pdftest::TempPath expect(L".expect");
    ASSERT_TRUE(WriteFileBytes(expect.Path(), "colour-absent 1 000000\ncolour-present 1 0080FF\ncolour-present 1 7F7F7F\n"));
    KeepForReaders("OT_PDF_CHECK_DIR", expect.Path(), L"clear_logos.expect");
}

// So is a picture that JPEG cannot hold (over 65,500 pixels wide), made
// grey as a re-encoded one is, its clear parts the paper's white.
TEST_F(PDFImages, ASmallBmpAndAPictureTooWideForJpegAreWrittenAsFlateCompressedRgb)
{
    pdftest::Document doc = WriteImageFile({Record(Picture(L".bmp", TestBmp(100, 100)))});
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

    // One row: clear black on the left half, opaque (0, 128, 255) on the right.
    const uint32_t wide = 70000;
    std::string samples;
    for (uint32_t x = 0; x < wide; ++x)
        samples += x < wide / 2 ? std::string(4, '\0') : std::string("\x00\x80\xFF\xFF", 4);
    const uint32_t id = Picture(L".png", PngFile(wide, 1, 8, true, samples));
    pdftest::Document grey = WriteImageFile({Record(id, 0, true)});
    ASSERT_TRUE(grey.Valid());
    EXPECT_EQ("/FlateDecode", grey.Entry(9, "/Filter"));
    const std::string pixels = pdftest::Inflate(grey.StreamData(9));
    ASSERT_EQ(size_t(wide) * 3 + 2, pixels.size());
    for (uint32_t x : {0u, wide / 2 - 1, wide / 2, wide - 1}) {
        const uint8_t expected = x < wide / 2 ? 255 : 127;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(expected, static_cast<uint8_t>(pixels[size_t(x) * 3 + c])) << x;
    }
}

// A photograph recorded sideways keeps its stored pixels, which the
// placement turns: as it is when it passes the check, turned against the
// placement when our decoder gives it instead; a damaged one is drawn
// upright, as the placeholder it shows.
TEST_F(PDFImages, APhotographRecordedSidewaysKeepsItsStoredSides)
{
    const std::string rgb = Jpeg(48, 32);
    auto cut = [](const std::string& bytes) { return bytes.substr(0, bytes.size() - 60); };
    const struct {
        const char* what;
        std::string bytes;
        uint8_t orientation;  // the placement's
        const char* size[2];  // the XObject's
        bool asItIs;
    } cases[] = {
        {"sound, orientation 6", WithSegment(rgb, ExifSegment(6)), 6, {"48", "32"}, true},
        {"cmyk, orientation 8", WithSegment(Jpeg(48, 32, TJPF_CMYK), ExifSegment(8)), 8, {"48", "32"}, false},
        {"cut short, orientation 6", cut(WithSegment(rgb, ExifSegment(6))), 1, {"64", "64"}, false},
        {"cut short, mirrored (5)", cut(WithSegment(rgb, ExifSegment(5))), 1, {"64", "64"}, false},
        {"sound, mirrored (2)", WithSegment(rgb, ExifSegment(2)), 2, {"48", "32"}, true},
    };
    for (const auto& c : cases) {
        const PDFImageRecord record = Record(Picture(L".jpg", c.bytes));
        EXPECT_EQ(c.orientation, record.orientation) << c.what;
        pdftest::Document doc = WriteImageFile({record});
        EXPECT_EQ(c.size[0], doc.Entry(9, "/Width")) << c.what;
        EXPECT_EQ(c.size[1], doc.Entry(9, "/Height")) << c.what;
        EXPECT_EQ(c.asItIs, doc.StreamData(9) == c.bytes + "\r\n") << c.what;
    }
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
