// Slides: one per page, its objects as picture frames and text boxes whose
// characters carry their paragraph and character formats as text runs.
#include "export/ppt/PPTWriter.h"

#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "text/KWTextData.h"

namespace {

const uint16_t kShapeTextBox = 202;
const uint32_t kTextShapeFlags = PptEscherEx::kFlagHaveAnchor | PptEscherEx::kFlagHaveShapeType;
const uint32_t kOtherTextType = 4;
const uint32_t kAlignmentMask = 0x00000800;

// Style flags of a text run from a style byte: bold, italic, underline,
// shadow (bit 5) and bit 3.
uint16_t StyleFlags(uint8_t style)
{
    uint16_t flags = 0;
    if (style & 0x01)
        flags |= 0x0001;
    if (style & 0x02)
        flags |= 0x0002;
    if (style & 0x04)
        flags |= 0x0004;
    if (style & 0x20)
        flags |= 0x0010;
    if (style & 0x08)
        flags |= 0x0100;
    return flags;
}

// Where a record of a list of counted records (paragraphs or runs) ends:
// the index of the record that holds pos and the position after it. The last
// record reaches at least to the text's end; with no record, -1 and the end.
template <typename Count>
int RecordAt(int count, Count countOf, int pos, int textLength, int& end)
{
    int start = 0;
    for (int i = 0; i < count; ++i) {
        end = start + static_cast<int>(countOf(i));
        if (i == count - 1 && end < textLength)
            end = textLength;
        if (end > pos)
            return i;
        start = end;
    }
    end = textLength;
    return count > 0 ? count - 1 : -1;
}

}  // namespace

PPTWriter::ShapeRect PPTWriter::GetShapeRect(const CKWDoubleRect& unitRect) const
{
    ShapeRect rect;
    rect.left = unitRect.left * m_pageWidth * kMasterUnitsPerTenthMm;
    rect.top = unitRect.top * m_pageHeight * kMasterUnitsPerTenthMm;
    rect.right = unitRect.right * m_pageWidth * kMasterUnitsPerTenthMm;
    rect.bottom = unitRect.bottom * m_pageHeight * kMasterUnitsPerTenthMm;
    rect.iLeft = static_cast<int32_t>(rect.left);
    rect.iTop = static_cast<int32_t>(rect.top);
    rect.iRight = static_cast<int32_t>(rect.right);
    rect.iBottom = static_cast<int32_t>(rect.bottom);
    return rect;
}

bool PPTWriter::WriteSlide(size_t index)
{
    if (!m_pages || index >= m_pages->size() || !(*m_pages)[index])
        return false;
    PptEscherEx& escher = *m_escher;
    PPTOutStream& out = escher.GetStream();
    const uint32_t i = static_cast<uint32_t>(index);

    escher.SetOffset(kKeySlide + i, escher.Tell());
    escher.BeginContainer(kSlide, 0);
    escher.WriteRecordHeader(24, kSlideAtom, 2, 0);
    out.WriteU32(16);  // blank layout
    out.WriteZeros(8);
    out.WriteU32(0x80000000);  // the main master
    out.WriteU32(256 + i);     // notes id
    out.WriteU16(7);           // follow the master's objects, scheme and background
    out.WriteU16(0);

    escher.BeginContainer(kPPDrawing);
    escher.BeginContainer(PptEscherEx::kDgContainer);
    escher.BeginGroup();
    WriteShapes(*(*m_pages)[index]);
    escher.EndGroup();

    escher.BeginContainer(PptEscherEx::kSpContainer);
    escher.WriteShapeAtom(1, PptEscherEx::kFlagBackground | PptEscherEx::kFlagHaveShapeType, escher.TakeShapeId());
    ShapePropertyTable table;
    WriteBackgroundProperties(table, m_backgroundFillColor, m_backgroundBackColor);
    table.WriteTo(out, 3);
    escher.EndContainer();

    escher.EndContainer();
    escher.EndContainer();
    WriteColorScheme(1, 1);
    escher.EndContainer();
    return true;
}

