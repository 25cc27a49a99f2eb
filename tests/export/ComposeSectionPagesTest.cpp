#include <gtest/gtest.h>

#include <vector>

#include "export/ComposeSectionPages.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

namespace {

const CKWDoubleRect kHeadingCell(0.1, 0.02, 0.9, 0.08);
const CKWDoubleRect kCellA(0.1, 0.1, 0.45, 0.4);
const CKWDoubleRect kCellB(0.55, 0.1, 0.9, 0.4);
const CKWDoubleRect kTextCell(0.1, 0.45, 0.9, 0.9);

class ComposeSectionPagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override
    {
        m_heading = m_properties.GetHeadingSection();
        m_properties.m_insertWatermarks = 0;
        m_template = AddTestPageTemplate({{CTalTemplate::kCellHeading, kHeadingCell},
                                          {CTalTemplate::kCellPictures, kCellA},
                                          {CTalTemplate::kCellPictures, kCellB},
                                          {CTalTemplate::kCellText, kTextCell}},
                                         0);
        UseTemplate(m_heading.Get(), m_template);
    }

    void Compose(CTalSection* marked = nullptr, int* firstPage = nullptr)
    {
        ComposeSectionPages(m_heading, m_pages.List(), m_properties.GetWatermarks(), &m_properties,
                            std::vector<int>(), CKWRefPtr<CTalSection>(marked), firstPage, false);
    }

    std::vector<uint32_t> PictureKeys(const TalPageExport& page)
    {
        std::vector<uint32_t> keys;
        for (const TalObjExport* object : page.GetObjects()) {
            if (object->GetKind() == kExportCommonImage)
                keys.push_back(object->GetImageRecord()->GetImageKey());
        }
        return keys;
    }

    CTalDocProperties m_properties;
    CKWRefPtr<CTalSection> m_heading;
    CTalTemplate* m_template = nullptr;
    CTestPages m_pages;
};

TEST_F(ComposeSectionPagesTest, FivePicturesInTwoCellsMakeThreePages)
{
    for (int id = 1; id <= 5; ++id)
        AddPicture(m_heading.Get(), id);
    Compose();
    ASSERT_EQ(3u, m_pages.Size());
    EXPECT_EQ((std::vector<uint32_t>{1, 2}), PictureKeys(*m_pages[0]));
    EXPECT_EQ((std::vector<uint32_t>{3, 4}), PictureKeys(*m_pages[1]));
    EXPECT_EQ((std::vector<uint32_t>{5}), PictureKeys(*m_pages[2]));
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(kSectionPage, m_pages[p]->GetKind());
        EXPECT_EQ(m_heading.Get(), m_pages[p]->GetSection());
        EXPECT_STREQ(m_heading->GetName(), m_pages[p]->GetName());
    }
    const ExportImageData* second = m_pages[0]->GetObject(1)->GetImageRecord();
    EXPECT_EQ(kCellB.left, second->GetRect().left);
    EXPECT_EQ(kCellB.bottom, second->GetRect().bottom);
}

TEST_F(ComposeSectionPagesTest, HiddenPicturesTakeNoCell)
{
    AddPicture(m_heading.Get(), 1);
    AddPicture(m_heading.Get(), 2, false);
    AddPicture(m_heading.Get(), 3);
    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ((std::vector<uint32_t>{1, 3}), PictureKeys(*m_pages[0]));
}

