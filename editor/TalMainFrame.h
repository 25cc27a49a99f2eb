#pragma once
// CTalMainFrame: the report editor's main window: the menu bar, the three
// tool bars, the status bar, the report windows in its client area. It
// draws the docking library's bars in the flat look, docks on every side,
// follows the text tool bar's docking side with its font boxes, and pages a
// panel under the pointer with the mouse wheel.
#include "appwindows/KWMainFrame.h"

class CTalMainFrame : public CKWMainFrame {
    DECLARE_DYNCREATE(CTalMainFrame)
public:
    CTalMainFrame();
    ~CTalMainFrame() override;

    // The panel under the screen point scrolls one page up (a turn away from
    // the user) or down; false when the point is over no panel.
    bool ScrollPanelByWheel(short delta, CPoint screenPoint);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    DECLARE_MESSAGE_MAP()
};
