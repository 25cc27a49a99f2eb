#include <gtest/gtest.h>

#include <memory>

#include "export/TalPageExport.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalWatermark.h"

namespace {

struct FontResult {
    CString name;
    double size = -1;
    int style = -1;
    int alignment = -1;
};

FontResult FontOf(const ExportObjectData& data, const CTalDocProperties* document = nullptr)
{
    FontResult r;
    data.GetFont(r.name, r.size, r.style, r.alignment, document);
    return r;
}

TEST(ExportObjectDataTest, FontWithoutFormatIsArial18Centred)
{
    TalObjExport simple(CString(L"x"), CKWDoubleRect(0, 0, 1, 1), nullptr);
    TalObjExport mark(CString(L"x"), 4, nullptr);
    TalObjExport picture(7u, CKWDoubleRect(0, 0, 1, 1), 0, false);
    for (const TalObjExport* object : {&simple, &mark, &picture}) {
        const FontResult r = FontOf(*object->GetData());
        EXPECT_STREQ(L"Arial", r.name);
        EXPECT_EQ(18.0, r.size);
        EXPECT_EQ(0, r.style);
        EXPECT_EQ(65536, r.alignment);
    }
}

TEST(ExportObjectDataTest, KindsWithoutFormatGiveEmptyFont)
{
    TalObjExport background(5u);
    TalObjExport wmImage(5u, 1.0, 2.0, 3);
    TextExportLine lines;
    TalObjExport block(nullptr, 0, -1, CKWDoubleRect(0, 0, 1, 1), lines);
    for (const TalObjExport* object : {&background, &wmImage, &block}) {
        const FontResult r = FontOf(*object->GetData());
        EXPECT_TRUE(r.name.IsEmpty());
        EXPECT_EQ(0.0, r.size);
        EXPECT_EQ(0, r.style);
        EXPECT_EQ(0, r.alignment);
    }
}

TEST(ExportObjectDataTest, FontFollowsFormatAndFontTable)
{
    CTalDocProperties document;
    const uint32_t times = document.GetFontTable().FindOrAdd(L"Times New Roman");
    struct Case {
        uint8_t align;
        int alignment;
    } cases[] = {{0, 0}, {1, 65536}, {2, 131072}, {3, 65536}, {255, 65536}};
    for (const Case& c : cases) {
        CTalTextFormat format;
        format.m_size = -12;
        format.m_style = CTalTextFormat::kBold | CTalTextFormat::kUnderline;
        format.m_font = times;
        format.m_align = c.align;
        TalObjExport object(CString(L"t"), CKWDoubleRect(0, 0, 1, 1), &format);
        const FontResult r = FontOf(*object.GetData(), &document);
        EXPECT_STREQ(L"Times New Roman", r.name) << int(c.align);
        EXPECT_EQ(-12.0, r.size);
        EXPECT_EQ(5, r.style);
        EXPECT_EQ(c.alignment, r.alignment) << int(c.align);
        // Without a document there is no table to look in.
        EXPECT_STREQ(L"Arial", FontOf(*object.GetData()).name);
    }
    CTalTextFormat outOfRange;
    outOfRange.m_font = 1000;
    TalObjExport object(CString(L"t"), 2, &outOfRange);
    const FontResult r = FontOf(*object.GetData(), &document);
    EXPECT_STREQ(L"Arial", r.name);
    EXPECT_EQ(10.0, r.size);
    EXPECT_EQ(65536, r.alignment);
}

TEST(ExportObjectDataTest, RecordFieldsAndDefaultsByKind)
{
    TalObjExport picture(11u, CKWDoubleRect(0.1, 0.2, 0.3, 0.4), 90, true);
    ExportImageData* image = picture.GetImageRecord();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4, image->GetPlace());
    image->SetPlace(0);  // a picture has no place
    EXPECT_EQ(4, image->GetPlace());
    double w = -1, h = -1;
    image->GetSize(w, h);
    EXPECT_EQ(0.0, w);
    EXPECT_EQ(0.0, h);

