// The text the HTML export writes: escaping, colours and alignment names,
// font spans, paragraphs, the positioning tables, the layers of plain texts,
// watermark texts and text-note blocks, contents entries and whole page
// documents. The markup is compared with a golden file, one named entry per
// case; the rules that are not markup go by tables.
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExportHTMLData.h"
#include "export/html/HtmlEscape.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWIndexDecoder.h"
#include "model/TalSection.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

#include "HtmlTestSupport.h"

namespace {

TEST(HtmlEscape, TextAttributesAndReferencesByTheTable)
{
    using Escape = CString (*)(const wchar_t*);
    const Escape text = EscapeHtmlText, attribute = EscapeHtmlAttribute, reference = EncodeFileReference;
    const struct {
        Escape escape;
        const wchar_t* in;
        const char* out;
    } cases[] = {
        {text, L"a<b>\tc\n", "a&lt;b&gt;&nbsp;&nbsp;&nbsp;&nbsp;c<BR>"},
        {text, L"Fish & Chips &amp;", "Fish &amp; Chips &amp;amp;"},
        {text, L"say \"hi\"\r\n", "say \"hi\"\r<BR>"},
        {text, L"", ""},
        {text, L"\x00E9t\x00E9 \x20AC", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
        {attribute, L"Tom & \"Jerry\" <1>", "Tom &amp; &quot;Jerry&quot; &lt;1&gt;"},
        {attribute, L"plain\ttext\n", "plain\ttext\n"},
        {reference, L"100% sure #1.htm", "100%25 sure %231.htm"},
        {reference, L"a&b c.htm", "a&b c.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, htmltest::Narrow(c.escape(c.in))) << htmltest::Narrow(std::wstring(c.in));
}

TEST(HtmlPageGeometry, PageSizeInScreenPixels)
{
    const struct {
        double width, height, dpiX, dpiY;
        int pixelsX, pixelsY;
    } cases[] = {
        {2100, 2970, 96, 96, 793, 1122},    // A4 portrait
        {2970, 2100, 96, 96, 1122, 793},    // A4 landscape
        {2160, 2795, 120, 96, 1020, 1056},  // wider horizontal resolution
        {2541, 255, 72, 72, 720, 72},
    };
    for (const auto& c : cases) {
        CTalHTMLExp exporter;
        exporter.SetPageGeometry(c.width, c.height, c.dpiX, c.dpiY);
        EXPECT_EQ(c.pixelsX, static_cast<int>(exporter.GetPageWidth())) << c.width;
        EXPECT_EQ(c.pixelsY, static_cast<int>(exporter.GetPageHeight())) << c.height;
    }
}

TEST(HtmlPageNames, FileNamesOfTheNavigation)
{
    const struct {
        int page, count;
        bool ok;
        const char* name;
    } cases[] = {
        {1, 3, true, "report.htm"}, {2, 3, true, "report2.htm"}, {3, 3, true, "report3.htm"},
        {0, 3, false, ""},          {4, 3, false, ""},           {12, 12, true, "report12.htm"},
    };
    for (const auto& c : cases) {
        CString out(L"stale");
        EXPECT_EQ(c.ok, MakePageFileName(CString(L"report"), CString(L"htm"), out, c.page, c.count)) << c.page;
        EXPECT_EQ(c.name, htmltest::Narrow(out)) << c.page;
    }
    CTalHTMLExp exporter;
    CString path, name, previous, next;
    for (int page : {2, 1}) {
        exporter.MakePageNames(CString(L"C:\\out\\report_data\\"), CString(L"report"), CString(L"html"), path, name,
                               previous, next, page, page == 2 ? 3 : 1);
        EXPECT_EQ(page == 2 ? "C:\\out\\report_data\\report2.html" : "C:\\out\\report_data\\report.html",
                  htmltest::Narrow(path));
        EXPECT_EQ(page == 2 ? "report2" : "report", htmltest::Narrow(name));
        EXPECT_EQ(page == 2 ? "report.html" : "", htmltest::Narrow(previous));
        EXPECT_EQ(page == 2 ? "report3.html" : "", htmltest::Narrow(next));
    }
}

// The markup of every kind of text, at A4 portrait and 96 dots per inch, with
// "Times New Roman" as font 0 of the table.
class HtmlMarkup : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_times = m_fonts.FindOrAdd(L"Times New Roman");
        m_exporter.SetFontTable(&m_fonts);
        m_exporter.SetPageGeometry(2100, 2970, 96.0, 96.0);
    }

    void Add(const std::string& name, const CString& markup)
    {
        m_dump += "== " + name + "\n" + htmltest::Narrow(markup) + "\n";
    }

    CKWCharFormat Run(uint32_t count, uint8_t style, COLORREF colour, int16_t size = 11)
    {
        return TestRun(count, style, size, CKWColor::FromRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)),
                       m_times);
    }

