// Whole presentations written to disk and read back: the compound file, the
// record tree, persist offsets, slides, text boxes and their runs.
#include "tests/export/CountingProgress.h"
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "export/TalPageExport.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWProgressInterface.h"
#include "model/TalTextFormat.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/ppt/PptFileCheck.h"

namespace {

const double kScreenWidth = 2540;   // tenths of a millimetre: a 10 x 7.5 inch show
const double kScreenHeight = 1905;

TalPageExport* NewPage(TalPageList& pages)
{
    TalPageExport* page = new TalPageExport(kSectionPage, L"Section", nullptr);
    pages.push_back(page);
    return page;
}

bool Write(const TalPageList& pages, const std::wstring& path, const CKWIndexDecoder* fonts = nullptr,
           double width = kScreenWidth, double height = kScreenHeight)
{
    PPTWriter writer;
    return writer.Export(pages, width, height, fonts, CString(path.c_str()));
}

std::vector<uint16_t> ChildTypes(const PptRecord& record)
{
    std::vector<uint16_t> types;
    for (const PptRecord& child : record.children)
        types.push_back(child.type);
    return types;
}

}  // namespace

TEST(PPTWriter, OnePageHasTheRecordTreeAndOffsetsOfTheFormat)
{
    CExportTestFolder folder;
    CTestPages pages;
    CTalTextFormat format;
    NewPage(pages.List())->AddObject(new TalObjExport(CString(L"Title"), CKWDoubleRect(0.5, 0.5, 1, 1), &format));
    const std::wstring path = folder.Path() + L"report.ppt";
    ASSERT_TRUE(Write(pages.List(), path));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<uint8_t>& d = p.doc;

    EXPECT_EQ((std::vector<uint16_t>{1000, 1016, 1006, 6002, 4085}), ChildTypes(p.root));
    EXPECT_EQ((std::vector<uint16_t>{1001, 1010, 1035, 4080, 2000, 4080, 1025, 1002}), ChildTypes(*p.document));

    const PptRecord& atom = p.document->children[0];
    EXPECT_EQ(1, atom.version);
    ASSERT_EQ(40u, atom.length);
    const uint32_t sizes[8] = {5759, 4319, 5759, 4319, 1, 2, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(sizes[i], U32At(d, atom.Body() + 4 * i)) << i;
    EXPECT_EQ(1, U16At(d, atom.Body() + 32));
    EXPECT_EQ(0, U16At(d, atom.Body() + 34));  // on-screen show
    EXPECT_EQ(1, d[atom.Body() + 39]);

    // One font: the Environment is 76 + 164 bytes long, its font "Arial".
    const PptRecord& environment = p.document->children[1];
    EXPECT_EQ(240u, environment.length);
    EXPECT_EQ((std::vector<uint16_t>{4040, 2005, 4009, 4003}), ChildTypes(environment));
    const PptRecord* font = environment.Find(4023);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(68u, font->length);
    EXPECT_EQ(0, std::memcmp(L"Arial", d.data() + font->Body(), 12));
    EXPECT_EQ(110u, environment.children[3].length);
    EXPECT_EQ(4, environment.children[3].instance);

    // Persist directory: ids 1, 2, 3 in one entry.
    const PptRecord* directory = nullptr;
    for (const PptRecord& child : p.root.children)
        if (child.type == 6002)
            directory = &child;
    ASSERT_NE(nullptr, directory);
    EXPECT_EQ(16u, directory->length);
    EXPECT_EQ(0x00300001u, U32At(d, directory->Body()));
    EXPECT_EQ(directory->offset, p.persistDirectory);
    EXPECT_EQ(3u, p.persistSeed);

    // Drawing group: two drawings; the master's group and background take
    // 1024-1025, the slide's group, text box and background 2048-2050.
    const PptRecord& group = p.document->children[2];
    const PptRecord* dgg = group.Find(0xF006);
    ASSERT_NE(nullptr, dgg);
    EXPECT_EQ(group.length, dgg->length - 16 + 100);
    EXPECT_EQ(2051u, U32At(d, dgg->Body()));
    EXPECT_EQ(3u, U32At(d, dgg->Body() + 4));
    EXPECT_EQ(3u, U32At(d, dgg->Body() + 8));
    EXPECT_EQ(2u, U32At(d, dgg->Body() + 12));
    ASSERT_EQ(32u, dgg->length);
    const uint32_t clusters[4] = {1, 2, 2, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(clusters[i], U32At(d, dgg->Body() + 16 + 4 * i));
    const PptRecord* defaults = group.Find(0xF00B);
    ASSERT_NE(nullptr, defaults);
    EXPECT_EQ(6, defaults->instance);
    EXPECT_EQ(36u, defaults->length);

    const PptRecord* ssDoc = p.document->Find(1025);
    ASSERT_NE(nullptr, ssDoc);
    EXPECT_EQ(80u, ssDoc->length);
    EXPECT_EQ(0x01000000u, U32At(d, ssDoc->Body()));

    // The list container: VBA info, slide view, outline view, notes view.
    const PptRecord& list = p.document->children[4];
    EXPECT_EQ((std::vector<uint16_t>{1023, 1018, 1031, 1018}), ChildTypes(list));
    EXPECT_EQ(318u, list.length);

    // The master: slide atom, seven schemes, eight text styles, drawing, scheme.
    std::vector<uint16_t> masterTypes = {1007, 2032, 2032, 2032, 2032, 2032, 2032, 2032,
                                         4003, 4003, 4003, 4003, 4003, 4003, 4003, 4003, 1036, 2032};
    EXPECT_EQ(masterTypes, ChildTypes(*p.master));
    EXPECT_EQ(1u, U32At(d, p.master->children[0].Body()));
    const std::vector<ShapeInfo> masterShapes = SlideShapes(p, *p.master);
    ASSERT_EQ(2u, masterShapes.size());
    EXPECT_EQ(1024u, masterShapes[0].id);
    EXPECT_EQ(1025u, masterShapes[1].id);
    EXPECT_EQ(0xC00u, masterShapes[1].flags);
    EXPECT_EQ(0u, masterShapes[1].properties.at(0x0180));
    EXPECT_EQ(4445000u, masterShapes[1].properties.at(0x0193));
    EXPECT_EQ(3333750u, masterShapes[1].properties.at(0x0194));

    // The slide: blank layout on the master, its shapes, scheme 1.
    const PptRecord& slide = *p.slides[0];
    EXPECT_EQ((std::vector<uint16_t>{1007, 1036, 2032}), ChildTypes(slide));
    EXPECT_EQ(16u, U32At(d, slide.children[0].Body()));
    EXPECT_EQ(0x80000000u, U32At(d, slide.children[0].Body() + 12));
    EXPECT_EQ(256u, U32At(d, slide.children[0].Body() + 16));
    EXPECT_EQ(7, U16At(d, slide.children[0].Body() + 20));
    EXPECT_EQ(1, slide.children[2].instance);
    const std::vector<ShapeInfo> shapes = SlideShapes(p, slide);
    ASSERT_EQ(3u, shapes.size());
    EXPECT_EQ(2048u, shapes[0].id);
    EXPECT_EQ(0x5u, shapes[0].flags);
    EXPECT_EQ(2049u, shapes[1].id);
    EXPECT_EQ(2050u, shapes[2].id);
    EXPECT_EQ(0u, shapes[2].properties.count(0x0180));
    EXPECT_EQ(0xFFFFFFu, shapes[2].properties.at(0x0181));
    EXPECT_EQ(0u, shapes[2].properties.at(0x0183));
    EXPECT_TRUE(shapes[1].hasAnchor);
    EXPECT_EQ((std::vector<int32_t>{2879, 2159, 5759, 4319}),
              (std::vector<int32_t>{shapes[1].left, shapes[1].top, shapes[1].right, shapes[1].bottom}));

    // Summary information: the user-defined section's properties at 32, 56, 64.
    const std::vector<uint8_t>& summary = p.file.streams[L"\x0005" L"DocumentSummaryInformation"];
    EXPECT_EQ(76u, U32At(summary, 64));
    EXPECT_EQ(152u, U32At(summary, 76));
    EXPECT_EQ(3u, U32At(summary, 80));
    const uint32_t pairs[6] = {0, 32, 1, 56, 2, 64};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pairs[i], U32At(summary, 84 + 4 * i)) << i;
    EXPECT_EQ(0, std::memcmp("_PID_GUID", summary.data() + 76 + 32 + 12, 10));
    EXPECT_EQ(1252, U16At(summary, 76 + 56 + 4));
    EXPECT_EQ(78u, U32At(summary, 76 + 64 + 4));
    EXPECT_EQ(0, std::memcmp(L"{DB1AC964", summary.data() + 76 + 64 + 8, 18));
}

TEST(PPTWriter, SlideSizeAndSizeType)
{
    const struct {
        double width, height;
        uint32_t slideWidth, slideHeight;
        uint16_t type;
    } cases[] = {
        {2540, 1905, 5759, 4319, 0}, {2970, 2100, 6735, 4762, 6}, {2032, 254, 4607, 575, 5},
        {2857.5, 1905, 6479, 4319, 3}, {2751.666, 1905, 6239, 4319, 2}, {2100, 2970, 4762, 6735, 6},
        {2540.5, 1905.9, 5761, 4322, 0},  // whole tenths compared
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.slideWidth, static_cast<uint32_t>(PPTWriter::ToMasterUnits(c.width))) << c.width;
        EXPECT_EQ(c.slideHeight, static_cast<uint32_t>(PPTWriter::ToMasterUnits(c.height))) << c.height;
        EXPECT_EQ(c.type, PPTWriter::GetSlideSizeType(c.width, c.height)) << c.width << " x " << c.height;
    }

    // The landscape A4 page as written.
    CExportTestFolder folder;
    CTestPages pages;
    NewPage(pages.List());
    const std::wstring path = folder.Path() + L"a4.ppt";
    ASSERT_TRUE(Write(pages.List(), path, nullptr, 2970, 2100));
    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const PptRecord& atom = p.document->children[0];
    EXPECT_EQ(6735u, U32At(p.doc, atom.Body()));
    EXPECT_EQ(4762u, U32At(p.doc, atom.Body() + 4));
    EXPECT_EQ(6, U16At(p.doc, atom.Body() + 34));
    // A page without objects: the patriarch group and the background only.
    EXPECT_EQ(2u, SlideShapes(p, *p.slides[0]).size());
}

