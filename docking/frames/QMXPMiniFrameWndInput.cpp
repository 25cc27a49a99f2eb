// CQMXPMiniFrameWnd: its non-client area, the mouse (moves, caption
// buttons, drops), timers, sizing and activation.
#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPTabbedToolbar.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

BEGIN_MESSAGE_MAP(CQMXPMiniFrameWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOVING()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_SIZING()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_NCACTIVATE()
    ON_WM_NCCREATE()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_ERASEBKGND()
    ON_WM_NCDESTROY()
    ON_WM_CANCELMODE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_GETMINMAXINFO()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_WM_CHAR()
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_SETFOCUS()
    ON_REGISTERED_MESSAGE(QMXPMSG_CHECKEMPTYMINIFRAME, OnCheckEmptyMiniFrame)
    ON_WM_EXITSIZEMOVE()
END_MESSAGE_MAP()

namespace {

// WM_FLOATSTATUS bits.
constexpr WPARAM kFloatShow = 0x01;
constexpr WPARAM kFloatHide = 0x02;
constexpr WPARAM kFloatActivate = 0x04;
constexpr WPARAM kFloatDeactivate = 0x08;
constexpr WPARAM kFloatEnable = 0x10;
constexpr WPARAM kFloatDisable = 0x20;

constexpr COLORREF kDockPlaceColor = RGB(127, 0, 0);
constexpr COLORREF kDockTabColor = RGB(0, 0, 127);

// The owning frame's tracking of a dragged floating frame; TRUE to go on moving.
BOOL FrameMoveMiniFrame(CWnd* pFrame, CQMXPMiniFrameWnd* pMiniFrame) {
    if (pFrame == nullptr)
        return TRUE;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMDIFrameWnd)))
        return static_cast<CQMXPMDIFrameWnd*>(pFrame)->OnMoveMiniFrame(pMiniFrame);
    if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd)))
        return static_cast<CQMXPMDIChildWnd*>(pFrame)->OnMoveMiniFrame(pMiniFrame);
    if (pFrame->IsKindOf(RUNTIME_CLASS(CQMXPFrameWnd)))
        return static_cast<CQMXPFrameWnd*>(pFrame)->OnMoveMiniFrame(pMiniFrame);
    return TRUE;
}

}  // namespace

// Hit test and non-client area --------------------------------------------------

LRESULT CQMXPMiniFrameWnd::HitTest(CPoint point, BOOL bDetectCaption) const {
    if (CQMXPToolBar::m_bCustomizeMode && !HoldsToolBar())
        return HTNOWHERE;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (!rectWindow.PtInRect(point))
        return HTNOWHERE;
    CRect rectClient = ClientRectInWindow() + rectWindow.TopLeft();
    if (rectClient.PtInRect(point))
        return HTCLIENT;
    CRect rectCaption;
    GetCaptionRect(rectCaption);
    rectCaption += rectWindow.TopLeft();
    if (rectCaption.PtInRect(point)) {
        if (bDetectCaption)
            return HTCAPTION;
        CQMXPCaptionButton* pButton = ButtonFromPoint(point);
        return pButton != nullptr ? static_cast<LRESULT>(pButton->m_nHit) : HTCLIENT;
    }
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    const CPoint pt = point - rectWindow.TopLeft();
    const int cx = rectWindow.Width();
    const int cy = rectWindow.Height();
    if (HoldsToolBar()) {
        if (pt.y < rectBorder.top)
            return HTTOP;
        if (pt.x < rectBorder.left)
            return HTLEFT;
        if (pt.y >= cy - rectBorder.bottom)
            return HTBOTTOM;
        if (pt.x >= cx - rectBorder.right)
            return HTRIGHT;
        return HTNOWHERE;
    }
    const int cxCorner = ::GetSystemMetrics(SM_CXCURSOR) / 2;
    const int cyCorner = ::GetSystemMetrics(SM_CYCURSOR) / 2;
    const BOOL bLeft = pt.x < cxCorner;
    const BOOL bRight = pt.x >= cx - cxCorner;
    const BOOL bTop = pt.y < cyCorner;
    const BOOL bBottom = pt.y >= cy - cyCorner;
    if (pt.y < rectBorder.top)
        return bLeft ? HTTOPLEFT : (bRight ? HTTOPRIGHT : HTTOP);
    if (pt.x >= cx - rectBorder.right)
        return bTop ? HTTOPRIGHT : (bBottom ? HTBOTTOMRIGHT : HTRIGHT);
    if (pt.y >= cy - rectBorder.bottom)
        return bRight ? HTBOTTOMRIGHT : (bLeft ? HTBOTTOMLEFT : HTBOTTOM);
    if (pt.x < rectBorder.left)
        return bBottom ? HTBOTTOMLEFT : (bTop ? HTTOPLEFT : HTLEFT);
    return HTNOWHERE;
}

