// The layout pass (page, font and image records) and the drawing of each
// kind of object, measured by a surface of fixed metrics.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <sstream>

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
const double kAscent = 9.0, kDescent = 3.0, kUnderlineBelow = 3.0;

std::string F(double v)
{
    char b[64];
    std::snprintf(b, sizeof(b), "%.3f", v);
    return b;
}

std::string R(double v)
{
    char b[64];
    std::snprintf(b, sizeof(b), "%.4f", v);
    return b;
}

std::string Hex(const wchar_t* text)
{
    std::string out;
    char b[8];
    for (; *text; ++text) {
        std::snprintf(b, sizeof(b), "%04X", static_cast<unsigned>(*text));
        out += b;
    }
    return out;
}

// The strings shown by each text object (BT..ET) of a content stream, one entry per object.
std::vector<std::string> ShownPerTextObject(const std::string& content)
{
    std::vector<std::string> objects;
    std::istringstream in(content);
    std::string line;
    bool inText = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "BT") {
            objects.emplace_back();
            inText = true;
        } else if (line == "ET") {
            inText = false;
        } else if (inText && line.size() > 4 && line.compare(line.size() - 4, 4, "> Tj") == 0) {
            objects.back() += line.substr(1, line.size() - 5);
        }
    }
    return objects;
}

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
        m_formats.emplace_back(new CTalTextFormat);
        CTalTextFormat* f = m_formats.back().get();
        f->m_size = size;
        f->m_style = style;
        f->m_align = align;
        f->m_color = colour;
        return f;
    }

    int32_t Key(const wchar_t* face, uint8_t style) const
    {
        const PDFFontRecord* font = m_writer->FindFont(face, style);
        EXPECT_NE(nullptr, font) << "no font " << Narrow(face) << " " << int(style);
        return font ? static_cast<int32_t>(font->key) : -1;
    }

    double W() const { return m_writer->GetPageRecords()[0].width; }
    double H() const { return m_writer->GetPageRecords()[0].height; }
    double Top() const { return m_writer->GetPageHeight(); }

    CTalDocProperties m_properties;
    CTestPages m_pages;
    std::vector<std::unique_ptr<CTalTextFormat>> m_formats;
    std::unique_ptr<PDFWriter> m_writer;
};

TEST_F(PDFWriterDrawing, PlainTextIsMeasuredInPointsAndPlacedCharacterByCharacter)
{
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(12, 0, 0, RGB(255, 0, 0))));
    const std::string content = Draw();
    const double x = W() * 0.1;
    const double baseline = Top() - H() * 0.1 - kAscent;
    const std::string expected = "BT\r\n1.000 0.000 0.000 rg\r\n/F" + std::to_string(Key(L"Arial", 0)) +
                                 " 12.000 Tf\r\n" + F(x) + " " + F(baseline) + " Td\r\n<0061> Tj\r\n" +
                                 "6.000 0.000 Td\r\n<0062> Tj\r\nET\r\n";
    EXPECT_EQ(expected, content);
}

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

TEST_F(PDFWriterDrawing, CentredAndRightAlignedLinesAndTheUnderline)
{
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(10, 4, 1)));
    AddPage()->AddObject(new TalObjExport(CString(L"ab"), CKWDoubleRect(0.1, 0.1, 0.5, 0.2), Format(10, 0, 2)));
    const std::string centred = Draw(0);
    const double cell = W() * 0.4;
    const double x0 = W() * 0.1 + (cell - 12) * 0.5;
    const double baseline = Top() - H() * 0.1 - kAscent;
    EXPECT_NE(std::string::npos, centred.find(F(x0) + " " + F(baseline) + " Td\r\n"));
    // Underline: below the baseline by the font's underline position, as long as the line.
    EXPECT_NE(std::string::npos, centred.find("ET\r\n0.000 0.000 0.000 RG\r\n" + R(x0) + " " + R(baseline - kUnderlineBelow) +
                                              " m\r\n" + R(x0 + 12) + " " + R(baseline - kUnderlineBelow) + " l\r\nS\r\n"));
    // The underlined text is set in the plain font: underline is no part of the font.
    EXPECT_NE(std::string::npos, centred.find("/F" + std::to_string(Key(L"Arial", 0)) + " 10.000 Tf"));
    const std::string right = Draw(1);
    EXPECT_NE(std::string::npos, right.find(F(W() * 0.1 + cell - 12) + " " + F(baseline) + " Td\r\n"));
}

