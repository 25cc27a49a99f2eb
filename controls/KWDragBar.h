#pragma once
// CKWDragBar: a docking pane of the docking library that hosts panels: it
// shows and hides itself, tells whether it floats and where its floating
// frame is, and lays its panels out after every size change.
#include "docking/bars/QMXPDockingControlBar.h"

class CKWDragBar : public CQMXPDockingControlBar {
    DECLARE_DYNAMIC(CKWDragBar)
public:
    CKWDragBar();
    ~CKWDragBar() override;

    // The docking library's show, without delay or activation.
    virtual void ShowBar();
    virtual void HideBar();
    virtual bool IsBarVisible();
    virtual bool IsBarFloating();
    // The window rectangle of the floating frame; false (rect untouched) for
    // null, a docked bar or a bar without a frame.
    virtual bool GetFloatingRect(RECT* rect);
    // Lays the panels out over the client area; nothing in the base.
    virtual void RecalcLayout() {}

protected:
    // The docking pane's own size handling, then RecalcLayout.
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};
