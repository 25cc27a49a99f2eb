// A varied report composed the way the document composes it (title page,
// nested sections, pictures turned, grey, described and on new pages, text
// notes that spill over pages, every watermark kind) and exported as HTML:
// one document per page, each picture file once per look, every reference
// leading to a file.
#include <gtest/gtest.h>

#include <set>

#include "export/ComposeExportPages.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalPicture.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"

namespace {

// The document's own composition: pages of the whole report.
class ComposedDocument : public htmltest::TestDocument {
public:
    bool ComposeExportPages(bool printing) override
    {
        SetComposer([printing](TestDocument& document, TalPageList& pages) {
            ::ComposeExportPages(document.Properties(), pages, printing, nullptr, nullptr);
        });
        return TestDocument::ComposeExportPages(printing);
    }
};

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

}  // namespace

class HtmlComposedReport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    uint32_t Picture(const wchar_t* name, uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b)
    {
        const uint32_t id = htmltest::MakePicture(m_folder.Path() + name, width, height, r, g, b);
        EXPECT_NE(0u, id) << htmltest::Narrow(std::wstring(name));
        return id;
    }

    void BuildReport()
    {
        CTalDocProperties& doc = m_document.Properties();
        doc.SetPaperKind(CTalDocProperties::kPaperPrint);
        doc.m_printWidth = 2100;
        doc.m_printHeight = 2970;
        doc.m_title = L"Survey of the North Shore";
        doc.m_subject = L"Field report";
        doc.m_author = L"R. Tallier & Sons";
        doc.m_insertTitlePage = 1;
        doc.m_insertContents = 1;
        doc.m_insertWatermarks = 1;
        doc.m_insertDate = 0;
        doc.m_useDescription = 1;

        const uint32_t red = Picture(L"red harbour.jpg", 320, 200, 0xD0, 0x20, 0x20);
        const uint32_t green = Picture(L"green.jpg", 200, 300, 0x20, 0xB0, 0x30);
        const uint32_t blue = Picture(L"blue.jpg", 240, 240, 0x20, 0x40, 0xD0);
        const uint32_t stamp = Picture(L"stamp.jpg", 64, 64, 0xF0, 0xC0, 0x00);

        CTalWatermark* text = new CTalWatermark;
        text->m_kind = CTalWatermark::kText;
        text->m_text = L"DRAFT <1>";
        text->m_place = 4;
        text->m_textFormat.m_size = 40;
        text->m_textFormat.m_color = RGB(0xC0, 0xC0, 0xC0);
        CTalWatermark* picture = new CTalWatermark;
        picture->m_kind = CTalWatermark::kImage;
        picture->m_sendToFront = 1;
        picture->m_pictureId = static_cast<int32_t>(stamp);
        picture->m_unit = CTalWatermark::kUnitInch;
        picture->m_width = 0.5;
        picture->m_height = 0.5;
        picture->m_place = 2;
        CTalWatermark* number = new CTalWatermark;
        number->m_kind = CTalWatermark::kPageNumber;
        number->m_sendToFront = 1;
        number->m_place = 7;
        for (CTalWatermark* mark : {text, picture, number})
            doc.AddWatermark(mark);

        const CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}},
                                                          {CTalTemplate::kCellSubject, {0.1, 0.22, 0.9, 0.27}},
                                                          {CTalTemplate::kCellAuthor, {0.1, 0.6, 0.9, 0.64}}});
        doc.m_titleTemplateName = title->GetName();
        const CTalTemplate* twoUp = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.03, 0.9, 0.07}},
                                                         {CTalTemplate::kCellPictures, {0.1, 0.1, 0.48, 0.45}},
                                                         {CTalTemplate::kCellPictures, {0.52, 0.1, 0.9, 0.45}},
                                                         {CTalTemplate::kCellText, {0.1, 0.5, 0.9, 0.6}}},
                                                        static_cast<int32_t>(blue));

        CKWRefPtr<CTalSection> heading = doc.GetHeadingSection();
        heading->SetName(L"Survey");
        UseTemplate(heading.Get(), twoUp);
        AddPicture(heading.Get(), red, true, false, L"Harbour & \"pier\" a&lt;b");
        CKWRefPtr<CTalPicture> turned = AddPicture(heading.Get(), green, true, false, L"Turned");
        turned->SetAngle(90);
        FillNote(*heading->GetTextNote(), (L"Costs: a &lt; b & c\n" + NumberedLines(30)).c_str());

        CKWRefPtr<CTalSection> alpha = AddSection(heading.Get(), L"R&D <north>");
        AddPicture(alpha.Get(), red, true, true, L"Again");
        CKWRefPtr<CTalPicture> grey = AddPicture(alpha.Get(), green, true, false, L"Grey");
        grey->SetGrayscale(CTalPicture::kYes);
        AddPicture(alpha.Get(), blue, false, false, L"Hidden");
        CKWRefPtr<CTalSection> alphaOne = AddSection(alpha.Get(), L"Alpha one");
        AddPicture(alphaOne.Get(), red);
        AddSection(heading.Get(), L"Empty");
    }

    CExportTestFolder m_folder;
    ComposedDocument m_document;
    CTalHTMLExp m_exporter;
};

TEST_F(HtmlComposedReport, EveryPageAndPictureIsWrittenAndLinked)
{
    ASSERT_TRUE(htmltest::HasRasterLibrary());
    BuildReport();
    const std::wstring out = m_folder.Path() + L"survey.html";
    ASSERT_TRUE(m_exporter.WriteExport(m_document, out.c_str()));
    const TalPageList& pages = m_document.GetExportPages();
    ASSERT_GE(pages.size(), 5u);
    EXPECT_EQ(kTitlePage, pages[0]->GetKind());
    for (const TalPageExport* page : pages)
        EXPECT_NE(kContentsPage, page->GetKind());

    const std::wstring data = m_folder.Path() + L"survey_data\\";
    for (size_t k = 1; k <= pages.size(); ++k) {
        CString name;
        ASSERT_TRUE(MakePageFileName(CString(L"survey"), CString(L"html"), name, int(k), int(pages.size())));
        const std::string text = ReadTestFile(data + name.GetString());
        ASSERT_FALSE(text.empty()) << k;
        EXPECT_EQ(Count(text, "<div id=\"Layer"), pages[k - 1]->GetObjects().size()) << k;
    }

    // Red plain, green turned, green grey, the blue background and the stamp;
    // the hidden picture is not shown, the repeated red is written once.
    std::set<std::wstring> pictures;
    for (const std::wstring& file : htmltest::ListFolder(data)) {
        if (file.find(L"_image") != std::wstring::npos)
            pictures.insert(file);
    }
    EXPECT_EQ(5u, pictures.size());
    EXPECT_EQ(5u, m_exporter.GetWrittenImages().size());

    const std::string contents = ReadTestFile(data + L"survey_c.html");
    EXPECT_NE(std::string::npos, contents.find("TARGET=\"Report\">R&amp;D &lt;north&gt;</A>"));
    EXPECT_NE(std::string::npos, contents.find("TARGET=\"Report\">Title-page</A>"));

    htmltest::LinkReport report = htmltest::WalkLinks(out);
    EXPECT_GE(report.references, 40u);
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
    // '&' in a note, a section title and a caption reads back as typed.
    for (const char* typed : {"Costs: a &lt; b & c", "R&D <north>", "Harbour & \"pier\" a&lt;b", "R. Tallier & Sons"})
        EXPECT_NE(std::string::npos, report.text.find(typed)) << typed;
}
