#include "docking/frames/QMXPFrameImpl.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/frames/QMXPWindowPlace.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/OleClientItem.h"
#include "platform/classlib/OleDocument.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <vector>

BOOL qmxMenuBarTakesFocus = TRUE;

namespace {

// The accelerator bits of the modifier keys held now.
BYTE HeldModifiers() {
    BYTE bModifiers = 0;
    if (::GetAsyncKeyState(VK_CONTROL) & 0x8000)
        bModifiers |= FCONTROL;
    if (::GetAsyncKeyState(VK_MENU) & 0x8000)
        bModifiers |= FALT;
    if (::GetAsyncKeyState(VK_SHIFT) & 0x8000)
        bModifiers |= FSHIFT;
    return bModifiers;
}

// Whether a control inside some tool bar (an edit, a combo box) has the focus.
BOOL ToolBarControlHasFocus() {
    for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
        if (pBar->GetSafeHwnd() == nullptr)
            continue;
        for (int i = 0; i < pBar->GetCount(); ++i) {
            if (pBar->GetButton(i)->HasFocus())
                return TRUE;
        }
    }
    return FALSE;
}

// Hit-tests the popup: a click in it or its shadow ends here (the shadow
// closes it); FALSE with *pbOutside set lets the caller go on.
BOOL ClickOnPopup(CQMXPPopupMenu* pPopup, CFrameWnd* pFrame, CPoint pt, BOOL& bConsumed, BOOL& bOutside) {
    bOutside = FALSE;
    switch (pPopup->HitTest(pt)) {
    case QMXP_MENU_HIT_SHADOW_RIGHT:
    case QMXP_MENU_HIT_SHADOW_BOTTOM:
        pPopup->SendMessage(WM_CLOSE);
        pFrame->SetFocus();
        bConsumed = TRUE;
        return TRUE;
    case QMXP_MENU_HIT_OUTSIDE:
        bOutside = TRUE;
        return FALSE;
    default:
        bConsumed = FALSE;
        return TRUE;
    }
}

// Every frame implementation alive, so that a bar or page finds the one
// of its frame whatever kind of library frame embeds it.
std::vector<CQMXPFrameImpl*>& LiveImpls() {
    static std::vector<CQMXPFrameImpl*> impls;
    return impls;
}

}  // namespace

CQMXPFrameImpl::CQMXPFrameImpl(CFrameWnd* pFrame)
    : m_uiUserToolbarFirst(static_cast<UINT>(-1)),
      m_uiUserToolbarLast(static_cast<UINT>(-1)),
      m_listUserDefinedToolbars(10),
      m_listTearOffToolbars(10),
      m_pMenuBar(nullptr),
      m_hDefaultMenu(nullptr),
      m_pFrame(pFrame),
      m_pDockManager(nullptr),
      m_nIDDefaultResource(0),
      m_bAltChordTaken(FALSE) {
    LiveImpls().push_back(this);
}

CQMXPFrameImpl::~CQMXPFrameImpl() {
    std::vector<CQMXPFrameImpl*>& impls = LiveImpls();
    impls.erase(std::remove(impls.begin(), impls.end(), this), impls.end());
    while (!m_listUserDefinedToolbars.IsEmpty())
        delete m_listUserDefinedToolbars.RemoveHead();
    while (!m_listTearOffToolbars.IsEmpty())
        delete m_listTearOffToolbars.RemoveHead();
}

void CQMXPFrameImpl::AddTearOffToolbar(CWnd* pToolBar) {
    if (pToolBar != nullptr)
        m_listTearOffToolbars.AddTail(pToolBar);
}

void CQMXPFrameImpl::RemoveTearOffToolbar(CWnd* pToolBar) {
    if (POSITION pos = m_listTearOffToolbars.Find(pToolBar))
        m_listTearOffToolbars.RemoveAt(pos);
}

void CQMXPFrameImpl::OnContextHelp(BOOL& bInContextHelp) {
    bInContextHelp = TRUE;
    if (!m_pFrame->m_bHelpMode && m_pFrame->CanEnterHelpMode())
        CQMXPToolBar::SetHelpModeMouseHook(TRUE);
    m_pFrame->CFrameWnd::OnContextHelp();
    if (!m_pFrame->m_bHelpMode)
        CQMXPToolBar::SetHelpModeMouseHook(FALSE);
    bInContextHelp = FALSE;
}