LRESULT CQMXPMiniFrameWnd::OnNcHitTest(CPoint point) { return HitTest(point, FALSE); }

void CQMXPMiniFrameWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    RECT& rect = lpncsp->rgrc[0];
    rect.left += rectBorder.left;
    rect.top += rectBorder.top + m_nCaptionHeight;
    rect.right -= rectBorder.right;
    rect.bottom -= rectBorder.bottom;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
}

void CQMXPMiniFrameWnd::DrawBorders(CDC* pDC, CRect rectWindow) {
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager == nullptr || pDockManager->m_bRedrawLocked)
        return;
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    if (HoldsToolBar()) {
        pDC->FillRect(rectWindow, &globalData.brBtnFace);
        CQMXPVisualManager::GetInstance()->OnDrawMiniFrameBorder(pDC, this, rectWindow, rectBorder);
        return;
    }
    const COLORREF clrMode = m_nDockMode == QMXP_DOCK_PLACE ? kDockPlaceColor
                             : m_nDockMode == QMXP_DOCK_TAB ? kDockTabColor
                                                            : ::GetSysColor(COLOR_3DFACE);
    pDC->Draw3dRect(rectWindow, clrMode, ::GetSysColor(COLOR_3DDKSHADOW));
    rectWindow.DeflateRect(1, 1);
    pDC->Draw3dRect(rectWindow, ::GetSysColor(COLOR_3DHILIGHT),
                    m_nDockMode != QMXP_DOCK_NONE ? clrMode : ::GetSysColor(COLOR_3DSHADOW));
    rectWindow.DeflateRect(rectBorder.left - 2, rectBorder.top - 2, rectBorder.right - 2, rectBorder.bottom - 2);
    for (int i = 0; i < 2; ++i) {
        rectWindow.InflateRect(1, 1);
        pDC->Draw3dRect(rectWindow, ::GetSysColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DFACE));
    }
}

void CQMXPMiniFrameWnd::OnNcPaint() {
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    const CRect rectClient = ClientRectInWindow();
    dc.ExcludeClipRect(rectClient);
    if (!m_rectRedraw.IsRectEmpty())
        dc.IntersectClipRect(m_rectRedraw);
    DrawBorders(&dc, rectWindow);
    CRect rectCaption;
    GetCaptionRect(rectCaption);
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const COLORREF clrText = pManager->OnFillMiniFrameCaption(&dc, rectCaption, this, m_bActive);
    int xButtons = rectCaption.right;
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPCaptionButton*>(m_lstCaptionButtons.GetNext(pos));
        pButton->OnDraw(&dc, TRUE, TRUE, m_bPinned);
        if (!pButton->m_bHidden)
            xButtons = std::min<int>(xButtons, pButton->GetRect().left);
    }
    CRect rectText = rectCaption;
    rectText.right = xButtons;
    rectText.DeflateRect(2, 0);
    CFont* pOldFont = dc.SelectObject(&globalData.fontRegular);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(clrText);
    dc.DrawText(GetCaptionText(), &rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
    m_rectRedraw.SetRectEmpty();
}

