// The export page model: the font of each kind of record, what a page owns,
// the numbering of pages, backgrounds and watermarks.
#include <gtest/gtest.h>

#include <memory>

#include "export/TalPageExport.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "model/TalWatermark.h"

namespace {

TEST(ExportObjectData, FontByKindFormatAndFontTable)
{
    CTalDocProperties document;
    const uint32_t times = document.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextFormat format;
    format.m_size = -12;
    format.m_style = CTalTextFormat::kBold | CTalTextFormat::kUnderline;
    format.m_font = times;
    format.m_align = 0;
    CTalTextFormat right = format, odd = format, outside;
    right.m_align = 2;
    odd.m_align = 255;
    outside.m_font = 1000;  // beyond the table
    const TextExportLine lines;
    const struct {
        const char* what;
        std::unique_ptr<TalObjExport> object;
        const CTalDocProperties* document;
        const wchar_t* face;
        double size;
        int style, alignment;
    } cases[] = {
        {"text without format", std::make_unique<TalObjExport>(CString(L"x"), CKWDoubleRect(), nullptr), nullptr,
         L"Arial", 18, 0, 65536},
        {"mark without format", std::make_unique<TalObjExport>(CString(L"x"), 4, nullptr), nullptr, L"Arial", 18, 0,
         65536},
        {"picture without format", std::make_unique<TalObjExport>(7u, CKWDoubleRect(), 0, false), nullptr, L"Arial",
         18, 0, 65536},
        {"background", std::make_unique<TalObjExport>(5u), nullptr, L"", 0, 0, 0},
        {"picture mark", std::make_unique<TalObjExport>(5u, 1.0, 2.0, 3), nullptr, L"", 0, 0, 0},
        {"note block", std::make_unique<TalObjExport>(nullptr, 0, -1, CKWDoubleRect(), lines), nullptr, L"", 0, 0,
         0},
        {"format in the table", std::make_unique<TalObjExport>(CString(L"t"), CKWDoubleRect(), &format), &document,
         L"Times New Roman", -12, 5, 0},
        {"right aligned", std::make_unique<TalObjExport>(CString(L"t"), CKWDoubleRect(), &right), &document,
         L"Times New Roman", -12, 5, 131072},
        {"alignment out of range", std::make_unique<TalObjExport>(CString(L"t"), CKWDoubleRect(), &odd), &document,
         L"Times New Roman", -12, 5, 65536},
        {"no table to look in", std::make_unique<TalObjExport>(CString(L"t"), CKWDoubleRect(), &format), nullptr,
         L"Arial", -12, 5, 0},
        {"font beyond the table", std::make_unique<TalObjExport>(CString(L"t"), 2, &outside), &document, L"Arial", 10,
         0, 65536},
    };
    for (const auto& c : cases) {
        CString face;
        double size = -1;
        int style = -1, alignment = -1;
        c.object->GetData()->GetFont(face, size, style, alignment, c.document);
        EXPECT_STREQ(c.face, face) << c.what;
        EXPECT_EQ(c.size, size) << c.what;
        EXPECT_EQ(c.style, style) << c.what;
        EXPECT_EQ(c.alignment, alignment) << c.what;
    }
}

TEST(ExportObjectData, ANoteBlockKeepsACopyOfItsLines)
{
    TextExportLine lines;
    lines.m_lines.resize(3);
    lines.m_lines[2].m_start = 42;
    TalObjExport block(nullptr, 5, 17, CKWDoubleRect(0.1, 0.1, 0.9, 0.5), lines);
    lines.Clear();
    const ExportTextData* text = static_cast<const ExportTextData*>(block.GetData());
    ASSERT_EQ(3, text->GetLines().GetCount());
    EXPECT_EQ(42, text->GetLines().m_lines[2].m_start);
}

struct DeletionFlag : ExportCustomData {
    explicit DeletionFlag(int& count) : m_count(count) {}
    ~DeletionFlag() override { ++m_count; }
    int& m_count;
};

TEST(TalPageExport, HoldsItsSectionAndOwnsItsObjectsAndCache)
{
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"S"));
    const int32_t before = section->GetRefCount();
    int deleted = 0;
    {
        TalPageExport page(kSectionPage, L"S", section.Get());
        EXPECT_EQ(before + 1, section->GetRefCount());
        page.AddObject(new TalObjExport(1u));
        page.AddObject(nullptr);
        EXPECT_EQ(1, page.GetObjectCount());
        page.SetCache(new DeletionFlag(deleted));
        page.SetCache(new DeletionFlag(deleted));  // replaces and deletes the first
        EXPECT_EQ(1, deleted);
        // A background needs a page and a picture.
        AddBackgroundImage(&page, 0);
        AddBackgroundImage(nullptr, 5);
        AddBackgroundImage(&page, 5);
        ASSERT_EQ(2, page.GetObjectCount());
        EXPECT_EQ(kExportImage, page.GetObject(1)->GetKind());
    }
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(before, section->GetRefCount());

    TalPageList pages;
    pages.push_back(new TalPageExport(kTitlePage, L"Title-page", nullptr));
    EXPECT_EQ(0, CountNumberedPages(pages));
    pages.push_back(new TalPageExport(kContentsPage, L"Content", nullptr));
    pages.push_back(new TalPageExport(kSectionPage, L"A", nullptr));
    EXPECT_EQ(2, CountNumberedPages(pages)) << "only title pages go unnumbered";
    DeletePages(pages);
    EXPECT_TRUE(pages.empty());
}