TEST(PPTWriter, PlainTextsLoseTheirLineFeedsWatermarksKeepThem)
{
    CExportTestFolder folder;
    CTestPages pages;
    CTalTextFormat format;
    TalPageExport* page = NewPage(pages.List());
    page->AddObject(new TalObjExport(CString(L"ab\ncd"), CKWDoubleRect(0.1, 0.1, 0.9, 0.2), &format));
    for (int32_t place : {0, 4, 8})
        page->AddObject(new TalObjExport(CString(L"ab\ncd"), place, &format));
    page->AddObject(new TalObjExport(CString(L""), 4, &format));  // empty: no box
    const std::wstring path = folder.Path() + L"texts.ppt";
    ASSERT_TRUE(Write(pages.List(), path));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[0]);
    ASSERT_EQ(4u, boxes.size());
    EXPECT_EQ(L"abcd", boxes[0].text);
    ASSERT_EQ(1u, boxes[0].paragraphs.size());
    ASSERT_EQ(1u, boxes[0].characters.size());
    EXPECT_EQ(5u, boxes[0].paragraphs[0].count);
    EXPECT_EQ(5u, boxes[0].characters[0].count);
    EXPECT_EQ(0u, boxes[0].properties.count(0x0087));

    const uint32_t anchors[3] = {0, 1, 2};
    for (int i = 1; i <= 3; ++i) {
        const ShapeInfo& box = boxes[i];
        EXPECT_EQ(L"ab\rcd", box.text);
        EXPECT_EQ(6u, box.paragraphs[0].count);
        EXPECT_EQ(6u, box.characters[0].count);
        EXPECT_EQ(anchors[i - 1], box.properties.at(0x0087)) << i;
        // A watermark covers the whole page.
        EXPECT_EQ((std::vector<int32_t>{0, 0, 5759, 4319}),
                  (std::vector<int32_t>{box.left, box.top, box.right, box.bottom}));
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0xA00u, boxes[i].flags);
        EXPECT_EQ(4u, boxes[i].textType);
        EXPECT_EQ(0x00100000u, boxes[i].properties.at(0x01BF));
        EXPECT_EQ(0x00090000u, boxes[i].properties.at(0x01FF));
        EXPECT_EQ(8007524u + 96 * (i + 1), boxes[i].properties.at(0x0080));
    }

    // The composed page is left as it was.
    const ExportSimpleTextData* simple = static_cast<const ExportSimpleTextData*>(page->GetObject(0)->GetData());
    EXPECT_EQ(CString(L"ab\ncd"), simple->GetText());
}

