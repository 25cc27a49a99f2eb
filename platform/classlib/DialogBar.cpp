#include "platform/classlib/DialogBar.h"

#include "platform/classlib/FrameWnd.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

CDialogBar::CDialogBar() : m_sizeDefault(0, 0) {}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCWSTR lpszTemplateName, UINT nStyle, UINT nID) {
    m_dwStyle = nStyle & 0xFFFF;
    if (pParentWnd != nullptr && pParentWnd->IsFrameWnd())
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    if (!CreateDlg(lpszTemplateName, pParentWnd))
        return FALSE;
    // The template's own id and visibility give way to the bar's.
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    if (bStretch)
        return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