    TalObjExport background(12u);
    ExportImageData* bg = background.GetImageRecord();
    bg->SetRotation(90);
    bg->SetGrayscale(true);
    bg->SetString(L"ignored");
    bg->SetRect(CKWDoubleRect(0.5, 0.5, 0.6, 0.6));
    EXPECT_EQ(0, bg->GetRotation());
    EXPECT_FALSE(bg->GetGrayscale());
    EXPECT_TRUE(bg->GetString().IsEmpty());
    EXPECT_EQ(1.0, bg->GetRect().right);
    EXPECT_EQ(0.0, bg->GetRect().left);

    TalObjExport wm(13u, 2.5, 1.5, 8);
    ExportImageData* wmImage = wm.GetImageRecord();
    wmImage->GetSize(w, h);
    EXPECT_EQ(2.5, w);
    EXPECT_EQ(1.5, h);
    EXPECT_EQ(8, wmImage->GetPlace());
    EXPECT_EQ(1.0, wmImage->GetRect().bottom);

    TalObjExport mark(CString(L"DRAFT"), 6, nullptr);
    ASSERT_NE(nullptr, mark.GetWatermarkTextRecord());
    EXPECT_STREQ(L"DRAFT", mark.GetWatermarkTextRecord()->GetText());
    EXPECT_EQ(6, mark.GetData()->GetPlace());

    TextExportLine lines;
    lines.m_flags = 1;
    lines.m_lines.resize(3);
    lines.m_lines[2].m_start = 42;
    TalObjExport block(nullptr, 5, 17, CKWDoubleRect(0.1, 0.1, 0.9, 0.5), lines);
    lines.Clear();
    const ExportTextData* text = static_cast<const ExportTextData*>(block.GetData());
    ASSERT_EQ(3, text->GetLines().GetCount());  // a copy, not the caller's cleared lines
    EXPECT_EQ(42, text->GetLines().m_lines[2].m_start);
}

TEST(TalObjExportTest, RecordLookupsByKind)
{
    TextExportLine lines;
    std::unique_ptr<TalObjExport> objects[] = {
        std::make_unique<TalObjExport>(nullptr, 0, -1, CKWDoubleRect(), lines),
        std::make_unique<TalObjExport>(1u, CKWDoubleRect(), 0, false),
        std::make_unique<TalObjExport>(1u),
        std::make_unique<TalObjExport>(CString(L"a"), CKWDoubleRect(), nullptr),
        std::make_unique<TalObjExport>(CString(L"a"), 0, nullptr),
        std::make_unique<TalObjExport>(1u, 1.0, 1.0, 0),
    };
    for (int i = 0; i < 6; ++i) {
        const int kind = i + 1;
        EXPECT_EQ(kind, objects[i]->GetKind());
        const bool image = kind == 2 || kind == 3 || kind == 6;
        EXPECT_EQ(image, objects[i]->GetImageRecord() != nullptr) << kind;
        EXPECT_EQ(kind == 5, objects[i]->GetWatermarkTextRecord() != nullptr) << kind;
    }
}

TEST(TalObjExportTest, SerialsCountUpAcrossKinds)
{
    const int32_t next = TalObjExport::PeekNextSerial();
    EXPECT_GT(next, 128);
    TalObjExport a(1u);
    TalObjExport b(CString(L"x"), 0, nullptr);
    TalObjExport c(2u, CKWDoubleRect(), 0, false);
    EXPECT_EQ(next, a.GetSerial());
    EXPECT_EQ(next + 1, b.GetSerial());
    EXPECT_EQ(next + 2, c.GetSerial());
}

struct DeletionFlag : ExportCustomData {
    explicit DeletionFlag(int& count) : m_count(count) {}
    ~DeletionFlag() override { ++m_count; }
    int& m_count;
};

TEST(TalPageExportTest, NameKindSectionAndOwnership)
{
    TalPageExport unnamed(kContentsPage, nullptr, nullptr);
    EXPECT_TRUE(unnamed.GetName().IsEmpty());
    EXPECT_EQ(nullptr, unnamed.GetSection());
    EXPECT_EQ(0, unnamed.GetObjectCount());

    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"S"));
    const int32_t before = section->GetRefCount();
    int deleted = 0;
    {
        TalPageExport page(kSectionPage, L"S", section.Get());
        EXPECT_EQ(before + 1, section->GetRefCount());
        EXPECT_EQ(section.Get(), page.GetSection());
        EXPECT_STREQ(L"S", page.GetName());
        page.AddObject(new TalObjExport(1u));
        page.AddObject(nullptr);
        EXPECT_EQ(1, page.GetObjectCount());
        page.SetCache(new DeletionFlag(deleted));
        page.SetCache(new DeletionFlag(deleted));  // replaces and deletes the first
        EXPECT_EQ(1, deleted);
    }
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(before, section->GetRefCount());
}

