// Picture files and picture layers of the HTML export: one file per picture,
// rotation and grey scale; names with blanks; the layers of pictures,
// backgrounds and watermark pictures.
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExpImgItem.h"
#include "export/html/TalHTMLExp.h"
#include "model/TalTextFormat.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"

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

    // Unchanged pictures are copied, the others encoded anew.
    EXPECT_EQ(ReadTestFile(m_source), ReadTestFile(m_data + L"report_image1.jpg"));
    SIZE turnedSize = PictureSize(m_data + L"report_image2.jpg");
    EXPECT_EQ(100, turnedSize.cx);
    EXPECT_EQ(200, turnedSize.cy);
    EXPECT_NE(ReadTestFile(m_source), ReadTestFile(m_data + L"report_image3.jpg"));
    const std::vector<std::wstring> files = {L"report_image1.jpg", L"report_image2.jpg", L"report_image3.jpg"};
    EXPECT_EQ(files, ListFolder(m_data));
}

TEST_F(HtmlPictures, ASecondUseReportsTheStoredSize)
{
    TalObjExport first(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, false);
    m_exporter.WriteImageFile(first);
    // Whatever happens to the source now, the written file's size holds.
    ASSERT_TRUE(::DeleteFileW(m_source.c_str()));
    double width = 0, height = 0;
    EXPECT_EQ("report_image1.jpg", Narrow(m_exporter.WriteImageFile(first, &width, &height)));
    EXPECT_EQ(200.0, width);
    EXPECT_EQ(100.0, height);
}

TEST_F(HtmlPictures, BlanksAreEscapedOnlyInReferences)
{
    m_exporter.SetOutput(CString(m_data.c_str()), CString(L"my report"), CString(L"htm"));
    TalObjExport picture(m_picture, CKWDoubleRect(0, 0, 1, 1), 0, false);
    EXPECT_EQ("my%20report_image1.jpg", Narrow(m_exporter.WriteImageFile(picture)));
    EXPECT_TRUE(FileExistsAt(m_data + L"my report_image1.jpg"));
}

