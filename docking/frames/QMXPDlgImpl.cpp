#include "docking/frames/QMXPDlgImpl.h"

#include "docking/bars/QMXPDockBar.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/MessageMap.h"

namespace {

HHOOK g_hookMouse = nullptr;
CQMXPDlgImpl* g_pMenuDlgImpl = nullptr;

// The notification code of a command sent by an accelerator.
constexpr WORD kAcceleratorCode = 1;

bool IsButtonMessage(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        return true;
    default:
        return false;
    }
}

bool IsNonClient(UINT message) { return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK; }

// The message's point on the screen (client messages carry client points).
CPoint ScreenPoint(const MSG* pMsg) {
    CPoint pt(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
    if (!IsNonClient(pMsg->message))
        ::ClientToScreen(pMsg->hwnd, &pt);
    return pt;
}

}  // namespace

CQMXPDlgImpl::~CQMXPDlgImpl() {
    if (g_pMenuDlgImpl == this) {
        if (g_hookMouse != nullptr)
            ::UnhookWindowsHookEx(g_hookMouse);
        g_hookMouse = nullptr;
        g_pMenuDlgImpl = nullptr;
    }
}

void CQMXPDlgImpl::SetActiveMenu(CQMXPPopupMenu* pMenu) {
    m_pActivePopupMenu = pMenu;
    if (pMenu != nullptr) {
        if (g_hookMouse == nullptr)
            g_hookMouse = ::SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
        g_pMenuDlgImpl = this;
    } else if (g_pMenuDlgImpl == this || g_pMenuDlgImpl == nullptr) {
        if (g_hookMouse != nullptr)
            ::UnhookWindowsHookEx(g_hookMouse);
        g_hookMouse = nullptr;
        g_pMenuDlgImpl = nullptr;
    }
}

LRESULT CALLBACK CQMXPDlgImpl::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && g_pMenuDlgImpl != nullptr) {
        switch (wParam) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN: {
            const auto* pHook = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
            CRect rectDlg;
            ::GetWindowRect(g_pMenuDlgImpl->m_Dlg.GetSafeHwnd(), &rectDlg);
            if (!rectDlg.PtInRect(pHook->pt))
                g_pMenuDlgImpl->ProcessMouseClick(pHook->pt);
            break;
        }
        default:
            break;
        }
    }
    return ::CallNextHookEx(g_hookMouse, nCode, wParam, lParam);
}

CQMXPPopupMenu* CQMXPDlgImpl::LivePopup() const {
    return m_pActivePopupMenu != nullptr && ::IsWindow(m_pActivePopupMenu->GetSafeHwnd()) ? m_pActivePopupMenu
                                                                                          : nullptr;
}

void CQMXPDlgImpl::ClosePopup(CQMXPPopupMenu* pPopup, BOOL bFocusDialog) {
    pPopup->SendMessage(WM_CLOSE);
    if (bFocusDialog)
        m_Dlg.SetFocus();
}

