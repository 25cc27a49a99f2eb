#pragma once
// CQMXPDialog: the library's dialog base. A library popup menu opened from
// it tells it so (SetActiveMenu), and while the popup is open the dialog's
// keys and clicks go to the popup first (CQMXPDlgImpl).
#include "docking/frames/QMXPDlgImpl.h"
#include "platform/classlib/Dialog.h"

class CQMXPPopupMenu;

class CQMXPDialog : public CDialog {
    DECLARE_DYNAMIC(CQMXPDialog)
public:
    CQMXPDialog() : m_Impl(*this) {}
    explicit CQMXPDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : CDialog(nIDTemplate, pParentWnd), m_Impl(*this) {}

    void SetActiveMenu(CQMXPPopupMenu* pMenu) { m_Impl.SetActiveMenu(pMenu); }
    CQMXPPopupMenu* GetActiveMenu() const { return m_Impl.GetActiveMenu(); }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);

    CQMXPDlgImpl m_Impl;

    DECLARE_MESSAGE_MAP()
};