void CQMXPMiniFrameWnd::RedrawButton(const CQMXPCaptionButton* pButton) {
    if (pButton == nullptr)
        return;
    m_rectRedraw = pButton->GetRect();
    SendMessage(WM_NCPAINT);
    m_rectRedraw.SetRectEmpty();
}

BOOL CQMXPMiniFrameWnd::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CQMXPMiniFrameWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    LPCWSTR lpszCursor = nullptr;
    switch (nHitTest) {
    case HTLEFT:
    case HTRIGHT:
        lpszCursor = IDC_SIZEWE;
        break;
    case HTTOP:
    case HTBOTTOM:
        lpszCursor = IDC_SIZENS;
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        lpszCursor = IDC_SIZENWSE;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        lpszCursor = IDC_SIZENESW;
        break;
    default:
        return CWnd::OnSetCursor(pWnd, nHitTest, message);
    }
    ::SetCursor(::LoadCursorW(nullptr, lpszCursor));
    return TRUE;
}

// Moving ---------------------------------------------------------------------------

void CQMXPMiniFrameWnd::EnterDragMode(HWND hWndToDestroyOnRelease) {
    if (!m_bCaptured) {
        SetCapture();
        if (m_hWndToDestroyOnRelease == nullptr)
            m_hWndToDestroyOnRelease = hWndToDestroyOnRelease;
        m_bCaptured = TRUE;
        OnCapture(TRUE);
    }
    m_dragFrameImpl.m_ptHot = QMXPGetCursorPos();
    if (GetDockingMode() == QMXP_DT_IMMEDIATE)
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
}

void CQMXPMiniFrameWnd::OnCapture(BOOL bOnOff) {
    CQMXPControlBar* pBar = HeldControlBar();
    if (pBar != nullptr)
        pBar->SetDragMode(bOnOff);
    if (bOnOff)
        return;
    if (::IsWindow(m_hWndToDestroyOnRelease) && m_hWndToDestroyOnRelease != m_hWnd)
        ::DestroyWindow(m_hWndToDestroyOnRelease);
    m_hWndToDestroyOnRelease = nullptr;
}

void CQMXPMiniFrameWnd::ReleaseMove() {
    ::ReleaseCapture();
    m_bCaptured = FALSE;
    OnCapture(FALSE);
}

void CQMXPMiniFrameWnd::OnLButtonDown(UINT, CPoint point) {
    ClientToScreen(&point);
    CQMXPCaptionButton* pButton = ButtonFromPoint(point);
    if (pButton != nullptr && pButton->m_nHit == m_nHotButton) {
        m_nPressedButton = pButton->m_nHit;
        pButton->m_bPushed = TRUE;
        RedrawButton(pButton);
    } else {
        EnterDragMode(nullptr);
        StoreRecentFloatingRect();
    }
    Default();
}

void CQMXPMiniFrameWnd::OnMouseMove(UINT, CPoint point) {
    if (!m_bCaptured || m_nPressedButton != 0 || m_nHotButton != 0) {
        ClientToScreen(&point);
        TrackHotButton(point);
        return;
    }
    if (m_bBlockMove) {
        m_bBlockMove = FALSE;
        return;
    }
    if (GetDockingMode() != QMXP_DT_IMMEDIATE) {
        m_dragFrameImpl.MoveDragFrame(FALSE);
        return;
    }
    if (!FrameMoveMiniFrame(GetParentFrame(), this))
        return;
    const CPoint ptCursor = QMXPGetCursorPos();
    MoveMiniFrame(ptCursor.x - m_dragFrameImpl.m_ptHot.x, ptCursor.y - m_dragFrameImpl.m_ptHot.y);
    m_dragFrameImpl.m_ptHot = ptCursor;
}

void CQMXPMiniFrameWnd::OnNcMouseMove(UINT, CPoint point) {
    if (!m_bCaptured && !m_bBlockMove)
        TrackHotButton(point);
}

