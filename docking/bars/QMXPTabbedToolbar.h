#pragma once
// CQMXPTabbedToolbar: a tool bar whose client area is a tab window, each
// tab holding another tool bar; the bar takes the size of its tab window.
#include "docking/toolbars/QMXPToolBar.h"

class CQMXPTabWnd;

class CQMXPTabbedToolbar : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPTabbedToolbar)
public:
    CQMXPTabbedToolbar();
    ~CQMXPTabbedToolbar() override;

    void AdjustLayout() override;
    // The tab window's size plus the bar's borders.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // A floatable bar has a gripper; it never has the tool bar's side borders or alignment bits.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle, UINT nID, DWORD dwControlBarStyle);
    // The tool bar becomes a tab labelled with its window text, without its gripper.
    virtual BOOL AddTab(CQMXPToolBar* pNewBar, BOOL bDetachable = TRUE);
    virtual CQMXPTabWnd* GetTabWnd() const { return m_pTabWnd; }
    using CQMXPToolBar::CreateEx;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnNcDestroy();

    CQMXPTabWnd* m_pTabWnd;

    DECLARE_MESSAGE_MAP()
};
