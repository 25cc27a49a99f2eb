#include "docking/toolbars/OldToolCmdUI.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

namespace {

CQMXPToolBar* BarOf(const CCmdUI& state) { return static_cast<CQMXPToolBar*>(state.m_pOther); }

}  // namespace

void COldToolCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    CQMXPToolBar* pBar = BarOf(*this);
    const int nIndex = static_cast<int>(m_nIndex);
    UINT nNewStyle = pBar->GetButtonStyle(nIndex) & ~TBBS_DISABLED;
    if (!bOn)
        nNewStyle |= TBBS_DISABLED;
    pBar->SetButtonStyle(nIndex, nNewStyle);
}

void COldToolCmdUI::SetCheck(int nCheck) {
    if (nCheck > 2)
        nCheck = 1;
    CQMXPToolBar* pBar = BarOf(*this);
    const int nIndex = static_cast<int>(m_nIndex);
    UINT nNewStyle = pBar->GetButtonStyle(nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (nCheck == 1)
        nNewStyle |= TBBS_CHECKED;
    else if (nCheck == 2)
        nNewStyle |= TBBS_INDETERMINATE;
    pBar->SetButtonStyle(nIndex, nNewStyle | TBBS_CHECKBOX);
}

void COldToolCmdUI::SetRadio(BOOL bOn) {
    SetCheck(bOn ? 1 : 0);
    CQMXPToolbarButton* pButton = BarOf(*this)->GetButton(static_cast<int>(m_nIndex));
    if (pButton != nullptr)
        pButton->SetRadio();
}

void COldToolCmdUI::SetText(LPCWSTR lpszText) {
    CQMXPToolBar* pBar = BarOf(*this);
    CQMXPToolbarButton* pButton = pBar->GetButton(static_cast<int>(m_nIndex));
    if (pBar->m_bDontChangeButtonText || pButton == nullptr)
        return;
    CString strText(lpszText != nullptr ? lpszText : L"");
    const int iTab = strText.Find(L'\t');
    if (iTab >= 0)
        strText = strText.Left(iTab);
    if (pButton->m_strText == strText)
        return;
    pButton->m_strText = strText;
    pBar->AdjustLayout();
}