class AddWatermarksTest : public ::testing::Test {
protected:
    ~AddWatermarksTest() override
    {
        for (CTalWatermark* mark : m_marks)
            delete mark;
    }
    CTalWatermark* Add(int32_t kind, bool onTop)
    {
        CTalWatermark* mark = new CTalWatermark;
        mark->m_kind = kind;
        mark->m_sendToFront = onTop ? 1 : 0;
        m_marks.push_back(mark);
        return mark;
    }
    std::vector<CTalWatermark*> m_marks;
};

TEST_F(AddWatermarksTest, PictureSizeInMillimetresBecomesInches)
{
    struct Case {
        int32_t unit;
        double width, height, expectWidth, expectHeight;
    } cases[] = {{8, 254, 127, 10, 5}, {4, 3, 2, 3, 2}, {7, 1.5, 2.5, 1.5, 2.5}};
    for (const Case& c : cases) {
        CTalWatermark mark;
        mark.m_kind = CTalWatermark::kImage;
        mark.m_unit = c.unit;
        mark.m_width = c.width;
        mark.m_height = c.height;
        mark.m_pictureId = 77;
        mark.m_place = 8;
        TalPageExport page(kSectionPage, L"A", nullptr);
        AddWatermarks(&page, {&mark}, false, 0);
        ASSERT_EQ(1, page.GetObjectCount());
        const ExportImageData* data = page.GetObject(0)->GetImageRecord();
        ASSERT_EQ(kExportWmImage, data->GetKind());
        double w = 0, h = 0;
        data->GetSize(w, h);
        EXPECT_NEAR(c.expectWidth, w, 1e-12) << c.unit;
        EXPECT_NEAR(c.expectHeight, h, 1e-12) << c.unit;
        EXPECT_EQ(77u, data->GetImageKey());
        EXPECT_EQ(8, data->GetPlace());
    }
}

TEST_F(AddWatermarksTest, PageNumberOnTopFlagAndOrder)
{
    CTalWatermark* under = Add(CTalWatermark::kText, false);
    under->m_text = L"under";
    CTalWatermark* over = Add(CTalWatermark::kText, true);
    over->m_text = L"over";
    Add(3, false);  // unknown kind: nothing
    m_marks.push_back(nullptr);
    CTalWatermark* number = Add(CTalWatermark::kPageNumber, false);
    number->m_firstNumber = 5;
    number->m_place = 7;

    // After two numbered pages the number is the first number plus two.
    TalPageExport page(kSectionPage, L"A", nullptr);
    AddWatermarks(&page, m_marks, false, 2);
    ASSERT_EQ(2, page.GetObjectCount());
    EXPECT_STREQ(L"under", page.GetObject(0)->GetWatermarkTextRecord()->GetText());
    EXPECT_EQ(&under->m_textFormat, page.GetObject(0)->GetWatermarkTextRecord()->GetFormat());
    EXPECT_STREQ(L"7", page.GetObject(1)->GetWatermarkTextRecord()->GetText());
    EXPECT_EQ(7, page.GetObject(1)->GetData()->GetPlace());
    AddWatermarks(&page, m_marks, true, 0);
    ASSERT_EQ(3, page.GetObjectCount());
    EXPECT_STREQ(L"over", page.GetObject(2)->GetWatermarkTextRecord()->GetText());
    AddWatermarks(nullptr, m_marks, true, 0);

    // A first number at the limit does not wrap around.
    number->m_firstNumber = 2147483647;
    TalPageExport distant(kSectionPage, L"D", nullptr);
    AddWatermarks(&distant, m_marks, false, 2);
    EXPECT_STREQ(L"2147483649", distant.GetObject(1)->GetWatermarkTextRecord()->GetText());
}

}  // namespace
