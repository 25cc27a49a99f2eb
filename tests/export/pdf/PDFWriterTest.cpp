// The layout pass (page, font and image records) and the drawing of each
// kind of object, measured by a surface of fixed metrics.
#include <gtest/gtest.h>

#include <algorithm>


#include "export/TalPageExport.h"
#include "export/pdf/PDFFontName.h"
#include "export/pdf/PDFWriter.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

// 96 dots per inch; every character 8 pixels wide ("W" 16), the metrics in pixels.
// At 96 dpi a pixel is 0.75 point: advances of 6 points (12 for "W").
class FixedMeasure : public CKWGdiPlusDraw {
public:
    explicit FixedMeasure(HDC dc) : CKWGdiPlusDraw(dc) {}
    int GetDpi() override { return 96; }
    int GetFontMetrics(const CKWFont&, int32_t* m) override
    {
        const int32_t values[KWFONTMETRIC_COUNT] = {12, 4, 0, 16, 1, 8, 1};
        for (int i = 0; i < KWFONTMETRIC_COUNT; ++i)
            m[i] = values[i];
        return 0;
    }
    int GetCharWidths(const wchar_t* text, int length, const CKWFont&, double* widths, int maxCount) override
    {
        const int n = length < maxCount ? length : maxCount;
        for (int i = 0; i < n; ++i)
            widths[i] = text[i] == L'W' ? 16.0 : 8.0;
        return n;
    }
};
const double kAscent = 9.0;

using pdftest::ShownPerTextObject;
const auto Hex = pdftest::HexUnits;

class PDFWriterDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    // Lays the pages out and draws page 0; its operators.
    std::string Draw(uint32_t pageIndex = 0)
    {
        pdftest::Sink sink;
        {
            PDFFile file(sink.Open());
            HDC dc = ::CreateCompatibleDC(nullptr);
            {
                FixedMeasure measure(dc);
                m_writer.reset(new PDFWriter);
                m_writer->AttachForDrawing(&file, &measure, &m_pages.List(), &m_properties);
                m_writer->LayoutPages(nullptr);
                m_writer->DrawPage(pageIndex);
                m_writer->AttachForDrawing(nullptr, nullptr, &m_pages.List(), &m_properties);
            }
            ::DeleteDC(dc);
            EXPECT_TRUE(file.Finish());
        }
        return sink.bytes;
    }

    TalPageExport* AddPage()
    {
        m_pages.List().push_back(new TalPageExport(kSectionPage, L"page", nullptr));
        return m_pages.List().back();
    }

    CTalTextFormat* Format(int16_t size, uint8_t style, uint8_t align, uint32_t colour = 0)
    {
        m_formats.emplace_back(new CTalTextFormat(TestFormat(size, style, align, 0, colour)));
        return m_formats.back().get();
    }

    int32_t Key(const wchar_t* face, uint8_t style) const
    {
        const PDFFontRecord* font = m_writer->FindFont(face, style);
        EXPECT_NE(nullptr, font) << "no font " << Narrow(face) << " " << int(style);
        return font ? static_cast<int32_t>(font->key) : -1;
    }


    CTalDocProperties m_properties;
    CTestPages m_pages;
    std::vector<std::unique_ptr<CTalTextFormat>> m_formats;
    std::unique_ptr<PDFWriter> m_writer;
};

TEST_F(PDFWriterDrawing, PlainTextLinesBreakAtBlanksLineEndsAndInsideLongWords)
{
    struct Case {
        const wchar_t* text;
        double widthFraction;  // of the page
        std::vector<std::string> lines;
    } cases[] = {
        // 45 points hold "aaa bbb" (42) but not the blank after it.
        {L"aaa bbb ccc", 45.0, {Hex(L"aaa bbb"), Hex(L"ccc")}},
        // A word wider than the box breaks before the first character that does not fit.
        {L"abcdefgh", 20.0, {Hex(L"abc"), Hex(L"def"), Hex(L"gh")}},
        // A line feed followed by a carriage return ends one line, with no empty line after it.
        {L"ab\n\rcd", 200.0, {Hex(L"ab"), Hex(L"cd")}},
        {L"ab\r\ncd\n\nef", 200.0, {Hex(L"ab"), Hex(L"cd"), Hex(L"ef")}},
        // Characters wider than the box take a line each (the walk always moves on).
        {L"WWW", 10.0, {Hex(L"W"), Hex(L"W"), Hex(L"W")}},
    };
    for (const Case& c : cases) {
        m_pages.List().clear();
        TalPageExport* page = AddPage();
        const double pageWidth = 2100 * 72.0 / 254.0;
        page->AddObject(new TalObjExport(CString(c.text), CKWDoubleRect(0, 0, c.widthFraction / pageWidth, 0.5),
                                         Format(10, 0, 0)));
        EXPECT_EQ(c.lines, ShownPerTextObject(Draw())) << Narrow(c.text);
        DeletePages(m_pages.List());
    }
}

