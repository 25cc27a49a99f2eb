#pragma once
// CQMXPDockingControlBar: the docking pane, which docks straight to a frame
// edge beside other panes rather than into the rows of a dock bar. Stand-in
// until the panes come with their captions, sliders and containers: a
// control bar that answers as a pane does and docks nowhere yet.
#include "docking/bars/QMXPControlBar.h"

class CQMXPDockingControlBar : public CQMXPControlBar {
    DECLARE_DYNCREATE(CQMXPDockingControlBar)
public:
    CQMXPDockingControlBar();
    ~CQMXPDockingControlBar() override;

    BOOL DocksToFrameEdge() const override { return TRUE; }
    BOOL CanBeAttached() const override { return TRUE; }
    // Another pane, or a window inside one.
    BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const override;
};

// The placeholder tab of outline dragging: one hidden global instance.
class CQMXPDummyDockingControlBar : public CQMXPDockingControlBar {
    DECLARE_DYNCREATE(CQMXPDummyDockingControlBar)
};

extern CQMXPDummyDockingControlBar qmxDummyDockingBar;
