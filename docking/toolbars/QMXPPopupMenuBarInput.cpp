// A popup menu's items under the mouse and the keys: sub-menus opened and
// closed after the menu delay, the highlight moved by arrows and
// mnemonics, and mouse messages passed to the other menus of the chain.
#include "docking/toolbars/QMXPPopupMenuBar.h"

#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"

#include <algorithm>

namespace {

constexpr UINT kNoCommand = static_cast<UINT>(-1);

bool IsSeparator(const CQMXPToolbarButton* pButton) { return (pButton->m_nStyle & TBBS_SEPARATOR) != 0; }

CQMXPToolbarMenuButton* SubMenuButton(CQMXPToolbarButton* pButton) {
    auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
    if (pMenuButton == nullptr || pButton->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton)))
        return nullptr;
    return (pButton->m_nID == kNoCommand || !pMenuButton->GetCommands().IsEmpty()) ? pMenuButton : nullptr;
}

bool IsKeyMessage() {
    const MSG* pMsg = CWnd::GetCurrentMessage();
    return pMsg != nullptr && pMsg->message == WM_KEYDOWN;
}

}  // namespace

// --- Delayed sub-menus ---------------------------------------------------------------------------

void CQMXPPopupMenuBar::SetDelayedOpen(CQMXPToolbarMenuButton* pButton, int nFactor) {
    KillTimer(QMXP_TIMER_DELAYED_OPEN);
    if (pButton != nullptr && pButton == m_pDelayedClosePopupMenuButton) {
        CancelPendingClose();
        m_pDelayedPopupMenuButton = nullptr;
        return;
    }
    m_pDelayedPopupMenuButton = pButton;
    if (pButton != nullptr)
        SetTimer(QMXP_TIMER_DELAYED_OPEN, static_cast<UINT>(std::max(m_uiPopupTimerDelay, 0) * nFactor), nullptr);
}

void CQMXPPopupMenuBar::CancelDelayedSubMenu() {
    KillTimer(QMXP_TIMER_DELAYED_CLOSE);
    CQMXPToolbarMenuButton* pButton = m_pDelayedClosePopupMenuButton;
    m_pDelayedClosePopupMenuButton = nullptr;
    if (pButton != nullptr)
        pButton->OnCancelMode();
}

void CQMXPPopupMenuBar::CancelPendingClose() {
    CQMXPToolbarMenuButton* pButton = m_pDelayedClosePopupMenuButton;
    m_pDelayedClosePopupMenuButton = nullptr;
    if (pButton != nullptr) {
        pButton->m_bToBeClosed = FALSE;
        InvalidateButton(ButtonToIndex(pButton));
    }
    InvalidateButton(m_iHighlighted);
    KillTimer(QMXP_TIMER_DELAYED_CLOSE);
}

void CQMXPPopupMenuBar::OnTimer(UINT_PTR nIDEvent) {
    const HWND hwndThis = m_hWnd;
    if (nIDEvent == QMXP_TIMER_DELAYED_OPEN) {
        KillTimer(QMXP_TIMER_DELAYED_OPEN);
        if (m_wndToolTip.GetSafeHwnd() != nullptr)
            m_wndToolTip.Pop();
        if (m_pDelayedClosePopupMenuButton != nullptr) {
            CQMXPToolbarMenuButton* pClose = m_pDelayedClosePopupMenuButton;
            m_pDelayedClosePopupMenuButton = nullptr;
            KillTimer(QMXP_TIMER_DELAYED_CLOSE);
            pClose->OnCancelMode();
        }
        CQMXPToolbarMenuButton* pOpen = m_pDelayedPopupMenuButton;
        m_pDelayedPopupMenuButton = nullptr;
        if (::IsWindow(hwndThis) && pOpen != nullptr && pOpen == GetHighlightedButton())
            pOpen->OpenPopupMenu(this);
        return;
    }
    if (nIDEvent == QMXP_TIMER_DELAYED_CLOSE) {
        KillTimer(QMXP_TIMER_DELAYED_CLOSE);
        CQMXPToolbarMenuButton* pClose = m_pDelayedClosePopupMenuButton;
        m_pDelayedClosePopupMenuButton = nullptr;
        if (pClose != nullptr)
            pClose->OnCancelMode();
        if (::IsWindow(hwndThis)) {
            CQMXPPopupMenu* pPopup = GetParentPopup();
            if (pPopup != nullptr)
                CQMXPPopupMenu::RegisterActivePopup(pPopup->GetOwnerFrame(), pPopup);
        }
        return;
    }
    CQMXPToolBar::OnTimer(nIDEvent);
}