TEST(TalPageExportTest, CountNumberedPagesSkipsOnlyTitlePages)
{
    TalPageList pages;
    EXPECT_EQ(0, CountNumberedPages(pages));
    pages.push_back(new TalPageExport(kTitlePage, L"Title-page", nullptr));
    EXPECT_EQ(0, CountNumberedPages(pages));
    pages.push_back(new TalPageExport(kContentsPage, L"Content", nullptr));
    pages.push_back(new TalPageExport(kSectionPage, L"A", nullptr));
    pages.push_back(new TalPageExport(kSectionPage, L"B", nullptr));
    EXPECT_EQ(3, CountNumberedPages(pages));
    DeletePages(pages);
    EXPECT_TRUE(pages.empty());
}

TEST(TalPageExportTest, BackgroundNeedsPageAndKey)
{
    TalPageExport page(kSectionPage, L"A", nullptr);
    AddBackgroundImage(&page, 0);
    AddBackgroundImage(nullptr, 5);
    EXPECT_EQ(0, page.GetObjectCount());
    AddBackgroundImage(&page, 5);
    ASSERT_EQ(1, page.GetObjectCount());
    EXPECT_EQ(kExportImage, page.GetObject(0)->GetKind());
    EXPECT_EQ(5u, page.GetObject(0)->GetImageRecord()->GetImageKey());
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

TEST_F(AddWatermarksTest, PageNumberAfterTitleAndTwoNumberedPages)
{
    TalPageList pages;
    pages.push_back(new TalPageExport(kTitlePage, L"Title-page", nullptr));
    pages.push_back(new TalPageExport(kSectionPage, L"A", nullptr));
    pages.push_back(new TalPageExport(kSectionPage, L"B", nullptr));
    CTalWatermark* number = Add(CTalWatermark::kPageNumber, false);
    number->m_place = 7;
    TalPageExport page(kSectionPage, L"C", nullptr);
    AddWatermarks(&page, m_marks, false, CountNumberedPages(pages));
    ASSERT_EQ(1, page.GetObjectCount());
    const ExportWatermarkTextData* text = page.GetObject(0)->GetWatermarkTextRecord();
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ(L"3", text->GetText());
    EXPECT_EQ(7, text->GetPlace());
    EXPECT_EQ(&number->m_textFormat, text->GetFormat());
    DeletePages(pages);

    // A first number at the limit does not wrap around.
    number->m_firstNumber = 2147483647;
    TalPageExport distant(kSectionPage, L"D", nullptr);
    AddWatermarks(&distant, m_marks, false, 2);
    EXPECT_STREQ(L"2147483649", distant.GetObject(0)->GetWatermarkTextRecord()->GetText());
}

TEST_F(AddWatermarksTest, OnTopFlagSelectsAndOrderIsKept)
{
    CTalWatermark* under = Add(CTalWatermark::kText, false);
    under->m_text = L"under";
    CTalWatermark* over = Add(CTalWatermark::kText, true);
    over->m_text = L"over";
    Add(3, false);  // unknown kind: nothing
    m_marks.push_back(nullptr);
    CTalWatermark* under2 = Add(CTalWatermark::kPageNumber, false);
    under2->m_firstNumber = 5;

    TalPageExport page(kSectionPage, L"A", nullptr);
    AddWatermarks(&page, m_marks, false, 0);
    ASSERT_EQ(2, page.GetObjectCount());
    EXPECT_STREQ(L"under", page.GetObject(0)->GetWatermarkTextRecord()->GetText());
    EXPECT_EQ(&under->m_textFormat, page.GetObject(0)->GetWatermarkTextRecord()->GetFormat());
    EXPECT_STREQ(L"5", page.GetObject(1)->GetWatermarkTextRecord()->GetText());
    AddWatermarks(&page, m_marks, true, 0);
    ASSERT_EQ(3, page.GetObjectCount());
    EXPECT_STREQ(L"over", page.GetObject(2)->GetWatermarkTextRecord()->GetText());
    AddWatermarks(nullptr, m_marks, true, 0);
}

}  // namespace
