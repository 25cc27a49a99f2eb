#include "docking/frames/QMXPEditListEdit.h"

#include "docking/frames/QMXPEditListBase.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"

BEGIN_MESSAGE_MAP(CQMXPEditListEdit, CEdit)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CANCELMODE()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CQMXPEditListEdit::CQMXPEditListEdit()
    : m_bLocked(FALSE),
      m_bBrowseButton(FALSE),
      m_bIsButtonPressed(FALSE),
      m_bIsButtonCaptured(FALSE),
      m_pParentList(nullptr) {}

CRect CQMXPEditListEdit::ButtonRect() const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    rectWindow.left = rectWindow.right - kBrowseButtonWidth;
    return rectWindow;
}

void CQMXPEditListEdit::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    Default();
    if (m_bBrowseButton)
        lpncsp->rgrc[0].right -= kBrowseButtonWidth;
}

LRESULT CQMXPEditListEdit::OnNcHitTest(CPoint point) {
    if (m_bBrowseButton && ButtonRect().PtInRect(point))
        return HTCAPTION;
    return static_cast<LRESULT>(Default());
}

void CQMXPEditListEdit::DrawButton() {
    if (!m_bBrowseButton)
        return;
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectButton = ButtonRect();
    rectButton.OffsetRect(-rectWindow.left, -rectWindow.top);
    if (m_pParentList != nullptr)
        m_pParentList->OnDrawBrowseButton(&dc, rectButton, m_bIsButtonPressed, FALSE);
    else
        dc.FillRect(&rectButton, &globalData.brBtnFace);
}

void CQMXPEditListEdit::OnNcPaint() {
    Default();
    DrawButton();
}

void CQMXPEditListEdit::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!m_bBrowseButton || nHitTest != HTCAPTION || !ButtonRect().PtInRect(point)) {
        Default();
        return;
    }
    SetCapture();
    m_bIsButtonCaptured = TRUE;
    m_bIsButtonPressed = TRUE;
    DrawButton();
}

void CQMXPEditListEdit::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bIsButtonCaptured) {
        Default();
        return;
    }
    ClientToScreen(&point);
    const BOOL bInside = ButtonRect().PtInRect(point);
    if (bInside != m_bIsButtonPressed) {
        m_bIsButtonPressed = bInside;
        DrawButton();
    }
}

void CQMXPEditListEdit::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!m_bIsButtonCaptured) {
        Default();
        return;
    }
    ::ReleaseCapture();
    m_bIsButtonCaptured = FALSE;
    m_bIsButtonPressed = FALSE;
    DrawButton();
    ClientToScreen(&point);
    if (ButtonRect().PtInRect(point) && m_pParentList != nullptr)
        m_pParentList->OnBrowse();
}

void CQMXPEditListEdit::OnCancelMode() {
    Default();
    if (m_bIsButtonCaptured) {
        ::ReleaseCapture();
        m_bIsButtonCaptured = m_bIsButtonPressed = FALSE;
        DrawButton();
    }
}

void CQMXPEditListEdit::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    if (m_bLocked)
        lpwndpos->flags |= SWP_NOSIZE;
    Default();
}
