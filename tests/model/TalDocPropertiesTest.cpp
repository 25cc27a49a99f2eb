#include <gtest/gtest.h>

#include "model/TalCommandHistory.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalPaperSizes.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "model/TalTitlePageTemplate.h"
#include "model/TalWatermark.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

class TalDocPropertiesTest : public ModelLeakCheck {};

// Counts the watermarks alive, so that the tests see which ones were freed.
struct CountedWatermark : CTalWatermark {
    CountedWatermark() { ++s_alive; }
    ~CountedWatermark() override { --s_alive; }
    static int s_alive;
};
int CountedWatermark::s_alive = 0;

CKWRefPtr<CTalSection> AddChild(CTalSection* parent, const wchar_t* name)
{
    CKWRefPtr<CTalSection> child(new CTalSection(parent, name));
    parent->InsertSubSection(child.Get(), parent->GetSubSection(parent->GetSubSectionCount() - 1).Get());
    return child;
}

}  // namespace

TEST_F(TalDocPropertiesTest, NewPropertiesHaveAHeadingSectionWithHistoryAndFonts)
{
    g_TemplateManager.Clear();  // whatever an earlier test left
    CTalDocProperties properties;
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    ASSERT_TRUE(heading);
    EXPECT_EQ(CString(L"Heading record"), heading->GetName());
    EXPECT_EQ(nullptr, heading->PeekParent());
    EXPECT_NE(nullptr, properties.GetCommandHistory());
    EXPECT_EQ(properties.GetCommandHistory(), heading->GetCommandHistory());
    EXPECT_EQ(&properties.GetFontTable(), heading->GetFontTable());
    // No templates loaded: none taken.
    EXPECT_EQ(0, heading->GetOwnTemplate());
    EXPECT_EQ(nullptr, properties.GetTitlePageTemplate());
}

TEST_F(TalDocPropertiesTest, FirstTemplatesAreTakenWhenLoaded)
{
    g_TemplateManager.Clear();
    for (const wchar_t* name : {L"zeta", L"alpha"}) {
        CTalTemplate* page = new CTalPageTemplate;
        page->SetName(name);
        page->SetTitle(name);
        g_TemplateManager.AddPageTemplate(page);
        CTalTemplate* title = new CTalTitlePageTemplate;
        title->SetName(CString(name) + L"-cover");
        title->SetTitle(name);
        g_TemplateManager.AddTitlePageTemplate(title);
    }
    {
        CTalDocProperties properties;
        CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
        EXPECT_EQ(1, heading->GetOwnTemplate());
        EXPECT_EQ(CString(L"alpha"), heading->GetTemplateName());
        EXPECT_EQ(CString(L"alpha-cover"), properties.m_titleTemplateName);
        EXPECT_EQ(g_TemplateManager.FindTitlePageTemplate(L"alpha-cover"), properties.GetTitlePageTemplate());
    }
    g_TemplateManager.Clear();
}

TEST_F(TalDocPropertiesTest, PageSizes)
{
    struct Case {
        int32_t kind, row, portrait;
        const wchar_t* customWidth;
        const wchar_t* customHeight;
        double width, height;
    };
    const Case cases[] = {
        {0, 5, 1, L"", L"", 2100, 2970},
        {0, 5, 0, L"", L"", 2970, 2100},
        {0, 0, 1, L"", L"", 2159, 2794},
        {0, 3, 1, L"", L"", 2794, 4318},
        {0, 9, 1, L"", L"", 8410, 11890},
        {3, 5, 1, L"8 in", L"10 in", 2032, 2540},
        {3, 5, 1, L"100", L"200", 1000, 2000},
        {1, 5, 1, L"", L"", 2100, 2970},
        {2, 5, 1, L"", L"", 0, 0},
        // A row outside the table (from a file) names no size.
        {0, 10, 1, L"", L"", 0, 0},
        {0, -1, 1, L"", L"", 0, 0},
    };
    for (const Case& c : cases) {
        CTalDocProperties properties;
        properties.SetPaperKind(c.kind);
        properties.SetPaperIndex(c.row);
        properties.SetPortrait(c.portrait);
        properties.SetCustomWidthText(c.customWidth);
        properties.SetCustomHeightText(c.customHeight);
        double width = -1;
        double height = -1;
        properties.GetPageSize(width, height, true);
        EXPECT_NEAR(c.width, width, 1e-9) << c.kind << "/" << c.row;
        EXPECT_NEAR(c.height, height, 1e-9) << c.kind << "/" << c.row;
    }
}

