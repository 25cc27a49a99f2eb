#pragma once
// CQMXPDropDownFrame: the popup that holds a copy of a drop-down button's
// source tool bar under the button. It closes when its application loses
// the activation; closing it releases the button on its bar.
#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "platform/classlib/MiniFrameWnd.h"

class CQMXPDropDownToolbarButton;

class CQMXPDropDownFrame : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CQMXPDropDownFrame)
public:
    CQMXPDropDownFrame();
    ~CQMXPDropDownFrame() override;

    // Shown without activation at (x, y) of the screen; both -1: just
    // inside the parent's client area.
    virtual BOOL Create(CWnd* pWndParent, int x, int y, CQMXPDropDownToolBar* pWndOriginToolbar);
    void RecalcLayout(BOOL bNotify = TRUE) override;

    CQMXPDropDownToolBar& GetToolBar() { return m_wndToolBar; }

    CQMXPDropDownToolbarButton* m_pParentBtn;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CQMXPDropDownToolBar m_wndToolBar;
    CQMXPDropDownToolBar* m_pWndOriginToolbar;
    int m_x;
    int m_y;
    CString m_strCaption;
};
