// The composition rules case by case, each composed report dumped and all of
// them compared with one golden file: pictures in cells (hidden ones, new
// pages, settings from the document), the order of objects on a page, notes
// that spill onto text pages, headings and outline numbers, sections without
// template, page numbers and the marked section's first page, the title page
// and its options, and the contents pages.
#include <gtest/gtest.h>

#include <functional>

#include "export/ComposeContentsPage.h"
#include "export/ComposeExportPages.h"
#include "export/ComposeSectionPages.h"
#include "export/ComposeTitlePage.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

namespace {

// A report with a page template of a heading cell, two picture cells and a
// text cell, used by the heading section.
struct Case {
    CTalDocProperties doc;
    CKWRefPtr<CTalSection> heading;
    CTalTemplate* page = nullptr;
    CTestPages pages;
    std::string notes;  // what the dump does not show

    Case()
    {
        heading = doc.GetHeadingSection();
        doc.m_insertWatermarks = 0;
        page = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.02, 0.9, 0.08}},
                                    {CTalTemplate::kCellPictures, {0.1, 0.1, 0.45, 0.4}},
                                    {CTalTemplate::kCellPictures, {0.55, 0.1, 0.9, 0.4}},
                                    {CTalTemplate::kCellText, {0.1, 0.45, 0.9, 0.9}}});
        UseTemplate(heading.Get(), page);
    }
    void Sections(CTalSection* marked = nullptr, int* firstPage = nullptr)
    {
        ComposeSectionPages(heading, pages.List(), doc.GetWatermarks(), &doc, std::vector<int>(),
                            CKWRefPtr<CTalSection>(marked), firstPage, false);
    }
    void Contents() { ComposeContentsPage(&doc, heading, pages.List(), false); }
    void Watermark(int32_t kind, bool onTop, const wchar_t* text = L"")
    {
        CTalWatermark* mark = new CTalWatermark;
        mark->m_kind = kind;
        mark->m_sendToFront = onTop ? 1 : 0;
        mark->m_text = text;
        doc.AddWatermark(mark);
        doc.m_insertWatermarks = 1;
    }
    void TitleTemplate()
    {
        const CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellDate, {0.1, 0.9, 0.9, 0.95}},
                                                          {CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}},
                                                          {CTalTemplate::kCellLogo, {0.4, 0.3, 0.6, 0.4}},
                                                          {CTalTemplate::kCellSubject, {0.1, 0.45, 0.9, 0.5}},
                                                          {CTalTemplate::kCellAuthor, {0.1, 0.55, 0.9, 0.6}},
                                                          {CTalTemplate::kCellCompany, {0.1, 0.65, 0.9, 0.7}},
                                                          {CTalTemplate::kCellDescription, {0.1, 0.75, 0.9, 0.8}},
                                                          {CTalTemplate::kCellTitle, {0.1, 0.02, 0.9, 0.05}},
                                                          {CTalTemplate::kCellDate, {0.1, 0.96, 0.9, 0.99}}},
                                                         31);
        doc.m_titleTemplateName = title->GetName();
        doc.m_title = L"The title";
        doc.m_subject = L"The subject";
        doc.m_author = L"The author";
        doc.m_company = L"The company";
        doc.m_description = L"The description";
        doc.m_logoPictureId = 12;
        doc.m_insertLogo = 1;
        doc.m_insertDate = 1;
    }
};

using Scenario = std::function<void(Case&)>;