BOOL CQMXPFrameImpl::RepeatContextHelp(DWORD_PTR dwData, BOOL& bInContextHelp) {
    if (dwData != 0 || !bInContextHelp)
        return FALSE;
    OnContextHelp(bInContextHelp);
    return TRUE;
}

void CQMXPFrameImpl::UpdateFrameMenu(HMENU hMenuAlt, COleClientItem* pActiveItem) {
    const HWND hwndFrame = m_pFrame->GetSafeHwnd();
    if (pActiveItem != nullptr) {
        ::SetMenu(hwndFrame, hMenuAlt);
        return;
    }
    if (m_pMenuBar != nullptr && m_pMenuBar->GetSafeHwnd() != nullptr && m_pMenuBar->IsWindowVisible() &&
        ::GetMenu(hwndFrame) != nullptr)
        ::SetMenu(hwndFrame, nullptr);
}

BOOL CQMXPFrameImpl::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
    switch (nBorderCmd) {
    case CFrameWnd::borderGet:
        m_pFrame->CFrameWnd::NegotiateBorderSpace(nBorderCmd, lpRectBorder);
        if (m_pDockManager != nullptr && lpRectBorder != nullptr) {
            CRect rectFree;
            m_pDockManager->GetClientAreaBounds(rectFree);
            *lpRectBorder = rectFree;
        }
        return TRUE;
    case CFrameWnd::borderRequest:
        return TRUE;
    case CFrameWnd::borderSet:
        return m_pFrame->CFrameWnd::NegotiateBorderSpace(nBorderCmd, lpRectBorder);
    default:
        return TRUE;
    }
}

COleClientItem* CQMXPFrameImpl::GetInPlaceActiveItem() const {
    CFrameWnd* pActiveFrame = m_pFrame->GetSafeHwnd() != nullptr ? m_pFrame->GetActiveFrame() : nullptr;
    CView* pView = pActiveFrame != nullptr ? pActiveFrame->GetActiveView() : nullptr;
    auto* pDocument = pView != nullptr ? DYNAMIC_DOWNCAST(COleDocument, pView->GetDocument()) : nullptr;
    return pDocument != nullptr ? pDocument->GetInPlaceActiveItem(pView) : nullptr;
}

CQMXPFrameImpl* CQMXPFrameImpl::FromFrame(const CWnd* pFrame) {
    if (pFrame == nullptr)
        return nullptr;
    for (CQMXPFrameImpl* pImpl : LiveImpls()) {
        if (pImpl->m_pFrame == pFrame)
            return pImpl;
    }
    return nullptr;
}

BOOL CQMXPFrameImpl::IsUserDefinedToolbar(const CWnd* pToolBar) const {
    const UINT uiID = static_cast<UINT>(pToolBar->GetDlgCtrlID());
    return uiID >= m_uiUserToolbarFirst && uiID <= m_uiUserToolbarLast;
}

void CQMXPFrameImpl::SaveDockState(LPCWSTR lpszProfileName) {
    if (m_pDockManager != nullptr)
        m_pDockManager->SaveState(lpszProfileName, m_nIDDefaultResource);
}

void CQMXPFrameImpl::LoadDockState(LPCWSTR lpszProfileName) {
    // A stored arrangement replaces the one the code made; without one (or
    // with a damaged one) the code's stays.
    if (m_pDockManager != nullptr && m_pDockManager->LoadState(lpszProfileName, m_nIDDefaultResource))
        m_pDockManager->ApplyLoadedLayout();
}

void CQMXPFrameImpl::SetDockState(const CDockState& state) {
    if (m_pDockManager != nullptr)
        m_pDockManager->SetDockState(state);
}

