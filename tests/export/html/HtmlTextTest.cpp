// Text rules of the HTML export: escaping, colours, alignment, font spans,
// paragraphs and the layers of plain texts, watermark texts and text-note blocks.
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/HtmlEscape.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWIndexDecoder.h"
#include "model/TalSection.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

#include "HtmlTestSupport.h"

using htmltest::Narrow;

namespace {

// A4 portrait at 96 dots per inch: 793.7 x 1122.5 pixels.
void UseA4(CTalHTMLExp& exporter)
{
    exporter.SetPageGeometry(2100, 2970, 96.0, 96.0);
}

std::string Layer(int number, const char* body)
{
    return "\t\t\t<div id=\"Layer" + std::to_string(number) +
           "\" style=\"position:absolute; visibility:inherit; width:793px; height:1122px\">\n" + body +
           "\t\t\t</div>\n";
}

}  // namespace

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
        EXPECT_EQ(c.out, Narrow(c.escape(c.in))) << Narrow(std::wstring(c.in));
}

TEST(HtmlEscape, ColoursAreUpperCaseRgb)
{
    EXPECT_EQ("#0000FF", Narrow(FormatHtmlColor(RGB(0, 0, 255))));
    EXPECT_EQ("#FF0000", Narrow(FormatHtmlColor(RGB(255, 0, 0))));
    EXPECT_EQ("#0A1BC2", Narrow(FormatHtmlColor(RGB(0x0A, 0x1B, 0xC2))));
}

TEST(HtmlEscape, AlignmentNames)
{
    EXPECT_EQ("left", Narrow(AlignmentName(0)));
    EXPECT_EQ("center", Narrow(AlignmentName(1)));
    EXPECT_EQ("right", Narrow(AlignmentName(2)));
    EXPECT_EQ("", Narrow(AlignmentName(3)));
    EXPECT_EQ("", Narrow(AlignmentName(-1)));
}

// Font index 0 of the table is "Times New Roman", the index of new formats.
class HtmlTextSpans : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_times = m_fonts.FindOrAdd(L"Times New Roman");
        m_exporter.SetFontTable(&m_fonts);
        UseA4(m_exporter);
    }

    CKWIndexDecoder m_fonts;
    uint32_t m_times = 0;
    CTalHTMLExp m_exporter;
};

TEST_F(HtmlTextSpans, FormatSpanHasTwoBlanksAfterTheSize)
{
    CTalTextFormat format;
    format.m_size = 12;
    format.m_font = m_times;
    format.m_color = RGB(0, 0, 255);
    format.m_style = CTalTextFormat::kBold | CTalTextFormat::kUnderline;
    EXPECT_EQ("<FONT style = \"font-size:12pt;  font-family:Times New Roman; color:#0000FF; font-weight:bold; "
              "font-style:normal; text-decoration:underline\">",
              Narrow(m_exporter.FormatFontSpan(format)));
}

TEST_F(HtmlTextSpans, RunSpanHasOneBlankAfterTheSize)
{
    CKWCharFormat run;
    run.m_size = 9;
    run.m_fontIndex = m_times;
    run.m_color = CKWColor::FromRgb(0x12, 0x34, 0xAB);
    run.m_style = CKWCharFormat::kItalic;
    EXPECT_EQ("<FONT style = \"font-size:9pt; font-family:Times New Roman; color:#1234AB; font-weight:normal; "
              "font-style:italic; text-decoration:none\">",
              Narrow(m_exporter.RunFontSpan(run)));
    EXPECT_EQ("</FONT>", Narrow(m_exporter.FontEnd(run)));
}