TEST_F(ComposeSectionPagesTest, PictureSettingsResolveAgainstTheDocument)
{
    CKWRefPtr<CTalPicture> plain = AddPicture(m_heading.Get(), 1, true, false, L"First");
    CKWRefPtr<CTalPicture> described = AddPicture(m_heading.Get(), 2, true, false, L"Second");
    plain->SetUseDescription(CTalPicture::kNo);
    plain->SetGrayscale(CTalPicture::kYes);
    plain->SetAngle(90);
    described->SetUseDescription(CTalPicture::kDocumentDefault);
    described->SetGrayscale(CTalPicture::kDocumentDefault);
    m_properties.m_useDescription = 1;
    m_properties.m_grayscale = 0;
    CTalTextFormat* captions = m_properties.GetTextFormat(kTalFormatImageName, true);

    struct Case {
        uint8_t styles;
        const CTalTextFormat* format;
    } cases[] = {{1, captions}, {0, nullptr}};
    for (const Case& c : cases) {
        m_properties.m_useTextStyles = c.styles;
        DeletePages(m_pages.List());
        Compose();
        ASSERT_EQ(1u, m_pages.Size());
        const ExportImageData* first = m_pages[0]->GetObject(0)->GetImageRecord();
        const ExportImageData* second = m_pages[0]->GetObject(1)->GetImageRecord();
        EXPECT_TRUE(first->GetGrayscale());
        EXPECT_EQ(90, first->GetRotation());
        EXPECT_TRUE(first->GetString().IsEmpty());
        EXPECT_EQ(nullptr, first->GetFormat());
        EXPECT_FALSE(second->GetGrayscale());
        EXPECT_STREQ(L"Second", second->GetString());
        EXPECT_EQ(c.format, second->GetFormat());
    }
}

TEST_F(ComposeSectionPagesTest, ObjectOrderOnAPicturePage)
{
    m_template->SetBackgroundPictureId(99);
    CTalWatermark* under = new CTalWatermark;
    under->m_kind = CTalWatermark::kText;
    under->m_text = L"under";
    CTalWatermark* over = new CTalWatermark;
    over->m_kind = CTalWatermark::kImage;
    over->m_sendToFront = 1;
    CTalWatermark* number = new CTalWatermark;
    number->m_kind = CTalWatermark::kPageNumber;
    number->m_sendToFront = 1;
    m_properties.AddWatermark(under);
    m_properties.AddWatermark(over);
    m_properties.AddWatermark(number);
    m_properties.m_insertWatermarks = 1;
    AddPicture(m_heading.Get(), 1);
    AddPicture(m_heading.Get(), 2);
    FillNote(*m_heading->GetTextNote(), L"A short note");

    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ((std::vector<int32_t>{kExportImage, kExportWatermarkText, kExportCommonImage, kExportCommonImage,
                                    kExportText, kExportSimpleText, kExportWmImage, kExportWatermarkText}),
              ObjectKinds(*m_pages[0]));
    EXPECT_EQ(99u, m_pages[0]->GetObject(0)->GetImageRecord()->GetImageKey());
    EXPECT_STREQ(L"1", m_pages[0]->GetObject(7)->GetWatermarkTextRecord()->GetText());

    // With the switch off no watermark is placed.
    m_properties.m_insertWatermarks = 0;
    DeletePages(m_pages.List());
    Compose();
    EXPECT_EQ((std::vector<int32_t>{kExportImage, kExportCommonImage, kExportCommonImage, kExportText,
                                    kExportSimpleText}),
              ObjectKinds(*m_pages[0]));
}

TEST_F(ComposeSectionPagesTest, LongNoteGoesOnToTextOnlyPages)
{
    AddPicture(m_heading.Get(), 1);
    FillNote(*m_heading->GetTextNote(), NumberedLines(400).c_str());
    m_template->SetBackgroundPictureId(5);
    Compose();
    ASSERT_GE(m_pages.Size(), 3u);
    EXPECT_EQ((std::vector<uint32_t>{1}), PictureKeys(*m_pages[0]));
    int32_t expectedStart = 0;
    for (size_t p = 0; p < m_pages.Size(); ++p) {
        const TalPageExport& page = *m_pages[p];
        EXPECT_EQ(kExportImage, page.GetObject(0)->GetKind()) << p;
        EXPECT_EQ(kExportSimpleText, page.GetObject(page.GetObjectCount() - 1)->GetKind()) << p;
        if (p > 0)
            EXPECT_TRUE(PictureKeys(page).empty()) << p;
        for (const TalObjExport* object : page.GetObjects()) {
            if (object->GetKind() != kExportText)
                continue;
            const ExportTextData* block = static_cast<const ExportTextData*>(object->GetData());
            EXPECT_EQ(m_heading->GetTextNote(), block->GetNote());
            EXPECT_EQ(expectedStart, block->GetStart());
            expectedStart = block->GetEnd();
        }
    }
    EXPECT_EQ(-1, expectedStart);
}