TEST_F(PDFWriterDrawing, AWatermarkAtTheBottomRightEndsAtTheRightEdge)
{
    AddPage()->AddObject(new TalObjExport(CString(L"abc"), 8, Format(20, 4, 1, RGB(0, 0, 255))));
    const std::string content = Draw();
    const double x = W() - 18;
    const double y = (Top() - H()) + kDescent;
    EXPECT_EQ("BT\r\n0.000 0.000 1.000 rg\r\n/F" + std::to_string(Key(L"Arial", 0)) + " 20.000 Tf\r\n" + F(x) + " " +
                  F(y) + " Td\r\n<006100620063> Tj\r\nET\r\n0.000 0.000 1.000 RG\r\n" + R(x) + " " +
                  R(y - kUnderlineBelow) + " m\r\n" + R(x + 18) + " " + R(y - kUnderlineBelow) + " l\r\nS\r\n",
              content);
}

TEST_F(PDFWriterDrawing, WatermarkPlacesFollowTheGrid)
{
    const double textWidth = 12;
    for (int32_t place = 0; place < 9; ++place) {
        m_pages.List().clear();
        AddPage()->AddObject(new TalObjExport(CString(L"ab"), place, Format(10, 0, 1)));
        const std::string content = Draw();
        const double xs[] = {0, (W() - textWidth) * 0.5, W() - textWidth};
        const double ys[] = {Top() - (kAscent + kDescent), Top() + (Top() - H() - Top()) * 0.5, Top() - H() + kDescent};
        EXPECT_NE(std::string::npos, content.find(F(xs[place % 3]) + " " + F(ys[place / 3]) + " Td")) << place;
        DeletePages(m_pages.List());
    }
}

TEST_F(PDFWriterDrawing, AnEmptyWatermarkTextWritesNothing)
{
    AddPage()->AddObject(new TalObjExport(CString(L""), 4, Format(10, 0, 1)));
    EXPECT_EQ("", Draw());
    EXPECT_TRUE(m_writer->GetFontRecords()[0].codes.empty());
}

TEST_F(PDFWriterDrawing, ACentredCaptionStartsBelowThePicture)
{
    TalObjExport* picture = new TalObjExport(0x0FFFFFF1u, CKWDoubleRect(0.2, 0.1, 0.6, 0.3), 0, false);
    static_cast<ExportImageData*>(picture->GetData())->SetString(L"ab");
    static_cast<ExportImageData*>(picture->GetData())->SetFormat(Format(9, 0, 1));
    AddPage()->AddObject(picture);
    const std::string content = Draw();
    // A picture that cannot be read shows the square placeholder fitted into
    // its box; the caption's box starts at the picture's bottom.
    const double cell = W() * 0.4;
    const double side = std::min(cell, H() * 0.2);
    const double bottom = H() * 0.1 + (H() * 0.2 - side) * 0.5 + side;
    const uint32_t key = PDFImageRecordKey(0x0FFFFFF1u, 0, false);
    EXPECT_EQ(0u, content.find("q\r\n1 0 0 1 " + F(W() * 0.2 + (cell - side) * 0.5) + " " + F(Top() - bottom) +
                               " cm\r\n" + F(side) + " 0 0 " + F(side) + " 0 0 cm\r\n/I" + std::to_string(key) +
                               " Do\r\nQ\r\n"));
    EXPECT_NE(std::string::npos,
              content.find(F(W() * 0.2 + (cell - 12) * 0.5) + " " + F(Top() - bottom - kAscent) + " Td\r\n<0061> Tj"));
}

