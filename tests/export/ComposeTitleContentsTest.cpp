#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <vector>

#include "export/ComposeContentsPage.h"
#include "export/ComposeExportPages.h"
#include "export/ComposeTitlePage.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "tests/export/ExportTestSupport.h"

namespace {

const ExportSimpleTextData& Simple(const TalPageExport& page, int index)
{
    return *static_cast<const ExportSimpleTextData*>(page.GetObject(index)->GetData());
}

class ComposeTitlePageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override
    {
        m_template = AddTestTitleTemplate({{CTalTemplate::kCellDate, {0.1, 0.9, 0.9, 0.95}},
                                           {CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}},
                                           {CTalTemplate::kCellLogo, {0.4, 0.3, 0.6, 0.4}},
                                           {CTalTemplate::kCellSubject, {0.1, 0.45, 0.9, 0.5}},
                                           {CTalTemplate::kCellAuthor, {0.1, 0.55, 0.9, 0.6}},
                                           {CTalTemplate::kCellCompany, {0.1, 0.65, 0.9, 0.7}},
                                           {CTalTemplate::kCellDescription, {0.1, 0.75, 0.9, 0.8}},
                                           {CTalTemplate::kCellTitle, {0.1, 0.02, 0.9, 0.05}},
                                           {CTalTemplate::kCellDate, {0.1, 0.96, 0.9, 0.99}}},
                                          31);
        m_properties.m_titleTemplateName = m_template->GetName();
        m_properties.m_title = L"The title";
        m_properties.m_subject = L"The subject";
        m_properties.m_author = L"The author";
        m_properties.m_company = L"The company";
        m_properties.m_description = L"The description";
        m_properties.m_logoPictureId = 12;
        m_properties.m_insertLogo = 1;
        m_properties.m_insertDate = 1;
    }

    CTalDocProperties m_properties;
    CTalTemplate* m_template = nullptr;
    CTestPages m_pages;
};

TEST_F(ComposeTitlePageTest, CellsFilledInKeyOrder)
{
    for (int id = kTalFormatTitle; id <= kTalFormatDate; ++id)
        m_properties.GetTextFormat(id, true);
    ComposeTitlePage(&m_properties, m_pages.List(), false);
    ASSERT_EQ(1u, m_pages.Size());
    const TalPageExport& page = *m_pages[0];
    EXPECT_EQ(kTitlePage, page.GetKind());
    EXPECT_STREQ(L"Title-page", page.GetName());
    EXPECT_EQ(nullptr, page.GetSection());
    ASSERT_EQ((std::vector<int32_t>{kExportImage, kExportCommonImage, kExportSimpleText, kExportSimpleText,
                                    kExportSimpleText, kExportSimpleText, kExportSimpleText, kExportSimpleText,
                                    kExportSimpleText, kExportSimpleText}),
              ObjectKinds(page));
    EXPECT_EQ(31u, page.GetObject(0)->GetImageRecord()->GetImageKey());
    const ExportImageData* logo = page.GetObject(1)->GetImageRecord();
    EXPECT_EQ(12u, logo->GetImageKey());
    EXPECT_EQ(0, logo->GetRotation());
    EXPECT_FALSE(logo->GetGrayscale());
    EXPECT_EQ(0.4, logo->GetRect().left);

    struct Expect {
        const wchar_t* text;
        double top;
        int32_t format;
    } expected[] = {{L"The title", 0.1, kTalFormatTitle},          {L"The title", 0.02, kTalFormatTitle},
                    {L"The subject", 0.45, kTalFormatSubject},     {L"The author", 0.55, kTalFormatAuthor},
                    {L"The company", 0.65, kTalFormatCompany},     {L"The description", 0.75, kTalFormatDescription}};
    for (int i = 0; i < 6; ++i) {
        const ExportSimpleTextData& text = Simple(page, 2 + i);
        EXPECT_STREQ(expected[i].text, text.GetText()) << i;
        EXPECT_EQ(expected[i].top, text.GetRect().top) << i;
        EXPECT_EQ(m_properties.GetTextFormat(expected[i].format, false), text.GetFormat()) << i;
    }
    // Two date cells, the same date in each.
    const CString today = FormatTitlePageDate();
    EXPECT_FALSE(today.IsEmpty());
    for (int i = 8; i < 10; ++i) {
        EXPECT_STREQ(today, Simple(page, i).GetText());
        EXPECT_EQ(m_properties.GetTextFormat(kTalFormatDate, false), Simple(page, i).GetFormat());
    }
    EXPECT_EQ(0.9, Simple(page, 8).GetRect().top);
    EXPECT_EQ(0.96, Simple(page, 9).GetRect().top);
}

