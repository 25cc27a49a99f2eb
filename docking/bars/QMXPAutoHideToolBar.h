#pragma once
// CQMXPAutoHideToolBar: the strip of one auto-hidden pane along a frame
// edge, in its side's auto-hide dock bar. Resting the mouse on its button
// for the hover delay slides the pane out; a click gives the pane the
// keyboard focus. A tabbed group gets one strip per pane, and the group
// flags tell a strip its place in the group: only the active one shows
// its title.
#include "docking/bars/QMXPControlBar.h"
#include "platform/classlib/ObList.h"

class CQMXPAutoHideButton;
class CQMXPDockingControlBar;

class CQMXPAutoHideToolBar : public CQMXPControlBar {
    DECLARE_DYNCREATE(CQMXPAutoHideToolBar)
public:
    CQMXPAutoHideToolBar();
    ~CQMXPAutoHideToolBar() override;

    // The window's size.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Takes the size of its button.
    CSize CalcLayoutSize(int nLength, BOOL bVert) override;
    BOOL DocksToFrameEdge() const override { return FALSE; }
    BOOL CanFloat() const override { return FALSE; }
    void SetActiveInGroup(BOOL bActive) override;

    // None for a window that is not a docking pane.
    virtual CQMXPAutoHideButton* AddPaneButton(CQMXPDockingControlBar* pPane, DWORD dwSide);
    // FALSE when the pane has no button here; the last button takes the strip away.
    virtual BOOL RemovePaneButton(CQMXPDockingControlBar* pPane);
    virtual void ShowPaneButton(CQMXPDockingControlBar* pPane, BOOL bShow, BOOL bDelay);
    // Hides the strip in its dock bar while no button is shown, shows it again when one is.
    virtual void UpdateStripVisibility();

    int GetShownButtonCount() const;
    // The visible button whose rectangle holds the point (client coordinates), top ones first.
    CQMXPAutoHideButton* ButtonFromPoint(CPoint pt) const;
    CQMXPDockingControlBar* GetFirstPane() const;
    CQMXPAutoHideButton* FindButton(const CQMXPDockingControlBar* pPane) const;
    const CObList& GetButtons() const { return m_lstButtons; }
    BOOL IsHoverPending() const { return m_bHoverPending; }

    // The rest the mouse takes on a button before its pane slides out (ms).
    static UINT m_nHoverDelay;
    // The timer of the hover.
    static const UINT_PTR kHoverTimer = 1;
    // The run-time class of the buttons strips make.
    static CRuntimeClass* m_pAutoHideButtonRTC;

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnNcDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    void KillHoverTimer();

    CObList m_lstButtons;
    CQMXPAutoHideButton* m_pActiveButton;
    BOOL m_bHoverPending;
    UINT_PTR m_nHoverTimerID;
    // When the hover began, by the dock manager's clock.
    long m_clkHoverStart;

    DECLARE_MESSAGE_MAP()
};