TEST(PPTWriter, CharacterAndParagraphFormatsOfPlainTexts)
{
    CKWIndexDecoder fonts;
    fonts.FindOrAdd(L"Times New Roman");
    fonts.FindOrAdd(L"Courier New");
    fonts.FindOrAdd(L"Georgia");
    fonts.FindOrAdd(L"A Font Name Of Exactly Forty Characters!");

    CTalTextFormat plain;  // 10 points, centred
    plain.m_size = 24;
    plain.m_align = CTalTextFormat::kAlignLeft;
    CTalTextFormat strong;
    strong.m_style = CTalTextFormat::kBold | CTalTextFormat::kItalic | CTalTextFormat::kUnderline;
    strong.m_size = 12;
    strong.m_color = 0x0000FF;  // red
    strong.m_font = 2;
    strong.m_align = CTalTextFormat::kAlignRight;
    CTalTextFormat other;
    other.m_style = 0x20 | 0x08;  // shadow and bit 3
    other.m_font = 1;
    other.m_color = 0xFF000000;  // no colour in the low three bytes
    CTalTextFormat longName;
    longName.m_font = 3;
    longName.m_style = 0x10;  // a bit without a run flag

    CExportTestFolder folder;
    CTestPages pages;
    TalPageExport* page = NewPage(pages.List());
    const CKWDoubleRect rect(0.1, 0.1, 0.9, 0.2);
    page->AddObject(new TalObjExport(CString(L"plain"), rect, &plain));
    page->AddObject(new TalObjExport(CString(L"strong"), rect, &strong));
    page->AddObject(new TalObjExport(CString(L"other"), rect, &other));
    page->AddObject(new TalObjExport(CString(L"again"), rect, &strong));
    page->AddObject(new TalObjExport(CString(L"long"), rect, &longName));
    page->AddObject(new TalObjExport(CString(L"none"), rect, nullptr));
    const std::wstring path = folder.Path() + L"formats.ppt";
    ASSERT_TRUE(Write(pages.List(), path, &fonts));

    Presentation p;
    LoadPresentation(path, 1, p);
    if (HasFatalFailure())
        return;
    const std::vector<ShapeInfo> boxes = TextBoxes(p, *p.slides[0]);
    ASSERT_EQ(6u, boxes.size());

    const struct {
        uint32_t paraMask;
        uint16_t alignment;
        uint32_t charMask;
        uint16_t style, font, size;
        uint32_t color;
    } expected[] = {
        {0, 0, 0x10000, 0, 0, 0, 0},
        {0x800, 2, 0x70007, 7, 1, 12, 0xFE0000FF},
        {0x800, 1, 0x30110, 0x110, 2, 10, 0},
        {0x800, 2, 0x70007, 7, 1, 12, 0xFE0000FF},
        {0x800, 1, 0x20000 | 0x10000, 0, 3, 10, 0},
        {0x800, 1, 0x30000, 0, 0, 18, 0},
    };
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_EQ(1u, boxes[i].paragraphs.size());
        ASSERT_EQ(1u, boxes[i].characters.size());
        const ParagraphRun& para = boxes[i].paragraphs[0];
        const CharacterRun& run = boxes[i].characters[0];
        EXPECT_EQ(expected[i].paraMask, para.mask) << i;
        EXPECT_EQ(expected[i].alignment, para.alignment) << i;
        EXPECT_EQ(expected[i].charMask, run.mask) << i;
        EXPECT_EQ(expected[i].style, run.style) << i;
        EXPECT_EQ(expected[i].font, run.font) << i;
        if (run.mask & 0x20000)
            EXPECT_EQ(expected[i].size, run.size) << i;
        EXPECT_EQ(expected[i].color, run.color) << i;
    }

    // The fonts in order of first use, named from the table.
    const PptRecord& environment = p.document->children[1];
    EXPECT_EQ(76u * 4 + 164, environment.length);
    std::vector<const PptRecord*> entities;
    environment.FindAll(4023, entities);
    ASSERT_EQ(4u, entities.size());
    const std::wstring names[4] = {L"Times New Roman", L"Georgia", L"Courier New",
                                   L"A Font Name Of Exactly Forty Char"};
    for (size_t i = 0; i < 4; ++i) {
        std::wstring name;
        for (uint32_t k = 0; k < 32; ++k) {
            const wchar_t ch = static_cast<wchar_t>(U16At(p.doc, entities[i]->Body() + 2 * k));
            if (!ch)
                break;
            name.push_back(ch);
        }
        EXPECT_EQ(names[i].substr(0, 31), name) << i;
        EXPECT_EQ(0, U16At(p.doc, entities[i]->Body() + 62)) << "terminated";
        EXPECT_EQ(6, p.doc[entities[i]->Body() + 66]);
    }
}
