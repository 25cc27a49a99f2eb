#pragma once
// CQMXPMainClientAreaWnd: subclasses the MDI client of the library's MDI
// main frame, so that the frame may paint the client's background and the
// shared menus of the document frames go to the frame's menu bar instead
// of a Windows menu.
#include "platform/classlib/Wnd.h"

class CQMXPMainClientAreaWnd : public CWnd {
    DECLARE_DYNCREATE(CQMXPMainClientAreaWnd)
public:
    CQMXPMainClientAreaWnd();
    ~CQMXPMainClientAreaWnd() override;

    // The client takes the rectangle; minimised children keep their
    // distance to the bottom edge.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshMenu(WPARAM wParam, LPARAM lParam);
    // The frame is not redrawn while a document window goes, then at once.
    afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