TEST_F(PDFWriterDrawing, TextNoteLinesUseTheirRunFormats)
{
    const uint32_t times = m_properties.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextNote note;
    FillNote(note, L"Hello world");
    CKWCharFormat bold;
    bold.m_fontIndex = times;
    bold.m_style = CKWCharFormat::kBold | CKWCharFormat::kUnderline;
    bold.m_size = 14;
    bold.m_color = CKWColor::FromRgb(255, 128, 0);
    *note.GetRunPtr(0) = bold;
    note.GetRunPtr(0)->m_count = 6;
    CKWCharFormat* unknown = new CKWCharFormat;
    unknown->m_fontIndex = 40;  // not in the table
    unknown->m_count = 5;
    unknown->m_color = CKWColor::FromCmyk(0, 255, 255, 0);  // red, by its CMYK components
    note.AppendRun(unknown);
    TextExportLine lines;
    CKWTextLine first;
    first.m_left = 10;
    first.m_right = 300;
    first.m_baseline = 50;
    first.m_start = 0;
    first.m_end = 5;
    first.m_format = note.GetRunPtr(0);
    CKWTextLine second = first;
    second.m_left = 0;
    second.m_baseline = 100;
    second.m_start = 6;
    second.m_end = 11;
    second.m_format = note.GetRunPtr(1);
    lines.m_lines.push_back(first);
    lines.m_lines.push_back(second);
    AddPage()->AddObject(new TalObjExport(&note, 0, -1, CKWDoubleRect(0.1, 0.2, 0.9, 0.9), lines));
    const std::string content = Draw();
    const double k = 72.0 / 254.0;
    const double left = W() * 0.1, top = Top() - H() * 0.2;
    EXPECT_EQ("BT\r\n/F" + std::to_string(Key(L"Times New Roman", 1)) + " 14.000 Tf\r\n1.000 0.502 0.000 rg\r\n" +
                  F(left + 10 * k) + " " + F(top - 50 * k) + " Td\r\n<00480065006C006C006F> Tj\r\nET\r\n" +
                  "1.000 0.502 0.000 RG\r\n" + R(left + 10 * k) + " " + R(top - 50 * k) + " m\r\n" +
                  R(left + 300 * k) + " " + R(top - 50 * k) + " l\r\nS\r\n" +
                  "BT\r\n/F" + std::to_string(Key(L"Arial", 0)) + " 10.000 Tf\r\n1.000 0.000 0.000 rg\r\n" +
                  F(left) + " " + F(top - 100 * k) + " Td\r\n<0077006F0072006C0064> Tj\r\nET\r\n",
              content);
}

TEST_F(PDFWriterDrawing, ARotatedPictureIsFittedWithItsSidesSwapped)
{
    if (!g_rasterLib.GetLibraryModule())
        GTEST_SKIP() << "DAZiruraRuv.dll is not next to the test program";
    CExportTestFolder folder;
    const std::wstring path = folder.Path() + L"wide.bmp";
    ASSERT_TRUE(WriteTestBmp(path, 400, 300));
    const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
    AddPage()->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 90, false));
    AddPage()->AddObject(new TalObjExport(id, CKWDoubleRect(0, 0, 1, 1), 0, false));
    // Fitted as 300 x 400 to the page's width, centred vertically.
    const std::string turned = Draw(0);
    const double turnedHeight = W() * 400 / 300;
    EXPECT_NE(std::string::npos, turned.find(" " + F(Top() - (H() - turnedHeight) / 2 - turnedHeight) +
                                              " cm\r\n" + F(W()) + " 0 0 " + F(turnedHeight) + " 0 0 cm\r\n/I" +
                                              std::to_string(PDFImageRecordKey(id, 90, false)) + " Do"));
    EXPECT_NE(std::string::npos, Draw(1).find(F(W()) + " 0 0 " + F(W() * 300 / 400) + " 0 0 cm\r\n/I" +
                                              std::to_string(PDFImageRecordKey(id, 0, false)) + " Do"));
}

class PDFWriterLayout : public PDFWriterDrawing {};

TEST_F(PDFWriterLayout, PicturesAreRecordedOncePerKeyAndListedPerUse)
{
    TalPageExport* one = AddPage();
    one->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 0.5, 0.5), 0, false));
    one->AddObject(new TalObjExport(200, CKWDoubleRect(0.5, 0.5, 1, 1), 0, false));
    one->AddObject(new TalObjExport(201u));
    TalPageExport* two = AddPage();
    two->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 1, 1), 90, false));
    two->AddObject(new TalObjExport(202u, 1.0, 2.0, 4));
    two->AddObject(new TalObjExport(200, CKWDoubleRect(0, 0, 1, 1), 0, true));
    Draw();
    const std::vector<PDFImageRecord>& images = m_writer->GetImageRecords();
    ASSERT_EQ(5u, images.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 1}), m_writer->GetPageRecords()[0].images);
    EXPECT_EQ((std::vector<uint32_t>{2, 3, 4}), m_writer->GetPageRecords()[1].images);
    EXPECT_EQ(images[0].key + 2, images[2].key);
    EXPECT_EQ(images[0].key + 1, images[4].key);
    EXPECT_EQ(90, images[2].rotation);
    // The description font of a picture is listed, with no codes when there is no description.
    ASSERT_EQ(1u, m_writer->GetFontRecords().size());
    EXPECT_EQ(CString(L"Arial"), m_writer->GetFontRecords()[0].name);
    EXPECT_TRUE(m_writer->GetFontRecords()[0].codes.empty());
    EXPECT_EQ((std::vector<uint32_t>{0}), m_writer->GetPageRecords()[0].fonts);
}

