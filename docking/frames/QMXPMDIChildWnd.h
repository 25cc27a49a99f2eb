#pragma once
// CQMXPMDIChildWnd: the docking library's MDI child frame, with a dock
// manager of its own in the real library. Stand-in over the class library's
// MDI child; the docking library replaces its inside.
#include "platform/classlib/MDIChildWnd.h"

class CQMXPMDIChildWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(CQMXPMDIChildWnd)
public:
    CQMXPMDIChildWnd();
    ~CQMXPMDIChildWnd() override;

    // FALSE stops the creation.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Activates without flicker: the MDI client is not redrawn until the
    // frame is in place, then it is redrawn whole.
    void ActivateFrame(int nCmdShow = -1) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};