TEST_F(PDFWriterDrawing, ABoxWithoutWidthOrLineStepStillEnds)
{
    pdftest::Sink sink;
    AddPage()->AddObject(new TalObjExport(CString(L"abc"), CKWDoubleRect(0, 0, 1, 1), Format(10, 0, 0)));
    Draw();
    PDFFile file(sink.Open());
    m_writer->AttachForDrawing(&file, nullptr, &m_pages.List(), &m_properties);
    const double advances[] = {6, 6, 6};
    const int32_t key = Key(L"Arial", 0);
    // Metrics that are missing (a line step of 0) and a box of no width.
    m_writer->DrawTextBlock(0, 100, L"abc", advances, key, 10, false, 0, 50, 0, 0, 0, 0);
    EXPECT_TRUE(file.Finish());
    EXPECT_EQ((std::vector<std::string>{"0061", "0062", "0063"}), ShownPerTextObject(sink.bytes));
}

TEST_F(PDFWriterDrawing, APlainTextLowerThanOneLineShowsNothing)
{
    const double lineHeight = kAscent / (2970 * 72.0 / 254.0);
    AddPage()->AddObject(new TalObjExport(CString(L"Hello"), CKWDoubleRect(0, 0, 1, lineHeight * 0.9), Format(10, 0, 0)));
    AddPage()->AddObject(new TalObjExport(CString(L"Hello"), CKWDoubleRect(0, 0, 1, lineHeight * 1.01), Format(10, 0, 0)));
    EXPECT_EQ("", Draw(0));
    EXPECT_EQ(1u, ShownPerTextObject(Draw(1)).size());
}

TEST_F(PDFWriterDrawing, AnEmptyWatermarkTextWritesNothing)
{
    AddPage()->AddObject(new TalObjExport(CString(L""), 4, Format(10, 0, 1)));
    EXPECT_EQ("", Draw());
    EXPECT_TRUE(m_writer->GetFontRecords()[0].codes.empty());
}

// Every kind of object drawn on a page by the fixed surface: plain texts
// measured in points and placed character by character (left, centred, right,
// underlined), watermark texts on the grid of places, a caption below a
// picture that cannot be read (the square placeholder fitted into its box), a
// note's lines in their run formats (a font not in the table is Arial; a CMYK
// colour by its components), a turned picture fitted with its sides swapped.
// The content streams are compared with their golden file.
TEST_F(PDFWriterDrawing, EveryKindOfObjectIsDrawnAsTheGoldenFileHasIt)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is missing";
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(12, 0, 0, RGB(255, 0, 0))));
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(10, 4, 1)));
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(10, 0, 2)));
    TalPageExport* marks = AddPage();
    for (int32_t place = 0; place < 9; ++place)
        marks->AddObject(new TalObjExport(CString(L"ab"), place, Format(10, 0, 1)));
    marks->AddObject(new TalObjExport(CString(L"abc"), 8, Format(20, 4, 1, RGB(0, 0, 255))));
    TalObjExport* picture = new TalObjExport(0x0FFFFFF1u, CKWDoubleRect(0.2, 0.1, 0.6, 0.3), 0, false);
    static_cast<ExportImageData*>(picture->GetData())->SetString(L"ab");
    static_cast<ExportImageData*>(picture->GetData())->SetFormat(Format(9, 0, 1));
    AddPage()->AddObject(picture);

    const uint32_t times = m_properties.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextNote note;
    FillNote(note, L"Hello world");
    CKWCharFormat bold;
    bold.m_fontIndex = times;
    bold.m_style = CKWCharFormat::kBold | CKWCharFormat::kUnderline;
    bold.m_size = 14;
    bold.m_color = CKWColor::FromRgb(255, 128, 0);
    bold.m_count = 6;
    *note.GetRunPtr(0) = bold;
    CKWCharFormat* unknown = new CKWCharFormat;
    unknown->m_fontIndex = 40;
    unknown->m_count = 5;
    unknown->m_color = CKWColor::FromCmyk(0, 255, 255, 0);
    note.AppendRun(unknown);
    TextExportLine lines;
    lines.m_lines.resize(2);
    const int32_t spans[2][5] = {{10, 300, 50, 0, 5}, {0, 300, 100, 6, 11}};
    for (int i = 0; i < 2; ++i) {
        CKWTextLine& line = lines.m_lines[size_t(i)];
        line.m_left = spans[i][0];
        line.m_right = spans[i][1];
        line.m_baseline = spans[i][2];
        line.m_start = spans[i][3];
        line.m_end = spans[i][4];
        line.m_format = note.GetRunPtr(i);
    }
    AddPage()->AddObject(new TalObjExport(&note, 0, -1, CKWDoubleRect(0.1, 0.2, 0.9, 0.9), lines));

    CExportTestFolder folder;
    const std::wstring path = folder.Path() + L"wide.bmp";
    ASSERT_TRUE(WriteTestBmp(path, 400, 300));
    const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
    AddPage()->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 90, false));
    AddPage()->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));

    std::string dump;
    for (uint32_t page = 0; page < m_pages.Size(); ++page)
        dump += "=== page " + std::to_string(page) + "\n" + Draw(page);
    // Keys of pictures are picture ids, which depend on what the run registered before.
    const std::string turned = "/I" + std::to_string(PDFImageRecordKey(id, 90, false)) + " ";
    const std::string upright = "/I" + std::to_string(PDFImageRecordKey(id, 0, false)) + " ";
    for (const auto& name : {std::make_pair(turned, std::string("/I<turned> ")), std::make_pair(upright, std::string("/I<upright> "))}) {
        for (size_t at = dump.find(name.first); at != std::string::npos; at = dump.find(name.first, at))
            dump.replace(at, name.first.size(), name.second);
    }
    ExpectGolden(L"pdf_drawing.txt", dump);
}