TEST_F(PDFWriterLayout, FontsListTheirCodesOnceAndInOrderOfFirstUse)
{
    const uint32_t times = m_properties.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextFormat* inTimes = Format(10, 0, 0);
    inTimes->m_font = times;
    CTalTextFormat* outside = Format(10, 2, 0);
    outside->m_font = 99;  // beyond the table: Arial
    TalPageExport* page = AddPage();
    page->AddObject(new TalObjExport(CString(L"abba"), CKWDoubleRect(0, 0, 1, 1), inTimes));
    page->AddObject(new TalObjExport(CString(L"cab"), 4, inTimes));
    page->AddObject(new TalObjExport(CString(L"ax"), CKWDoubleRect(0, 0, 1, 1), outside));
    Draw();
    const std::vector<PDFFontRecord>& fonts = m_writer->GetFontRecords();
    ASSERT_EQ(2u, fonts.size());
    EXPECT_EQ(CString(L"Times New Roman"), fonts[0].name);
    EXPECT_EQ("Times New Roman", fonts[0].ansiName);
    EXPECT_EQ((std::vector<uint16_t>{'a', 'b', 'c'}), fonts[0].codes);
    EXPECT_EQ(CString(L"Arial"), fonts[1].name);
    EXPECT_EQ(2, fonts[1].style);
    EXPECT_EQ(PDFFontKey(L"Arial", 2), fonts[1].key);
    EXPECT_EQ((std::vector<uint16_t>{'a', 'x'}), fonts[1].codes);
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), m_writer->GetPageRecords()[0].fonts);
}

TEST_F(PDFWriterLayout, ANoteSplitOverTwoPagesListsAllItsFontsOnBoth)
{
    const uint32_t times = m_properties.GetFontTable().FindOrAdd(L"Times New Roman");
    CTalTextNote note;
    FillNote(note, L"first part second part");
    note.GetRunPtr(0)->m_count = 11;
    note.GetRunPtr(0)->m_fontIndex = 77;  // not in the table
    CKWCharFormat* second = new CKWCharFormat;
    second->m_fontIndex = times;
    second->m_style = CKWCharFormat::kItalic;
    second->m_count = 11;
    note.AppendRun(second);
    TextExportLine none;
    AddPage()->AddObject(new TalObjExport(&note, 0, 11, CKWDoubleRect(0, 0, 1, 1), none));
    AddPage()->AddObject(new TalObjExport(&note, 11, -1, CKWDoubleRect(0, 0, 1, 1), none));
    Draw();
    const std::vector<PDFFontRecord>& fonts = m_writer->GetFontRecords();
    ASSERT_EQ(2u, fonts.size());
    EXPECT_EQ(CString(L"Arial"), fonts[0].name);
    EXPECT_EQ(CString(L"Times New Roman"), fonts[1].name);
    EXPECT_EQ(2, fonts[1].style);
    EXPECT_EQ((std::vector<uint16_t>{'f', 'i', 'r', 's', 't', ' ', 'p', 'a'}), fonts[0].codes);
    EXPECT_EQ((std::vector<uint16_t>{'s', 'e', 'c', 'o', 'n', 'd', ' ', 'p', 'a', 'r', 't'}), fonts[1].codes);
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), m_writer->GetPageRecords()[0].fonts);
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), m_writer->GetPageRecords()[1].fonts);
}

TEST_F(PDFWriterLayout, PageSizeComesFromTheDocumentInPoints)
{
    AddPage();
    Draw();
    double w = 0, h = 0;
    m_properties.GetPageSize(w, h, true);
    EXPECT_FLOAT_EQ(static_cast<float>(w * 72 / 254), m_writer->GetPageRecords()[0].width);
    EXPECT_FLOAT_EQ(static_cast<float>(h * 72 / 254), m_writer->GetPageRecords()[0].height);
    EXPECT_DOUBLE_EQ(h * 72 / 254, m_writer->GetPageHeight());
    EXPECT_EQ(CString(L"page"), m_writer->GetPageRecords()[0].name);
}

}  // namespace