const std::pair<const char*, Scenario> kScenarios[] = {
    {"five pictures in two cells, one hidden", [](Case& c) {
         for (int id = 1; id <= 6; ++id)
             AddPicture(c.heading.Get(), id, id != 3);
         c.Sections();
     }},
    {"picture settings from the document, with and without text styles", [](Case& c) {
         CKWRefPtr<CTalPicture> plain = AddPicture(c.heading.Get(), 1, true, false, L"First");
         CKWRefPtr<CTalPicture> described = AddPicture(c.heading.Get(), 2, true, false, L"Second");
         plain->SetUseDescription(CTalPicture::kNo);
         plain->SetGrayscale(CTalPicture::kYes);
         plain->SetAngle(90);
         described->SetUseDescription(CTalPicture::kDocumentDefault);
         described->SetGrayscale(CTalPicture::kDocumentDefault);
         c.doc.m_useDescription = 1;
         c.doc.m_grayscale = 0;
         c.doc.GetTextFormat(kTalFormatImageName, true);
         for (uint8_t styles : {1, 0}) {
             c.doc.m_useTextStyles = styles;
             c.Sections();
         }
     }},
    {"object order: background, watermarks under, pictures, note, heading, watermarks over; then none",
     [](Case& c) {
         c.page->SetBackgroundPictureId(99);
         c.Watermark(CTalWatermark::kText, false, L"under");
         c.Watermark(CTalWatermark::kImage, true);
         c.Watermark(CTalWatermark::kPageNumber, true);
         AddPicture(c.heading.Get(), 1);
         AddPicture(c.heading.Get(), 2);
         FillNote(*c.heading->GetTextNote(), L"A short note");
         c.Sections();
         c.doc.m_insertWatermarks = 0;
         c.Sections();
     }},
    {"a long note goes on to text-only pages", [](Case& c) {
         AddPicture(c.heading.Get(), 1);
         FillNote(*c.heading->GetTextNote(), NumberedLines(150).c_str());
         c.page->SetBackgroundPictureId(5);
         c.Sections();
     }},
    {"new-page pictures take a whole page without heading", [](Case& c) {
         AddPicture(c.heading.Get(), 1, true, true);
         AddPicture(c.heading.Get(), 2, false, true);
         AddPicture(c.heading.Get(), 3, false, false);
         c.Sections();
     }},
    {"sections: empty ones compose their children, no template leaves out the subtree", [](Case& c) {
         AddPicture(AddSection(c.heading.Get(), L"Child").Get(), 4);
         CKWRefPtr<CTalSection> orphan = AddSection(c.heading.Get(), L"Orphan");
         orphan->SetOwnTemplate(1);
         orphan->SetTemplateName(L"no template of this name");
         AddPicture(orphan.Get(), 1);
         AddPicture(AddSection(orphan.Get(), L"Grandchild").Get(), 2);
         AddPicture(AddSection(c.heading.Get(), L"Sibling").Get(), 3);
         c.Sections();
     }},
    {"outline numbers in headings, on and off", [](Case& c) {
         CKWRefPtr<CTalSection> first = AddSection(c.heading.Get(), L"First");
         CKWRefPtr<CTalSection> second = AddSection(c.heading.Get(), L"Second");
         AddSection(first.Get(), L"A");
         AddSection(first.Get(), L"B");
         CKWRefPtr<CTalSection> third = AddSection(first.Get(), L"C");
         for (CTalSection* s : {c.heading.Get(), first.Get(), second.Get(), third.Get()})
             AddPicture(s, 1);
         for (uint8_t numbering : {1, 0}) {
             c.doc.m_numberSections = numbering;
             c.Sections();
         }
         c.notes = Narrow(MakeSectionHeading(L"X", {1, 2, 10}, true));
     }},
    {"a heading per heading cell, in the section format", [](Case& c) {
         c.page->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.1, 0.92, 0.9, 0.98));
         c.doc.GetTextFormat(kTalFormatSection, true);
         AddPicture(c.heading.Get(), 1);
         c.Sections();
     }},
    {"an empty picture cell list counts as one missing cell", [](Case& c) {
         CTalTemplate* noCells = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.02, 0.9, 0.08}}});
         noCells->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.1, 0.45, 0.4));
         const_cast<CTalCellList*>(noCells->GetCells(CTalTemplate::kCellPictures))->clear();
         UseTemplate(c.heading.Get(), noCells);
         AddPicture(c.heading.Get(), 1);
         AddPicture(c.heading.Get(), 2);
         c.Sections();
     }},
    {"page numbers count on from the pages before; the marked section's first page", [](Case& c) {
         c.Watermark(CTalWatermark::kPageNumber, false);
         c.doc.GetWatermarks()[0]->m_firstNumber = 10;
         CKWRefPtr<CTalSection> a = AddSection(c.heading.Get(), L"A");
         CKWRefPtr<CTalSection> b = AddSection(c.heading.Get(), L"B");
         for (int i = 1; i <= 3; ++i)
             AddPicture(a.Get(), i);
         AddPicture(b.Get(), 9);
         c.pages.List().push_back(new TalPageExport(kTitlePage, L"Title-page", nullptr));
         c.pages.List().push_back(new TalPageExport(kContentsPage, L"Content", nullptr));
         int firstPage = -5;
         c.Sections(b.Get(), &firstPage);
         c.notes = "first page of B: " + std::to_string(firstPage);
         // No section, or no document: nothing.
         ComposeSectionPages(nullptr, c.pages.List(), c.doc.GetWatermarks(), &c.doc, {}, nullptr, &firstPage, false);
         ComposeSectionPages(c.heading, c.pages.List(), c.doc.GetWatermarks(), nullptr, {}, nullptr, &firstPage,
                             false);
     }},
    {"title page: cells in key order, two dates", [](Case& c) {
         c.TitleTemplate();
         for (int id = kTalFormatTitle; id <= kTalFormatDate; ++id)
             c.doc.GetTextFormat(id, true);
         ComposeTitlePage(&c.doc, c.pages.List(), false);
     }},
    {"title page options: no logo id, logo off, date off, no styles", [](Case& c) {
         c.TitleTemplate();
         c.doc.GetTextFormat(kTalFormatTitle, true);
         const int32_t options[][4] = {{0, 1, 1, 1}, {12, 0, 1, 1}, {12, 1, 0, 1}, {0, 0, 0, 0}};
         for (const auto& o : options) {
             c.doc.m_logoPictureId = o[0];
             c.doc.m_insertLogo = uint8_t(o[1]);
             c.doc.m_insertDate = uint8_t(o[2]);
             c.doc.m_useTextStyles = uint8_t(o[3]);
             ComposeTitlePage(&c.doc, c.pages.List(), true);
         }
         // No template of the name, or no document: no title page.
         c.doc.m_titleTemplateName = L"no such title template";
         ComposeTitlePage(&c.doc, c.pages.List(), false);
         ComposeTitlePage(nullptr, c.pages.List(), false);
     }},
    {"contents: one entry centred in the band, then a short list", [](Case& c) {
         c.doc.m_useTextStyles = 0;
         c.Contents();
         AddSection(c.heading.Get(), L"One");
         AddSection(c.heading.Get(), L"Two");
         c.Contents();
     }},
    {"contents: eighty sections overflow, indentation stops at the sixth level", [](Case& c) {
         c.doc.m_useTextStyles = 0;
         for (int i = 0; i < 80; ++i)
             AddSection(c.heading.Get(), (L"Section " + std::to_wstring(i)).c_str());
         CKWRefPtr<CTalSection> parent = c.heading->GetSubSection(0);
         for (int depth = 2; depth <= 8; ++depth)
             parent = AddSection(parent.Get(), (L"Level " + std::to_wstring(depth)).c_str());
         c.Contents();
     }},
    {"contents: a long name wraps by its measured width; the contents format is left aligned", [](Case& c) {
         c.doc.m_useTextStyles = 1;
         CTalTextFormat* format = c.doc.GetTextFormat(kTalFormatContent, true);
         format->m_size = 36;
         format->m_align = CTalTextFormat::kAlignCenter;
         AddSection(c.heading.Get(), L"Short");
         std::wstring name = L"Wrapped";
         for (int i = 0; i < 12; ++i)
             name += L" wrapped";
         AddSection(c.heading.Get(), name.c_str());
         c.Contents();
         c.notes = "contents alignment " + std::to_string(format->m_align);
     }},
    {"the whole report: nothing, a title page alone, title, contents and sections", [](Case& c) {
         c.TitleTemplate();
         c.doc.m_insertTitlePage = 0;
         c.doc.m_insertContents = 0;
         UseTemplate(c.heading.Get(), AddTestPageTemplate({{CTalTemplate::kCellPictures, {0.1, 0.1, 0.9, 0.9}}}));
         int start = -1;
         const bool nothing = ComposeExportPages(c.doc, c.pages.List(), false, c.heading.Get(), &start);
         c.notes = "nothing " + std::to_string(nothing) + " start " + std::to_string(start);
         c.doc.m_insertTitlePage = 1;
         const bool title = ComposeExportPages(c.doc, c.pages.List(), true, nullptr, nullptr);
         c.notes += "; title alone " + std::to_string(title);
         DeletePages(c.pages.List());
         c.doc.m_insertContents = 1;
         AddPicture(c.heading.Get(), 1);
         CKWRefPtr<CTalSection> child = AddSection(c.heading.Get(), L"Child");
         AddPicture(child.Get(), 2);
         ComposeExportPages(c.doc, c.pages.List(), false, child.Get(), &start);
         c.notes += "; child starts at " + std::to_string(start);
     }},
};

TEST(ComposeCases, EachRuleComposesAsTheGoldenFileHasIt)
{
    ASSERT_TRUE(StartupGdiPlus());
    std::map<uint32_t, std::string> images;
    for (uint32_t id : {1, 2, 3, 4, 5, 6, 9, 12, 31, 99})
        images[id] = "pic" + std::to_string(id);
    std::string dump;
    for (const auto& scenario : kScenarios) {
        Case c;
        scenario.second(c);
        dump += "### " + std::string(scenario.first) + "\n" + ReportDump(c.doc, images).Dump(c.pages.List());
        if (!c.notes.empty())
            dump += "  note: " + c.notes + "\n";
    }
    ExpectGolden(L"compose_cases.txt", dump);
}

}  // namespace