TEST_F(ComposeSectionPagesTest, NewPagePicturesGetAWholePageWithoutHeading)
{
    AddPicture(m_heading.Get(), 1, true, true);
    AddPicture(m_heading.Get(), 2, false, true);
    AddPicture(m_heading.Get(), 3, false, false);
    Compose();
    // One picture page, then one page for each new-page picture.
    ASSERT_EQ(3u, m_pages.Size());
    EXPECT_EQ((std::vector<uint32_t>{1}), PictureKeys(*m_pages[0]));
    for (size_t p = 1; p < 3; ++p) {
        EXPECT_EQ((std::vector<int32_t>{kExportCommonImage}), ObjectKinds(*m_pages[p]));
        const CKWDoubleRect rect = m_pages[p]->GetObject(0)->GetData()->GetRect();
        EXPECT_EQ(0.0, rect.left);
        EXPECT_EQ(0.0, rect.top);
        EXPECT_EQ(1.0, rect.right);
        EXPECT_EQ(1.0, rect.bottom);
    }
    EXPECT_EQ((std::vector<uint32_t>{2}), PictureKeys(*m_pages[2]));
}

TEST_F(ComposeSectionPagesTest, EmptySectionStillComposesItsChildren)
{
    CKWRefPtr<CTalSection> child = AddSection(m_heading.Get(), L"Child");
    AddPicture(child.Get(), 4);
    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ(child.Get(), m_pages[0]->GetSection());
}

TEST_F(ComposeSectionPagesTest, OutlineNumbersInHeadings)
{
    CKWRefPtr<CTalSection> first = AddSection(m_heading.Get(), L"First");
    CKWRefPtr<CTalSection> second = AddSection(m_heading.Get(), L"Second");
    AddSection(first.Get(), L"A");
    AddSection(first.Get(), L"B");
    CKWRefPtr<CTalSection> third = AddSection(first.Get(), L"C");
    for (CTalSection* s : {m_heading.Get(), first.Get(), second.Get(), third.Get()})
        AddPicture(s, 1);

    struct Case {
        uint8_t numbering;
        std::vector<const wchar_t*> headings;
    } cases[] = {{1, {L"Heading record", L"1 First", L"1.3 C", L"2 Second"}},
                 {0, {L"Heading record", L"First", L"C", L"Second"}}};
    for (const Case& c : cases) {
        m_properties.m_numberSections = c.numbering;
        DeletePages(m_pages.List());
        Compose();
        ASSERT_EQ(c.headings.size(), m_pages.Size());
        for (size_t p = 0; p < m_pages.Size(); ++p) {
            const TalObjExport* last = m_pages[p]->GetObject(m_pages[p]->GetObjectCount() - 1);
            ASSERT_EQ(kExportSimpleText, last->GetKind());
            EXPECT_STREQ(c.headings[p], static_cast<const ExportSimpleTextData*>(last->GetData())->GetText());
        }
    }
    EXPECT_STREQ(L"1.2.10 X", MakeSectionHeading(L"X", {1, 2, 10}, true));
}

TEST_F(ComposeSectionPagesTest, HeadingPerHeadingCellWithItsFormat)
{
    m_template->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.1, 0.92, 0.9, 0.98));
    CTalTextFormat* format = m_properties.GetTextFormat(kTalFormatSection, true);
    AddPicture(m_heading.Get(), 1);
    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    const std::vector<int32_t> kinds = ObjectKinds(*m_pages[0]);
    ASSERT_EQ((std::vector<int32_t>{kExportCommonImage, kExportSimpleText, kExportSimpleText}), kinds);
    const ExportSimpleTextData* top = static_cast<const ExportSimpleTextData*>(m_pages[0]->GetObject(1)->GetData());
    const ExportSimpleTextData* bottom =
        static_cast<const ExportSimpleTextData*>(m_pages[0]->GetObject(2)->GetData());
    EXPECT_EQ(kHeadingCell.top, top->GetRect().top);
    EXPECT_EQ(0.92, bottom->GetRect().top);
    EXPECT_EQ(format, top->GetFormat());
    EXPECT_EQ(format, bottom->GetFormat());
}