BOOL CQMXPFrameImpl::IsHelpKey(const MSG* pMsg) {
    return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && (pMsg->lParam & (1 << 30)) == 0 &&
           (::GetKeyState(VK_SHIFT) & 0x8000) == 0 && (::GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
           (::GetKeyState(VK_MENU) & 0x8000) == 0;
}

void CQMXPFrameImpl::DeactivateMenu() {
    if (!CQMXPToolBar::m_bCustomizeMode && CQMXPPopupMenu::GetActiveMenu() != nullptr && m_pMenuBar != nullptr)
        m_pMenuBar->Deactivate();
}

void CQMXPFrameImpl::OnLoadFrame() {
    if (CQMXPWorkspace* pWorkspace = QMXPGetWorkspace())
        pWorkspace->LoadState(nullptr, this);
}

void CQMXPFrameImpl::OnCloseFrame() {
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if (pWorkspace != nullptr)
        pWorkspace->OnClosingMainFrame(this);
    // The placement is kept even while the rest of the workspace is not saved.
    if (pWorkspace == nullptr || m_pFrame->GetSafeHwnd() == nullptr)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_pFrame->m_hWnd, &wp))
        return;
    if (wp.showCmd != SW_SHOWMAXIMIZED)
        wp.showCmd = SW_SHOWNORMAL;
    // The placement is in work-area coordinates; the stored rectangle is on the screen.
    CRect rectWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rectWork, 0);
    CRect rectNormal(wp.rcNormalPosition);
    rectNormal.OffsetRect(rectWork.TopLeft());
    pWorkspace->StoreWindowPlacement(rectNormal, static_cast<int>(wp.flags), static_cast<int>(wp.showCmd));
}

void CQMXPFrameImpl::RestorePosition(CREATESTRUCTW& cs) {
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    CWinApp* pApp = AfxGetApp();
    if (pWorkspace == nullptr || cs.hInstance == nullptr || pApp == nullptr)
        return;
    CRect rect(cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
    int nFlags = 0;
    int nShowCmd = SW_SHOWNORMAL;
    if (!pWorkspace->LoadWindowPlacement(rect, nFlags, nShowCmd)) {
        pApp->m_nCmdShow = SW_SHOWMAXIMIZED;
        return;
    }
    if (nShowCmd != SW_SHOWMAXIMIZED)
        nShowCmd = SW_SHOWNORMAL;
    // A program started minimised (or maximised) stays so.
    switch (pApp->m_nCmdShow) {
    case SW_SHOWMINIMIZED:
    case SW_SHOWMAXIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        break;
    default:
        pApp->m_nCmdShow = nShowCmd;
    }
    const CRect rectWork = QMXPWorkAreaAt(rect.TopLeft());
    CRect rectVisible;
    if (!rectVisible.IntersectRect(&rect, &rectWork))
        return;
    cs.x = rectVisible.left;
    cs.y = rectVisible.top;
    cs.cx = rect.Width();
    cs.cy = rect.Height();
}

void CQMXPFrameImpl::SetMenuBar(CQMXPMenuBar* pMenuBar) {
    m_pMenuBar = pMenuBar;
    m_hDefaultMenu = m_pFrame->GetSafeHwnd() != nullptr ? ::GetMenu(m_pFrame->m_hWnd) : nullptr;
    m_pMenuBar->CreateFromMenu(m_hDefaultMenu, TRUE, FALSE);
    if (m_pFrame->GetSafeHwnd() != nullptr)
        ::SetMenu(m_pFrame->m_hWnd, nullptr);
    m_pMenuBar->SetDefaultMenuResource(m_nIDDefaultResource);
}

BOOL CQMXPFrameImpl::ProcessKeyboard(int nKey, BOOL* pbProcessAccel) {
    if (pbProcessAccel != nullptr)
        *pbProcessAccel = TRUE;
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd())) {
        pPopup->SendMessage(WM_KEYDOWN, static_cast<WPARAM>(nKey), 0);
        return TRUE;
    }
    if (m_pFrame->GetSafeHwnd() != nullptr && m_pFrame->IsIconic())
        return TRUE;
    if (CQMXPToolBar::m_bCustomizeMode)
        return FALSE;
    const BOOL bControlFocused = ToolBarControlHasFocus();
    const BYTE bModifiers = HeldModifiers();
    if (!bControlFocused) {
        const BYTE fVirt = static_cast<BYTE>(bModifiers | FVIRTKEY);
        CFrameWnd* pActive = m_pFrame->GetActiveFrame();
        if (CQMXPKeyboardManager::IsKeyHandled(static_cast<WORD>(nKey), fVirt, m_pFrame, TRUE) ||
            (pActive != nullptr &&
             CQMXPKeyboardManager::IsKeyHandled(static_cast<WORD>(nKey), fVirt, pActive, FALSE)))
            return FALSE;
    }
    if (bModifiers == FALT && CQMXPKeyboardManager::IsCharacterKey(static_cast<UINT>(nKey)) &&
        OnMenuChar(static_cast<UINT>(nKey)))
        return TRUE;
    if (bControlFocused && pbProcessAccel != nullptr)
        *pbProcessAccel = FALSE;
    return FALSE;
}

