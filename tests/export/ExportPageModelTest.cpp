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

// Sizes by unit and the order of watermarks under and over the page are in
// the composition's golden files; here what those reports do not hold.
TEST(AddWatermarks, SkipUnknownKindsAndNumberPastTheLargestInt)
{
    CTalWatermark unknown, number;
    unknown.m_kind = 3;
    number.m_kind = CTalWatermark::kPageNumber;
    number.m_firstNumber = 2147483647;
    number.m_place = 7;
    TalPageExport page(kSectionPage, L"A", nullptr);
    AddWatermarks(&page, {&unknown, nullptr, &number}, false, 2);
    AddWatermarks(&page, {&number}, true, 2);  // not a front mark
    AddWatermarks(nullptr, {&number}, false, 0);
    ASSERT_EQ(1, page.GetObjectCount());
    EXPECT_STREQ(L"2147483649", page.GetObject(0)->GetWatermarkTextRecord()->GetText());
    EXPECT_EQ(7, page.GetObject(0)->GetData()->GetPlace());
    EXPECT_EQ(&number.m_textFormat, page.GetObject(0)->GetWatermarkTextRecord()->GetFormat());
}

}  // namespace