void CQMXPMiniFrameWnd::TrackHotButton(CPoint ptScreen) {
    CQMXPCaptionButton* pButton = ButtonFromPoint(ptScreen);
    const UINT nHot = pButton != nullptr ? pButton->m_nHit : 0;
    if (nHot == m_nHotButton)
        return;
    CQMXPCaptionButton* pOld = FindButton(m_nHotButton);
    if (pOld != nullptr) {
        pOld->m_bFocused = FALSE;
        RedrawButton(pOld);
    }
    m_nHotButton = nHot;
    if (pButton != nullptr) {
        pButton->m_bFocused = TRUE;
        RedrawButton(pButton);
    }
    if (m_nHotButton != 0 && m_nPressedButton == 0)
        SetCapture();
    else if (m_nHotButton == 0 && m_nPressedButton == 0 && !m_bCaptured && CWnd::GetCapture() == this)
        ::ReleaseCapture();
}

void CQMXPMiniFrameWnd::OnMoving(UINT fwSide, LPRECT pRect) {
    CWnd::OnMoving(fwSide, pRect);
    FrameMoveMiniFrame(GetParentFrame(), this);
}

void CQMXPMiniFrameWnd::OnLButtonUp(UINT, CPoint point) {
    if (m_nPressedButton != 0 && !m_bCaptured) {
        ClientToScreen(&point);
        CQMXPCaptionButton* pButton = ButtonFromPoint(point);
        const UINT nPressed = m_nPressedButton;
        CQMXPCaptionButton* pPressed = FindButton(nPressed);
        if (pPressed != nullptr) {
            pPressed->m_bPushed = FALSE;
            pPressed->m_bFocused = FALSE;
        }
        m_nPressedButton = 0;
        m_nHotButton = 0;
        ::ReleaseCapture();
        RedrawButton(pPressed);
        if (pButton != nullptr && pButton->m_nHit == nPressed) {
            if (nPressed == HTMAXBUTTON)
                m_bPinned = !m_bPinned;
            else if (nPressed == HTCLOSE && CanCloseFrame())
                CloseMiniFrame();
        }
        return;
    }
    if (!m_bCaptured) {
        Default();
        return;
    }
    ReleaseMove();
    BOOL bDocked = FALSE;
    DockFrame(bDocked);
}

CQMXPBaseControlBar* CQMXPMiniFrameWnd::DockFrame(BOOL& bWasDocked) {
    bWasDocked = FALSE;
    CQMXPControlBar* pBar = HeldControlBar();
    if (GetDockingMode() == QMXP_DT_IMMEDIATE) {
        // The dock manager's pending decision.
        const int nMode = m_nDockMode;
        CQMXPDockingControlBar* pTarget = m_pDockBarTarget;
        m_nDockMode = QMXP_DOCK_NONE;
        m_pDockBarTarget = nullptr;
        if (nMode == QMXP_DOCK_NONE)
            return nullptr;
        bWasDocked = !DockFrame(nMode, pTarget, QMXP_DM_MOUSE);
        return bWasDocked ? pBar : nullptr;
    }
    const CRect rectDrag = m_dragFrameImpl.m_rectDrag;
    m_dragFrameImpl.EndDrawDragFrame(TRUE);
    // A click without a drag leaves the frame where it is.
    CQMXPBaseControlBar* pDockedTo = nullptr;
    if (pBar != nullptr && !rectDrag.IsRectEmpty() && DockControlBar(pBar, bWasDocked))
        pDockedTo = pBar;
    if (!rectDrag.IsRectEmpty() && !bWasDocked && ::IsWindow(m_hWnd)) {
        SetWindowPos(nullptr, rectDrag.left, rectDrag.top, rectDrag.Width(), rectDrag.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (!(GetStyle() & WS_VISIBLE) && GetControlBarCount() > 0)
            ShowWindow(SW_SHOWNOACTIVATE);
    }
    if (!bWasDocked)
        m_dragFrameImpl.m_rectDrag.SetRectEmpty();
    return pDockedTo;
}

BOOL CQMXPMiniFrameWnd::DockFrame(int nMode, CQMXPDockingControlBar* pTargetBar, int nDockMethod) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, GetControlBar());
    if (pPane == nullptr)
        return TRUE;
    if (nMode == QMXP_DOCK_PLACE)
        return !pPane->DockControlBar(pTargetBar, nullptr, nDockMethod);
    if (nMode == QMXP_DOCK_TAB && pTargetBar != nullptr)
        return pPane->AttachToTabWnd(pTargetBar, nDockMethod, TRUE, nullptr) == nullptr;
    return TRUE;
}