BOOL CQMXPFrameImpl::ProcessMouseClick(UINT uiMsg, CPoint pt, HWND hwnd) {
    if (uiMsg == WM_LBUTTONDOWN &&
        (CQMXPToolBar::m_bCustomizeMode || (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0)) {
        // A click on a control inside a tool bar drags its button instead.
        for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
            if (pBar->GetSafeHwnd() == nullptr)
                continue;
            CPoint ptClient = pt;
            pBar->ScreenToClient(&ptClient);
            const int iButton = pBar->HitTest(ptClient);
            if (iButton < 0)
                continue;
            CQMXPToolbarButton* pButton = pBar->GetButton(iButton);
            if (pButton->GetHwnd() == hwnd && hwnd != nullptr && pButton->GetRect().PtInRect(ptClient)) {
                pBar->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(ptClient.x, ptClient.y));
                return TRUE;
            }
            break;
        }
    }
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (CQMXPToolBar::m_bCustomizeMode || pPopup == nullptr || !::IsWindow(pPopup->GetSafeHwnd()))
        return FALSE;
    BOOL bConsumed = FALSE;
    BOOL bOutside = FALSE;
    if (ClickOnPopup(pPopup, m_pFrame, pt, bConsumed, bOutside))
        return bConsumed;
    CQMXPToolbarMenuButton* pParentButton = pPopup->GetParentButton();
    CWnd* pParentBar = pParentButton != nullptr ? pParentButton->GetParentWnd() : nullptr;
    if (pParentBar != nullptr && pParentBar->GetSafeHwnd() != nullptr) {
        CRect rectButton = pParentButton->GetRect();
        pParentBar->ClientToScreen(&rectButton);
        if (rectButton.PtInRect(pt)) {
            // The click on the button that opened the menu closes it.
            if (DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBar) == nullptr && !pPopup->IsCommandInProgress())
                pPopup->SendMessage(WM_CLOSE);
            return TRUE;
        }
    }
    if (auto* pParentMenuBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBar)) {
        pParentMenuBar->CancelDelayedSubMenu();
        if (CQMXPPopupMenu* pParentPopup = pParentMenuBar->GetParentPopup()) {
            if (ClickOnPopup(pParentPopup, m_pFrame, pt, bConsumed, bOutside))
                return bConsumed;
        }
    }
    if (pPopup->IsCommandInProgress())
        return FALSE;
    pPopup->SendMessage(WM_CLOSE);
    CWnd* pFocus = CWnd::GetFocus();
    if (pFocus != nullptr && DYNAMIC_DOWNCAST(CQMXPToolBar, pFocus) != nullptr)
        m_pFrame->SetFocus();
    return FALSE;
}

BOOL CQMXPFrameImpl::ProcessMouseMove(CPoint pt) {
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (CQMXPToolBar::m_bCustomizeMode || pPopup == nullptr || !::IsWindow(pPopup->GetSafeHwnd()))
        return FALSE;
    CRect rectPopup;
    pPopup->GetWindowRect(&rectPopup);
    if (rectPopup.PtInRect(pt))
        return FALSE;
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    CPoint ptClient = pt;
    pBar->ScreenToClient(&ptClient);
    return pBar->FindBarUnderPoint(ptClient) == nullptr;
}

BOOL CQMXPFrameImpl::OnShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
    CQMXPPopupMenu::activePopupMenu = pMenuPopup;
    if (pMenuPopup == nullptr || CQMXPToolBar::m_bCustomizeMode)
        return TRUE;
    CQMXPPopupMenu* pTop = pMenuPopup;
    while (CQMXPPopupMenu* pParent = pTop->GetParentPopup())
        pTop = pParent;
    CQMXPToolbarMenuButton* pButton = pTop->GetParentButton();
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pButton != nullptr ? pButton->GetParentWnd() : nullptr);
    if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr && DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pBar) == nullptr &&
        pBar->IsDocked() && CWnd::GetFocus() != pBar && qmxMenuBarTakesFocus)
        pBar->SetFocus();
    return TRUE;
}