TEST_F(ComposeSectionPagesTest, NoTemplateNoPagesForTheSubtree)
{
    CKWRefPtr<CTalSection> orphan = AddSection(m_heading.Get(), L"Orphan");
    orphan->SetOwnTemplate(1);
    orphan->SetTemplateName(L"no template of this name");
    CKWRefPtr<CTalSection> grandchild = AddSection(orphan.Get(), L"Grandchild");
    AddPicture(orphan.Get(), 1);
    AddPicture(grandchild.Get(), 2);
    CKWRefPtr<CTalSection> sibling = AddSection(m_heading.Get(), L"Sibling");
    AddPicture(sibling.Get(), 3);
    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ(sibling.Get(), m_pages[0]->GetSection());
}

TEST_F(ComposeSectionPagesTest, EmptyPictureCellListCountsAsMissing)
{
    CTalTemplate* noCells = AddTestPageTemplate({{CTalTemplate::kCellHeading, kHeadingCell}});
    // A list that exists but is empty, as a template file may leave it.
    noCells->AddCell(CTalTemplate::kCellPictures, kCellA);
    const_cast<CTalCellList*>(noCells->GetCells(CTalTemplate::kCellPictures))->clear();
    ASSERT_NE(nullptr, noCells->GetCells(CTalTemplate::kCellPictures));
    UseTemplate(m_heading.Get(), noCells);
    AddPicture(m_heading.Get(), 1);
    AddPicture(m_heading.Get(), 2);
    Compose();
    // One cell is assumed: a page per shown picture, each without a cell to fill.
    ASSERT_EQ(2u, m_pages.Size());
    EXPECT_TRUE(PictureKeys(*m_pages[0]).empty());
}

TEST_F(ComposeSectionPagesTest, MarkedSectionFirstPageAndPageNumbers)
{
    CTalWatermark* number = new CTalWatermark;
    number->m_kind = CTalWatermark::kPageNumber;
    number->m_firstNumber = 10;
    m_properties.AddWatermark(number);
    m_properties.m_insertWatermarks = 1;
    CKWRefPtr<CTalSection> a = AddSection(m_heading.Get(), L"A");
    CKWRefPtr<CTalSection> b = AddSection(m_heading.Get(), L"B");
    for (int i = 0; i < 3; ++i)
        AddPicture(a.Get(), i + 1);
    AddPicture(b.Get(), 9);
    m_pages.List().push_back(new TalPageExport(kTitlePage, L"Title-page", nullptr));
    m_pages.List().push_back(new TalPageExport(kContentsPage, L"Content", nullptr));

    int firstPage = -5;
    Compose(b.Get(), &firstPage);
    ASSERT_EQ(5u, m_pages.Size());
    EXPECT_EQ(5, firstPage);
    for (size_t p = 2; p < 5; ++p) {
        const ExportWatermarkTextData* text = m_pages[p]->GetObject(0)->GetWatermarkTextRecord();
        ASSERT_NE(nullptr, text);
        CString expected;
        expected.Format(L"%d", 10 + static_cast<int>(p) - 1);
        EXPECT_STREQ(expected, text->GetText()) << p;
    }

    // Without an out value nothing is written anywhere; a null section makes nothing.
    DeletePages(m_pages.List());
    Compose(b.Get(), nullptr);
    ComposeSectionPages(nullptr, m_pages.List(), m_properties.GetWatermarks(), &m_properties, {},
                        nullptr, &firstPage, false);
    ComposeSectionPages(m_heading, m_pages.List(), m_properties.GetWatermarks(), nullptr, {}, nullptr,
                        &firstPage, false);
    EXPECT_EQ(3u, m_pages.Size());
}

}  // namespace