BOOL CQMXPMiniFrameWnd::DockControlBar(CQMXPControlBar* pBar, BOOL& bWasDocked) {
    // A docking pane docks itself where the cursor is, never while Ctrl is
    // down; other bars do not dock on an outline drop.
    bWasDocked = FALSE;
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane == nullptr || ::GetKeyState(VK_CONTROL) < 0)
        return FALSE;
    if (!(pPane->GetStyle() & WS_VISIBLE) && GetDockingMode() == QMXP_DT_STANDARD)
        pPane->ShowWindow(SW_SHOW);
    CQMXPBaseControlBar* pDockedInto = pPane->DropTargetFromPoint(bWasDocked);
    return pDockedInto != nullptr && bWasDocked;
}

BOOL CQMXPMiniFrameWnd::SetDockingMode(int nDockMode, CQMXPBaseControlBar* pTargetBar) {
    if (nDockMode == QMXP_DOCK_NONE || (pTargetBar != nullptr && pTargetBar->GetParentMiniFrame(TRUE) != nullptr))
        return TRUE;
    if (m_bCaptured)
        ReleaseMove();
    m_nDockMode = nDockMode;
    m_pDockBarTarget = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pTargetBar);
    BOOL bDocked = FALSE;
    DockFrame(bDocked);
    return FALSE;
}

void CQMXPMiniFrameWnd::OnCancelMode() {
    if (m_nPressedButton != 0 || m_nHotButton != 0) {
        CQMXPCaptionButton* pButton = FindButton(m_nPressedButton != 0 ? m_nPressedButton : m_nHotButton);
        if (pButton != nullptr) {
            pButton->m_bPushed = FALSE;
            pButton->m_bFocused = FALSE;
        }
        m_nPressedButton = 0;
        m_nHotButton = 0;
        if (CWnd::GetCapture() == this && !m_bCaptured)
            ::ReleaseCapture();
    }
    if (m_bCaptured) {
        if (GetDockingMode() != QMXP_DT_IMMEDIATE) {
            m_dragFrameImpl.EndDrawDragFrame(TRUE);
            CQMXPControlBar* pBar = HeldControlBar();
            if (!(GetStyle() & WS_VISIBLE) && pBar != nullptr && pBar->GetParent() == this &&
                pBar->Dock(nullptr, nullptr, QMXP_DM_DBL_CLICK)) {
                pBar->ShowControlBar(TRUE, FALSE, FALSE);
                Default();
                return;
            }
        }
        ReleaseMove();
    }
    Default();
}

void CQMXPMiniFrameWnd::OnChar(UINT nChar, UINT, UINT) {
    if (nChar != VK_ESCAPE || !m_bCaptured) {
        Default();
        return;
    }
    if (GetDockingMode() != QMXP_DT_IMMEDIATE) {
        OnCancelMode();
        return;
    }
    ReleaseMove();
    CQMXPControlBar* pBar = HeldControlBar();
    if (pBar != nullptr && (pBar->GetEnabledAlignment() & 0xF000) != 0) {
        pBar->SetRecentFloatingRect(m_rectRecentFloatingRect);
        if (pBar->Dock(nullptr, nullptr, QMXP_DM_DBL_CLICK))
            return;
    }
    Default();
}