std::string Indices(const std::vector<uint32_t>& list)
{
    std::string out;
    for (uint32_t value : list)
        out += " " + std::to_string(value);
    return out;
}

// What the layout pass records, against a golden file: each picture once per
// key (turned, grey and background ones apart) and listed per use, the
// description font of a picture without codes, fonts with their codes once
// and in order of first use (a font beyond the table is Arial), a note split
// over two pages listing all its fonts on both, page sizes in points.
TEST_F(PDFWriterDrawing, TheLayoutRecordsMatchTheGoldenFile)
{
    TalPageExport* one = AddPage();
    one->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 0.5, 0.5), 0, false));
    one->AddObject(new TalObjExport(200, CKWDoubleRect(0.5, 0.5, 1, 1), 0, false));
    one->AddObject(new TalObjExport(201u));
    TalPageExport* two = AddPage();
    two->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 1, 1), 90, false));
    two->AddObject(new TalObjExport(202u, 1.0, 2.0, 4));
    two->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 1, 1), 0, true));

    const uint32_t times = m_properties.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextFormat* inTimes = Format(10, 0, 0);
    inTimes->m_font = times;
    CTalTextFormat* outside = Format(10, 2, 0);
    outside->m_font = 99;
    TalPageExport* texts = AddPage();
    texts->AddObject(new TalObjExport(CString(L"abba"), CKWDoubleRect(0, 0, 1, 1), inTimes));
    texts->AddObject(new TalObjExport(CString(L"cab"), 4, inTimes));
    texts->AddObject(new TalObjExport(CString(L"ax"), CKWDoubleRect(0, 0, 1, 1), outside));

    CTalTextNote note;
    FillNote(note, L"first part second part");
    note.GetRunPtr(0)->m_count = 11;
    note.GetRunPtr(0)->m_fontIndex = 77;  // not in the table
    note.GetRunPtr(0)->m_style = CKWCharFormat::kBold;
    CKWCharFormat* second = new CKWCharFormat;
    second->m_fontIndex = times;
    second->m_style = CKWCharFormat::kItalic;
    second->m_count = 11;
    note.AppendRun(second);
    AddPage()->AddObject(new TalObjExport(&note, 0, 11, CKWDoubleRect(0, 0, 1, 1), TextExportLine()));
    AddPage()->AddObject(new TalObjExport(&note, 11, -1, CKWDoubleRect(0, 0, 1, 1), TextExportLine()));
    Draw();

    std::string dump;
    for (const PDFPageRecord& page : m_writer->GetPageRecords()) {
        dump += "page " + Narrow(page.name) + " " + FormatFixed(page.width) + " x " + FormatFixed(page.height) +
                " images" + Indices(page.images) + " fonts" + Indices(page.fonts) + "\n";
    }
    for (const PDFImageRecord& image : m_writer->GetImageRecords()) {
        dump += "image " + std::to_string(image.key) + " turned " + std::to_string(image.rotation) + " grey " +
                std::to_string(image.grayscale) + "\n";
    }
    for (const PDFFontRecord& font : m_writer->GetFontRecords()) {
        dump += "font " + Narrow(font.name) + " (" + font.ansiName + ") style " + std::to_string(font.style) +
                " key " + std::to_string(font.key) + " codes " + std::string(font.codes.begin(), font.codes.end()) + "\n";
    }
    ExpectGolden(L"pdf_layout.txt", dump + "page height " + FormatFixed(m_writer->GetPageHeight()) + "\n");
}

}  // namespace
