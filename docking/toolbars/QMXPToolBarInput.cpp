// How a tool bar answers the mouse and the keyboard outside customise
// mode: the hot and the pressed button, check buttons, the command sent to
// the owner, the status prompts, focus and the command-update route.
#include "docking/frames/QMXPReBar.h"
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPTrackMouse.h"
#include "docking/toolbars/OldToolCmdUI.h"
#include "docking/toolbars/QMXPDropDownToolbarButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPHotEdit.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPToolbarSystemMenuButton.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/FrameWnd.h"

namespace {

// Installed during the frames' context-help mode.
HHOOK g_hookMouseHelp = nullptr;
CQMXPToolBar* g_pLastHookedToolbar = nullptr;

constexpr UINT kSysCommandFirst = 0xF000;
constexpr UINT kSysCommandEnd = 0xF1F0;
constexpr UINT kReservedFirst = 0xFF00;
constexpr UINT kSysCommandPrompts = 0xEF00;
constexpr UINT kReservedPrompt = 0xEF1F;
const CPoint kNoPoint(-1, -1);

// Commands the bar never asks the targets about.
bool IsUpdatedCommand(const CQMXPToolbarButton* pButton) {
    const UINT uiID = pButton->m_nID;
    return !(pButton->m_nStyle & TBBS_SEPARATOR) && uiID != 0 && !(uiID >= kSysCommandFirst && uiID < kSysCommandEnd) &&
           uiID < kReservedFirst;
}

}  // namespace

int CQMXPToolBar::HitTest(CPoint point) {
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton->m_bVisible && pButton->GetRect().PtInRect(point))
            return (pButton->m_nStyle & TBBS_SEPARATOR) ? -1 : iIndex;
    }
    return -1;
}

// --- Mouse ---------------------------------------------------------------------------------------

void CQMXPToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bStretchButton) {
        TrackStretch(point);
        return;
    }
    if ((m_bCustomizeMode && !m_bLocked) || IsCaptured()) {
        CQMXPBaseToolBar::OnMouseMove(nFlags, point);
        return;
    }
    TrackMouse(point);
    CQMXPBaseToolBar::OnMouseMove(nFlags, point);
}

void CQMXPToolBar::TrackMouse(CPoint point) {
    if (m_ptLastMouse != kNoPoint && point == m_ptLastMouse)
        return;
    m_ptLastMouse = point;
    const int iPrevHighlighted = m_iHighlighted;
    int iHot = HitTest(point);
    if (iHot == -1 && GetCapture() == this)
        return;
    const CQMXPToolbarButton* pHot = GetButton(iHot);
    if (pHot != nullptr && (pHot->m_nStyle & (TBBS_SEPARATOR | TBBS_DISABLED)))
        iHot = -1;
    m_iHighlighted = iHot;

    if (!m_bTracked) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracked = QMXPTrackMouse(&trackmouseevent);
    }
    if (iPrevHighlighted == m_iHighlighted)
        return;

    BOOL bUpdate = FALSE;
    CQMXPToolbarButton* pCaptured = GetButton(m_iButtonCapture);
    if (pCaptured != nullptr) {
        UINT nNewStyle = pCaptured->m_nStyle & ~TBBS_PRESSED;
        if (m_iHighlighted == m_iButtonCapture)
            nNewStyle |= TBBS_PRESSED;
        if (nNewStyle != pCaptured->m_nStyle) {
            SetButtonStyle(m_iButtonCapture, nNewStyle);
            bUpdate = TRUE;
        }
    }
    if (IsMenuMode() || m_iButtonCapture == -1 || iPrevHighlighted == m_iButtonCapture) {
        InvalidateButton(iPrevHighlighted);
        bUpdate = TRUE;
    }
    if (IsMenuMode() || m_iButtonCapture == -1 || m_iHighlighted == m_iButtonCapture) {
        InvalidateButton(m_iHighlighted);
        bUpdate = TRUE;
    }
    if (m_iHighlighted == -1 || (!IsMenuMode() && m_iButtonCapture != -1 && m_iHighlighted != m_iButtonCapture)) {
        if (m_iButtonCapture == -1 || (IsMenuMode() && m_iHighlighted == -1))
            SendIdlePrompt();
    } else {
        ShowCommandMessageString(GetButton(m_iHighlighted)->m_nID);
    }
    SetHot(m_iHighlighted);
    if (bUpdate)
        UpdateWindow();
}

void CQMXPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    const int iHit = HitTest(point);
    if (m_bCustomizeMode)
        m_pSelToolbar = this;
    if (iHit < 0) {
        m_iButtonCapture = -1;
        if (m_bCustomizeMode && !m_bLocked) {
            m_iSelected = -1;
            SetHot(-1);
            Invalidate();
        }
        if (CanFloat())
            ::SetCursor(globalData.hcurMove);
        CQMXPBaseToolBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (!m_bCustomizeMode && m_bAltCustomization && !m_bLocked && (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0)
        m_bAltCustomizing = TRUE;
    if ((m_bCustomizeMode || m_bAltCustomizing) && !m_bLocked) {
        OnCustomizePress(nFlags, point, iHit);
        return;
    }
    m_iButtonCapture = iHit;
    CQMXPToolbarButton* pButton = GetButton(iHit);
    UpdateButtonCmdUI(iHit);
    // A drop-down button opens its bar even when its own command is disabled.
    if ((pButton->m_nStyle & TBBS_DISABLED) && !pButton->IsKindOf(RUNTIME_CLASS(CQMXPDropDownToolbarButton))) {
        m_iButtonCapture = -1;
        return;
    }
    pButton->m_nStyle |= TBBS_PRESSED;
    InvalidateButton(iHit);
    UpdateWindow();
    ShowCommandMessageString(pButton->m_nID);
    if (pButton->OnClick(this, FALSE)) {
        // A menu may have rebuilt the bar meanwhile.
        const int iNow = ButtonToIndex(pButton);
        if (iNow >= 0)
            pButton->m_nStyle &= ~TBBS_PRESSED;
        m_iButtonCapture = -1;
        m_iHighlighted = -1;
        SetHot(-1);
        InvalidateButton(iNow);
        UpdateWindow();
        return;
    }
    m_pWndLastCapture = SetCapture();
}

void CQMXPToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bStretchButton) {
        EndStretch(TRUE, point);
        return;
    }
    if ((m_bCustomizeMode && !m_bLocked) || IsCaptured() || IsDragMode()) {
        CQMXPBaseToolBar::OnLButtonUp(nFlags, point);
        return;
    }
    if (m_iButtonCapture == -1) {
        if (HitTest(point) == -1) {
            CQMXPBaseToolBar::OnLButtonUp(nFlags, point);
            m_ptLastMouse = kNoPoint;
        }
        return;
    }
    ::ReleaseCapture();
    if (m_pWndLastCapture != nullptr && ::IsWindow(m_pWndLastCapture->GetSafeHwnd()))
        m_pWndLastCapture->SetCapture();
    m_pWndLastCapture = nullptr;

    const int iCapture = m_iButtonCapture;
    const BOOL bOverPressed = HitTest(point) == iCapture;
    CQMXPToolbarButton* pButton = GetButton(iCapture);
    UINT nNewStyle = pButton->m_nStyle & ~TBBS_PRESSED;
    UINT nIDCmd = 0;
    BOOL bEnabled = FALSE;
    if (bOverPressed) {
        UpdateButtonCmdUI(iCapture);
        nNewStyle = pButton->m_nStyle & ~TBBS_PRESSED;
        if (!(pButton->m_nStyle & TBBS_DISABLED)) {
            bEnabled = TRUE;
            nIDCmd = pButton->m_nID;
            if (pButton->m_nStyle & TBBS_CHECKBOX) {
                nNewStyle &= ~TBBS_INDETERMINATE;
                nNewStyle ^= TBBS_CHECKED;
            }
        }
    }
    SendIdlePrompt();
    m_iButtonCapture = -1;
    m_iHighlighted = -1;
    RestoreFocus();

    const HWND hwndThis = m_hWnd;
    // The bar's own click comes first, whatever the command (the menu bar's
    // window buttons have none); a menu's command may close the bar and
    // rebuild or delete its buttons.
    if (bOverPressed && bEnabled && OnItemClicked(pButton)) {
        if (::IsWindow(hwndThis) && FromHandlePermanent(hwndThis) == this)
            m_ptLastMouse = kNoPoint;
        return;
    }
    if (bOverPressed && nIDCmd != 0 && nIDCmd != static_cast<UINT>(-1)) {
        InvalidateButton(iCapture);
        UpdateWindow();
        CountCommandUse(nIDCmd);
        if (!pButton->OnClickUp() &&
            !(qmxUserToolsManager != nullptr && qmxUserToolsManager->RunTool(nIDCmd))) {
            CWnd* pOwner = GetOwner();
            if (pOwner != nullptr)
                pOwner->SendMessage(WM_COMMAND, nIDCmd, 0);
        }
    } else if (!bOverPressed && IsWindowVisible() && IsWindowEnabled()) {
        pButton->OnClickUp();
    }
    // The command may have destroyed the bar or rebuilt its buttons.
    if (!::IsWindow(hwndThis) || FromHandlePermanent(hwndThis) != this)
        return;
    if (iCapture < GetCount()) {
        SetButtonStyle(iCapture, nNewStyle);
        UpdateButtonCmdUI(iCapture);
        InvalidateButton(iCapture);
        UpdateWindow();
    }
    m_ptLastMouse = kNoPoint;
    TrackMouse(point);
}

