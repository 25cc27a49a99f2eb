#include "docking/toolbars/QMXPColorMenuButton.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/ColorDialog.h"
#include "platform/classlib/Wnd.h"

IMPLEMENT_SERIAL(CQMXPColorMenuButton, CQMXPToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

CQMXPColorMenuButton::CQMXPColorMenuButton()
    : m_Color(kAutomatic), m_bCustomColor(FALSE), m_bOwnDialog(FALSE)
{
}

CQMXPColorMenuButton::CQMXPColorMenuButton(UINT uiCmdID, LPCWSTR lpszText, COLORREF color)
    : CQMXPToolbarMenuButton(uiCmdID, nullptr, -1, lpszText), m_Color(color), m_bCustomColor(FALSE),
      m_bOwnDialog(FALSE)
{
}

void CQMXPColorMenuButton::SetColor(COLORREF color, BOOL bNotify)
{
    m_Color = color;
    if (!bNotify || !m_pWndParent || !m_pWndParent->GetSafeHwnd())
        return;
    m_pWndParent->InvalidateRect(&m_rect);
    m_pWndParent->UpdateWindow();
}

void CQMXPColorMenuButton::EnableCustomColorButton(LPCWSTR lpszLabel, BOOL bShow, BOOL bOwnDialog)
{
    m_strCustomColor = lpszLabel ? lpszLabel : L"";
    m_bCustomColor = bShow;
    m_bOwnDialog = bOwnDialog;
}

void CQMXPColorMenuButton::AssignFrom(const CQMXPToolbarButton& src)
{
    CQMXPToolbarMenuButton::AssignFrom(src);
    const auto* other = DYNAMIC_DOWNCAST(CQMXPColorMenuButton, const_cast<CQMXPToolbarButton*>(&src));
    if (!other)
        return;
    m_Color = other->m_Color;
    m_strCustomColor = other->m_strCustomColor;
    m_bCustomColor = other->m_bCustomColor;
    m_bOwnDialog = other->m_bOwnDialog;
}

BOOL CQMXPColorMenuButton::OnClick(CWnd* pWnd, BOOL bDelay)
{
    // Only a press of the button itself opens the dialog (not a menu chain
    // passing over it).
    if (bDelay || !m_bCustomColor || !m_bOwnDialog)
        return FALSE;
    COLORREF chosen = m_Color;
    if (!ChooseOtherColor(m_Color == kAutomatic ? RGB(0, 0, 0) : m_Color, chosen))
        return TRUE;
    SetColor(chosen);
    // The press ended inside the dialog: the command goes from here.
    auto* bar = DYNAMIC_DOWNCAST(CQMXPToolBar, pWnd);
    CWnd* target = bar ? bar->GetCommandTarget() : nullptr;
    if (target && target->GetSafeHwnd())
        target->PostMessage(WM_COMMAND, m_nID, 0);
    return TRUE;
}

BOOL CQMXPColorMenuButton::ChooseOtherColor(COLORREF current, COLORREF& chosen)
{
    CColorDialog dialog(current, CC_ANYCOLOR, m_pWndParent);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    chosen = dialog.GetColor();
    return TRUE;
}
