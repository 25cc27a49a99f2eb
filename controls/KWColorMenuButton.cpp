#include "controls/KWColorMenuButton.h"

#include "controls/KWColorChooser.h"


IMPLEMENT_SERIAL(CColorMenuButton, CQMXPColorMenuButton, VERSIONABLE_SCHEMA | 1)

namespace {

const CKWColor kAutomaticColor(CKWColor::KindValue, CQMXPColorMenuButton::kAutomatic);

COLORREF ToColorRef(const CKWColor& color)
{
    if (color.GetKind() == CKWColor::KindValue && color.GetValue() == CQMXPColorMenuButton::kAutomatic)
        return CQMXPColorMenuButton::kAutomatic;
    const uint32_t argb = color.ToArgb();
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
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

CColorMenuButton::CColorMenuButton() : m_color(kAutomaticColor) {}

CColorMenuButton::CColorMenuButton(UINT nID, const CKWColor& color)
    : CQMXPColorMenuButton(nID, nullptr), m_color(color)
{
    if (CQMXPColorMenuButton::GetColor() != kAutomatic)
        TakeColor(CQMXPColorMenuButton::GetColor());
    else
        this->color = ToColorRef(color);
}

void CColorMenuButton::TakeColor(COLORREF colorIn)
{
    if (colorIn == kAutomatic) {
        m_color = kAutomaticColor;
        return;
    }
    // A button told of its command's colour by another one keeps the kind
    // that one recorded.
    CKWColor recorded;
    if (!LookupColor(m_nID, recorded) || ToColorRef(recorded) != colorIn) {
        recorded = CKWColor::FromColorRef(colorIn);
        GetColorMap().SetAt(m_nID, recorded);
    }
    m_color = recorded;
}

void CColorMenuButton::SetColor(uint8_t kind, uint32_t value)
{
    m_color = CKWColor(kind, value);
    GetColorMap().SetAt(m_nID, m_color);
    CQMXPColorMenuButton::SetColor(ToColorRef(m_color), TRUE);
}

void CColorMenuButton::SetColor(COLORREF colorIn, BOOL bNotify)
{
    // The palette hands its choice to its own button with notification; a
    // torn-off palette tells every button without, of a colour not yet
    // recorded. Either is a choice that waits for the command.
    CKWColor recorded;
    const bool isNew = !LookupColor(m_nID, recorded) || ToColorRef(recorded) != colorIn;
    TakeColor(colorIn);
    if (bNotify || (isNew && colorIn != kAutomatic))
        GetColorMap().MarkChosen(m_nID);
    CQMXPColorMenuButton::SetColor(colorIn, bNotify);
}

BOOL CColorMenuButton::OnClickUp()
{
    // The command applies the colour the face shows, also the automatic one
    // that was never recorded.
    CKWColor recorded;
    if (!LookupColor(m_nID, recorded))
        GetColorMap().SetAt(m_nID, CKWColor::FromColorRef(GetShownColor()));
    GetColorMap().MarkChosen(m_nID);
    return CQMXPColorMenuButton::OnClickUp();
}

BOOL CColorMenuButton::OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes)
{
    CKWColorChooser chooser;
    chooser.SetColor(colorDefault);
    if (!chooser.DoModal())
        return FALSE;
    colorRes = chooser.GetColor();
    return TRUE;
}

bool CColorMenuButton::IsColorChosen(UINT nID)
{
    return GetColorMap().IsChosen(nID);
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