void CQMXPToolBar::OnMouseLeave() {
    if (g_hookMouseHelp != nullptr)
        return;
    // A menu bar keeps its open menu's button hot.
    if (!m_bCustomizeMode && IsKindOf(RUNTIME_CLASS(CQMXPMenuBar)) && FindOpenMenuButton() != nullptr) {
        m_bTracked = FALSE;
        return;
    }
    m_bTracked = FALSE;
    m_ptLastMouse = kNoPoint;
    if (m_iHighlighted < 0)
        return;
    HWND hwndTab = nullptr;
    GetParentTabWnd(hwndTab);
    HWND hwndFocus = ::GetFocus();
    const BOOL bFocused = hwndFocus == m_hWnd ||
                          (hwndTab != nullptr && (hwndFocus == hwndTab || hwndFocus == ::GetParent(hwndTab)));
    if (bFocused)
        return;
    const int iOld = m_iHighlighted;
    m_iHighlighted = -1;
    SetHot(-1);
    InvalidateButton(iOld);
    UpdateWindow();
    SendIdlePrompt();
}

void CQMXPToolBar::CancelMouseState() {
    CQMXPToolbarButton* pCaptured = GetButton(m_iButtonCapture);
    if (pCaptured != nullptr) {
        SetButtonStyle(m_iButtonCapture, pCaptured->m_nStyle & ~TBBS_PRESSED);
        if (GetCapture() == this) {
            ::ReleaseCapture();
            if (m_pWndLastCapture != nullptr && ::IsWindow(m_pWndLastCapture->GetSafeHwnd()))
                m_pWndLastCapture->SetCapture();
            m_pWndLastCapture = nullptr;
        }
    }
    if (m_iButtonCapture >= 0 || m_iHighlighted >= 0) {
        m_iButtonCapture = -1;
        m_iHighlighted = -1;
        SetHot(-1);
    }
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->OnCancelMode();
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CQMXPToolBar::OnCancelMode() {
    EndStretch(FALSE, CPoint(0, 0));
    CQMXPBaseToolBar::OnCancelMode();
    CancelMouseState();
}

void CQMXPToolBar::OnContextMenu(CWnd* pWnd, CPoint point) {
    if (m_bLocked && m_bCustomizeMode) {
        ::MessageBeep(static_cast<UINT>(-1));
        return;
    }
    if (m_iHighlighted >= 0) {
        const int iOld = m_iHighlighted;
        m_iHighlighted = -1;
        SetHot(-1);
        InvalidateButton(iOld);
    }
    if (!m_bCustomizeMode)
        CQMXPBaseToolBar::OnContextMenu(pWnd, point);
    else
        ShowCustomizeMenu(point);
}

BOOL CQMXPToolBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    // A resize under way, or the selected control's right edge in customise
    // mode, where a press starts one.
    const BOOL bCustomizing = m_bCustomizeMode && !m_bLocked;
    if (globalData.hcurStretchHorz != nullptr &&
        (m_bStretchButton || (bCustomizing && m_pSelToolbar == this && IsOnStretchEdge(GetButton(m_iSelected), point)))) {
        ::SetCursor(globalData.hcurStretchHorz);
        return TRUE;
    }
    if (m_rectGripper.PtInRect(point) && CanFloat() && globalData.hcurMove != nullptr) {
        ::SetCursor(globalData.hcurMove);
        return TRUE;
    }
    return CQMXPBaseToolBar::OnSetCursor(pWnd, nHitTest, message);
}

void CQMXPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const int iHit = HitTest(point);
    if (iHit < 0) {
        CQMXPBaseToolBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    // The button's own double click first (the system-menu button closes
    // the child); any other button takes it as a second press.
    const HWND hwndThis = m_hWnd;
    if (GetButton(iHit)->OnDblClick(this) || !::IsWindow(hwndThis))
        return;
    OnLButtonDown(nFlags, point);
}

// --- Focus and keys ------------------------------------------------------------------------------

void CQMXPToolBar::OnSetFocus(CWnd* pOldWnd) {
    CQMXPBaseToolBar::OnSetFocus(pOldWnd);
    HWND hwndTab = nullptr;
    if (GetParentTabWnd(hwndTab) != nullptr || pOldWnd == nullptr)
        return;
    HWND hwndOld = pOldWnd->GetSafeHwnd();
    auto isToolBar = [](HWND hwnd) {
        return hwnd != nullptr && DYNAMIC_DOWNCAST(CQMXPToolBar, CWnd::FromHandlePermanent(hwnd)) != nullptr;
    };
    if (!isToolBar(hwndOld) && !isToolBar(::GetParent(hwndOld)))
        m_hwndLastFocus = hwndOld;
}

void CQMXPToolBar::OnKillFocus(CWnd* pNewWnd) {
    CQMXPBaseToolBar::OnKillFocus(pNewWnd);
    if (m_bCustomizeMode)
        return;
    // The focus going to a menu this bar opened keeps the bar active.
    auto* pPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pNewWnd);
    if (pPopup != nullptr && pPopup->GetParentToolBar() == this)
        return;
    Deactivate();
}

BOOL CQMXPToolBar::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (m_wndToolTip.GetSafeHwnd() != nullptr)
            m_wndToolTip.RelayEvent(pMsg);
        break;
    default:
        break;
    }
    // The edit of a control that a button hosts (a combo box of the
    // application's own) keeps its editing keys as the library's edits do.
    if (pMsg->message == WM_KEYDOWN && ::IsChild(m_hWnd, pMsg->hwnd) &&
        CQMXPHotEdit::RouteEditingKey(pMsg->hwnd, pMsg))
        return TRUE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && m_bStretchButton) {
        EndStretch(FALSE, CPoint(0, 0));
        return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && FindOpenMenuButton() == nullptr) {
        Deactivate();
        RestoreFocus();
        return TRUE;
    }
    return CQMXPBaseToolBar::PreTranslateMessage(pMsg);
}

void CQMXPToolBar::Deactivate() {
    if (m_iHighlighted >= 0 && m_iHighlighted < GetCount()) {
        const int iOld = m_iHighlighted;
        m_iHighlighted = -1;
        m_iHot = -1;
        InvalidateButton(iOld);
        UpdateWindow();
        SendIdlePrompt();
    }
    RestoreFocus();
}

void CQMXPToolBar::RestoreFocus() {
    if (::IsWindow(m_hwndLastFocus))
        ::SetFocus(m_hwndLastFocus);
    m_hwndLastFocus = nullptr;
}

BOOL CQMXPToolBar::ProcessMnemonic(UINT uiChar) {
    CString strChar(static_cast<wchar_t>(uiChar));
    strChar.MakeUpper();
    CQMXPToolbarButton* pButton = nullptr;
    if (strChar.IsEmpty() || !m_AcellKeys.Lookup(strChar[0], pButton) || pButton == nullptr)
        return FALSE;
    if (DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton) != nullptr) {
        // A menu opened from the keyboard shows at once.
        const int nSavedAnimation = CQMXPPopupMenu::animationType;
        CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
        const BOOL bOpened = OpenMenuButton(pButton);
        CQMXPPopupMenu::animationType = nSavedAnimation;
        return bOpened;
    }
    return InvokeButtonCommand(pButton);
}

