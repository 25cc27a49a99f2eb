#include "docking/toolbars/QMXPHotEdit.h"

#include "docking/frames/QMXPTrackMouse.h"

BEGIN_MESSAGE_MAP(CQMXPHotEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CQMXPHotEdit::CQMXPHotEdit() : m_bTracked(FALSE) {}

CQMXPHotEdit::~CQMXPHotEdit() = default;

void CQMXPHotEdit::OnSetFocus(CWnd* pOldWnd) {
    CEdit::OnSetFocus(pOldWnd);
    SetButtonHot(TRUE);
}

void CQMXPHotEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    SetButtonHot(FALSE);
}

void CQMXPHotEdit::OnMouseMove(UINT nFlags, CPoint point) {
    SetButtonHot(TRUE);
    if (!m_bTracked) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracked = QMXPTrackMouse(&trackmouseevent);
    }
    CEdit::OnMouseMove(nFlags, point);
}

void CQMXPHotEdit::OnMouseLeave() {
    m_bTracked = FALSE;
    if (CWnd::GetFocus() != this)
        SetButtonHot(FALSE);
}
