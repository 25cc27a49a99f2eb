#pragma once
// CKWScrollerBar: a strip along one edge of a frame that hosts one scroll-bar
// control, across its whole length. A strip aligned right (or with a left
// border) holds a vertical bar, one aligned bottom (or with a top border) a
// horizontal bar. The control's scroll messages go on to the strip's owner.
#include "platform/classlib/ControlBar.h"

class CScrollBar;

class CKWScrollerBar : public CControlBar {
    DECLARE_DYNAMIC(CKWScrollerBar)
public:
    // The hosted control's id.
    static constexpr UINT kScrollBarId = 100;

    CKWScrollerBar();
    // Deletes the child control.
    ~CKWScrollerBar() override;

    // The style's low word (and the gripper bit) is the bar style
    // (CBRS_ALIGN_..., CBRS_BORDER_...), the whole of it the window style;
    // true when the strip exists.
    virtual BOOL Create(CWnd* parentFrame, DWORD style, UINT id);
    // The hosted control; null until the strip is created, and for a strip
    // whose style names no side.
    CScrollBar* GetScrollBar() const { return m_scrollBar; }

    // The scroll bar's thickness and the strip's border lines across the strip.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);

    DECLARE_MESSAGE_MAP()

private:
    void ForwardScroll();
    // The client rectangle less the border lines and the gripper.
    CRect InsideRect(const CRect& client) const;

    CScrollBar* m_scrollBar;
    CRect m_client;
};