BOOL CQMXPFrameImpl::OnMenuChar(UINT nChar) {
    const BOOL bPreview = m_pDockManager != nullptr && m_pDockManager->IsPrintPreviewValid();
    if (!bPreview && m_pMenuBar != nullptr && m_pMenuBar->GetSafeHwnd() != nullptr &&
        m_pMenuBar->IsWindowVisible() && m_pMenuBar->ProcessMnemonic(nChar))
        return TRUE;
    for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
        if (pBar == m_pMenuBar || pBar->GetSafeHwnd() == nullptr || !pBar->IsWindowVisible())
            continue;
        // In print preview only the preview's own bar answers.
        if (bPreview && !pBar->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewToolBar)))
            continue;
        if (pBar->GetTopLevelFrame() == m_pFrame && pBar->ProcessMnemonic(nChar))
            return TRUE;
    }
    return FALSE;
}

namespace {
CPoint ClientPointOnScreen(const MSG* pMsg) {
    CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
    ::ClientToScreen(pMsg->hwnd, &point);
    return point;
}

BOOL PopupOpen() {
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    return pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd());
}
}  // namespace

QMXPRoute CQMXPFrameImpl::RouteFrameMessage(MSG* pMsg, DWORD dwRoute) {
    const BOOL bSysKeys = (dwRoute & QMXP_ROUTE_SYSKEYS) != 0;
    switch (pMsg->message) {
    case WM_KEYDOWN: {
        if (IsHelpKey(pMsg))
            return QMXPRoute::PassOn;
        BOOL bProcessAccel = TRUE;
        if (ProcessKeyboard(static_cast<int>(pMsg->wParam),
                            (dwRoute & QMXP_ROUTE_KEY_NO_FLAG) != 0 ? nullptr : &bProcessAccel))
            return QMXPRoute::Consumed;
        return bProcessAccel ? QMXPRoute::PassOn : QMXPRoute::NoTranslate;
    }
    case WM_SYSKEYDOWN:
    case WM_CONTEXTMENU:
        if (!bSysKeys)
            return QMXPRoute::PassOn;
        if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_MENU) {
            // Alt held down repeats: the menu its chord opened stays.
            if ((HIWORD(pMsg->lParam) & KF_REPEAT) != 0)
                return PopupOpen() ? QMXPRoute::Consumed : QMXPRoute::PassOn;
            m_bAltChordTaken = FALSE;
        }
        if (PopupOpen() && pMsg->wParam == VK_MENU) {
            CQMXPPopupMenu::GetActiveMenu()->SendMessage(WM_CLOSE);
            return QMXPRoute::Consumed;
        }
        if (!ProcessKeyboard(static_cast<int>(pMsg->wParam)))
            return QMXPRoute::PassOn;
        if (pMsg->message == WM_SYSKEYDOWN)
            m_bAltChordTaken = TRUE;
        return QMXPRoute::Consumed;
    case WM_SYSKEYUP:
        if (!bSysKeys)
            return QMXPRoute::PassOn;
        if (pMsg->wParam == VK_MENU && TakeAltChordEnd())
            return QMXPRoute::Consumed;
        if (pMsg->wParam == VK_MENU && m_pMenuBar != nullptr && m_pMenuBar->GetSafeHwnd() != nullptr) {
            // Alt alone: menu mode by keyboard, or back out of it.
            if (CWnd::GetFocus() == m_pMenuBar)
                m_pFrame->SetFocus();
            else if ((dwRoute & QMXP_ROUTE_ALT_HIDDEN) != 0 || m_pMenuBar->IsWindowVisible())
                m_pMenuBar->SetFocus();
            return QMXPRoute::Consumed;
        }
        // A key let go while Alt is held is no key press for the open menu.
        return PopupOpen() ? QMXPRoute::Consumed : QMXPRoute::PassOn;
    case WM_KEYUP:
        // Alt let go after another key comes as a plain key up.
        return bSysKeys && pMsg->wParam == VK_MENU && TakeAltChordEnd() ? QMXPRoute::Consumed : QMXPRoute::PassOn;
    case WM_MOUSEMOVE:
        return ProcessMouseMove(ClientPointOnScreen(pMsg)) ? QMXPRoute::Consumed : QMXPRoute::PassOn;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if ((dwRoute & QMXP_ROUTE_DBLCLICKS) == 0)
            return QMXPRoute::PassOn;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (ProcessMouseClick(pMsg->message, ClientPointOnScreen(pMsg), pMsg->hwnd) || !::IsWindow(pMsg->hwnd))
            return QMXPRoute::Consumed;
        return QMXPRoute::PassOn;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP: {
        const CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
        return ProcessMouseClick(pMsg->message, point, pMsg->hwnd) ? QMXPRoute::Consumed : QMXPRoute::PassOn;
    }
    default:
        return QMXPRoute::PassOn;
    }
}

