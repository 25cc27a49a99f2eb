// Picture files and picture layers of the HTML export: one file per picture,
// rotation and grey scale, each one a browser shows; names with blanks; the
// layers of pictures, backgrounds and watermark pictures.
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExpImgItem.h"
#include "export/html/TalHTMLExp.h"
#include "model/TalTextFormat.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

#include <png.h>

using namespace htmltest;

namespace {

const char* const kNoLibrary = "DAZiruraRuv.dll must lie next to the test program (build target ot_rasterlib)";

SIZE PictureSize(const std::wstring& path)
{
    SIZE size = {0, 0};
    g_rasterLib.GetImageSize(g_rasterLib.GetPictureId(path.c_str()), size);
    return size;
}

}  // namespace

TEST(HtmlImageItems, SameKindMeansSameGreyAndRotation)
{
    CExpImgItem plain(10, 20, 0, 0, CString(L"a.jpg"));
    EXPECT_TRUE(plain.IsSameKind(CExpImgItem(0, 0, 0, 0, CString())));
    EXPECT_FALSE(plain.IsSameKind(CExpImgItem(10, 20, 90, 0, CString(L"a.jpg"))));
    EXPECT_FALSE(plain.IsSameKind(CExpImgItem(10, 20, 0, 1, CString(L"a.jpg"))));
}

class HtmlPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(HasRasterLibrary()) << kNoLibrary;
        m_data = m_folder.Path() + L"report_data\\";
        ASSERT_TRUE(::CreateDirectoryW(m_data.c_str(), nullptr));
        m_exporter.SetPageGeometry(2100, 2970, 96.0, 96.0);
        m_exporter.SetOutput(CString(m_data.c_str()), CString(L"report"), CString(L"htm"));
        m_source = m_folder.Path() + L"photo one.jpg";
        m_picture = MakePicture(m_source, 200, 100, 0xE0, 0x20, 0x20);
        ASSERT_NE(0u, m_picture);
    }

    CExportTestFolder m_folder;
    std::wstring m_data;
    std::wstring m_source;
    uint32_t m_picture = 0;
    CTalHTMLExp m_exporter;
};

TEST_F(HtmlPictures, OneFilePerRotationAndGreyScale)
{
    TalObjExport first(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, false);
    TalObjExport again(m_picture, CKWDoubleRect(0.5, 0.5, 1, 1), 0, false);
    TalObjExport turned(m_picture, CKWDoubleRect(0, 0, 1, 1), 90, false);
    TalObjExport grey(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, true);

    double width = 0, height = 0;
    EXPECT_EQ("report_image1.jpg", Narrow(m_exporter.WriteImageFile(first, &width, &height)));
    EXPECT_EQ(200.0, width);
    EXPECT_EQ(100.0, height);
    EXPECT_EQ("report_image1.jpg", Narrow(m_exporter.WriteImageFile(again)));
    EXPECT_EQ("report_image2.jpg", Narrow(m_exporter.WriteImageFile(turned, &width, &height)));
    EXPECT_EQ(100.0, width);
    EXPECT_EQ(200.0, height);
    EXPECT_EQ("report_image3.jpg", Narrow(m_exporter.WriteImageFile(grey)));
    EXPECT_EQ(3u, m_exporter.GetWrittenImages().size());
    ASSERT_TRUE(m_exporter.PutFilesInPlace());

    // Unchanged pictures are copied, the others encoded anew.
    EXPECT_EQ(ReadFileBytes(m_source), ReadFileBytes(m_data + L"report_image1.jpg"));
    SIZE turnedSize = PictureSize(m_data + L"report_image2.jpg");
    EXPECT_EQ(100, turnedSize.cx);
    EXPECT_EQ(200, turnedSize.cy);
    EXPECT_NE(ReadFileBytes(m_source), ReadFileBytes(m_data + L"report_image3.jpg"));
    const std::vector<std::wstring> files = {L"report_image1.jpg", L"report_image2.jpg", L"report_image3.jpg"};
    EXPECT_EQ(files, ListFolder(m_data));

    // Whatever happens to the source now, a second use reports the written file's size.
    ASSERT_TRUE(::DeleteFileW(m_source.c_str()));
    EXPECT_EQ("report_image1.jpg", Narrow(m_exporter.WriteImageFile(again, &width, &height)));
    EXPECT_EQ(200.0, width);
    EXPECT_EQ(100.0, height);
}

TEST_F(HtmlPictures, BlanksAreEscapedOnlyInReferences)
{
    m_exporter.SetOutput(CString(m_data.c_str()), CString(L"my report"), CString(L"htm"));
    TalObjExport picture(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, false);
    EXPECT_EQ("my%20report_image1.jpg", Narrow(m_exporter.WriteImageFile(picture)));
    ASSERT_TRUE(m_exporter.PutFilesInPlace());
    EXPECT_TRUE(FileExistsAt(m_data + L"my report_image1.jpg"));
}