TEST_F(ComposeTitlePageTest, OptionsLeaveOutLogoDateAndFormats)
{
    m_properties.GetTextFormat(kTalFormatTitle, true);
    struct Case {
        int32_t logoId;
        uint8_t insertLogo, insertDate, styles;
        size_t objects;
    } cases[] = {{0, 1, 1, 1, 9}, {12, 0, 1, 1, 9}, {12, 1, 0, 1, 8}, {0, 0, 0, 0, 7}};
    for (const Case& c : cases) {
        m_properties.m_logoPictureId = c.logoId;
        m_properties.m_insertLogo = c.insertLogo;
        m_properties.m_insertDate = c.insertDate;
        m_properties.m_useTextStyles = c.styles;
        DeletePages(m_pages.List());
        ComposeTitlePage(&m_properties, m_pages.List(), true);
        ASSERT_EQ(1u, m_pages.Size());
        const TalPageExport& page = *m_pages[0];
        EXPECT_EQ(c.objects, static_cast<size_t>(page.GetObjectCount()));
        const bool logo = c.logoId != 0 && c.insertLogo;
        EXPECT_EQ(logo, page.GetObject(1)->GetKind() == kExportCommonImage);
        for (const TalObjExport* object : page.GetObjects()) {
            if (object->GetKind() == kExportSimpleText && !c.styles)
                EXPECT_EQ(nullptr, static_cast<const ExportSimpleTextData*>(object->GetData())->GetFormat());
        }
    }
}

TEST_F(ComposeTitlePageTest, NoTemplateNoTitlePage)
{
    m_properties.m_titleTemplateName = L"no such title template";
    m_properties.m_insertTitlePage = 1;
    ComposeTitlePage(&m_properties, m_pages.List(), false);
    EXPECT_EQ(0u, m_pages.Size());
    ComposeTitlePage(nullptr, m_pages.List(), false);
    EXPECT_EQ(0u, m_pages.Size());
}

class ComposeContentsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override
    {
        m_heading = m_properties.GetHeadingSection();
        m_properties.m_useTextStyles = 0;
    }

    void Compose() { ComposeContentsPage(&m_properties, m_heading, m_pages.List(), false); }

    std::vector<const ExportSimpleTextData*> Entries() const
    {
        std::vector<const ExportSimpleTextData*> entries;
        for (size_t p = 0; p < m_pages.Size(); ++p) {
            for (const TalObjExport* object : m_pages[p]->GetObjects()) {
                EXPECT_EQ(kExportSimpleText, object->GetKind());
                entries.push_back(static_cast<const ExportSimpleTextData*>(object->GetData()));
            }
        }
        return entries;
    }

    CTalDocProperties m_properties;
    CKWRefPtr<CTalSection> m_heading;
    CTestPages m_pages;
};

TEST_F(ComposeContentsTest, SingleEntryIsCentredInTheBand)
{
    Compose();
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ(kContentsPage, m_pages[0]->GetKind());
    EXPECT_STREQ(L"Content", m_pages[0]->GetName());
    ASSERT_EQ(1, m_pages[0]->GetObjectCount());
    const ExportSimpleTextData& entry = Simple(*m_pages[0], 0);
    EXPECT_STREQ(L"Heading record", entry.GetText());
    const CKWDoubleRect rect = entry.GetRect();
    const double h = rect.bottom - rect.top;
    EXPECT_GT(h, 0.0);
    EXPECT_NEAR(0.1 + (0.8 - h) / 2, rect.top, 1e-12);
    EXPECT_EQ(0.25, rect.left);
    EXPECT_EQ(0.95, rect.right);
    EXPECT_EQ(nullptr, entry.GetFormat());
}

TEST_F(ComposeContentsTest, ShortListIsCentredAndEntriesFollowEachOther)
{
    AddSection(m_heading.Get(), L"One");
    AddSection(m_heading.Get(), L"Two");
    Compose();
    const std::vector<const ExportSimpleTextData*> entries = Entries();
    ASSERT_EQ(3u, entries.size());
    const double first = entries[0]->GetRect().top;
    const double total = entries[2]->GetRect().bottom - first;
    EXPECT_NEAR(0.1 + (0.8 - total) / 2, first, 1e-12);
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i - 1]->GetRect().bottom, entries[i]->GetRect().top);
        EXPECT_EQ(0.30, entries[i]->GetRect().left);
    }
}

TEST_F(ComposeContentsTest, OverflowOpensAnotherContentsPage)
{
    for (int i = 0; i < 80; ++i)
        AddSection(m_heading.Get(), (L"Section " + std::to_wstring(i)).c_str());
    Compose();
    ASSERT_GE(m_pages.Size(), 2u);
    size_t count = 0;
    for (size_t p = 0; p < m_pages.Size(); ++p) {
        const TalPageExport& page = *m_pages[p];
        EXPECT_EQ(kContentsPage, page.GetKind());
        EXPECT_STREQ(L"Content", page.GetName());
        ASSERT_GT(page.GetObjectCount(), 0);
        EXPECT_EQ(0.1, Simple(page, 0).GetRect().top) << p;
        for (int i = 0; i < page.GetObjectCount(); ++i) {
            const CKWDoubleRect rect = Simple(page, i).GetRect();
            EXPECT_LT(rect.bottom, 0.9) << p << "/" << i;
            if (i > 0)
                EXPECT_EQ(Simple(page, i - 1).GetRect().bottom, rect.top);
        }
        count += static_cast<size_t>(page.GetObjectCount());
    }
    EXPECT_EQ(81u, count);
}

