#include "docking/toolbars/QMXPToolbarEditCtrl.h"

#include "docking/frames/QMXPTrackMouse.h"
#include "docking/toolbars/QMXPToolbarEditBoxButton.h"
#include "platform/classlib/FrameWnd.h"

BEGIN_MESSAGE_MAP(CQMXPToolbarEditCtrl, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CQMXPToolbarEditCtrl::CQMXPToolbarEditCtrl(CQMXPToolbarEditBoxButton& edit) : m_buttonEdit(edit), m_bTracked(FALSE) {}

BOOL CQMXPToolbarEditCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN)
        return CEdit::PreTranslateMessage(pMsg);
    switch (pMsg->wParam) {
    case VK_TAB: {
        CWnd* pNext = GetParent() != nullptr ? GetParent()->GetNextDlgTabItem(this) : nullptr;
        if (pNext != nullptr)
            pNext->SetFocus();
        return TRUE;
    }
    case VK_ESCAPE: {
        CFrameWnd* pFrame = GetTopLevelFrame();
        if (pFrame != nullptr)
            pFrame->SetFocus();
        return TRUE;
    }
    default:
        break;
    }
    // The editing keys stay with the edit: the frame's accelerators would
    // take them for commands of the document.
    if (::GetFocus() == m_hWnd && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        const struct {
            WPARAM wKey;
            UINT message;
        } keys[] = {{VK_DELETE, WM_CLEAR}, {'C', WM_COPY}, {'V', WM_PASTE}, {'X', WM_CUT}, {'Z', EM_UNDO}};
        for (const auto& key : keys) {
            if (pMsg->wParam == key.wKey) {
                SendMessage(key.message);
                return TRUE;
            }
        }
    }
    return CEdit::PreTranslateMessage(pMsg);
}

void CQMXPToolbarEditCtrl::OnSetFocus(CWnd* pOldWnd) {
    CEdit::OnSetFocus(pOldWnd);
    m_buttonEdit.SetHotEdit(TRUE);
}

void CQMXPToolbarEditCtrl::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    m_buttonEdit.SetHotEdit(FALSE);
}

void CQMXPToolbarEditCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    m_buttonEdit.SetHotEdit(TRUE);
    if (!m_bTracked) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracked = QMXPTrackMouse(&trackmouseevent);
    }
    CEdit::OnMouseMove(nFlags, point);
}

void CQMXPToolbarEditCtrl::OnMouseLeave() {
    m_bTracked = FALSE;
    if (CWnd::GetFocus() != this)
        m_buttonEdit.SetHotEdit(FALSE);
}
