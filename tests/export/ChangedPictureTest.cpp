// A picture that the HTML pages and the presentation copy as it stands (a
// PNG), sound when the pictures were checked and cut short before the
// report is written, goes in as the placeholder, never as its cut bytes.
#include <gtest/gtest.h>

#include "export/html/TalHTMLExp.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWRasterLib.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/html/HtmlTestSupport.h"
#include "tests/support/PictureSizes.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"

TEST(ChangedPicture, APngCutShortAfterItsCheckGoesInAsThePlaceholder)
{
    CExportTestFolder folder;
    KWRasterImagePtr placeholder(g_rasterLib.RasterCopyPlaceholder());
    ASSERT_NE(nullptr, placeholder);
    for (const wchar_t* output : {L"out.html", L"out.ppt"}) {
        const bool html = std::wstring(output) == L"out.html";
        SCOPED_TRACE(html ? "HTML" : "PowerPoint");
        const std::wstring name = html ? L"chart.png" : L"slide chart.png";
        const std::wstring source = folder.Write(
            name.c_str(), testpictures::PngFile(320, 240, 8, false, testpictures::PhotoPixels(320, 240, 5)));
        const uint32_t id = g_rasterLib.GetPictureId(source.c_str());
        g_rasterLib.CheckPictures({id}, false);
        ASSERT_EQ(KWPictureState::Sound, g_rasterLib.GetPictureState(id, false));
        const std::string cut = ReadFileBytes(source).substr(0, 200);
        ASSERT_TRUE(WriteFileBytes(source, cut));

        const auto compose = [id](TalPageList& pages) {
            pages.push_back(new TalPageExport(kSectionPage, L"Chart", nullptr));
            pages.back()->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));
        };
        std::wstring written;
        if (html) {
            htmltest::TestDocument document;
            document.SetComposer([&](htmltest::TestDocument&, TalPageList& pages) { compose(pages); });
            CTalHTMLExp exporter;
            ASSERT_TRUE(exporter.WriteExport(document, (folder.Path() + output).c_str()));
            written = folder.Path() + L"out_data\\out_image1.png";
        } else {
            CTestPages pages;
            compose(pages.List());
            PPTWriter writer;
            ASSERT_TRUE(writer.Export(pages.List(), 2540, 1905, nullptr, CString((folder.Path() + output).c_str())));
            written = folder.Path() + L"out_Images\\" + name;
        }
        const std::string bytes = ReadFileBytes(written);
        EXPECT_NE(cut, bytes);
        const SIZE size = test_support::PictureSize(bytes);
        EXPECT_EQ(LONG(placeholder->width), size.cx);
        EXPECT_EQ(LONG(placeholder->height), size.cy);
        EXPECT_EQ(KWPictureState::Damaged, g_rasterLib.GetPictureState(id, false));
    }
}