BOOL CQMXPFrameImpl::TakeAltChordEnd() {
    // The release of Alt that ends a chord the frame took leaves the menus
    // as the chord left them: the system's menu mode of the window would
    // take the next keys.
    const BOOL bTaken = m_bAltChordTaken;
    m_bAltChordTaken = FALSE;
    return bTaken;
}

void CQMXPFrameImpl::UpdateBarCommand(CCmdUI* pCmdUI, BOOL bStyleBit) {
    CQMXPBaseControlBar* pBar = m_pDockManager != nullptr ? m_pDockManager->FindBarByID(pCmdUI->m_nID, TRUE) : nullptr;
    if (pBar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    const BOOL bVisible = bStyleBit ? (pBar->GetStyle() & WS_VISIBLE) != 0 : pBar->IsWindowVisible();
    pCmdUI->SetCheck(bVisible ? 1 : 0);
}

BOOL CQMXPFrameImpl::ToggleBarCommand(UINT nID, BOOL bStyleBit) {
    CQMXPBaseControlBar* pBar = m_pDockManager != nullptr ? m_pDockManager->FindBarByID(nID, TRUE) : nullptr;
    if (pBar == nullptr)
        return FALSE;
    const BOOL bVisible = bStyleBit ? (pBar->GetStyle() & WS_VISIBLE) != 0 : pBar->IsWindowVisible();
    pBar->ShowControlBar(!bVisible, FALSE, FALSE);
    return TRUE;
}

BOOL CQMXPFrameImpl::PreCommand(WPARAM wParam, BOOL& bResult) {
    bResult = TRUE;
    const UINT uiCmd = LOWORD(wParam);
    if (HIWORD(wParam) == 1) {
        CQMXPToolBar::CountCommandUse(uiCmd);
        if (ProcessKeyboard(VK_ESCAPE))
            return TRUE;
        if (qmxUserToolsManager != nullptr && qmxUserToolsManager->RunTool(uiCmd))
            return TRUE;
    }
    bResult = FALSE;
    return CQMXPToolBar::m_bCustomizeMode;
}

void CQMXPFrameImpl::KeepOwnedWindowsAbove() {
    const HWND hwndFrame = m_pFrame != nullptr ? m_pFrame->GetSafeHwnd() : nullptr;
    if (hwndFrame == nullptr)
        return;
    const DWORD dwThread = ::GetWindowThreadProcessId(hwndFrame, nullptr);
    const auto isRestacked = [dwThread](HWND hwnd) {
        return ::IsWindowVisible(hwnd) && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0 &&
               ::GetWindowThreadProcessId(hwnd, nullptr) == dwThread;
    };
    const auto isOwned = [hwndFrame](HWND hwnd) {
        for (HWND hwndOwner = ::GetWindow(hwnd, GW_OWNER); hwndOwner != nullptr;
             hwndOwner = ::GetWindow(hwndOwner, GW_OWNER))
            if (hwndOwner == hwndFrame)
                return true;
        return false;
    };
    // Top-level windows come top first: the frame's own above it (a menu
    // the click opened) and the windows it owns under it.
    std::vector<HWND> above;
    std::vector<HWND> owned;
    bool bBelowFrame = false;
    for (HWND hwnd = ::GetWindow(hwndFrame, GW_HWNDFIRST); hwnd != nullptr; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == hwndFrame)
            bBelowFrame = true;
        else if (!isRestacked(hwnd))
            continue;
        else if (bBelowFrame && isOwned(hwnd))
            owned.push_back(hwnd);
        else if (!bBelowFrame)
            above.push_back(hwnd);
    }
    if (owned.empty())
        return;
    // Only a move to the top reaches a display without a window manager:
    // the owned windows go up lowest first, then those that were above the
    // frame, so every window keeps its order and the menu stays on top.
    for (const std::vector<HWND>* pList : {&owned, &above})
        for (auto it = pList->rbegin(); it != pList->rend(); ++it)
            ::SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