TEST_F(HtmlTextSpans, UnknownFontsAreArialAndNamesCannotLeaveTheAttribute)
{
    CTalTextFormat format;
    format.m_font = 57;
    EXPECT_NE(std::string::npos, Narrow(m_exporter.FormatFontSpan(format)).find("font-family:Arial;"));

    CKWCharFormat run;
    run.m_fontIndex = CKWCharFormat::kNoFont;
    EXPECT_NE(std::string::npos, Narrow(m_exporter.RunFontSpan(run)).find("font-family:Arial;"));

    format.m_font = m_fonts.FindOrAdd(L"Evil\"><script>");
    EXPECT_NE(std::string::npos,
              Narrow(m_exporter.FormatFontSpan(format)).find("font-family:Evil&quot;&gt;&lt;script&gt;;"));

    CTalHTMLExp noTable;
    EXPECT_NE(std::string::npos, Narrow(noTable.FormatFontSpan(CTalTextFormat())).find("font-family:Arial;"));
}

TEST_F(HtmlTextSpans, ParagraphIndentsRoundHalfAwayFromZero)
{
    const struct {
        uint8_t align;
        float firstLine, left, right;
        const char* expected;
    } cases[] = {
        {0, 0, 125, 0, "text-align:left; text-indent:0mm; margin-left:13mm; margin-right:0mm"},
        {2, -125, 124, 5, "text-align:right; text-indent:-13mm; margin-left:12mm; margin-right:1mm"},
        {1, 15, -124, -4, "text-align:center; text-indent:2mm; margin-left:-12mm; margin-right:0mm"},
        {7, 0, -125, 0, "text-align:; text-indent:0mm; margin-left:-13mm; margin-right:0mm"},
    };
    for (const auto& c : cases) {
        CKWParaFormat paragraph;
        paragraph.m_align = c.align;
        paragraph.m_firstLine = c.firstLine;
        paragraph.m_leftIndent = c.left;
        paragraph.m_rightIndent = c.right;
        EXPECT_EQ(std::string("<P style = \"") + c.expected + "\">", Narrow(m_exporter.ParagraphStart(paragraph)));
        EXPECT_EQ("</P>\n", Narrow(m_exporter.ParagraphEnd(paragraph)));
    }
}

TEST_F(HtmlTextSpans, PlainTextLayerIsPlacedWithSpacersAndAligned)
{
    CTalTextFormat format;
    format.m_size = 14;
    format.m_align = CTalTextFormat::kAlignRight;
    TalObjExport object(CString(L"Fish & <Chips>"), CKWDoubleRect(0.1, 0.2, 0.9, 0.3), &format);
    EXPECT_EQ(Layer(3, "\t\t\t\t<TABLE border=\"0\">\n"
                       "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
                       "\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: 224px\" alt=\"\" src=blank.gif></TD></TR>\n"
                       "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 79px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
                       "\t\t\t\t<TD align = right width = 635px height = 112px>"
                       "<FONT style = \"font-size:14pt;  font-family:Times New Roman; color:#000000; font-weight:normal; "
                       "font-style:normal; text-decoration:none\">Fish &amp; &lt;Chips&gt;</FONT>"
                       "</TD></TR></TABLE>\n"),
              Narrow(m_exporter.TextLayer(object, 3)));
}

TEST_F(HtmlTextSpans, PlainTextLayerWithoutFormatOrWithAnUnknownAlignment)
{
    TalObjExport plain(CString(L"x"), CKWDoubleRect(0, 0, 0.5, 0.5), nullptr);
    EXPECT_EQ(Layer(1, "\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD width = 396px height = 561px>x"
                       "</TD></TR></TABLE>\n"),
              Narrow(m_exporter.TextLayer(plain, 1)));

    CTalTextFormat format;
    format.m_align = 3;
    TalObjExport odd(CString(L"x"), CKWDoubleRect(0, 0, 0.5, 0.5), &format);
    EXPECT_NE(std::string::npos, Narrow(m_exporter.TextLayer(odd, 1)).find("<TD align =  width = 396px"));

    TalObjExport empty(CString(), CKWDoubleRect(0, 0, 0.5, 0.5), &format);
    EXPECT_EQ("", Narrow(m_exporter.TextLayer(empty, 1)));
}