// A picture without a file shows the placeholder, written as PNG, so that the
// reference resolves.
TEST_F(HtmlPictures, AMissingSourceGetsThePlaceholder)
{
    const uint32_t missing = g_rasterLib.GetPictureId((m_folder.Path() + L"gone.jpg").c_str());
    const uint32_t none = g_rasterLib.GetPictureId(L"");
    int number = 1;
    for (uint32_t id : {missing, none}) {
        TalObjExport picture(id, CKWDoubleRect(0, 0, 1, 1), 0, false);
        double width = 0, height = 0;
        const std::string name = "report_image" + std::to_string(number++) + ".png";
        EXPECT_EQ(name, Narrow(m_exporter.WriteImageFile(picture, &width, &height)));
        EXPECT_EQ(0u, ReadTestFile(m_data + Wide(name)).find("\x89PNG"));
        EXPECT_EQ(64.0, width);
        EXPECT_EQ(64.0, height);
    }
    EXPECT_FALSE(m_exporter.HasWriteFailed());
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

TEST_F(HtmlPictures, PictureLayerFitsThePictureAndCaptionsIt)
{
    CTalTextFormat format;
    format.m_size = 9;
    TalObjExport object(m_picture, CKWDoubleRect(0.1, 0.1, 0.5, 0.3), 0, false);
    object.GetImageRecord()->SetString(CString(L"A \"big\" fish & chips"));
    object.GetImageRecord()->SetFormat(&format);
    // Box 317.5 x 224.5 pixels at (79.4, 112.3): the 2:1 picture takes its width.
    EXPECT_EQ("\t\t\t<div id=\"Layer2\" style=\"position:absolute; visibility:inherit; width:793px; height:1122px\">\n"
              "\t\t\t\t<TABLE border=\"0\">\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
              "\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: 112px\" alt=\"\" src=blank.gif></TD></TR>\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 79px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
              "\t\t\t\t<TD align = center width = 317px height = 224px>"
              "<CENTER><IMG style=\"WIDTH: 317px; HEIGHT: 158px\" alt=\"A &quot;big&quot; fish &amp; chips\" "
              "src=\"report_image1.jpg\"></CENTER>"
              "<FONT style = \"font-size:9pt;  font-family:Arial; color:#000000; font-weight:normal; "
              "font-style:normal; text-decoration:none\">A \"big\" fish &amp; chips</FONT></TD></TR></TABLE>\n"
              "\t\t\t</div>\n",
              Narrow(m_exporter.PictureLayer(object, 2)));

    TalObjExport bare(m_picture, CKWDoubleRect(0, 0, 0.5, 0.5), 0, false);
    EXPECT_NE(std::string::npos, Narrow(m_exporter.PictureLayer(bare, 1))
                                     .find("<TD width = 396px height = 561px><CENTER><IMG style=\"WIDTH: 396px; "
                                           "HEIGHT: 198px\" alt=\"\" src=\"report_image1.jpg\"></CENTER></TD>"));
}

TEST_F(HtmlPictures, BackgroundCoversThePage)
{
    TalObjExport background(m_picture);
    EXPECT_EQ("\t\t\t<div id=\"Layer1\" style=\"position:absolute; visibility:inherit; width:793px; height:1122px\">\n"
              "\t\t\t\t<IMG style=\"WIDTH: 793px; HEIGHT: 1122px\" alt=\"\" src=\"report_image1.jpg\"></div>\n",
              Narrow(m_exporter.BackgroundLayer(background, 1)));
}

TEST_F(HtmlPictures, WatermarkPicturesTakeTheirNaturalSizeAtTheirPlace)
{
    // One inch by half an inch: 96 x 48 pixels.
    const struct {
        int place;
        const char* table;
    } cases[] = {
        {4, "\t\t\t\t<TABLE border=\"0\">\n"
            "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
            "\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: 537px\" alt=\"\" src=blank.gif></TD></TR>\n"
            "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 348px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
            "\t\t\t\t<TD width = 96px height = 48px>"},
        {8, "\t\t\t\t<TABLE border=\"0\">\n"
            "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
            "\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: 1074px\" alt=\"\" src=blank.gif></TD></TR>\n"
            "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 697px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
            "\t\t\t\t<TD width = 96px height = 48px>"},
        {0, "\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD width = 96px height = 48px>"},
    };
    for (const auto& c : cases) {
        TalObjExport watermark(m_picture, 1.0, 0.5, c.place);
        EXPECT_EQ(std::string("\t\t\t<div id=\"Layer1\" style=\"position:absolute; visibility:inherit; width:793px; "
                              "height:1122px\">\n") +
                      c.table +
                      "<IMG style=\"WIDTH: 96px; HEIGHT: 48px\" src=\"report_image1.jpg\"><br></TD></TR></TABLE>\n"
                      "\t\t\t</div>\n",
                  Narrow(m_exporter.WatermarkPictureLayer(watermark, 1)))
            << c.place;
    }
}

// A varied report through the whole export: every reference resolves, and the
// pages reference their own picture files.
TEST_F(HtmlPictures, AVariedReportLinksEveryFile)
{
    const uint32_t blue = MakePicture(m_folder.Path() + L"blue.jpg", 120, 160, 0x20, 0x40, 0xE0);
    ASSERT_NE(0u, blue);
    TestDocument document;
    CTalDocProperties& properties = document.Properties();
    properties.SetPaperKind(CTalDocProperties::kPaperPrint);
    properties.m_printWidth = 2100;
    properties.m_printHeight = 2970;
    properties.m_insertContents = 1;
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    CTalTextFormat* caption = properties.GetTextFormat(kTalFormatImageName, true);
    const uint32_t red = m_picture;
    document.SetComposer([&](TestDocument&, TalPageList& pages) {
        TalPageExport* one = NewPage(kSectionPage, L"One", heading.Get());
        one->AddObject(new TalObjExport(blue));
        TalObjExport* picture = new TalObjExport(red, CKWDoubleRect(0.1, 0.1, 0.9, 0.5), 0, false);
        picture->GetImageRecord()->SetString(CString(L"Red"));
        picture->GetImageRecord()->SetFormat(caption);
        one->AddObject(picture);
        one->AddObject(new TalObjExport(blue, 1.0, 1.0, 8));
        TalPageExport* two = NewPage(kSectionPage, L"Two", heading.Get());
        two->AddObject(new TalObjExport(red, CKWDoubleRect(0.1, 0.1, 0.9, 0.5), 90, false));
        two->AddObject(new TalObjExport(red, CKWDoubleRect(0.1, 0.5, 0.9, 0.9), 0, false));
        pages.push_back(one);
        pages.push_back(two);
    });
    const std::wstring out = m_folder.Path() + L"my report.htm";
    ASSERT_TRUE(m_exporter.WriteExport(document, out.c_str()));
    const std::wstring data = m_folder.Path() + L"my report_data\\";
    const std::vector<std::wstring> expected = {L"back.png",
                                                L"blank.gif",
                                                L"my report.htm",
                                                L"my report2.htm",
                                                L"my report_c.htm",
                                                L"my report_image1.jpg",
                                                L"my report_image2.jpg",
                                                L"my report_image3.jpg",
                                                L"next.png"};
    EXPECT_EQ(expected, ListFolder(data));
    const std::string one = ReadTestFile(data + L"my report.htm");
    const std::string two = ReadTestFile(data + L"my report2.htm");
    EXPECT_NE(std::string::npos, one.find("src=\"my%20report_image1.jpg\""));  // background
    EXPECT_NE(std::string::npos, one.find("src=\"my%20report_image2.jpg\""));  // red picture
    EXPECT_NE(std::string::npos, two.find("src=\"my%20report_image3.jpg\""));  // red, turned
    EXPECT_NE(std::string::npos, two.find("src=\"my%20report_image2.jpg\""));  // red again
    EXPECT_EQ(std::string::npos, two.find("image1"));

    LinkReport report = WalkLinks(out);
    EXPECT_GE(report.references, 25u);
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
}
