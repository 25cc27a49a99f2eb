#pragma once
// CQMXPToolbarEditCtrl: the edit of an edit-box button. It lights its button
// while the mouse is over it or it has the focus, and keeps the editing keys
// (Ctrl with Delete, C, V, X, Z; Tab; Esc) from the frame's accelerators.
#include "platform/classlib/Edit.h"

class CQMXPToolbarEditBoxButton;

class CQMXPToolbarEditCtrl : public CEdit {
public:
    explicit CQMXPToolbarEditCtrl(CQMXPToolbarEditBoxButton& edit);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    CQMXPToolbarEditBoxButton& m_buttonEdit;
    BOOL m_bTracked;
};