CQMXPToolbarMenuButton* CQMXPToolBar::FindOpenMenuButton(int* piIndex) const {
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, m_Buttons.GetNext(pos));
        if (pMenuButton != nullptr && pMenuButton->IsDroppedDown()) {
            if (piIndex != nullptr)
                *piIndex = iIndex;
            return pMenuButton;
        }
    }
    if (piIndex != nullptr)
        *piIndex = -1;
    return nullptr;
}

BOOL CQMXPToolBar::OpenMenuButton(CQMXPToolbarButton* pButton) {
    auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
    if (pMenuButton == nullptr || !pMenuButton->OnClick(this, TRUE))
        return FALSE;
    if (pMenuButton->IsDroppedDown())
        pMenuButton->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
    m_iHot = ButtonToIndex(pMenuButton);
    return TRUE;
}

namespace {

// The menu button nStep places from iFrom that is not disabled, going round.
int NeighbourMenuButton(const CQMXPToolBar& bar, int iFrom, int nStep) {
    const int nCount = bar.GetCount();
    for (int n = 1; n < nCount; ++n) {
        const int i = ((iFrom + nStep * n) % nCount + nCount) % nCount;
        const CQMXPToolbarButton* pButton = bar.GetButton(i);
        if (DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, const_cast<CQMXPToolbarButton*>(pButton)) != nullptr &&
            !(pButton->m_nStyle & TBBS_DISABLED))
            return i;
    }
    return -1;
}

}  // namespace

BOOL CQMXPToolBar::MoveToNeighbourMenu(int nStep) {
    int iOpen = -1;
    if (FindOpenMenuButton(&iOpen) == nullptr)
        return FALSE;
    const int iNew = NeighbourMenuButton(*this, iOpen, nStep);
    if (iNew < 0)
        return TRUE;
    // The next menu shows at once.
    const int nSavedAnimation = CQMXPPopupMenu::animationType;
    CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
    m_iHighlighted = iNew;
    SetHot(iNew);
    CQMXPPopupMenu::animationType = nSavedAnimation;
    auto* pNew = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, GetButton(iNew));
    if (pNew != nullptr && pNew->IsDroppedDown())
        pNew->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
    return TRUE;
}

BOOL CQMXPToolBar::PrevMenu() { return MoveToNeighbourMenu(-1); }

BOOL CQMXPToolBar::NextMenu() { return MoveToNeighbourMenu(1); }

BOOL CQMXPToolBar::SetHot(int iHot) {
    if (m_iHot == iHot) {
        m_iHot = -1;
        return TRUE;
    }
    CQMXPToolbarMenuButton* pOpen = FindOpenMenuButton();
    if (pOpen == nullptr && !m_bCustomizeMode)
        return TRUE;
    const int iOldHot = m_iHot;
    if (iHot < 0 || iHot >= GetCount()) {
        m_iHot = -1;
        if (m_bCustomizeMode && pOpen != nullptr)
            pOpen->OnCancelMode();
        return TRUE;
    }
    CQMXPToolbarButton* pButton = GetButton(iHot);
    if (pButton == pOpen) {
        if (m_bCustomizeMode && pOpen->IsDroppedDown())
            pOpen->OnCancelMode();
    } else {
        if (pOpen != nullptr) {
            // The open menu closes; the hot button stays while it does.
            const int iSavedHighlighted = m_iHighlighted;
            if (!m_bCustomizeMode)
                m_iHighlighted = -1;
            pOpen->OnCancelMode();
            m_iHighlighted = iSavedHighlighted;
        }
        if (DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton) != nullptr &&
            !(m_bCustomizeMode && pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarSystemMenuButton))))
            pButton->OnClick(this, TRUE);
    }
    m_iHot = iHot;
    if (m_bCustomizeMode && m_iDragIndex < 0 && !(pButton->m_nStyle & TBBS_SEPARATOR))
        m_iSelected = iHot;
    m_iHighlighted = m_iHot;
    InvalidateButton(iOldHot);
    InvalidateButton(m_iHot);
    UpdateWindow();
    return TRUE;
}

