// The texts of the HTML pages: font spans, paragraphs, and the layers of
// text-note blocks, plain texts and watermark texts.
#include <algorithm>

#include "export/html/HtmlEscape.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWIndexDecoder.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"
#include "text/KWTextData.h"

namespace {

const wchar_t* const kDefaultFamily = L"Arial";
const wchar_t* const kFontEnd = L"</FONT>";
const wchar_t* const kParagraphEnd = L"</P>\n";

// Bits of the style bytes of text formats and runs.
enum : uint8_t { kStyleBold = 0x01, kStyleItalic = 0x02, kStyleUnderline = 0x04 };

const wchar_t* Weight(uint8_t style) { return (style & kStyleBold) ? L"bold" : L"normal"; }
const wchar_t* Slant(uint8_t style) { return (style & kStyleItalic) ? L"italic" : L"normal"; }
const wchar_t* Decoration(uint8_t style) { return (style & kStyleUnderline) ? L"underline" : L"none"; }

// Tenths of a millimetre to whole millimetres, half away from zero.
int IndentMillimetres(float tenths)
{
    const double mm = static_cast<double>(tenths) * 0.1;
    return static_cast<int>(mm >= 0.0 ? mm + 0.5000001 : mm - 0.5000001);
}

struct WatermarkAlignment {
    const wchar_t* align;
    const wchar_t* valign;
};

// By place code, reading order of the three-by-three grid.
const WatermarkAlignment kWatermarkAlignments[] = {
    {L"left", L"top"},      {L"center", L"top"},    {L"right", L"top"},
    {L"left", L"middle"},   {L"center", L"middle"}, {L"right", L"middle"},
    {L"left", L"bottom"},   {L"center", L"bottom"}, {L"right", L"bottom"},
};
const int kCentrePlace = 4;

// The end of a record found by a look-up; a look-up that gives no end beyond
// the position (a record vector short of the text) runs to the text's end.
int RecordEnd(int end, int position, int textLength)
{
    return end > position ? end : textLength;
}

}  // namespace

CString CTalHTMLExp::FontFamily(uint32_t fontIndex) const
{
    CString family;
    if (m_fontTable) {
        const std::wstring name = m_fontTable->GetString(fontIndex);
        family = CString(name.c_str(), static_cast<int>(name.size()));
    }
    if (family.IsEmpty())
        family = kDefaultFamily;
    // The family sits inside a double-quoted attribute.
    return EscapeHtmlAttribute(family);
}

CString CTalHTMLExp::FormatFontSpan(const CTalTextFormat& format) const
{
    CString text;
    text.Format(L"<FONT style = \"font-size:%dpt;  font-family:%ls; color:%ls; font-weight:%ls; font-style:%ls; "
                L"text-decoration:%ls\">",
                static_cast<int>(format.m_size), FontFamily(format.m_font).GetString(),
                FormatHtmlColor(format.m_color).GetString(), Weight(format.m_style), Slant(format.m_style),
                Decoration(format.m_style));
    return text;
}

CString CTalHTMLExp::RunFontSpan(const CKWCharFormat& run) const
{
    CString text;
    text.Format(L"<FONT style = \"font-size:%dpt; font-family:%ls; color:%ls; font-weight:%ls; font-style:%ls; "
                L"text-decoration:%ls\">",
                static_cast<int>(run.m_size), FontFamily(run.m_fontIndex).GetString(),
                FormatHtmlColor(run.GetColorRef()).GetString(), Weight(run.m_style), Slant(run.m_style),
                Decoration(run.m_style));
    return text;
}

CString CTalHTMLExp::FontEnd(const CKWCharFormat&) const
{
    return CString(kFontEnd);
}

CString CTalHTMLExp::ParagraphStart(const CKWParaFormat& paragraph) const
{
    CString text;
    text.Format(L"<P style = \"text-align:%ls; text-indent:%dmm; margin-left:%dmm; margin-right:%dmm\">",
                AlignmentName(paragraph.m_align).GetString(), IndentMillimetres(paragraph.m_firstLine),
                IndentMillimetres(paragraph.m_leftIndent), IndentMillimetres(paragraph.m_rightIndent));
    return text;
}

CString CTalHTMLExp::ParagraphEnd(const CKWParaFormat&) const
{
    return CString(kParagraphEnd);
}

