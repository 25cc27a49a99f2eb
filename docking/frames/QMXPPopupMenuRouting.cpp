#include "docking/frames/QMXPPopupMenuRouting.h"

#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/FrameWnd.h"

namespace {

// The point of a mouse message on the screen.
CPoint ScreenPoint(const MSG* pMsg) {
    CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
    const BOOL bNonClient = pMsg->message >= WM_NCMOUSEMOVE && pMsg->message <= WM_NCMBUTTONDBLCLK;
    if (!bNonClient)
        ::ClientToScreen(pMsg->hwnd, &point);
    return point;
}

BOOL CloseOnShadow(CQMXPPopupMenu* pPopup, CFrameWnd* pFrame, int nHit) {
    if (nHit != QMXP_MENU_HIT_SHADOW_RIGHT && nHit != QMXP_MENU_HIT_SHADOW_BOTTOM)
        return FALSE;
    pPopup->SendMessage(WM_CLOSE);
    pFrame->SetFocus();
    return TRUE;
}

BOOL ProcessMouseClick(CFrameWnd* pFrame, CQMXPPopupMenu* pPopup, CPoint point) {
    int nHit = pPopup->HitTest(point);
    if (CloseOnShadow(pPopup, pFrame, nHit))
        return TRUE;
    if (nHit != QMXP_MENU_HIT_OUTSIDE)
        return FALSE;
    CQMXPToolbarMenuButton* pParentButton = pPopup->GetParentButton();
    CWnd* pParentBar = pParentButton != nullptr ? pParentButton->m_pWndParent : nullptr;
    if (pParentBar != nullptr && pParentBar->GetSafeHwnd() != nullptr) {
        CRect rectButton = pParentButton->GetRect();
        pParentBar->ClientToScreen(&rectButton);
        if (rectButton.PtInRect(point)) {
            // A click on the button that opened the menu closes it (its own click does).
            if (DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBar) != nullptr || pPopup->IsCommandInProgress())
                return TRUE;
            pPopup->SendMessage(WM_CLOSE);
            return TRUE;
        }
    }
    if (auto* pParentMenuBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBar)) {
        pParentMenuBar->CancelDelayedSubMenu();
        CQMXPPopupMenu* pParentPopup = pParentMenuBar->GetParentPopup();
        if (pParentPopup != nullptr) {
            nHit = pParentPopup->HitTest(point);
            if (CloseOnShadow(pParentPopup, pFrame, nHit))
                return TRUE;
            if (nHit != QMXP_MENU_HIT_OUTSIDE)
                return FALSE;
        }
    }
    if (pPopup->IsCommandInProgress())
        return FALSE;
    pPopup->SendMessage(WM_CLOSE);
    CWnd* pFocus = CWnd::GetFocus();
    if (pFocus != nullptr && DYNAMIC_DOWNCAST(CQMXPToolBar, pFocus) != nullptr)
        pFrame->SetFocus();
    return FALSE;
}

BOOL ProcessMouseMove(CQMXPPopupMenu* pPopup, CPoint point) {
    CRect rectPopup;
    pPopup->GetWindowRect(&rectPopup);
    if (rectPopup.PtInRect(point))
        return FALSE;
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    CPoint ptClient = point;
    pBar->ScreenToClient(&ptClient);
    return pBar->FindBarUnderPoint(ptClient) == nullptr;
}

}  // namespace

BOOL QMXPRoutePopupMenuInput(CFrameWnd* pFrame, MSG* pMsg) {
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (pFrame == nullptr || pPopup == nullptr || !::IsWindow(pPopup->GetSafeHwnd()) || CQMXPToolBar::m_bCustomizeMode)
        return FALSE;
    switch (pMsg->message) {
    case WM_KEYDOWN:
        pPopup->SendMessage(WM_KEYDOWN, pMsg->wParam, 0);
        return TRUE;
    case WM_CHAR:
    case WM_KEYUP:
        // The keys went to the menu; their characters type nothing elsewhere.
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return ProcessMouseClick(pFrame, pPopup, ScreenPoint(pMsg));
    case WM_MOUSEMOVE:
        return ProcessMouseMove(pPopup, ScreenPoint(pMsg));
    default:
        return FALSE;
    }
}