TEST_F(HtmlTextSpans, WatermarkTextIsAlignedByItsPlace)
{
    const struct {
        int place;
        const char* align;
        const char* valign;
    } cases[] = {
        {0, "left", "top"},       {1, "center", "top"},    {2, "right", "top"},
        {3, "left", "middle"},    {4, "center", "middle"}, {5, "right", "middle"},
        {6, "left", "bottom"},    {7, "center", "bottom"}, {8, "right", "bottom"},
        {9, "center", "middle"},  {-1, "center", "middle"},
    };
    for (const auto& c : cases) {
        TalObjExport object(CString(L"DRAFT"), c.place, nullptr);
        std::string cell = std::string("\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD align = ") + c.align +
                           " valign = " + c.valign + " width = 793px height = 1122px>DRAFT</TD></TR></TABLE>\n";
        EXPECT_EQ(Layer(2, cell.c_str()), Narrow(m_exporter.WatermarkTextLayer(object, 2))) << c.place;
    }
    CTalTextFormat format;
    TalObjExport styled(CString(L"a<b"), 4, &format);
    EXPECT_NE(std::string::npos,
              Narrow(m_exporter.WatermarkTextLayer(styled, 1))
                  .find("height = 1122px><FONT style = \"font-size:10pt;  font-family:Times New Roman; color:#000000; "
                        "font-weight:normal; font-style:normal; text-decoration:none\">a&lt;b</FONT></TD>"));
    TalObjExport empty(CString(), 4, &format);
    EXPECT_EQ("", Narrow(m_exporter.WatermarkTextLayer(empty, 1)));
}

TEST_F(HtmlTextSpans, ContentsEntriesLinkIntoTheReportFrame)
{
    EXPECT_EQ("\t\t\t<LI><A HREF=\"report2.htm\" TARGET=\"Report\">A&lt;B &amp; C</A><BR></LI>\n",
              Narrow(m_exporter.FormatContentsEntry(CString(L"A<B & C"), CString(L"report2.htm"), 3, nullptr)));
    EXPECT_EQ("\t\t\t\t<LI>Loose<BR></LI>\n",
              Narrow(m_exporter.FormatContentsEntry(CString(L"Loose"), CString(), 4, nullptr)));
    CTalTextFormat format;
    format.m_color = RGB(255, 0, 0);
    EXPECT_EQ("<LI><A HREF=\"a%231.htm\" TARGET=\"Report\"><FONT style = \"font-size:10pt;  font-family:Times New Roman; "
              "color:#FF0000; font-weight:normal; font-style:normal; text-decoration:none\">T</FONT></A><BR></LI>\n",
              Narrow(m_exporter.FormatContentsEntry(CString(L"T"), CString(L"a#1.htm"), 0, &format)));
}

// Text-note blocks over a note "One\nTwo": runs "On" (bold) and "e\nTwo"
// (italic), paragraphs "One\n" and "Two".
class HtmlTextBlocks : public HtmlTextSpans {
protected:
    void SetUp() override
    {
        HtmlTextSpans::SetUp();
        m_section = new CTalSection(nullptr, L"Notes");
        CTalTextNote* note = m_section->GetTextNote();
        note->ClearRuns();
        note->ClearParas();
        note->AssignText(CString(L"One\nTwo"));
        m_bold = AddRun(2, CKWCharFormat::kBold, RGB(0, 0, 0));
        m_italic = AddRun(5, CKWCharFormat::kItalic, RGB(0, 128, 0));
        AddPara(4, CKWParaFormat::kAlignLeft, 0);
        AddPara(3, CKWParaFormat::kAlignCenter, 50);
    }
    void TearDown() override
    {
        m_section->Detach();
        m_section.Release();
    }