CString CTalHTMLExp::FormattedText(const CString& text, const CTalTextFormat* format) const
{
    if (!format)
        return EscapeHtmlText(text);
    return FormatFontSpan(*format) + EscapeHtmlText(text) + kFontEnd;
}

CString CTalHTMLExp::TextBlockLayer(const TalObjExport& object, int layer) const
{
    if (object.GetKind() != kExportText)
        return CString();
    const ExportTextData& block = *static_cast<const ExportTextData*>(object.GetData());
    const CTalTextNote* note = block.GetNote();
    if (!note)
        return CString();
    const CKWTextData& text = *note;

    // A block composed for another state of the note must not read past its text.
    const int length = text.GetLength();
    const int start = std::clamp(static_cast<int>(block.GetStart()), 0, length);
    const int end = block.GetEnd() < 0 ? length : std::clamp(static_cast<int>(block.GetEnd()), start, length);

    int runEnd = 0;
    int run = text.GetRunIndexAtPos(start, 0, runEnd);
    runEnd = RecordEnd(runEnd, start, length);
    int paraEnd = 0;
    int para = text.GetParaIndexAtPos(start, 0, paraEnd);
    paraEnd = RecordEnd(paraEnd, start, length);

    CString html = ParagraphStart(text.GetPara(para)) + RunFontSpan(text.GetRun(run));
    int segment = start;
    for (int p = start; p < end; ++p) {
        bool spanClosed = false;
        bool openSpan = false;
        if (p >= runEnd) {
            html += EscapeHtmlText(text.GetTextRange(segment, p));
            html += FontEnd(text.GetRun(run));
            int nextEnd = p;
            run = text.GetRunIndexAtPos(p, run + 1, nextEnd);
            runEnd = RecordEnd(nextEnd, p, length);
            spanClosed = true;
            openSpan = true;
        }
        if (p >= paraEnd) {
            if (!spanClosed) {
                html += EscapeHtmlText(text.GetTextRange(segment, p));
                html += FontEnd(text.GetRun(run));
                openSpan = true;
            }
            html += ParagraphEnd(text.GetPara(para));
            int nextEnd = p;
            para = text.GetParaIndexAtPos(p, para + 1, nextEnd);
            paraEnd = RecordEnd(nextEnd, p, length);
            html += ParagraphStart(text.GetPara(para));
        }
        if (openSpan) {
            segment = p;
            html += RunFontSpan(text.GetRun(run));
        }
    }
    html += EscapeHtmlText(text.GetTextRange(segment, end));
    html += FontEnd(text.GetRun(run));
    html += ParagraphEnd(text.GetPara(para));

    return LayerStart(layer) + PositionInLayer(PageRect(block.GetRect()), html, CString(L"valign = top")) +
           LayerEnd();
}

CString CTalHTMLExp::TextLayer(const TalObjExport& object, int layer) const
{
    if (object.GetKind() != kExportSimpleText)
        return CString();
    const ExportSimpleTextData& data = *static_cast<const ExportSimpleTextData*>(object.GetData());
    const CString text = data.GetText();
    if (text.IsEmpty())
        return CString();
    const CTalTextFormat* format = data.GetFormat();
    CString attributes;
    if (format)
        attributes = L"align = " + AlignmentName(format->m_align);
    return LayerStart(layer) + PositionInLayer(PageRect(data.GetRect()), FormattedText(text, format), attributes) +
           LayerEnd();
}

CString CTalHTMLExp::WatermarkTextLayer(const TalObjExport& object, int layer) const
{
    const ExportWatermarkTextData* data = object.GetWatermarkTextRecord();
    if (!data)
        return CString();
    const CString text = data->GetText();
    if (text.IsEmpty())
        return CString();
    const int place = data->GetPlace();
    const WatermarkAlignment& alignment = kWatermarkAlignments[place >= 0 && place <= 8 ? place : kCentrePlace];
    CString cell;
    cell.Format(L"\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD align = %ls valign = %ls width = %dpx height = %dpx>",
                alignment.align, alignment.valign, static_cast<int>(m_pageWidth), static_cast<int>(m_pageHeight));
    return LayerStart(layer) + cell + FormattedText(text, data->GetFormat()) + L"</TD></TR></TABLE>\n" + LayerEnd();
}