void PPTWriter::WriteShapes(const TalPageExport& page)
{
    for (const TalObjExport* object : page.GetObjects()) {
        if (!object || !object->GetData())
            continue;
        const ExportObjectData* data = object->GetData();
        switch (data->GetKind()) {
        case kExportText: {
            const ExportTextData* record = static_cast<const ExportTextData*>(data);
            const CTalTextNote* note = record->GetNote();
            if (!note || note->GetLength() == 0)
                break;
            TextBoxSource source;
            source.kind = kExportText;
            source.rect = record->GetRect();
            source.note = note;
            source.start = record->GetStart();
            source.end = record->GetEnd();
            WriteTextShape(source);
            break;
        }
        case kExportCommonImage:
        case kExportImage:
        case kExportWmImage: {
            WritePictureShape(*object);
            if (data->GetKind() != kExportCommonImage)
                break;
            const ExportCommonImageData* record = static_cast<const ExportCommonImageData*>(data);
            TextBoxSource source;
            source.kind = kExportCommonImage;
            source.text = record->GetString();
            if (source.text.IsEmpty())
                break;
            source.format = record->GetFormat();
            // The description box lies under the picture's box, as large as
            // it, the record itself staying as composed. A picture turned a
            // quarter is fitted with its turned size into that same box
            // (WritePictureShape), so its description lies under the box as
            // an upright one's does: turned with it, the box would reach
            // below the picture by half the difference of its sides.
            const CKWDoubleRect unit = record->GetRect();
            source.rect = CKWDoubleRect(unit.left, unit.bottom, unit.right, unit.bottom + (unit.bottom - unit.top));
            WriteTextShape(source);
            break;
        }
        case kExportSimpleText: {
            const ExportSimpleTextData* record = static_cast<const ExportSimpleTextData*>(data);
            TextBoxSource source;
            source.kind = kExportSimpleText;
            source.text = record->GetText();
            source.text.Remove(L'\n');
            if (source.text.IsEmpty())
                break;
            source.rect = record->GetRect();
            source.format = record->GetFormat();
            WriteTextShape(source);
            break;
        }
        case kExportWatermarkText: {
            const ExportWatermarkTextData* record = static_cast<const ExportWatermarkTextData*>(data);
            TextBoxSource source;
            source.kind = kExportWatermarkText;
            source.text = record->GetText();
            if (source.text.IsEmpty())
                break;
            source.rect = record->GetRect();
            source.format = record->GetFormat();
            source.place = record->GetPlace();
            WriteTextShape(source);
            break;
        }
        default:
            break;
        }
    }
}

void PPTWriter::WriteTextShape(const TextBoxSource& source)
{
    PptEscherEx& escher = *m_escher;
    const ShapeRect rect = GetShapeRect(source.rect);
    escher.BeginContainer(PptEscherEx::kSpContainer);
    escher.WriteShapeAtom(kShapeTextBox, kTextShapeFlags, escher.TakeShapeId());

    ShapePropertyTable table;
    m_textId += kTextIdStep;
    table.SetProperty(0x0080, m_textId);
    if (source.kind == kExportWatermarkText) {
        // The row of the place code: top, middle or bottom.
        const int32_t place = source.place < 0 ? 0 : source.place > 8 ? 8 : source.place;
        table.SetProperty(0x0087, static_cast<uint32_t>(place / 3));
    }
    table.SetProperty(0x01BF, 0x00100000);  // no fill
    table.SetProperty(0x01FF, 0x00090000);  // no line
    table.WriteTo(escher.GetStream(), 3);

    escher.WriteChildAnchor(rect.iLeft, rect.iTop, rect.iRight, rect.iBottom);
    WriteClientTextbox(source);
    escher.EndContainer();
}

void PPTWriter::WriteClientTextbox(const TextBoxSource& source)
{
    CString text;
    if (source.kind == kExportText) {
        if (!source.note)
            return;
        const int end = source.end < 0 ? source.note->GetLength() : source.end;
        text = source.note->GetTextRange(source.start, end);
    } else {
        text = source.text;
    }
    if (text.IsEmpty())
        return;

    PptEscherEx& escher = *m_escher;
    PPTOutStream& out = escher.GetStream();
    escher.BeginContainer(PptEscherEx::kClientTextbox);
    escher.WriteRecordHeader(4, kTextHeaderAtom, 0, 0);
    out.WriteU32(kOtherTextType);

    text.Replace(L'\n', L'\r');
    const int32_t length = text.GetLength();
    escher.WriteRecordHeader(2 * static_cast<uint32_t>(length), kTextCharsAtom, 0, 0);
    for (int32_t i = 0; i < length; ++i)
        out.WriteU16(static_cast<uint16_t>(text[i]));

    escher.ReserveHeader();
    if (source.kind == kExportText)
        WriteNoteTextRuns(source, length);
    else
        WriteSimpleTextRuns(source, length);
    escher.FillReservedHeader(kStyleTextPropAtom, 0, 0);
    escher.EndContainer();
}