TEST_F(ComposeContentsTest, IndentationStopsAtTheSixthLevel)
{
    CKWRefPtr<CTalSection> parent = m_heading;
    for (int depth = 1; depth <= 8; ++depth)
        parent = AddSection(parent.Get(), (L"Level " + std::to_wstring(depth)).c_str());
    Compose();
    const std::vector<const ExportSimpleTextData*> entries = Entries();
    ASSERT_EQ(9u, entries.size());
    for (int depth = 0; depth <= 8; ++depth) {
        const int shown = depth < 6 ? depth : 6;
        EXPECT_NEAR(0.25 + 0.05 * shown, entries[depth]->GetRect().left, 1e-12) << depth;
    }
}

TEST_F(ComposeContentsTest, LongNamesWrapByTheirMeasuredWidth)
{
    HDC dc = ::GetDC(nullptr);
    std::wstring name = L"Wrapped";
    double width = 0;
    {
        CKWGdiPlusDraw surface(dc);
        const double dpi = surface.GetDpi();
        CTalContentsLayout layout(surface, m_properties, dpi * 2100 / 254, dpi * 2970 / 254);
        while ((width = layout.MeasureWidth(name.c_str())) < 0.8)
            name += L" wrapped";
    }
    ::ReleaseDC(nullptr, dc);
    ASSERT_LT(width, 1.4);
    AddSection(m_heading.Get(), L"Short");
    AddSection(m_heading.Get(), name.c_str());
    Compose();
    const std::vector<const ExportSimpleTextData*> entries = Entries();
    ASSERT_EQ(3u, entries.size());
    const double one = entries[1]->GetRect().Height();
    EXPECT_NEAR(2 * one, entries[2]->GetRect().Height(), 1e-12);
}

TEST_F(ComposeContentsTest, ContentsFormatSetsSizeAndIsLeftAligned)
{
    Compose();
    const double defaultHeight = Simple(*m_pages[0], 0).GetRect().Height();
    DeletePages(m_pages.List());

    CTalTextFormat* format = m_properties.GetTextFormat(kTalFormatContent, true);
    format->m_size = 36;
    format->m_align = CTalTextFormat::kAlignCenter;
    m_properties.m_useTextStyles = 1;
    Compose();
    const ExportSimpleTextData& entry = Simple(*m_pages[0], 0);
    EXPECT_EQ(format, entry.GetFormat());
    EXPECT_EQ(CTalTextFormat::kAlignLeft, format->m_align);
    EXPECT_NEAR(2.0, entry.GetRect().Height() / defaultHeight, 0.15);
}

class ComposeExportPagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }
    void SetUp() override
    {
        m_heading = m_properties.GetHeadingSection();
        m_properties.m_insertTitlePage = 0;
        m_properties.m_insertContents = 0;
        m_page = AddTestPageTemplate({{CTalTemplate::kCellPictures, {0.1, 0.1, 0.9, 0.9}}});
        m_title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}}});
        m_properties.m_titleTemplateName = m_title->GetName();
        UseTemplate(m_heading.Get(), m_page);
    }
    CTalDocProperties m_properties;
    CKWRefPtr<CTalSection> m_heading;
    CTalTemplate* m_page = nullptr;
    CTalTemplate* m_title = nullptr;
    CTestPages m_pages;
};

TEST_F(ComposeExportPagesTest, NoPageIsReported)
{
    int start = -1;
    EXPECT_FALSE(ComposeExportPages(m_properties, m_pages.List(), false, m_heading.Get(), &start));
    EXPECT_EQ(0u, m_pages.Size());
    EXPECT_EQ(0, start);
}

TEST_F(ComposeExportPagesTest, TitlePageAloneIsEnough)
{
    m_properties.m_insertTitlePage = 1;
    EXPECT_TRUE(ComposeExportPages(m_properties, m_pages.List(), true, nullptr, nullptr));
    ASSERT_EQ(1u, m_pages.Size());
    EXPECT_EQ(kTitlePage, m_pages[0]->GetKind());
}

TEST_F(ComposeExportPagesTest, OrderTitleContentsSectionsAndStartPage)
{
    m_properties.m_insertTitlePage = 1;
    m_properties.m_insertContents = 1;
    AddPicture(m_heading.Get(), 1);
    CKWRefPtr<CTalSection> child = AddSection(m_heading.Get(), L"Child");
    AddPicture(child.Get(), 2);
    int start = 0;
    EXPECT_TRUE(ComposeExportPages(m_properties, m_pages.List(), false, child.Get(), &start));
    ASSERT_EQ(4u, m_pages.Size());
    EXPECT_EQ(kTitlePage, m_pages[0]->GetKind());
    EXPECT_EQ(kContentsPage, m_pages[1]->GetKind());
    EXPECT_EQ(m_heading.Get(), m_pages[2]->GetSection());
    EXPECT_EQ(child.Get(), m_pages[3]->GetSection());
    EXPECT_EQ(4, start);

    DeletePages(m_pages.List());
    m_properties.m_insertContents = 0;
    EXPECT_TRUE(ComposeExportPages(m_properties, m_pages.List(), false, m_heading.Get(), &start));
    EXPECT_EQ(2, start);
}

}  // namespace
