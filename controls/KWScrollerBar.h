#pragma once
// CKWScrollerBar: a strip along one edge of a frame that hosts one scroll-bar
// control, across its whole length. A strip aligned right or left holds a
// vertical bar, one aligned top or bottom a horizontal bar. The control's
// scroll messages go on to the frame's active view.
#include "platform/classlib/ControlBar.h"

class CScrollBar;

class CKWScrollerBar : public CControlBar {
    DECLARE_DYNAMIC(CKWScrollerBar)
public:
    CKWScrollerBar();
    // Deletes the child control.
    ~CKWScrollerBar() override;

    // The style's low word is the bar style (CBRS_ALIGN_... and the strip's
    // own bits), its high word the window style; true when the strip exists.
    virtual BOOL Create(CWnd* parentFrame, DWORD style, UINT id);
    // The hosted control; null until the strip is created.
    CScrollBar* GetScrollBar() const { return m_scrollBar; }

    // The scroll bar's thickness across the strip.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    DECLARE_MESSAGE_MAP()

private:
    void ForwardScroll();

    CScrollBar* m_scrollBar;
};
