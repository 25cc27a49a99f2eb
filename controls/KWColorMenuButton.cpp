#include "controls/KWColorMenuButton.h"

IMPLEMENT_SERIAL(CColorMenuButton, CQMXPColorMenuButton, VERSIONABLE_SCHEMA | 1)

bool CColorMap::Lookup(UINT nID, CKWColor& color) const
{
    auto found = m_colors.find(nID);
    if (found == m_colors.end())
        return false;
    color = found->second;
    return true;
}

CColorMap& GetColorMap()
{
    static CColorMap s_map;
    return s_map;
}

CColorMenuButton::CColorMenuButton(UINT nID, const CKWColor& color) : CQMXPColorMenuButton(nID, nullptr), m_color(color)
{
}

void CColorMenuButton::SetColor(uint8_t kind, uint32_t value)
{
    m_color = CKWColor(kind, value);
    GetColorMap().SetAt(m_nID, m_color);
    const uint32_t argb = m_color.ToArgb();
    CQMXPColorMenuButton::SetColor(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF), FALSE);
}

void CColorMenuButton::SetColor(COLORREF color, BOOL bNotify)
{
    // The automatic colour has no framework value: the recorded one stays.
    if (color != static_cast<COLORREF>(-1)) {
        m_color = CKWColor::FromColorRef(color);
        GetColorMap().SetAt(m_nID, m_color);
    }
    CQMXPColorMenuButton::SetColor(color, bNotify);
}

void CColorMenuButton::AssignFrom(const CQMXPToolbarButton& src)
{
    CQMXPColorMenuButton::AssignFrom(src);
    if (const auto* pSrc = DYNAMIC_DOWNCAST(CColorMenuButton, const_cast<CQMXPToolbarButton*>(&src)))
        m_color = pSrc->m_color;
}

bool CColorMenuButton::LookupColor(UINT nID, CKWColor& color)
{
    return GetColorMap().Lookup(nID, color);
}
