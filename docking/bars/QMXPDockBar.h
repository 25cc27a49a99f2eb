#pragma once
// CQMXPDockBar: a dock bar of the docking library (the strip along a frame
// edge that holds docked bars). Stand-in; the docking library replaces it.
#include "platform/classlib/ControlBar.h"

class CQMXPDockBar : public CControlBar {
    DECLARE_DYNCREATE(CQMXPDockBar)
public:
    CQMXPDockBar();
    ~CQMXPDockBar() override;

    // The current message's default processing.
    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    DECLARE_MESSAGE_MAP()
};