void PPTWriter::WriteNoteTextRuns(const TextBoxSource& source, int32_t length)
{
    PPTOutStream& out = m_escher->GetStream();
    const CKWTextData& data = *source.note;
    const int textLength = data.GetLength();
    const int first = source.start < 0 ? 0 : source.start > textLength ? textLength : source.start;
    const int last = first + length;
    // The runs of both lists cover the box's characters and one more.
    const uint32_t total = static_cast<uint32_t>(length) + 1;

    uint32_t written = 0;
    for (int pos = first; pos < last;) {
        int paraEnd = 0;
        const int index = RecordAt(data.GetParaCount(), [&](int i) { return data.GetPara(i).m_count; }, pos,
                                   textLength, paraEnd);
        int end = paraEnd < last ? paraEnd : last;
        if (end <= pos)
            end = last;
        const uint32_t count = end == last ? total - written : static_cast<uint32_t>(end - pos);
        const uint8_t align = index >= 0 ? data.GetPara(index).m_align : 0;
        out.WriteU32(count).WriteU16(0);
        if (align != 0)
            out.WriteU32(kAlignmentMask).WriteU16(align);
        else
            out.WriteU32(0);
        written += count;
        pos = end;
    }

    written = 0;
    for (int pos = first; pos < last;) {
        int runEnd = 0;
        const int index = RecordAt(data.GetRunCount(), [&](int i) { return data.GetRun(i).m_count; }, pos,
                                   textLength, runEnd);
        int end = runEnd < last ? runEnd : last;
        if (end <= pos)
            end = last;
        const uint32_t count = end == last ? total - written : static_cast<uint32_t>(end - pos);
        const CKWCharFormat& run = data.GetRun(index);
        uint32_t value = 0;
        switch (run.m_color.GetKind()) {
        case CKWColor::KindRgb:
        case CKWColor::KindArgb:
            value = run.m_color.GetValue();
            break;
        case CKWColor::KindCmyk:
            value = run.m_color.CmykToRgb();
            break;
        default:
            break;
        }
        WriteCharacterRun(count, run.m_style, run.m_fontIndex, run.m_size, value >> 8);
        written += count;
        pos = end;
    }
}

void PPTWriter::WriteSimpleTextRuns(const TextBoxSource& source, int32_t length)
{
    PPTOutStream& out = m_escher->GetStream();
    // Without a format, the defaults every writer uses: 18 points, centred.
    uint8_t style = 0;
    uint32_t fontId = 0;
    int32_t size = 18;
    uint32_t rgb = 0;
    int32_t place = 1;
    if (source.format) {
        style = source.format->m_style;
        fontId = source.format->m_font;
        size = source.format->m_size;
        rgb = source.format->m_color & 0x00FFFFFF;
        place = source.format->m_align;
    }
    const uint32_t total = static_cast<uint32_t>(length) + 1;

    // The alignment is the column of the code read as a place of the 3 x 3 grid.
    out.WriteU32(total).WriteU16(0);
    if (place != 0) {
        const int32_t column = ((place % 3) + 3) % 3;
        out.WriteU32(kAlignmentMask).WriteU16(static_cast<uint16_t>(column));
    } else {
        out.WriteU32(0);
    }
    WriteCharacterRun(total, style, fontId, size, rgb);
}

void PPTWriter::WriteCharacterRun(uint32_t count, uint8_t style, uint32_t fontId, int32_t size, uint32_t rgb)
{
    PPTOutStream& out = m_escher->GetStream();
    const uint16_t flags = StyleFlags(style);
    uint32_t mask = flags | 0x00010000;
    if (size != 24)
        mask |= 0x00020000;
    if (rgb != 0)
        mask |= 0x00040000;
    out.WriteU32(count).WriteU32(mask);
    if (flags)
        out.WriteU16(flags);
    out.WriteU16(GetFontIndex(fontId));
    if (size != 24)
        out.WriteU16(static_cast<uint16_t>(size));
    if (rgb != 0)
        out.WriteU32(rgb | 0xFE000000);
}

uint16_t PPTWriter::GetFontIndex(uint32_t fontId)
{
    if (static_cast<int32_t>(fontId) <= 0)
        return 0;
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i] == fontId)
            return static_cast<uint16_t>(i);
    }
    m_fonts.push_back(fontId);
    return static_cast<uint16_t>(m_fonts.size() - 1);
}
