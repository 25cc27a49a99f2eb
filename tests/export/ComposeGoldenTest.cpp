// The composed pages of a varied report, dumped as text and compared with a
// golden file: every picture option, nested sections, long text notes that
// spill over pages, every watermark kind, the title and contents pages. With
// the variable OT_REGENERATE_GOLDENS set, the golden file is written instead.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "export/ComposeExportPages.h"
#include "export/ComposeTitlePage.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

namespace {

class ComposeGoldenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    uint32_t Image(const wchar_t* name, int width, int height)
    {
        const std::wstring path = m_folder.Path() + name;
        EXPECT_TRUE(WriteTestBmp(path, width, height));
        const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
        m_images[id] = Narrow(name);
        return id;
    }

    void BuildReport()
    {
        CTalDocProperties& doc = m_properties;
        const uint32_t logo = Image(L"logo.bmp", 64, 32);
        const uint32_t paper = Image(L"paper.bmp", 20, 28);
        const uint32_t stamp = Image(L"stamp.bmp", 40, 40);
        uint32_t photos[12];
        for (int i = 0; i < 12; ++i)
            photos[i] = Image((L"photo" + std::to_wstring(i) + L".bmp").c_str(), 30 + 10 * i, 60 - 3 * i);

        doc.m_title = L"Survey of the North Shore";
        doc.m_subject = L"Field report";
        doc.m_author = L"R. Tallier";
        doc.m_company = L"Kestrel Works";
        doc.m_description = L"Pictures and notes of the spring survey.";
        doc.m_logoPictureId = static_cast<int32_t>(logo);
        doc.m_insertLogo = 1;
        doc.m_insertDate = 1;
        doc.m_insertTitlePage = 1;
        doc.m_insertContents = 1;
        doc.m_insertWatermarks = 1;
        doc.m_numberSections = 1;
        doc.m_useDescription = 0;
        doc.m_grayscale = 1;
        doc.m_useTextStyles = 1;
        const uint32_t times = doc.GetFontTable().FindOrAdd(L"Times New Roman");
        for (int id = 1; id <= 9; ++id) {
            CTalTextFormat* format = doc.GetTextFormat(id, true);
            format->m_size = static_cast<int16_t>(8 + 2 * id);
            format->m_style = static_cast<uint8_t>(id % 8);
            format->m_align = static_cast<uint8_t>(id % 3);
            format->m_font = id % 2 ? times : 7;  // 7: beyond the table
        }

        CTalWatermark* text = new CTalWatermark;
        text->m_kind = CTalWatermark::kText;
        text->m_text = L"CONFIDENTIAL";
        text->m_place = 4;
        text->m_textFormat.m_size = 40;
        CTalWatermark* mmPicture = new CTalWatermark;
        mmPicture->m_kind = CTalWatermark::kImage;
        mmPicture->m_sendToFront = 1;
        mmPicture->m_pictureId = static_cast<int32_t>(stamp);
        mmPicture->m_unit = CTalWatermark::kUnitMillimetre;
        mmPicture->m_width = 50.8;
        mmPicture->m_height = 25.4;
        mmPicture->m_place = 2;
        CTalWatermark* inchPicture = new CTalWatermark;
        inchPicture->m_kind = CTalWatermark::kImage;
        inchPicture->m_pictureId = static_cast<int32_t>(stamp);
        inchPicture->m_unit = CTalWatermark::kUnitInch;
        inchPicture->m_width = 1.5;
        inchPicture->m_height = 0.75;
        inchPicture->m_place = 6;
        CTalWatermark* number = new CTalWatermark;
        number->m_kind = CTalWatermark::kPageNumber;
        number->m_sendToFront = 1;
        number->m_firstNumber = 3;
        number->m_place = 7;
        for (CTalWatermark* mark : {text, mmPicture, inchPicture, number})
            doc.AddWatermark(mark);

        const CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}},
                                                          {CTalTemplate::kCellSubject, {0.1, 0.22, 0.9, 0.27}},
                                                          {CTalTemplate::kCellAuthor, {0.1, 0.6, 0.9, 0.64}},
                                                          {CTalTemplate::kCellCompany, {0.1, 0.65, 0.9, 0.69}},
                                                          {CTalTemplate::kCellDescription, {0.1, 0.7, 0.9, 0.8}},
                                                          {CTalTemplate::kCellLogo, {0.35, 0.3, 0.65, 0.5}},
                                                          {CTalTemplate::kCellDate, {0.1, 0.9, 0.9, 0.95}}},
                                                         static_cast<int32_t>(paper));
        doc.m_titleTemplateName = title->GetName();
        // Two pictures above a text cell.
        const CTalTemplate* twoUp = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.03, 0.9, 0.07}},
                                                         {CTalTemplate::kCellPictures, {0.1, 0.1, 0.48, 0.45}},
                                                         {CTalTemplate::kCellPictures, {0.52, 0.1, 0.9, 0.45}},
                                                         {CTalTemplate::kCellText, {0.1, 0.5, 0.9, 0.6}}},
                                                        static_cast<int32_t>(paper));
        // The heading in the middle, three pictures, two text cells.
        const CTalTemplate* middle = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.45, 0.9, 0.52}},
                                                          {CTalTemplate::kCellPictures, {0.1, 0.05, 0.3, 0.25}},
                                                          {CTalTemplate::kCellPictures, {0.4, 0.05, 0.6, 0.25}},
                                                          {CTalTemplate::kCellPictures, {0.7, 0.05, 0.9, 0.25}},
                                                          {CTalTemplate::kCellText, {0.1, 0.28, 0.48, 0.42}},
                                                          {CTalTemplate::kCellText, {0.52, 0.28, 0.9, 0.42}},
                                                          {CTalTemplate::kCellHeading, {0.1, 0.94, 0.9, 0.98}}});
        // Text only.
        const CTalTemplate* textOnly = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.05, 0.9, 0.1}},
                                                            {CTalTemplate::kCellText, {0.1, 0.12, 0.9, 0.3}}});

        CKWRefPtr<CTalSection> heading = doc.GetHeadingSection();
        heading->SetName(L"Survey");
        UseTemplate(heading.Get(), twoUp);
        AddPicture(heading.Get(), photos[0], true, false, L"Harbour");
        AddPicture(heading.Get(), photos[1], false, false, L"Hidden one");
        CKWRefPtr<CTalPicture> rotated = AddPicture(heading.Get(), photos[2], true, true, L"Lighthouse");
        rotated->SetAngle(270);
        rotated->SetGrayscale(CTalPicture::kNo);
        rotated->SetUseDescription(CTalPicture::kYes);
        FillNote(*heading->GetTextNote(), NumberedLines(12).c_str());

        CKWRefPtr<CTalSection> alpha = AddSection(heading.Get(), L"Alpha");
        UseTemplate(alpha.Get(), middle);
        for (int i = 3; i < 10; ++i) {
            CKWRefPtr<CTalPicture> picture =
                AddPicture(alpha.Get(), photos[i], i != 5, i == 8, (L"Alpha " + std::to_wstring(i)).c_str());
            picture->SetAngle(90 * (i % 4));
            picture->SetUseDescription(i % 2 ? CTalPicture::kYes : CTalPicture::kDocumentDefault);
            picture->SetGrayscale(i % 3 ? CTalPicture::kDocumentDefault : CTalPicture::kNo);
        }
        std::wstring paragraphs;
        for (int i = 0; i < 40; ++i)
            paragraphs += L"Paragraph " + std::to_wstring(i + 1) +
                          L": the survey walked the shore from the harbour to the point and noted each mark.\n";
        FillNote(*alpha->GetTextNote(), paragraphs.c_str());

        CKWRefPtr<CTalSection> beta = AddSection(heading.Get(), L"Beta");
        CKWRefPtr<CTalSection> betaOne = AddSection(beta.Get(), L"Beta one");
        AddPicture(betaOne.Get(), photos[10]);
        CKWRefPtr<CTalSection> deep = AddSection(betaOne.Get(), L"Deep notes");
        UseTemplate(deep.Get(), textOnly);
        FillNote(*deep->GetTextNote(), NumberedLines(60).c_str());
        AddSection(deep.Get(), L"Deepest, empty");

        CKWRefPtr<CTalSection> gamma = AddSection(heading.Get(), L"Gamma");
        AddPicture(gamma.Get(), photos[11], false, true, L"Only on its own page");

        CKWRefPtr<CTalSection> delta = AddSection(heading.Get(), L"Delta");
        delta->SetOwnTemplate(1);
        delta->SetTemplateName(L"a template nobody has");
        AddPicture(delta.Get(), photos[0]);
        AddPicture(AddSection(delta.Get(), L"Delta child").Get(), photos[1]);
    }

    CExportTestFolder m_folder;
    CTalDocProperties m_properties;
    std::map<uint32_t, std::string> m_images;
};

TEST_F(ComposeGoldenTest, VariedReportMatchesTheGoldenDump)
{
    BuildReport();
    CTestPages pages;
    int start = 0;
    ASSERT_TRUE(ComposeExportPages(m_properties, pages.List(), false, nullptr, &start));
    const std::string dump = ReportDump(m_properties, m_images).Dump(pages.List());

    ExpectGolden(L"compose_golden.txt", dump);
}

}  // namespace