void CQMXPMiniFrameWnd::OnLButtonDblClk(UINT, CPoint) {
    CQMXPControlBar* pBar = HeldControlBar();
    if (pBar != nullptr && (pBar->GetEnabledAlignment() & 0xF000) != 0) {
        StoreRecentFloatingRect();
        if (pBar->DockControlBar(nullptr, nullptr, QMXP_DM_DBL_CLICK))
            return;
    }
    Default();
}

void CQMXPMiniFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCAPTION) {
        CPoint ptClient = point;
        ScreenToClient(&ptClient);
        OnLButtonDblClk(0, ptClient);
        return;
    }
    Default();
}

void CQMXPMiniFrameWnd::OnNcDestroy() {
    OnCancelMode();
    CWnd::OnNcDestroy();
}

// Timers, sizing and activation ------------------------------------------------------

void CQMXPMiniFrameWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == QMXP_DOCK_EVENT) {
        FrameMoveMiniFrame(GetParentFrame(), this);
        return;
    }
    if (nIDEvent == QMXP_CHECK_ROLL_STATE) {
        CheckRollState();
        return;
    }
    Default();
}

void CQMXPMiniFrameWnd::OnSize(UINT, int, int) {
    Default();
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar != nullptr)
        pBar->AdjustLayout();
    ArrangeCaptionButtons();
    SendMessage(WM_NCPAINT);
}

void CQMXPMiniFrameWnd::OnSizing(UINT fwSide, LPRECT pRect) {
    Default();
    if (m_bRolledUp)
        return;
    // A floating tabbed tool bar keeps its frame as it is.
    if (DYNAMIC_DOWNCAST(CQMXPTabbedToolbar, GetControlBar()) != nullptr) {
        GetWindowRect(pRect);
        return;
    }
    auto* pToolBar = DYNAMIC_DOWNCAST(CQMXPToolBar, GetControlBar());
    if (pToolBar == nullptr)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    const BOOL bSideEdge = fwSide == WMSZ_LEFT || fwSide == WMSZ_RIGHT;
    CRect rectProposed(pRect);
    if (bSideEdge ? rectProposed.Width() == rectWindow.Width() : rectProposed.Height() == rectWindow.Height())
        return;
    const int nLength = bSideEdge ? rectProposed.Width() - rectBorder.left - rectBorder.right
                                  : rectProposed.Height() - m_nCaptionHeight - rectBorder.top - rectBorder.bottom;
    const CSize sizeNow = pToolBar->CalcFixedLayout(FALSE, TRUE);
    const CSize sizeNew = pToolBar->CalcLayoutSize(nLength, !bSideEdge);
    const int dx = sizeNew.cx - sizeNow.cx;
    const int dy = sizeNew.cy - sizeNow.cy;
    if (dx != 0) {
        if (fwSide == WMSZ_RIGHT)
            pRect->right = rectWindow.left + rectWindow.Width() + dx;
        else
            pRect->left = rectProposed.right - (rectWindow.Width() + dx);
    } else if (dy == 0) {
        *pRect = rectWindow;
        return;
    } else if (fwSide == WMSZ_RIGHT) {
        pRect->right = rectWindow.right;
    } else {
        pRect->left = rectWindow.left;
    }
    if (dy == 0) {
        if (fwSide == WMSZ_BOTTOM)
            pRect->bottom = rectWindow.bottom;
        else
            pRect->top = rectWindow.top;
    } else if (fwSide == WMSZ_BOTTOM || fwSide == WMSZ_LEFT || fwSide == WMSZ_RIGHT) {
        pRect->bottom = rectProposed.top + rectWindow.Height() + dy;
    } else {
        pRect->top = rectProposed.bottom - (rectWindow.Height() + dy);
    }
    pToolBar->RefreshLayout();
    BOOL bFullDrag = TRUE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &bFullDrag, 0);
    if (!bFullDrag)
        SetWindowPos(nullptr, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    CSize sizeBase(0, 0);
    CQMXPControlBar* pBar = HeldControlBar();
    if (pBar != nullptr)
        pBar->GetMinSize(sizeBase);
    CalcMinSize(sizeBase, lpMMI);
}

void CQMXPMiniFrameWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    lpwndpos->flags |= SWP_NOACTIVATE;
    Default();
}

BOOL CQMXPMiniFrameWnd::OnNcActivate(BOOL) {
    if (GetStyle() & QMXP_MINIFRAME_SYNCACTIVE)
        return TRUE;
    const BOOL bActive = CWnd::GetFocus() == this;
    if (bActive != m_bActive) {
        m_bActive = bActive;
        if (GetDockManager() != nullptr)
            SendMessage(WM_NCPAINT);
    }
    return TRUE;
}

BOOL CQMXPMiniFrameWnd::OnNcCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (!CWnd::OnNcCreate(lpCreateStruct))
        return FALSE;
    if ((GetStyle() & QMXP_MINIFRAME_SYNCACTIVE) == 0)
        return TRUE;
    HWND hwndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    while (hwndOwner != nullptr && ::GetWindow(hwndOwner, GW_OWNER) != nullptr)
        hwndOwner = ::GetWindow(hwndOwner, GW_OWNER);
    HWND hwndForeground = ::GetForegroundWindow();
    BOOL bActive = FALSE;
    if (hwndOwner != nullptr && hwndForeground != nullptr) {
        bActive = hwndOwner == hwndForeground ||
                  (::GetLastActivePopup(hwndOwner) == hwndForeground &&
                   ::SendMessageW(hwndForeground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0);
    }
    SendMessage(WM_FLOATSTATUS, bActive ? kFloatActivate : kFloatDeactivate);
    return TRUE;
}

LRESULT CQMXPMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM) {
    constexpr UINT kNoChange = SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (wParam & (kFloatShow | kFloatHide))
        SetWindowPos(nullptr, 0, 0, 0, 0, kNoChange | ((wParam & kFloatShow) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (wParam & (kFloatEnable | kFloatDisable))
        EnableWindow((wParam & kFloatEnable) != 0);
    const BOOL bSyncActive = (GetStyle() & QMXP_MINIFRAME_SYNCACTIVE) != 0;
    if ((wParam & (kFloatActivate | kFloatDeactivate)) && bSyncActive) {
        ModifyStyle(QMXP_MINIFRAME_SYNCACTIVE, 0);
        SendMessage(WM_NCACTIVATE, (wParam & kFloatActivate) != 0);
        ModifyStyle(0, QMXP_MINIFRAME_SYNCACTIVE);
    }
    return bSyncActive && (wParam & FS_SYNCACTIVE) != 0;
}

LRESULT CQMXPMiniFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    HWND hFocus = ::GetFocus();
    const BOOL bActive = hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus);
    if (bActive != m_bActive) {
        m_bActive = bActive;
        SendMessage(WM_NCPAINT);
    }
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, lParam, TRUE, TRUE);
    return 0;
}

int CQMXPMiniFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    CPoint pt = QMXPGetCursorPos();
    if (HoldsToolBar() && HitTest(pt, TRUE) != HTCLIENT) {
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return MA_NOACTIVATE;
    }
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CQMXPMiniFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    Default();
    if (HoldsToolBar())
        m_hLastFocusWnd = CWnd::SafeHwndOf(pOldWnd);
}

void CQMXPMiniFrameWnd::OnExitSizeMove() {
    if (::IsWindow(m_hLastFocusWnd))
        ::SetFocus(m_hLastFocusWnd);
    m_hLastFocusWnd = nullptr;
}

void CQMXPMiniFrameWnd::OnContextMenu(CWnd*, CPoint point) {
    if (CQMXPToolBar::m_bCustomizeMode || HitTest(point, TRUE) != HTCAPTION)
        return;
    CWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->SendMessage(QMXTOOLBAR_POPUPMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
}

void CQMXPMiniFrameWnd::OnClose() {
    if (CanCloseFrame())
        CloseMiniFrame();
}
