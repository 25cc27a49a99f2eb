#pragma once
// CQMXPAutoHideDockBar: the dock bar of one frame edge that holds the
// strips of the auto-hidden panes of that side, end to end in its first
// row, leaving free the corners where perpendicular strips begin.
#include "docking/bars/QMXPDockBar.h"

class CQMXPAutoHideToolBar;

class CQMXPAutoHideDockBar : public CQMXPDockBar {
    DECLARE_DYNCREATE(CQMXPAutoHideDockBar)
public:
    CQMXPAutoHideDockBar();
    ~CQMXPAutoHideDockBar() override;

    BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const override;
    // A strip goes into the first row (made when there is none).
    BOOL DockControlBar(CQMXPControlBar* pWnd, int dockMethod, LPCRECT lpRect = nullptr) override;
    void OnSizeChanged(CRect rectNew) override;

    // The panes of the strip's group return from auto hide: the first one to
    // its place, the others as its tabs.
    void UpdateGroupLinks(CQMXPAutoHideToolBar* pStrip);
    // Lays the strips out end to end again.
    void LayoutStrips();
    void SetOffsets(int nStart, int nEnd) {
        m_nStartOffset = nStart;
        m_nEndOffset = nEnd;
    }
    int GetStartOffset() const { return m_nStartOffset; }
    int GetEndOffset() const { return m_nEndOffset; }

    // Pixels before the first strip and between groups of strips.
    static int m_nStripStart;
    static int m_nGroupSpacing;

protected:
    afx_msg void OnPaint();

    int m_nStartOffset;
    int m_nEndOffset;

    DECLARE_MESSAGE_MAP()
};