TEST_F(TalDocPropertiesTest, PageSizeTexts)
{
    CTalDocProperties properties;
    CString width = L"unchanged";
    CString height = L"unchanged";
    ASSERT_TRUE(properties.GetPageSizeText(true, width, height));
    EXPECT_EQ(CString(L"210 mm"), width);
    EXPECT_EQ(CString(L"297 mm"), height);

    properties.SetPortrait(0);
    properties.GetPageSizeText(true, width, height);
    EXPECT_EQ(CString(L"297 mm"), width);
    properties.GetPageSizeText(false, width, height);
    EXPECT_EQ(CString(L"210 mm"), width);

    properties.SetPortrait(1);
    properties.SetPaperKind(1);
    properties.m_printWidth = 2159;
    properties.GetPageSizeText(true, width, height);
    EXPECT_EQ(CString(L"215.9000 mm"), width);
    EXPECT_EQ(CString(L"297 mm"), height);

    properties.SetPaperKind(3);
    properties.SetCustomWidthText(L"8 in");
    properties.SetCustomHeightText(L"10 in");
    properties.GetPageSizeText(true, width, height);
    EXPECT_EQ(CString(L"8 in"), width);

    properties.SetPaperKind(2);
    width = L"unchanged";
    EXPECT_FALSE(properties.GetPageSizeText(true, width, height));
    EXPECT_EQ(CString(L"unchanged"), width);
}

TEST(TalPaperSizesTest, TableAndLabels)
{
    EXPECT_EQ(10, GetPaperSizeCount());
    EXPECT_EQ(CString(L"A4: 210 mm x 297 mm"), FormatPaperSizeLabel(5));
    EXPECT_EQ(CString(L"Letter:  8.5 in x 11 in"), FormatPaperSizeLabel(0));
    EXPECT_EQ(CString(L"Tabloid: 11 in  x 17 in"), FormatPaperSizeLabel(3));
    EXPECT_EQ(CString(L"A0: 841 mm x 1189 mm"), FormatPaperSizeLabel(9));
    EXPECT_EQ(CString(L"11 in "), CString(GetPaperWidthText(3)));
    EXPECT_TRUE(FormatPaperSizeLabel(10).IsEmpty());
    EXPECT_EQ(CString(L""), CString(GetPaperHeightText(-1)));
}

TEST_F(TalDocPropertiesTest, TextFormats)
{
    CTalDocProperties properties;
    EXPECT_EQ(nullptr, properties.GetTextFormat(7, false));
    CTalTextFormat* created = properties.GetTextFormat(7, true);
    ASSERT_NE(nullptr, created);
    EXPECT_TRUE(*created == CTalTextFormat());
    EXPECT_EQ(created, properties.GetTextFormat(7, true));
    EXPECT_EQ(created, properties.GetTextFormat(7, false));

    for (int32_t id : {1, 2, 4})
        properties.SetTextFormat(id, new CTalTextFormat);
    // A file holds 1, 2 and on to the first missing id.
    EXPECT_EQ((std::vector<int32_t>{1, 2}), properties.GetStoredTextFormatIds());
    CTalTextFormat* replacement = new CTalTextFormat;
    replacement->m_size = 30;
    properties.SetTextFormat(2, replacement);
    EXPECT_EQ(30, properties.GetTextFormat(2, false)->m_size);
    properties.SetTextFormat(2, replacement);  // the same record again stays
    EXPECT_EQ(30, properties.GetTextFormat(2, false)->m_size);
}

TEST_F(TalDocPropertiesTest, SectionHeadingsAreNumberedBelowTheHeading)
{
    CTalDocProperties properties;
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    CKWRefPtr<CTalSection> first = AddChild(heading.Get(), L"Intro");
    CKWRefPtr<CTalSection> second = AddChild(heading.Get(), L"Body");
    AddChild(first.Get(), L"Aims");
    CKWRefPtr<CTalSection> firstSecond = AddChild(first.Get(), L"Scope");
    CKWRefPtr<CTalSection> deep = AddChild(AddChild(second.Get(), L"x").Get(), L"Deep");

    EXPECT_EQ(CString(L"1 Intro"), properties.GetSectionHeading(first.Get()));
    EXPECT_EQ(CString(L"1.2 Scope"), properties.GetSectionHeading(firstSecond.Get()));
    EXPECT_EQ(CString(L"2.1.1 Deep"), properties.GetSectionHeading(deep.Get()));
    EXPECT_EQ(CString(L"Heading record"), properties.GetSectionHeading(heading.Get()));
    properties.m_numberSections = 0;
    EXPECT_EQ(CString(L"Scope"), properties.GetSectionHeading(firstSecond.Get()));
}

TEST_F(TalDocPropertiesTest, DestructionFreesTheTreeAndWatermarks)
{
    const int32_t before = CKWRefCounter::GetLiveCount();
    CountedWatermark::s_alive = 0;
    {
        CTalDocProperties properties;
        CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
        AddChild(AddChild(heading.Get(), L"a").Get(), L"b");
        CTalPictureList pictures{new CTalPicture};
        heading->InsertPictures(pictures, nullptr);
        properties.AddWatermark(new CountedWatermark);
        properties.AddWatermark(new CountedWatermark);
        EXPECT_EQ(2, CountedWatermark::s_alive);
        EXPECT_LT(before, CKWRefCounter::GetLiveCount());
    }
    EXPECT_EQ(0, CountedWatermark::s_alive);
    EXPECT_EQ(before, CKWRefCounter::GetLiveCount());
}