BOOL CQMXPPopupMenuBar::SetHot(int iHot) {
    CQMXPToolbarMenuButton* pOpen = FindOpenMenuButton();
    CQMXPToolbarButton* pNew = GetButton(iHot);
    if (pOpen != nullptr && pNew == pOpen) {
        if (m_pDelayedClosePopupMenuButton == pOpen)
            CancelPendingClose();
    } else {
        const BOOL bKey = IsKeyMessage();
        if (pOpen != nullptr) {
            if (!m_bCustomizeMode && !bKey) {
                if (m_pDelayedClosePopupMenuButton != pOpen) {
                    pOpen->m_bToBeClosed = TRUE;
                    m_pDelayedClosePopupMenuButton = pOpen;
                    InvalidateButton(ButtonToIndex(pOpen));
                    KillTimer(QMXP_TIMER_DELAYED_CLOSE);
                    // A delay of 0 still closes after the next message.
                    SetTimer(QMXP_TIMER_DELAYED_CLOSE, static_cast<UINT>(std::max(m_uiPopupTimerDelay - 1, 1)),
                             nullptr);
                }
            } else {
                pOpen->OnCancelMode();
            }
        }
        if (pNew != nullptr && !bKey &&
            (pNew->m_nID == kNoCommand || pNew->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton))))
            pNew->OnClick(this, TRUE);
    }
    CQMXPPopupMenu* pPopup = GetParentPopup();
    CQMXPToolbarMenuButton* pParentButton = pPopup != nullptr ? pPopup->GetParentButton() : nullptr;
    auto* pParentBar = pParentButton != nullptr ? DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentButton->m_pWndParent)
                                                : nullptr;
    if (pParentBar != nullptr && pParentBar->m_pDelayedClosePopupMenuButton == pParentButton)
        pParentBar->CancelPendingClose();
    m_iHot = iHot;
    return TRUE;
}

// --- Keys ----------------------------------------------------------------------------------------

void CQMXPPopupMenuBar::MoveHighlight(int iNew) {
    const int iOld = m_iHighlighted;
    if (iOld == iNew)
        return;
    m_iHighlighted = iNew;
    SetHot(iNew);
    if (m_bCustomizeMode)
        m_iSelected = iNew;
    InvalidateButton(iOld);
    InvalidateButton(iNew);
    UpdateWindow();
    const CQMXPToolbarButton* pButton = GetButton(iNew);
    if (pButton != nullptr && pButton->m_nID != kNoCommand)
        ShowCommandMessageString(pButton->m_nID);
}

BOOL CQMXPPopupMenuBar::ProcessKey(UINT nChar) {
    const int nCount = GetCount();
    if (nCount == 0)
        return FALSE;
    auto selectable = [this](int i) {
        const CQMXPToolbarButton* pButton = GetButton(i);
        return pButton != nullptr && !IsSeparator(pButton) && !pButton->GetRect().IsRectEmpty();
    };
    auto openSubMenu = [this](CQMXPToolbarMenuButton* pMenuButton) {
        if (pMenuButton->OpenPopupMenu(this) && pMenuButton->GetPopupMenu() != nullptr)
            pMenuButton->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
    };
    switch (nChar) {
    case VK_RETURN: {
        CQMXPToolbarButton* pButton = GetButton(m_iHighlighted);
        if (pButton == nullptr)
            return TRUE;
        if (CQMXPToolbarMenuButton* pSubMenu = SubMenuButton(pButton)) {
            openSubMenu(pSubMenu);
            return TRUE;
        }
        CWnd* pOwner = GetOwner();
        if (pOwner != nullptr)
            pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        if (!pButton->OnClick(this, FALSE))
            OnItemClicked(pButton);
        return TRUE;
    }
    case VK_HOME:
    case VK_DOWN:
    case VK_END:
    case VK_UP: {
        const BOOL bForward = nChar == VK_HOME || nChar == VK_DOWN;
        int iStart = m_iHighlighted;
        if (nChar == VK_HOME || iStart < 0)
            iStart = bForward ? -1 : nCount;
        if (nChar == VK_END)
            iStart = nCount;
        for (int n = 0; n < nCount; ++n) {
            iStart = bForward ? (iStart + 1) % nCount : (iStart - 1 + nCount) % nCount;
            if (selectable(iStart)) {
                MoveHighlight(iStart);
                break;
            }
        }
        return TRUE;
    }
    default:
        break;
    }
    if (m_bCustomizeMode || (::GetKeyState(VK_CONTROL) & 0x8000) || !CQMXPKeyboardManager::IsCharacterKey(nChar))
        return FALSE;
    // A letter opens or runs its item at once; of items that share a letter
    // the map holds the last one.
    const UINT uiChar = CQMXPKeyboardManager::TranslateCharToUpper(nChar);
    CQMXPToolbarButton* pButton = nullptr;
    if (m_AcellKeys.Lookup(static_cast<wchar_t>(uiChar), pButton) && pButton != nullptr) {
        const int iIndex = ButtonToIndex(pButton);
        if (CQMXPToolbarMenuButton* pSubMenu = SubMenuButton(pButton)) {
            MoveHighlight(iIndex);
            openSubMenu(pSubMenu);
        } else if (pButton->m_nStyle & TBBS_DISABLED) {
            InvokeMenuCommand(0);
        } else {
            MoveHighlight(iIndex);
            if (!pButton->OnClick(this, FALSE))
                OnItemClicked(pButton);
        }
        return TRUE;
    }
    // A short menu still runs its hidden commands by their mnemonics.
    if (m_bRecentlyUsedMenus && !m_bAreAllCommandsShown) {
        const UINT uiCmd = GetHiddenMnemonicCommand(uiChar);
        if (uiCmd != 0) {
            InvokeMenuCommand(uiCmd);
            return TRUE;
        }
    }
    return FALSE;
}