TEST_F(HtmlPictures, APictureThatCannotBeWrittenIsReported)
{
    m_exporter.SetOutput(CString((m_folder.Path() + L"no such folder\\").c_str()), CString(L"report"),
                         CString(L"htm"));
    TalObjExport plain(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, false);
    m_exporter.WriteImageFile(plain);
    EXPECT_TRUE(m_exporter.HasWriteFailed());

    CTalHTMLExp encoder;
    encoder.SetOutput(CString((m_folder.Path() + L"no such folder\\").c_str()), CString(L"report"), CString(L"htm"));
    TalObjExport turned(m_picture, CKWDoubleRect(0, 0, 1, 1), 180, false);
    encoder.WriteImageFile(turned);
    EXPECT_TRUE(encoder.HasWriteFailed());
}

// The markup of picture layers against a golden file: a picture fitted into
// its box and captioned (names escaped), one without caption, a background
// over the whole page, watermark pictures at their own size in their place.
TEST_F(HtmlPictures, PictureLayersMatchTheGolden)
{
    CTalTextFormat format;
    format.m_size = 9;
    TalObjExport object(m_picture, CKWDoubleRect(0.1, 0.1, 0.5, 0.3), 0, false);
    object.GetImageRecord()->SetString(CString(L"A \"big\" fish & chips"));
    object.GetImageRecord()->SetFormat(&format);
    std::string dump = Narrow(m_exporter.PictureLayer(object, 2));
    TalObjExport bare(m_picture, CKWDoubleRect(0, 0, 0.5, 0.5), 0, false);
    dump += Narrow(m_exporter.PictureLayer(bare, 1));
    dump += Narrow(m_exporter.BackgroundLayer(TalObjExport(m_picture), 1));
    for (int place : {4, 8, 0})
        dump += Narrow(m_exporter.WatermarkPictureLayer(TalObjExport(m_picture, 1.0, 0.5, place), 1));
    ExpectGolden(L"html_picture_layers.txt", dump);
}

// Browsers show JPEG, PNG, GIF and BMP files as they stand and turn a
// photograph by its recorded orientation: such files are copied, the box
// takes the upright size; a TIFF is written as PNG, a broken JPEG as our
// decoder reads it (the placeholder); a picture without a file (gone, or no
// path at all) as the placeholder in PNG. A clear logo stays clear where it
// is, copied in colour and written anew in grey.
TEST_F(HtmlPictures, EveryPictureFileIsOneABrowserShows)
{
    using namespace testpictures;
    const std::string jpeg = EncodeJpeg(PhotoPixels(48, 32, 1), 48, 32);
    const std::string logo = ClearLogoPng(40, 0, 128, 255);
    const struct {
        const wchar_t* name;
        std::string bytes;
        const char* written;
        bool copied;
        double width, height;
        bool grey = false;
        // The written PNG read by libpng: clear at the corner, opaque in the
        // middle with this colour (0xRRGGBB); -1: not looked at.
        int64_t middle = -1;
    } cases[] = {
        {L"turned.jpg", WithSegment(jpeg, ExifSegment(6)), "report_image1.jpg", true, 32, 48},
        {L"scan.tif", TiffFile(20, 10, PhotoPixels(20, 10, 2), 1, true), "report_image2.png", false, 20, 10},
        {L"cut.jpg", jpeg.substr(0, jpeg.size() / 2), "report_image3.jpg", false, 64, 64},
        {L"named.png", jpeg, "report_image4.jpg", true, 48, 32},
        {L"gone.jpg", "", "report_image5.png", false, 64, 64},
        {L"", "", "report_image6.png", false, 64, 64},
        {L"logo.png", logo, "report_image7.png", true, 40, 40, false, 0x0080FF},
        {L"logo.png", logo, "report_image8.png", false, 40, 40, true, 0x7F7F7F},
    };
    for (const auto& c : cases) {
        const std::wstring source = *c.name ? m_folder.Path() + c.name : std::wstring();
        ASSERT_TRUE(c.bytes.empty() || WriteFileBytes(source, c.bytes));
        TalObjExport picture(g_rasterLib.GetPictureId(source.c_str()), CKWDoubleRect(0, 0, 1, 1), 0, c.grey);
        double width = 0, height = 0;
        EXPECT_EQ(c.written, Narrow(m_exporter.WriteImageFile(picture, &width, &height))) << Narrow(c.name);
        ASSERT_TRUE(m_exporter.PutFilesInPlace());
        const std::string written = ReadFileBytes(m_data + Wide(c.written));
        EXPECT_EQ(c.copied, written == c.bytes) << Narrow(c.name);
        EXPECT_TRUE(IsShownPicture(written)) << Narrow(c.name);
        EXPECT_EQ(c.width, width) << Narrow(c.name);
        EXPECT_EQ(c.height, height) << Narrow(c.name);
        if (c.middle >= 0) {
            png_image image = {};
            image.version = PNG_IMAGE_VERSION;
            ASSERT_TRUE(png_image_begin_read_from_memory(&image, written.data(), written.size())) << c.written;
            image.format = PNG_FORMAT_RGBA;
            std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
            ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << c.written;
            ASSERT_EQ(40u, image.width);
            EXPECT_EQ(0, rgba[3]) << c.written << ": the corner is clear";
            const uint8_t* middle = &rgba[(20 * 40 + 20) * 4];
            EXPECT_EQ(255, middle[3]) << c.written;
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(int((c.middle >> (16 - 8 * k)) & 0xFF), middle[k]) << c.written;
        }
    }
    EXPECT_FALSE(m_exporter.HasWriteFailed());
}