    CKWCharFormat AddRun(uint32_t count, uint8_t style, COLORREF color)
    {
        CKWCharFormat* run = new CKWCharFormat;
        run->m_count = count;
        run->m_style = style;
        run->m_size = 11;
        run->m_fontIndex = m_times;
        run->m_color = CKWColor::FromRgb(GetRValue(color), GetGValue(color), GetBValue(color));
        m_section->GetTextNote()->AppendRun(run);
        return *run;
    }
    CKWParaFormat AddPara(uint32_t count, uint8_t align, float left)
    {
        CKWParaFormat* para = new CKWParaFormat;
        para->m_count = count;
        para->m_align = align;
        para->m_leftIndent = left;
        m_section->GetTextNote()->AppendPara(para);
        m_paras.push_back(*para);
        return *para;
    }
    std::string Block(int32_t start, int32_t end)
    {
        TalObjExport object(m_section->GetTextNote(), start, end, CKWDoubleRect(0, 0, 1, 0.5), TextExportLine());
        std::string layer = Narrow(m_exporter.TextBlockLayer(object, 1));
        const std::string open = "<TD valign = top width = 793px height = 561px>";
        size_t from = layer.find(open);
        size_t to = layer.rfind("</TD></TR></TABLE>");
        if (from == std::string::npos || to == std::string::npos)
            return "no positioned cell in: " + layer;
        return layer.substr(from + open.size(), to - from - open.size());
    }
    std::string Bold() { return Narrow(m_exporter.RunFontSpan(m_bold)); }
    std::string Italic() { return Narrow(m_exporter.RunFontSpan(m_italic)); }
    std::string Para(int i) { return Narrow(m_exporter.ParagraphStart(m_paras[size_t(i)])); }

    CKWRefPtr<CTalSection> m_section;
    CKWCharFormat m_bold;
    CKWCharFormat m_italic;
    std::vector<CKWParaFormat> m_paras;
};

TEST_F(HtmlTextBlocks, SpansCloseBeforeEveryParagraphEnd)
{
    EXPECT_EQ(Para(0) + Bold() + "On</FONT>" + Italic() + "e<BR></FONT></P>\n" + Para(1) + Italic() +
                  "Two</FONT></P>\n",
              Block(0, -1));
}

TEST_F(HtmlTextBlocks, BlocksCoverTheirOwnRange)
{
    EXPECT_EQ(Para(1) + Italic() + "Two</FONT></P>\n", Block(4, -1));
    EXPECT_EQ(Para(0) + Italic() + "e<BR></FONT></P>\n", Block(2, 4));
    EXPECT_EQ(Para(0) + Bold() + "O</FONT></P>\n", Block(0, 1));
    // A block composed for a longer text stops at the text's end.
    EXPECT_EQ(Para(1) + Italic() + "Two</FONT></P>\n", Block(4, 100));
}

TEST_F(HtmlTextBlocks, SingleRunAndParagraph)
{
    CTalTextNote* note = m_section->GetTextNote();
    note->ClearRuns();
    note->ClearParas();
    note->AssignText(CString(L"a<b>\tc\n"));
    CKWCharFormat run = AddRun(7, 0, RGB(0, 0, 255));
    m_paras.clear();
    AddPara(7, CKWParaFormat::kAlignRight, 125);
    EXPECT_EQ(Para(0) + Narrow(m_exporter.RunFontSpan(run)) +
                  "a&lt;b&gt;&nbsp;&nbsp;&nbsp;&nbsp;c<BR></FONT></P>\n",
              Block(0, -1));
    EXPECT_NE(std::string::npos, Para(0).find("margin-left:13mm"));
}

TEST_F(HtmlTextBlocks, ABlockWithoutNoteWritesNoLayer)
{
    TalObjExport object(nullptr, 0, -1, CKWDoubleRect(0, 0, 1, 1), TextExportLine());
    EXPECT_EQ("", Narrow(m_exporter.TextBlockLayer(object, 1)));
}
