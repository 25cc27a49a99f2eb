#include "export/ppt/PPTTextStyleSheets.h"

#include "export/ppt/EscherEx.h"

namespace {

bool IsBodyType(int type)
{
    return type == 1 || type == 5 || type == 7 || type == 8;
}

const uint16_t kBulletChars[5] = {0x2022, 0x2013, 0x2022, 0x2013, 0x00BB};
const uint16_t kLeftMargins[5] = {0, 468, 720, 1008, 1296};
const uint16_t kIndents[5] = {0, 288, 576, 864, 1152};
const uint16_t kBodySizes[5] = {32, 28, 24, 20, 20};

// Mask of the paragraph exceptions: level 0 of the types below 5 carries the
// tab, font-alignment, wrap and direction fields too.
const uint32_t kLongParagraphMask = 0x003FFDFF;
const uint32_t kShortParagraphMask = 0x00007DFF;
const uint32_t kCharacterMask = 0x00EFFFFF;
const uint32_t kCenterCharacterMask = 0x0007FFFF;

}  // namespace

PPTTextStyleSheets::PPTTextStyleSheets(uint16_t defaultTab)
{
    for (int type = 0; type < kTextTypes; ++type) {
        if (!HasType(type))
            continue;
        for (int level = 0; level < kLevels; ++level) {
            PPTParagraphLevel& para = m_paragraphs[type].levels[level];
            para.bulletOn = IsBodyType(type) ? 1 : 0;
            para.bulletChar = kBulletChars[level];
            para.spaceBefore = IsBodyType(type) ? 20 : type == 2 ? 30 : 0;
            para.leftMargin = level == 0 ? (para.bulletOn ? 216 : 0) : kLeftMargins[level];
            para.indent = kIndents[level];
            para.defaultTab = defaultTab;

            PPTCharacterLevel& chars = m_characters[type].levels[level];
            if (type == 0 || type == 6)
                chars.size = 44;
            else if (IsBodyType(type))
                chars.size = kBodySizes[level];
            else if (type == 2)
                chars.size = 12;
            else
                chars.size = 24;
        }
    }
}

void PPTTextStyleSheets::Write(EscherEx& escher) const
{
    for (int type = 0; type < kTextTypes; ++type) {
        if (HasType(type))
            WriteAtom(escher, type);
    }
}

void PPTTextStyleSheets::WriteAtom(EscherEx& escher, int type) const
{
    PPTOutStream& out = escher.GetStream();
    escher.ReserveHeader();
    out.WriteU16(kLevels);
    for (int level = 0; level < kLevels; ++level) {
        if (type >= 5)
            out.WriteU16(static_cast<uint16_t>(level));

        const PPTParagraphLevel& para = m_paragraphs[type].levels[level];
        const bool longForm = level == 0 && type < 5;
        out.WriteU32(longForm ? kLongParagraphMask : kShortParagraphMask);
        out.WriteU16(para.bulletOn ? 15 : 14);
        out.WriteU16(para.bulletChar).WriteU16(para.bulletFont).WriteU16(para.bulletSize);
        out.WriteU32(para.bulletColor);
        out.WriteU16(para.alignment).WriteU16(para.lineSpacing);
        out.WriteU16(para.spaceBefore).WriteU16(para.spaceAfter);
        out.WriteU16(para.leftMargin).WriteU16(para.indent);
        if (longForm) {
            out.WriteU16(para.defaultTab);
            out.WriteU16(0);  // no tab stops
            out.WriteU16(0);  // font alignment
            out.WriteU16(2);  // wrap flags
            out.WriteU16(0);  // text direction
        }

        const PPTCharacterLevel& chars = m_characters[type].levels[level];
        out.WriteU32(type < 5 ? kCharacterMask : kCenterCharacterMask);
        out.WriteU16(chars.styleFlags).WriteU16(chars.font);
        if (type < 5) {
            out.WriteU16(chars.eastAsianFont).WriteU16(0xFFFF).WriteU16(0xFFFF);
            out.WriteU16(chars.size).WriteU32(chars.color).WriteU16(chars.position);
        } else {
            out.WriteU16(chars.size).WriteU32(chars.color);
        }
    }
    escher.FillReservedHeader(kTextMasterStyleAtom, 0, static_cast<uint16_t>(type));
}