// --- Commands ------------------------------------------------------------------------------------

void CQMXPToolBar::SendIdlePrompt() {
    if (g_hookMouseHelp != nullptr)
        return;
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CQMXPToolBar::ShowCommandMessageString(UINT uiCmdId) {
    if (g_hookMouseHelp != nullptr)
        return;
    if (uiCmdId == static_cast<UINT>(-1)) {
        SendIdlePrompt();
        return;
    }
    UINT uiPrompt = uiCmdId;
    if (uiCmdId >= kSysCommandFirst && uiCmdId < kSysCommandEnd)
        uiPrompt = kSysCommandPrompts + ((uiCmdId - kSysCommandFirst) >> 4);
    else if (uiCmdId >= kReservedFirst)
        uiPrompt = kReservedPrompt;
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_SETMESSAGESTRING, uiPrompt);
}

CWnd* CQMXPToolBar::GetCommandTarget() const {
    CWnd* pOwner = GetOwnerFrame();
    if (pOwner != nullptr && m_bRouteCommandsViaFrame && !pOwner->IsFrameWnd()) {
        CFrameWnd* pDockSite = GetDockSiteFrameWnd();
        if (pDockSite != nullptr)
            return pDockSite;
    }
    if (pOwner != nullptr)
        return pOwner;
    return QMXFindOwnerFrame(const_cast<CQMXPToolBar*>(this));
}

BOOL CQMXPToolBar::InvokeButtonCommand(CQMXPToolbarButton* pButton) {
    if (pButton == nullptr || pButton->m_nID == 0 || pButton->m_nID == static_cast<UINT>(-1))
        return FALSE;
    PlayMenuSound(QMXP_SOUND_MENU_COMMAND);
    CountCommandUse(pButton->m_nID);
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->PostMessage(WM_COMMAND, pButton->m_nID, 0);
    return TRUE;
}

BOOL CQMXPToolBar::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (m_bCustomizeMode && !m_bLocked)
        return CQMXPBaseToolBar::OnCommand(wParam, lParam);
    HWND hwndCtl = reinterpret_cast<HWND>(lParam);
    UINT uiCode = HIWORD(wParam);
    BOOL bEnter = FALSE;
    if (hwndCtl == nullptr) {
        if (LOWORD(wParam) == IDCANCEL) {
            RestoreFocus();
            return TRUE;
        }
        if (LOWORD(wParam) != IDOK)
            return FALSE;
        hwndCtl = ::GetFocus();
        uiCode = 0;
        bEnter = TRUE;
    }
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (hwndCtl == nullptr || !pButton->IsOwnerOf(hwndCtl))
            continue;
        if (bEnter || pButton->OnCommandNotify(uiCode)) {
            CWnd* pOwner = GetOwner();
            if (pOwner != nullptr)
                pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(pButton->m_nID, uiCode), lParam);
        }
        return TRUE;
    }
    return FALSE;
}

// --- Command states ------------------------------------------------------------------------------

void CQMXPToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    COldToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    BOOL bUserTools = FALSE;
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        const CQMXPToolbarButton* pButton = GetButton(static_cast<int>(state.m_nIndex));
        if (pButton == nullptr)
            break;
        if (qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(pButton->m_nID))
            bUserTools = TRUE;
        if (!IsUpdatedCommand(pButton))
            continue;
        state.m_nID = pButton->m_nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler && !bUserTools);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler && !bUserTools && m_bDisableControlsIfNoHandler);
}

void CQMXPToolBar::UpdateButtonCmdUI(int iButton) {
    const CQMXPToolbarButton* pButton = GetButton(iButton);
    CWnd* pTarget = GetCommandTarget();
    if (pButton == nullptr || pTarget == nullptr || !IsUpdatedCommand(pButton))
        return;
    COldToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndex = static_cast<UINT>(iButton);
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    state.m_nID = pButton->m_nID;
    const BOOL bAutoDisable = pTarget->IsFrameWnd() && static_cast<CFrameWnd*>(pTarget)->m_bAutoMenuEnable &&
                              !(qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(pButton->m_nID));
    state.DoUpdate(pTarget, bAutoDisable);
}