TEST_F(TalDocPropertiesTest, AssignTakesOverTheContent)
{
    CountedWatermark::s_alive = 0;
    CTalDocProperties target;
    CKWRefPtr<CTalSection> targetHeading = target.GetHeadingSection();
    AddChild(targetHeading.Get(), L"kept");
    target.AddWatermark(new CountedWatermark);  // held before: freed by the assignment
    target.SetTextFormat(9, new CTalTextFormat);

    CKWRefPtr<CTalSection> moved;
    {
        CTalDocProperties source;
        source.m_title = L"Report";
        source.m_author = L"Ann";
        source.SetPaperKind(3);
        source.SetCustomWidthText(L"8 in");
        source.SetPortrait(0);
        source.m_insertContents = 0;
        source.m_logoPictureId = 140;
        source.m_titleTemplateName = L"cover";
        CKWRefPtr<CTalSection> sourceHeading = source.GetHeadingSection();
        sourceHeading->SetName(L"Root");
        sourceHeading->SetOwnTemplate(1);
        sourceHeading->SetTemplateName(L"plain");
        sourceHeading->GetTextNote()->SetText(L"Preface");
        moved = AddChild(sourceHeading.Get(), L"moved");
        AddChild(moved.Get(), L"inner");
        CTalPictureList pictures{new CTalPicture, new CTalPicture};
        sourceHeading->InsertPictures(pictures, nullptr);
        CTalWatermark* mark = new CountedWatermark;
        mark->m_name = L"Draft";
        source.AddWatermark(mark);
        source.SetTextFormat(1, new CTalTextFormat);
        source.GetTextFormat(1, false)->m_size = 24;
        source.GetFontTable().FindOrAdd(L"Arial");
        source.GetFontTable().FindOrAdd(L"Courier New");

        target.Assign(source);
        EXPECT_EQ(1, CountedWatermark::s_alive) << "the watermark held before is freed";
        EXPECT_TRUE(source.GetWatermarks().empty());
        EXPECT_EQ(0, sourceHeading->GetSubSectionCount());
        EXPECT_EQ(0, sourceHeading->GetPictureCount());
        source.GetTextFormat(1, false)->m_size = 8;  // the copied format is the target's own
    }
    const std::wstring fields = std::wstring(target.m_title) + L"|" + target.m_author.GetString() + L"|" +
                                std::to_wstring(target.GetPaperKind()) + L"|" + target.GetCustomWidthText().GetString() +
                                L"|" + std::to_wstring(target.GetPortrait()) + std::to_wstring(target.m_insertContents) +
                                L"|" + std::to_wstring(target.m_logoPictureId) + L"|" +
                                target.m_titleTemplateName.GetString() + L"|" + targetHeading->GetName().GetString() +
                                L"|" + std::to_wstring(targetHeading->GetOwnTemplate()) +
                                targetHeading->GetTemplateName().GetString() + L"|" +
                                targetHeading->GetTextNote()->GetText().GetString();
    EXPECT_EQ(L"Report|Ann|3|8 in|00|140|cover|Root|1plain|Preface", fields);

    // Moved behind what the heading held, reparented, subtree intact.
    EXPECT_EQ((std::vector<CString>{L"kept", L"moved"}), ChildNames(targetHeading.Get()));
    EXPECT_EQ(moved.Get(), targetHeading->GetSubSection(1).Get());
    EXPECT_EQ(targetHeading.Get(), moved->PeekParent());
    EXPECT_EQ(1, moved->GetSubSectionCount());
    ASSERT_EQ(2, targetHeading->GetPictureCount());
    EXPECT_EQ(targetHeading.Get(), targetHeading->GetPicture(1)->PeekParent());
    EXPECT_EQ(target.GetCommandHistory(), moved->GetSubSection(0)->GetCommandHistory());

    ASSERT_EQ(1u, target.GetWatermarks().size());
    EXPECT_EQ(CString(L"Draft"), target.GetWatermarks()[0]->m_name);
    EXPECT_EQ(nullptr, target.GetTextFormat(9, false)) << "the formats are replaced";
    ASSERT_NE(nullptr, target.GetTextFormat(1, false));
    EXPECT_EQ(24, target.GetTextFormat(1, false)->m_size);
    EXPECT_EQ(2u, target.GetFontTable().GetCount());
    EXPECT_EQ(std::wstring(L"Courier New"), target.GetFontTable().GetString(1));
}

