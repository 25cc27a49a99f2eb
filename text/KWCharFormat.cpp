#include "text/KWCharFormat.h"

#include "framework/KWArchive.h"
#include "framework/KWIndexDecoder.h"

bool CKWCharFormat::IsSameColor(const CKWColor& a, const CKWColor& b)
{
    if (a.GetKind() != b.GetKind() || a.GetKind() > CKWColor::KindCmyk)
        return false;
    return a.GetValue() == b.GetValue();
}

bool CKWCharFormat::IsSameFormat(const CKWCharFormat& other, bool compareCount) const
{
    if (compareCount && m_count != other.m_count)
        return false;
    return m_size == other.m_size && m_sizeStepUp == other.m_sizeStepUp && m_style == other.m_style &&
           m_charSet == other.m_charSet && m_fontIndex == other.m_fontIndex && m_spacing == other.m_spacing &&
           m_vertical == other.m_vertical && IsSameColor(m_color, other.m_color);
}

const CKWIndexEntry& CKWCharFormat::GetFont(const CKWIndexDecoder* table) const
{
    if (!table)
        return CKWIndexDecoder::GetDefaultEntry();
    return table->GetEntry(m_fontIndex);
}

std::wstring CKWCharFormat::GetFaceName(const CKWIndexDecoder* table) const
{
    std::wstring name = GetFont(table).GetName();
    if (name.empty())
        name = CKWIndexDecoder::GetDefaultEntry().GetName();
    return name;
}

uint32_t CKWCharFormat::GetColorRef() const
{
    uint32_t rgb;  // red, green, blue in the second, third and fourth bytes
    switch (m_color.GetKind()) {
    case CKWColor::KindRgb:
    case CKWColor::KindArgb:
        rgb = m_color.GetValue();
        break;
    case CKWColor::KindCmyk:
        rgb = m_color.CmykToRgb();
        break;
    default:
        return 0;
    }
    return (rgb >> 8) & 0x00FFFFFFu;
}

void CKWCharFormat::Serialize(CKWArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU32(m_count);
        ar.WriteU16(static_cast<uint16_t>(m_size));
        ar.WriteU8(m_sizeStepUp);
        ar.WriteU8(m_style);
        ar.WriteU8(m_charSet);
        ar.WriteU32(m_fontIndex);
        ar.WriteFloat(m_spacing);
        ar.WriteU8(m_vertical);
    } else {
        m_count = ar.ReadU32();
        m_size = static_cast<int16_t>(ar.ReadU16());
        m_sizeStepUp = ar.ReadU8();
        m_style = ar.ReadU8();
        m_charSet = ar.ReadU8();
        m_fontIndex = ar.ReadU32();
        m_spacing = ar.ReadFloat();
        m_vertical = ar.ReadU8();
    }
    m_color.Serialize(ar);
}

const CKWCharFormat& CKWCharFormat::GetDefault()
{
    static const CKWCharFormat defaultFormat;
    return defaultFormat;
}
