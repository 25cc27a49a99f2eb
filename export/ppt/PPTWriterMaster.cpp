// The main master: colour schemes, the default text styles and a drawing
// that holds only the background.
#include "export/ppt/PPTWriter.h"

#include "export/ppt/PPTTextStyleSheets.h"
#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"

namespace {

// Eight colours each, 0x00BBGGRR.
const uint32_t kColorSchemes[7][8] = {
    {0xFFFFFF, 0x000000, 0x808080, 0x000000, 0x99CC00, 0xCC3333, 0xFFCCCC, 0xB2B2B2},
    {0xFF0000, 0xFFFFFF, 0x000000, 0x00FFFF, 0x0099FF, 0xFFFF00, 0x0000FF, 0x969696},
    {0xCCFFFF, 0x000000, 0x336666, 0x008080, 0x339933, 0x000080, 0xCC3300, 0x66CCFF},
    {0xFFFFFF, 0x000000, 0x333333, 0x000000, 0xDDDDDD, 0x808080, 0x4D4D4D, 0xEAEAEA},
    {0xFFFFFF, 0x000000, 0x808080, 0x000000, 0x66CCFF, 0xFF0000, 0xCC00CC, 0xC0C0C0},
    {0xFFFFFF, 0x000000, 0x808080, 0x000000, 0xC0C0C0, 0xFF6600, 0x0000FF, 0x009900},
    {0xFFFFFF, 0x000000, 0x808080, 0x000000, 0xFF9933, 0xCCFF99, 0xCC00CC, 0xB2B2B2},
};

}  // namespace

void PPTWriter::WriteColorScheme(uint16_t instance, int scheme)
{
    m_escher->WriteRecordHeader(32, kColorSchemeAtom, 0, instance);
    for (uint32_t color : kColorSchemes[scheme - 1])
        m_escher->GetStream().WriteU32(color);
}

bool PPTWriter::WriteMainMaster()
{
    PptEscherEx& escher = *m_escher;
    PPTOutStream& out = escher.GetStream();
    m_backgroundFillColor = 0xFFFFFF;
    m_backgroundBackColor = 0;

    escher.SetOffset(kKeyMainMaster, escher.Tell());
    escher.BeginContainer(kMainMaster, 0);

    escher.WriteRecordHeader(24, kSlideAtom, 2, 0);
    out.WriteU32(1);  // layout
    const uint8_t placeholders[8] = {1, 2, 0, 0, 0, 0, 0, 0};
    out.WriteBytes(placeholders, sizeof(placeholders));
    out.WriteU32(0).WriteU32(0);  // master id, notes id
    out.WriteU16(0).WriteU16(0);

    for (int scheme = 1; scheme <= 7; ++scheme)
        WriteColorScheme(6, scheme);
    m_styleSheets->Write(escher);

    escher.BeginContainer(kPPDrawing);
    escher.BeginContainer(PptEscherEx::kDgContainer);
    escher.BeginGroup();
    escher.EndGroup();
    WriteMasterBackground();
    escher.EndContainer();
    escher.EndContainer();

    WriteColorScheme(1, 1);
    escher.EndContainer();
    return true;
}

void PPTWriter::WriteMasterBackground()
{
    PptEscherEx& escher = *m_escher;
    escher.BeginContainer(PptEscherEx::kSpContainer);
    escher.WriteShapeAtom(1, PptEscherEx::kFlagBackground | PptEscherEx::kFlagHaveShapeType, escher.TakeShapeId());
    ShapePropertyTable table;
    table.SetProperty(0x0180, 0);  // solid fill
    WriteBackgroundProperties(table, m_backgroundFillColor, m_backgroundBackColor);
    table.WriteTo(escher.GetStream(), 3);
    escher.EndContainer();
}

void PPTWriter::WriteBackgroundProperties(ShapePropertyTable& table, uint32_t fillColor, uint32_t backColor) const
{
    table.SetProperty(0x0181, fillColor);
    table.SetProperty(0x0183, backColor);
    table.SetProperty(0x0193, static_cast<uint32_t>(m_backgroundWidth * kEmuPerMasterUnit));
    table.SetProperty(0x0194, static_cast<uint32_t>(m_backgroundHeight * kEmuPerMasterUnit));
    table.SetProperty(0x01BF, 0x00120012);
    table.SetProperty(0x01FF, 0x00080000);
    table.SetProperty(0x0304, 9);
    table.SetProperty(0x033F, 0x00010001);
}
