#pragma once
// CQMXPHotEdit: an edit control that lights its tool-bar button while the
// mouse is over it or it has the focus (the edit of a combo-box button and
// of an edit-box button).
#include "platform/classlib/Edit.h"

class CQMXPHotEdit : public CEdit {
public:
    CQMXPHotEdit();
    ~CQMXPHotEdit() override;

    // A key pressed with Ctrl in an edit of a tool bar (Ctrl with A, C, V, X,
    // Z, Insert, Delete) is carried out by the edit: the frame's accelerators
    // would take it for a command of the document. TRUE when it was.
    static BOOL RouteEditingKey(HWND hwndEdit, const MSG* pMsg);

protected:
    // Lights the button, or puts it out.
    virtual void SetButtonHot(BOOL bHot) = 0;

    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();

    BOOL m_bTracked;

    DECLARE_MESSAGE_MAP()
};
