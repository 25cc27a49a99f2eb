#include "controls/KWColorMenuButton.h"

IMPLEMENT_SERIAL(CColorMenuButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

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

CColorMenuButton::CColorMenuButton(UINT nID, const CKWColor& color) : CQMXPToolbarButton(nID, nullptr), m_color(color)
{
}

void CColorMenuButton::SetColor(uint8_t kind, uint32_t value)
{
    m_color = CKWColor(kind, value);
    GetColorMap().SetAt(m_nID, m_color);
}

bool CColorMenuButton::LookupColor(UINT nID, CKWColor& color)
{
    return GetColorMap().Lookup(nID, color);
}