BOOL CQMXPDlgImpl::ProcessMouseClick(POINT pt) {
    CQMXPPopupMenu* pPopup = LivePopup();
    if (CQMXPToolBar::m_bCustomizeMode || pPopup == nullptr)
        return FALSE;
    switch (pPopup->HitTest(pt)) {
    case QMXP_MENU_HIT_SHADOW_RIGHT:
    case QMXP_MENU_HIT_SHADOW_BOTTOM:
        ClosePopup(pPopup, TRUE);
        return TRUE;
    case QMXP_MENU_HIT_OUTSIDE:
        break;
    default:
        return FALSE;
    }
    CQMXPToolbarMenuButton* pParentButton = pPopup->GetParentButton();
    CWnd* pButtonBar = pParentButton != nullptr ? pParentButton->GetParentWnd() : nullptr;
    const BOOL bOnPopupBar = pButtonBar != nullptr && pButtonBar->IsKindOf(RUNTIME_CLASS(CQMXPPopupMenuBar));
    if (pButtonBar != nullptr && ::IsWindow(pButtonBar->GetSafeHwnd())) {
        CPoint ptClient = pt;
        pButtonBar->ScreenToClient(&ptClient);
        if (pParentButton->GetRect().PtInRect(ptClient)) {
            if (!bOnPopupBar && !pPopup->IsBarKeepOpen())
                ClosePopup(pPopup, FALSE);
            return TRUE;
        }
    }
    if (bOnPopupBar) {
        auto* pParentPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pButtonBar->GetParent());
        if (pParentPopup != nullptr) {
            switch (pParentPopup->HitTest(pt)) {
            case QMXP_MENU_HIT_SHADOW_RIGHT:
            case QMXP_MENU_HIT_SHADOW_BOTTOM:
                ClosePopup(pParentPopup, TRUE);
                return TRUE;
            case QMXP_MENU_HIT_OUTSIDE:
                break;
            default:
                return FALSE;
            }
        }
    }
    if (!pPopup->IsBarKeepOpen()) {
        ClosePopup(pPopup, FALSE);
        CWnd* pFocus = CWnd::GetFocus();
        if (pFocus != nullptr && pFocus->IsKindOf(RUNTIME_CLASS(CQMXPToolBar)))
            m_Dlg.SetFocus();
    }
    return FALSE;
}

BOOL CQMXPDlgImpl::PreTranslateMessage(MSG* pMsg) {
    CQMXPPopupMenu* pPopup = LivePopup();
    if (pPopup != nullptr) {
        switch (pMsg->message) {
        case WM_KEYDOWN:
            pPopup->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
            return TRUE;
        case WM_SYSKEYDOWN:
            if (pMsg->wParam != VK_MENU)
                break;
            ClosePopup(pPopup, FALSE);
            return TRUE;
        case WM_SYSKEYUP:
            return TRUE;
        case WM_MOUSEMOVE:
            if (CQMXPFrameImpl::ProcessMouseMove(ScreenPoint(pMsg)))
                return TRUE;
            break;
        default:
            if (!IsButtonMessage(pMsg->message))
                break;
            {
                const HWND hwnd = pMsg->hwnd;
                if (ProcessMouseClick(ScreenPoint(pMsg)) || !::IsWindow(hwnd))
                    return TRUE;
            }
            break;
        }
    }
    // A right click on a dock bar asks the owner for the tool bars' menu.
    if (pMsg->message == WM_RBUTTONUP && !CQMXPToolBar::m_bCustomizeMode &&
        DYNAMIC_DOWNCAST(CQMXPDockBar, CWnd::FromHandlePermanent(pMsg->hwnd)) != nullptr) {
        const CPoint pt = ScreenPoint(pMsg);
        m_Dlg.SendMessage(QMXTOOLBAR_POPUPMENU, reinterpret_cast<WPARAM>(m_Dlg.GetSafeHwnd()), MAKELPARAM(pt.x, pt.y));
    }
    return FALSE;
}

BOOL CQMXPDlgImpl::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != kAcceleratorCode)
        return FALSE;
    const UINT uiCmd = LOWORD(wParam);
    CQMXPToolBar::CountCommandUse(uiCmd);
    if (CQMXPPopupMenu* pPopup = LivePopup()) {
        pPopup->SendMessage(WM_KEYDOWN, VK_ESCAPE);
        return TRUE;
    }
    return qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(uiCmd) &&
           qmxUserToolsManager->RunTool(uiCmd);
}

void CQMXPDlgImpl::OnNcActivate(BOOL& bActive) {
    if (m_bStayActive)
        bActive = TRUE;
    if (!m_Dlg.IsWindowEnabled())
        bActive = FALSE;
}

void CQMXPDlgImpl::OnActivate(UINT, CWnd* pWndOther) {
    m_bStayActive = FALSE;
    if (pWndOther == nullptr) {
        m_Dlg.SendMessage(WM_NCACTIVATE, TRUE);
        return;
    }
    if (pWndOther == &m_Dlg || pWndOther->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE) != 0)
        m_bStayActive = TRUE;
}
