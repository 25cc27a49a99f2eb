#pragma once
// CQMXPPropertyPage: the library's property-page base for pages that open
// the library's popup menus; like CQMXPDialog it routes keys and clicks to
// the popup it opened while that is open (CQMXPDlgImpl).
#include "docking/frames/QMXPDlgImpl.h"
#include "platform/classlib/PropertyPage.h"

class CQMXPPopupMenu;

class CQMXPPropertyPage : public CPropertyPage {
    DECLARE_DYNCREATE(CQMXPPropertyPage)
public:
    CQMXPPropertyPage() : CPropertyPage(0U), m_Impl(*this) {}
    explicit CQMXPPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0)
        : CPropertyPage(nIDTemplate, nIDCaption), m_Impl(*this) {}

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