    CKWIndexDecoder m_fonts;
    uint32_t m_times = 0;
    CTalHTMLExp m_exporter;
    std::string m_dump;
};

TEST_F(HtmlMarkup, EveryKindOfTextMatchesTheGolden)
{
    for (COLORREF colour : {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0x0A, 0x1B, 0xC2)})
        Add("colour", FormatHtmlColor(colour));
    for (int code : {0, 1, 2, 3, -1})
        Add("alignment " + std::to_string(code), AlignmentName(code));

    // Spans: two blanks after the size of a text format, one after a run's;
    // an unknown font or none is Arial; a name cannot leave the attribute.
    const CTalTextFormat bold = TestFormat(12, CTalTextFormat::kBold | CTalTextFormat::kUnderline, 1, m_times, RGB(0, 0, 255));
    Add("format span", m_exporter.FormatFontSpan(bold));
    const CKWCharFormat italic = Run(5, CKWCharFormat::kItalic, RGB(0x12, 0x34, 0xAB), 9);
    Add("run span", m_exporter.RunFontSpan(italic) + m_exporter.FontEnd(italic));
    Add("unknown font", m_exporter.FormatFontSpan(TestFormat(10, 0, 1, 57)));
    CKWCharFormat noFont;
    noFont.m_fontIndex = CKWCharFormat::kNoFont;
    Add("run without font", m_exporter.RunFontSpan(noFont));
    Add("font name with markup", m_exporter.FormatFontSpan(TestFormat(10, 0, 1, m_fonts.FindOrAdd(L"Evil\"><script>"))));
    Add("no font table", CTalHTMLExp().FormatFontSpan(CTalTextFormat()));

    // Paragraph indents round half away from zero.
    const struct {
        uint8_t align;
        float firstLine, left, right;
    } paragraphs[] = {{0, 0, 125, 0}, {2, -125, 124, 5}, {1, 15, -124, -4}, {7, 0, -125, 0}};
    for (const auto& p : paragraphs) {
        CKWParaFormat paragraph;
        paragraph.m_align = p.align;
        paragraph.m_firstLine = p.firstLine;
        paragraph.m_leftIndent = p.left;
        paragraph.m_rightIndent = p.right;
        Add("paragraph", m_exporter.ParagraphStart(paragraph) + m_exporter.ParagraphEnd(paragraph));
    }

    // Positioning tables: spacers for the distance from each corner.
    const RECT corners[] = {{0, 0, 200, 100}, {0, 40, 200, 100}, {30, 0, 200, 100}, {30, 40, 200, 100}};
    for (const RECT& r : corners)
        Add("position", m_exporter.PositionInLayer(r, CString(L"C"), CString(r.top ? L"valign = top" : L"")));

    // Plain texts: aligned, without format, with an unknown alignment, empty.
    const CTalTextFormat right = TestFormat(14, 0, CTalTextFormat::kAlignRight, m_times);
    const CTalTextFormat odd = TestFormat(10, 0, 3, m_times);
    Add("plain right", m_exporter.TextLayer(TalObjExport(CString(L"Fish & <Chips>"), CKWDoubleRect(0.1, 0.2, 0.9, 0.3), &right), 3));
    Add("plain unformatted", m_exporter.TextLayer(TalObjExport(CString(L"x"), CKWDoubleRect(0, 0, 0.5, 0.5), nullptr), 1));
    Add("plain odd alignment", m_exporter.TextLayer(TalObjExport(CString(L"x"), CKWDoubleRect(0, 0, 0.5, 0.5), &odd), 1));
    Add("plain empty", m_exporter.TextLayer(TalObjExport(CString(), CKWDoubleRect(0, 0, 0.5, 0.5), &odd), 1));

    // Watermark texts aligned by their place (outside 0..8: the middle).
    for (int place : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1})
        Add("mark " + std::to_string(place), m_exporter.WatermarkTextLayer(TalObjExport(CString(L"DRAFT"), place, nullptr), 2));
    const CTalTextFormat plain;
    Add("mark styled", m_exporter.WatermarkTextLayer(TalObjExport(CString(L"a<b"), 4, &plain), 1));
    Add("mark empty", m_exporter.WatermarkTextLayer(TalObjExport(CString(), 4, &plain), 1));

    // Contents entries link into the report frame.
    Add("entry", m_exporter.FormatContentsEntry(CString(L"A<B & C"), CString(L"report2.htm"), 3, nullptr));
    Add("entry without page", m_exporter.FormatContentsEntry(CString(L"Loose"), CString(), 4, nullptr));
    const CTalTextFormat red = TestFormat(10, 0, 1, m_times, RGB(255, 0, 0));
    Add("entry formatted", m_exporter.FormatContentsEntry(CString(L"T"), CString(L"a#1.htm"), 0, &red));

    // Blocks of the note "One\nTwo" (runs "On" bold, "e\nTwo" italic; paragraphs
    // "One\n" left and "Two" centred and indented): spans close before every
    // paragraph end, a block covers its own range and stops at the text's end.
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"Notes"));
    CTalTextNote* note = section->GetTextNote();
    const uint8_t left = CKWParaFormat::kAlignLeft, centre = CKWParaFormat::kAlignCenter;
    SetNote(*note, L"One\nTwo", {Run(2, CKWCharFormat::kBold, 0), Run(5, CKWCharFormat::kItalic, RGB(0, 128, 0))},
            {{4, left, 0}, {3, centre, 50}});
    const int32_t ranges[][2] = {{0, -1}, {4, -1}, {2, 4}, {0, 1}, {4, 100}};
    for (const auto& r : ranges) {
        Add("block " + std::to_string(r[0]) + ".." + std::to_string(r[1]),
            m_exporter.TextBlockLayer(TalObjExport(note, r[0], r[1], CKWDoubleRect(0, 0, 1, 0.5), TextExportLine()), 1));
    }
    SetNote(*note, L"a<b>\tc\n", {Run(7, 0, RGB(0, 0, 255))}, {{7, centre, 125}});
    Add("block with markup", m_exporter.TextBlockLayer(TalObjExport(note, 0, -1, CKWDoubleRect(0, 0, 1, 0.5), TextExportLine()), 1));
    Add("block without note", m_exporter.TextBlockLayer(TalObjExport(nullptr, 0, -1, CKWDoubleRect(0, 0, 1, 1), TextExportLine()), 1));
    section->Detach();

    // Whole page documents: alone, between two others and first of several;
    // layers numbered by what is written; the name escaped in the head.
    TalPageExport single(kTitlePage, L"Title-page", nullptr);
    single.AddObject(new TalObjExport(CString(L"Report"), CKWDoubleRect(0, 0, 0.5, 0.1), nullptr));
    single.SetCache(new ExportHTMLData(CString(L"x\\report.htm"), CString(L"report"), CString(), CString()));
    Add("single page", m_exporter.BuildPageDocument(&single));
    TalPageExport middle(kSectionPage, L"Tom & \"Jerry\" <1>", nullptr);
    for (const wchar_t* text : {L"one", L"", L"two"})
        middle.AddObject(new TalObjExport(CString(text), CKWDoubleRect(0, 0, 1, 1), nullptr));
    middle.AddObject(new TalObjExport(CString(), 4, nullptr));
    middle.AddObject(new TalObjExport(nullptr, 0, -1, CKWDoubleRect(0, 0, 1, 1), TextExportLine()));
    middle.SetCache(new ExportHTMLData(CString(L"x\\report2.htm"), CString(L"report2"), CString(L"report.htm"),
                                       CString(L"report3.htm")));
    Add("middle page", m_exporter.BuildPageDocument(&middle));
    middle.SetCache(new ExportHTMLData(CString(L"x\\report.htm"), CString(L"report"), CString(), CString(L"report2.htm")));
    Add("first page", m_exporter.BuildPageDocument(&middle));

    ExpectGolden(L"html_markup.txt", m_dump);
}

}  // namespace
