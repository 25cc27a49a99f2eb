#include "controls/KWColorMenuButton.h"

#include "controls/KWColorChooser.h"

IMPLEMENT_SERIAL(CColorMenuButton, CQMXPColorMenuButton, VERSIONABLE_SCHEMA | 1)

namespace {

// A packed-RGB value (bytes A R G B, the first lowest) as 0x00BBGGRR.
COLORREF ToColorRef(const CKWColor& color)
{
    return static_cast<COLORREF>(color.GetValue() >> 8);
}

}  // namespace

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

CColorMenuButton::CColorMenuButton() : CQMXPColorMenuButton(), m_color(CKWColor::KindValue, kAutomatic) {}

CColorMenuButton::CColorMenuButton(UINT nID, const CKWColor& color)
    : CQMXPColorMenuButton(nID, nullptr, ToColorRef(color)), m_color(color)
{
}

void CColorMenuButton::SetColor(uint8_t kind, uint32_t value)
{
    m_color = CKWColor(kind, value);
    GetColorMap().SetAt(m_nID, m_color);
    CQMXPColorMenuButton::SetColor(ToColorRef(m_color), TRUE);
}

void CColorMenuButton::SetColor(COLORREF color, BOOL)
{
    const CKWColor chosen = CKWColor::FromColorRef(color);
    SetColor(chosen.GetKind(), chosen.GetValue());
}

bool CColorMenuButton::LookupColor(UINT nID, CKWColor& color)
{
    return GetColorMap().Lookup(nID, color);
}

void CColorMenuButton::AssignFrom(const CQMXPToolbarButton& src)
{
    CQMXPColorMenuButton::AssignFrom(src);
    if (const auto* other = DYNAMIC_DOWNCAST(CColorMenuButton, const_cast<CQMXPToolbarButton*>(&src)))
        m_color = other->m_color;
}

BOOL CColorMenuButton::ChooseOtherColor(COLORREF current, COLORREF& chosen)
{
    CKWColorChooser chooser;
    chooser.SetColor(current);
    if (!chooser.DoModal(m_pWndParent))
        return FALSE;
    chosen = chooser.GetColor();
    return TRUE;
}
