#pragma once
// CQMXPBaseToolBar: the class between the dockable control bar and the
// customisable tool bar. Every tool bar docks immediately (it moves with
// the cursor, never as an outline), keeps a minimum size and repaints whole
// when its width changes.
#include "docking/bars/QMXPControlBar.h"

class CQMXPBaseToolBar : public CQMXPControlBar {
    DECLARE_DYNCREATE(CQMXPBaseToolBar)
public:
    CQMXPBaseToolBar();
    ~CQMXPBaseToolBar() override;

    int GetDockingMode() const override { return QMXP_DT_IMMEDIATE; }
    // A tool bar keeps its dock bar and row when its parent changes.
    void OnAfterChangeParent(CWnd* pWndOldParent) override;
    // 40 by 16 horizontal, 16 by 40 vertical.
    void GetMinSize(CSize& size) const override;
    // A stretch that changed the width repaints the whole bar.
    void OnAfterStretch(int nDelta) override;
};