// --- Help ----------------------------------------------------------------------------------------

LRESULT CQMXPToolBar::OnHelpHitTest(WPARAM wParam, LPARAM lParam) {
    CancelMouseState();
    const int iHit = HitTest(CPoint(lParam));
    if (iHit < 0) {
        ::MessageBeep(static_cast<UINT>(-1));
        return -1;
    }
    const LRESULT lResult = CQMXPBaseToolBar::OnHelpHitTest(wParam, lParam);
    if (lResult > 0)
        SetHelpModeMouseHook(FALSE);
    return lResult;
}

LRESULT CALLBACK CQMXPToolBar::HelpModeMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode != HC_ACTION)
        return ::CallNextHookEx(g_hookMouseHelp, nCode, wParam, lParam);
    if (wParam == WM_MOUSEMOVE) {
        const auto* pHook = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPToolBar, CWnd::FromHandlePermanent(::WindowFromPoint(pHook->pt)));
        if (pBar != nullptr) {
            CPoint point(pHook->pt);
            pBar->ScreenToClient(&point);
            pBar->TrackMouse(point);
        }
        CQMXPToolBar* pLast = g_pLastHookedToolbar;
        if (pLast != nullptr && pLast != pBar && ::IsWindow(pLast->GetSafeHwnd())) {
            pLast->m_bTracked = FALSE;
            pLast->m_ptLastMouse = kNoPoint;
            const int iOld = pLast->m_iHighlighted;
            pLast->m_iHighlighted = -1;
            pLast->SetHot(-1);
            pLast->InvalidateButton(iOld);
            pLast->UpdateWindow();
        }
        g_pLastHookedToolbar = pBar;
    }
    return 0;
}

void CQMXPToolBar::SetHelpModeMouseHook(BOOL bSet) {
    if (bSet) {
        if (g_hookMouseHelp == nullptr)
            g_hookMouseHelp = ::SetWindowsHookExW(WH_MOUSE, HelpModeMouseHookProc, nullptr, ::GetCurrentThreadId());
        return;
    }
    if (g_hookMouseHelp == nullptr)
        return;
    ::UnhookWindowsHookEx(g_hookMouseHelp);
    g_hookMouseHelp = nullptr;
    g_pLastHookedToolbar = nullptr;
    for (CQMXPToolBar* pBar : GetAllToolbars()) {
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->CancelMouseState();
    }
}

// --- Size ----------------------------------------------------------------------------------------

void CQMXPToolBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) { CQMXPBaseToolBar::OnWindowPosChanging(lpwndpos); }

BOOL CQMXPToolBar::IsInReBar() const { return DYNAMIC_DOWNCAST(CQMXPReBar, GetParent()) != nullptr; }

void CQMXPToolBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CQMXPBaseToolBar::OnWindowPosChanged(lpwndpos);
    // The open customisation sheet keeps its marks in step with the bars; a
    // bar that goes out of sight no longer holds the selection.
    if (m_bCustomizeMode && !m_bLocked && g_pWndCustomize != nullptr &&
        (lpwndpos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0) {
        const BOOL bShow = (lpwndpos->flags & SWP_SHOWWINDOW) != 0;
        if (!bShow && m_pSelToolbar == this) {
            m_pSelToolbar = nullptr;
            m_iSelected = -1;
        }
        g_pWndCustomize->ShowToolBar(this, bShow);
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const CSize sizeNew = rectWindow.Size();
    const BOOL bGrew = sizeNew.cx > m_sizeLast.cx || sizeNew.cy > m_sizeLast.cy;
    m_sizeLast = sizeNew;
    // In a rebar the band sized the bar: its buttons follow the new size.
    const BOOL bInReBar = IsInReBar();
    if (bInReBar && (lpwndpos->flags & SWP_NOSIZE) == 0)
        AdjustLocations();
    if (bGrew || bInReBar)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
