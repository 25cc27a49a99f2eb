#include "controls/XPStyleButtonST.h"

#include "controls/ThemeHelperST.h"
#include "platform/classlib/DC.h"

#include <vssym32.h>

int CXPStyleButtonST::ThemeState(bool isDefault, bool hot, bool pressed, bool disabled)
{
    int state = PBS_NORMAL;
    if (isDefault)
        state = PBS_DEFAULTED;
    if (hot)
        state = PBS_HOT;
    if (pressed)
        state = PBS_PRESSED;
    if (disabled)
        state = PBS_DISABLED;
    return state;
}

bool CXPStyleButtonST::IsThemed() const
{
    return m_themeHelper && m_themeHelper->IsAppThemed();
}

void CXPStyleButtonST::DrawBackground(CDC* dc, const CRect& rect)
{
    HTHEME theme = IsThemed() ? m_themeHelper->OpenThemeData(m_hWnd, L"BUTTON") : nullptr;
    if (!theme) {
        CButtonST::DrawBackground(dc, rect);
        return;
    }
    const int state = ThemeState(m_default, m_hover, m_pressed, m_disabled);
    m_themeHelper->DrawThemeBackground(theme, dc->m_hDC, BP_PUSHBUTTON, state, &rect, nullptr);
    m_themeHelper->CloseThemeData(theme);
}

void CXPStyleButtonST::DrawBorder(CDC* dc, const CRect& rect)
{
    if (!IsThemed())
        CButtonST::DrawBorder(dc, rect);
}