// --- Mouse ---------------------------------------------------------------------------------------

CQMXPToolBar* CQMXPPopupMenuBar::FindBarUnderPoint(CPoint point) {
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    CQMXPPopupMenu* pTop = nullptr;
    for (CQMXPPopupMenu* pPopup = GetParentPopup(); pPopup != nullptr; pPopup = pPopup->GetParentPopup()) {
        CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
        CRect rect;
        pBar->GetClientRect(&rect);
        pBar->ClientToScreen(&rect);
        if (rect.PtInRect(ptScreen))
            return pBar;
        pTop = pPopup;
    }
    CQMXPToolBar* pChainBar = pTop != nullptr ? pTop->GetParentToolBar() : nullptr;
    if (pChainBar != nullptr && pChainBar->GetSafeHwnd() != nullptr) {
        CRect rect;
        pChainBar->GetWindowRect(&rect);
        if (rect.PtInRect(ptScreen))
            return pChainBar;
    }
    return nullptr;
}

BOOL CQMXPPopupMenuBar::ForwardMouse(UINT message, UINT nFlags, CPoint point) {
    CQMXPToolBar* pBar = FindBarUnderPoint(point);
    if (pBar == nullptr || pBar == this)
        return FALSE;
    ClientToScreen(&point);
    pBar->ScreenToClient(&point);
    pBar->SendMessage(message, nFlags, MAKELPARAM(point.x, point.y));
    return TRUE;
}

void CQMXPPopupMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
    m_bFirstClick = FALSE;
    m_bIsClickOutsideItem = TRUE;
    CRect rectClient;
    GetClientRect(&rectClient);
    const HWND hwndThis = m_hWnd;
    if (!rectClient.PtInRect(point) && !m_bCustomizeMode) {
        ForwardMouse(WM_LBUTTONDOWN, nFlags, point);
        if (!::IsWindow(hwndThis))
            return;
    }
    CQMXPToolBar::OnLButtonDown(nFlags, point);
    // A sub-menu opened by the press stays open beside its item: the item
    // stays highlighted instead of being marked to close.
    int iOpen = -1;
    if (::IsWindow(hwndThis) && !m_bCustomizeMode && FindOpenMenuButton(&iOpen) != nullptr &&
        iOpen == HitTest(point)) {
        CancelPendingClose();
        m_iHighlighted = iOpen;
        m_iHot = iOpen;
        InvalidateButton(iOpen);
    }
}

void CQMXPPopupMenuBar::OnLButtonUp(UINT nFlags, CPoint point) {
    CRect rectClient;
    GetClientRect(&rectClient);
    const HWND hwndThis = m_hWnd;
    if (!rectClient.PtInRect(point) && !m_bFirstClick && !m_bCustomizeMode) {
        ForwardMouse(WM_LBUTTONUP, nFlags, point);
        if (::IsWindow(hwndThis)) {
            if (CQMXPPopupMenu* pPopup = GetParentPopup())
                pPopup->SendMessage(WM_CLOSE);
        }
        return;
    }
    if (!m_bIsClickOutsideItem)
        return;
    if (!m_bCustomizeMode && m_iButtonCapture < 0 && m_iHighlighted >= 0)
        m_iButtonCapture = m_iHighlighted;
    CQMXPToolBar::OnLButtonUp(nFlags, point);
}

void CQMXPPopupMenuBar::OnMouseMove(UINT nFlags, CPoint point) {
    // A menu that opens under the pointer at rest takes no item from it
    // until the pointer moves, as in every Windows program: the window that
    // just appeared under it gets moves of its own (under Wine more than one).
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (m_bPointerResting && ptScreen == m_ptRestAtOpen)
        return;
    m_bPointerResting = FALSE;
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!rectClient.PtInRect(point) && !m_bCustomizeMode) {
        ForwardMouse(WM_MOUSEMOVE, nFlags, point);
        return;
    }
    CQMXPToolBar::OnMouseMove(nFlags, point);
}

void CQMXPPopupMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const CQMXPToolbarButton* pButton = GetButton(HitTest(point));
    if (pButton != nullptr && pButton->m_nID == kNoCommand) {
        Default();
        return;
    }
    CQMXPToolBar::OnLButtonDblClk(nFlags, point);
}

void CQMXPPopupMenuBar::OnDestroy() {
    KillTimer(QMXP_TIMER_DELAYED_OPEN);
    KillTimer(QMXP_TIMER_DELAYED_CLOSE);
    m_pDelayedPopupMenuButton = nullptr;
    m_pDelayedClosePopupMenuButton = nullptr;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, m_Buttons.GetNext(pos));
        if (pMenuButton != nullptr && pMenuButton->IsDroppedDown())
            pMenuButton->GetPopupMenu()->PostMessage(WM_CLOSE);
    }
    CQMXPToolBar::OnDestroy();
}
