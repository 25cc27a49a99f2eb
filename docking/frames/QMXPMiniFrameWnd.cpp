#include "docking/frames/QMXPMiniFrameWnd.h"

#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/FrameWnd.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPMiniFrameWnd, CWnd, VERSIONABLE_SCHEMA | 1)

CWnd* CQMXPMiniFrameWnd::m_pParentWndForSerialize = nullptr;

namespace {

constexpr UINT kRollUpPeriod = 250;

CList<HWND, HWND>& FloatingFrames() { return qmxFloatingFrames; }

CMap<UINT, UINT, HWND, HWND>& FloatingBars() { return qmxFloatingBarsByID; }

}  // namespace

CQMXPMiniFrameWnd::CQMXPMiniFrameWnd()
    : m_bActive(FALSE),
      m_nCaptionHeight(::GetSystemMetrics(SM_CYSMCAPTION)),
      m_lstCaptionButtons(10),
      m_dwCaptionButtons(0),
      m_pDockBarTarget(nullptr),
      m_hEmbeddedBar(nullptr),
      m_bCaptured(FALSE),
      m_bBlockMove(FALSE),
      m_nDockMode(QMXP_DOCK_NONE),
      m_nMinTrackWidth(m_nCaptionHeight + 15),
      m_nMinTrackHeight(m_nCaptionHeight + 15),
      m_nPressedButton(0),
      m_nHotButton(0),
      m_nDockTimerID(0),
      m_nRollTimerID(0),
      m_bRolledUp(FALSE),
      m_nHeightBeforeRollUp(0),
      m_bPinned(FALSE),
      m_bHostsToolbar(FALSE),
      m_bNoDelayedDestroy(FALSE),
      m_hParentWnd(nullptr),
      m_hWndToDestroyOnRelease(nullptr),
      m_hLastFocusWnd(nullptr),
      m_nRestoredEmbeddedBarID(0),
      m_rectRecentFloatingRect(0, 0, 100, 100) {}

CQMXPMiniFrameWnd::~CQMXPMiniFrameWnd() {
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;)
        delete m_lstCaptionButtons.GetNext(pos);
    m_lstCaptionButtons.RemoveAll();
}

BOOL CQMXPMiniFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= QMXP_MINIFRAME_SYNCACTIVE;
    return CWnd::PreCreateWindow(cs);
}

BOOL CQMXPMiniFrameWnd::Create(LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd) {
    return CreateEx(0, lpszWindowName, dwStyle, rect, pParentWnd);
}

BOOL CQMXPMiniFrameWnd::CreateEx(DWORD dwStyleEx, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                                 CWnd* pParentWnd) {
    // The parent must be a frame with a dock manager: anything else is
    // refused before a window is made.
    CQMXPDockManager* pDockManager = nullptr;
    if (pParentWnd != nullptr) {
        pDockManager = pParentWnd->IsFrameWnd() ? qmxGlobalUtils.GetDockManager(pParentWnd) : nullptr;
        if (pDockManager == nullptr) {
            // Refused as every failed creation ends: the object is told (and deletes itself).
            PostNcDestroy();
            return FALSE;
        }
    }
    const CString strClass = QMXPRegisterBarClass(L"QMXMiniWrame");
    m_hParentWnd = CWnd::SafeHwndOf(pParentWnd);
    if (!CWnd::CreateEx(dwStyleEx, strClass, lpszWindowName, dwStyle | WS_POPUP, rect, pParentWnd, 0))
        return FALSE;
    if (pDockManager != nullptr)
        pDockManager->RegisterFloatingFrame(this);
    m_dragFrameImpl.Init(this);
    return TRUE;
}

CQMXPDockManager* CQMXPMiniFrameWnd::GetDockManager() const {
    return qmxGlobalUtils.GetDockManager(CWnd::FromHandlePermanent(m_hParentWnd));
}

void CQMXPMiniFrameWnd::PostNcDestroy() { delete this; }

// The held bar ------------------------------------------------------------

CQMXPBaseControlBar* CQMXPMiniFrameWnd::GetControlBar() const {
    if (!::IsWindow(m_hEmbeddedBar))
        return nullptr;
    return DYNAMIC_DOWNCAST(CQMXPBaseControlBar, CWnd::FromHandlePermanent(m_hEmbeddedBar));
}

CQMXPControlBar* CQMXPMiniFrameWnd::HeldControlBar() const {
    return DYNAMIC_DOWNCAST(CQMXPControlBar, GetControlBar());
}

BOOL CQMXPMiniFrameWnd::HoldsToolBar() const {
    CQMXPBaseControlBar* pBar = GetControlBar();
    return pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPToolBar));
}

int CQMXPMiniFrameWnd::GetControlBarCount() const { return ::IsWindow(m_hEmbeddedBar) ? 1 : 0; }

BOOL CQMXPMiniFrameWnd::IsControlBarVisible() const {
    return ::IsWindow(m_hEmbeddedBar) && (::GetWindowLongW(m_hEmbeddedBar, GWL_STYLE) & WS_VISIBLE) != 0;
}

CQMXPBaseControlBar* CQMXPMiniFrameWnd::GetFirstVisibleBar() const {
    return IsControlBarVisible() ? GetControlBar() : nullptr;
}

UINT CQMXPMiniFrameWnd::GetBarID() const {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr) {
        const_cast<CQMXPMiniFrameWnd*>(this)->m_hEmbeddedBar = nullptr;
        return static_cast<UINT>(-1);
    }
    return static_cast<UINT>(pBar->GetDlgCtrlID());
}

CString CQMXPMiniFrameWnd::GetCaptionText() const {
    CString strText;
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar != nullptr)
        pBar->GetWindowText(strText);
    return strText;
}

CQMXPBaseControlBar* CQMXPMiniFrameWnd::ControlBarFromPoint(CPoint point, int, BOOL bCheckVisibility) const {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr)
        return nullptr;
    CRect rect;
    pBar->GetWindowRect(&rect);
    if (!rect.PtInRect(point))
        return nullptr;
    return (!bCheckVisibility || (pBar->GetStyle() & WS_VISIBLE)) ? pBar : nullptr;
}

void CQMXPMiniFrameWnd::AddControlBar(CQMXPBaseControlBar* pWnd) {
    if (m_hEmbeddedBar == pWnd->GetSafeHwnd())
        return;
    m_hEmbeddedBar = pWnd->GetSafeHwnd();
    m_bHostsToolbar = pWnd->IsKindOf(RUNTIME_CLASS(CQMXPToolBar));
    CString strText;
    pWnd->GetWindowText(strText);
    SetWindowText(strText);
    SetIcon(pWnd->GetIcon(FALSE), FALSE);
    SetIcon(pWnd->GetIcon(TRUE), TRUE);
    AddRemoveBarFromGlobalList(pWnd, TRUE);
    if (pWnd->CanBeClosed())
        SetCaptionButtons(QMXP_CAPTION_BTN_CLOSE);
    SetRollUpTimer();
}

void CQMXPMiniFrameWnd::RemoveControlBar(CQMXPBaseControlBar* pWnd, BOOL bDestroy, BOOL bNoDelayedDestroy) {
    m_bNoDelayedDestroy = bNoDelayedDestroy;
    AddRemoveBarFromGlobalList(pWnd, FALSE);
    pWnd->OnRemoveFromMiniFrame(this);
    if (pWnd->GetSafeHwnd() == m_hEmbeddedBar)
        m_hEmbeddedBar = nullptr;
    KillRollUpTimer();
    if (GetControlBarCount() > 0)
        return;
    if (bDestroy)
        DestroyWindow();
    else
        PostMessage(QMXPMSG_CHECKEMPTYMINIFRAME);
}

void CQMXPMiniFrameWnd::ReplaceControlBar(CQMXPBaseControlBar* pBarOrg, CQMXPBaseControlBar* pBarReplaceWith) {
    AddRemoveBarFromGlobalList(pBarOrg, FALSE);
    if (pBarOrg->GetSafeHwnd() == m_hEmbeddedBar)
        m_hEmbeddedBar = pBarReplaceWith->GetSafeHwnd();
    AddRemoveBarFromGlobalList(pBarReplaceWith, TRUE);
}

LRESULT CQMXPMiniFrameWnd::OnCheckEmptyMiniFrame(WPARAM, LPARAM) {
    if (GetControlBarCount() > 0)
        return 0;
    if (m_bNoDelayedDestroy)
        ShowWindow(SW_HIDE);
    else
        DestroyWindow();
    return 0;
}

BOOL CQMXPMiniFrameWnd::CanBeDockedToBar(const CQMXPBaseControlBar* pDockBar) const {
    CQMXPBaseControlBar* pBar = GetControlBar();
    return pDockBar != nullptr && pBar != nullptr && pDockBar->CanAcceptBar(pBar);
}

void CQMXPMiniFrameWnd::OnShowControlBar(CQMXPBaseControlBar*, BOOL bShow) {
    if (!bShow) {
        ShowWindow(SW_HIDE);
        return;
    }
    ShowWindow(SW_SHOWNOACTIVATE);
    OnBarRecalcLayout();
}

void CQMXPMiniFrameWnd::StoreRecentDockInfo(CQMXPControlBar* pBar) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar);
    if (pPane != nullptr)
        pPane->GetRecentDockInfo().StoreDockInfo(nullptr, nullptr);
}

void CQMXPMiniFrameWnd::CloseMiniFrame() {
    ShowWindow(SW_HIDE);
    if (::IsWindow(m_hEmbeddedBar))
        ::ShowWindow(m_hEmbeddedBar, SW_HIDE);
}

int CQMXPMiniFrameWnd::GetDockingMode() const {
    CQMXPControlBar* pBar = HeldControlBar();
    return pBar != nullptr ? pBar->GetDockingMode() : qmxDefaultDockingMode;
}

BOOL CQMXPMiniFrameWnd::SaveState(LPCWSTR lpszProfileName, UINT) {
    CQMXPBaseControlBar* pBar = GetControlBar();
    return pBar == nullptr || pBar->SaveState(lpszProfileName, static_cast<UINT>(-1), -1);
}

BOOL CQMXPMiniFrameWnd::LoadState(LPCWSTR lpszProfileName, UINT) {
    CQMXPBaseControlBar* pBar = GetControlBar();
    return pBar == nullptr || pBar->LoadState(lpszProfileName, static_cast<UINT>(-1), -1);
}

// Geometry and layout --------------------------------------------------------------

void CQMXPMiniFrameWnd::CalcBorderSize(CRect& rectBorderSize) const {
    if (HoldsToolBar()) {
        rectBorderSize.SetRect(3, 3, 3, 3);
        return;
    }
    const int cx = ::GetSystemMetrics(SM_CXSIZEFRAME);
    const int cy = ::GetSystemMetrics(SM_CYSIZEFRAME);
    rectBorderSize.SetRect(cx, cy, cx, cy);
}

void CQMXPMiniFrameWnd::GetCaptionRect(CRect& rectCaption) const {
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    rectCaption.SetRect(rectBorder.left, rectBorder.top, rectWindow.Width() - rectBorder.right,
                        rectBorder.top + m_nCaptionHeight);
}

CRect CQMXPMiniFrameWnd::ClientRectInWindow() const {
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    return CRect(rectBorder.left, rectBorder.top + m_nCaptionHeight, rectWindow.Width() - rectBorder.right,
                 rectWindow.Height() - rectBorder.bottom);
}

void CQMXPMiniFrameWnd::OnBarRecalcLayout() {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    pBar->CWnd::SetWindowPos(nullptr, rectClient.left, rectClient.top, rectClient.Width(), rectClient.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQMXPMiniFrameWnd::OnBarSizeChanged() {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar != nullptr)
        pBar->RefreshLayout();
    SizeToContent();
}

void CQMXPMiniFrameWnd::SizeToContent() {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr)
        return;
    const CSize size = pBar->CalcFixedLayout(FALSE, TRUE);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    const CSize sizeNonClient(rectWindow.Width() - rectClient.Width(), rectWindow.Height() - rectClient.Height());
    const CSize sizeFull(size.cx + sizeNonClient.cx, size.cy + sizeNonClient.cy);
    // Rolled up, the frame takes the new width and keeps its height; the
    // full height is the one it rolls down to.
    if (m_bRolledUp) {
        m_nHeightBeforeRollUp = sizeFull.cy;
        SetWindowPos(nullptr, 0, 0, sizeFull.cx, rectWindow.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SetWindowPos(nullptr, 0, 0, sizeFull.cx, sizeFull.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPMiniFrameWnd::MoveMiniFrame(int dx, int dy) {
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(dx, dy);
    MoveWindow(&rect, TRUE);
}

void CQMXPMiniFrameWnd::StoreRecentFloatingRect() {
    GetWindowRect(&m_rectRecentFloatingRect);
    CQMXPControlBar* pBar = HeldControlBar();
    if (pBar == nullptr)
        return;
    pBar->SetRecentFloatingRect(m_rectRecentFloatingRect);
}

void CQMXPMiniFrameWnd::CalcMinSize(CSize& sizeBase, MINMAXINFO* lpMMI) {
    CRect rectBorder;
    CalcBorderSize(rectBorder);
    int cxButtons = 0;
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPCaptionButton*>(m_lstCaptionButtons.GetNext(pos));
        if (!pButton->m_bHidden)
            cxButtons += CQMXPCaptionButton::GetSize().cx;
    }
    m_nMinTrackWidth = std::max<int>(m_nMinTrackWidth, sizeBase.cx + cxButtons + rectBorder.left + rectBorder.right);
    m_nMinTrackHeight =
        std::max<int>(m_nMinTrackHeight, sizeBase.cy + m_nCaptionHeight + rectBorder.top + rectBorder.bottom);
    lpMMI->ptMinTrackSize.x = m_nMinTrackWidth;
    lpMMI->ptMinTrackSize.y = m_nMinTrackHeight;
}

// Caption buttons ----------------------------------------------------------------

void CQMXPMiniFrameWnd::SetCaptionButtons(DWORD dwButtons) {
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;)
        delete m_lstCaptionButtons.GetNext(pos);
    m_lstCaptionButtons.RemoveAll();
    CQMXPBaseControlBar* pBar = GetControlBar();
    if ((dwButtons & QMXP_CAPTION_BTN_CLOSE) && pBar != nullptr && pBar->CanBeClosed())
        m_lstCaptionButtons.AddTail(new CQMXPCaptionButton(HTCLOSE));
    if (dwButtons & QMXP_CAPTION_BTN_PIN)
        m_lstCaptionButtons.AddTail(new CQMXPCaptionButton(HTMAXBUTTON));
    if (dwButtons & QMXP_CAPTION_BTN_MINIMIZE)
        m_lstCaptionButtons.AddTail(new CQMXPCaptionButton(HTMINBUTTON));
    m_dwCaptionButtons = dwButtons;
    ArrangeCaptionButtons();
    if (GetSafeHwnd() != nullptr)
        SendMessage(WM_NCPAINT);
}

void CQMXPMiniFrameWnd::ArrangeCaptionButtons() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rectCaption;
    GetCaptionRect(rectCaption);
    constexpr int kRightMargin = 2;
    constexpr int kGap = 4;
    const CSize sizeButton = CQMXPCaptionButton::GetSize();
    int x = rectCaption.right - kRightMargin;
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPCaptionButton*>(m_lstCaptionButtons.GetNext(pos));
        if (pButton->m_bHidden)
            continue;
        pButton->Move(CPoint(x - sizeButton.cx, rectCaption.top + (rectCaption.Height() - sizeButton.cy) / 2));
        x -= sizeButton.cx + kGap;
    }
}

CQMXPCaptionButton* CQMXPMiniFrameWnd::FindButton(UINT nHit) const {
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPCaptionButton*>(m_lstCaptionButtons.GetNext(pos));
        if (pButton->m_nHit == nHit)
            return pButton;
    }
    return nullptr;
}

CQMXPCaptionButton* CQMXPMiniFrameWnd::ButtonFromPoint(CPoint ptScreen) const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const CPoint pt = ptScreen - rectWindow.TopLeft();
    for (POSITION pos = m_lstCaptionButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPCaptionButton*>(m_lstCaptionButtons.GetNext(pos));
        if (pButton->GetRect().PtInRect(pt))
            return pButton;
    }
    return nullptr;
}

// Roll-up -----------------------------------------------------------------------------

BOOL CQMXPMiniFrameWnd::IsRollDown() const {
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rect;
    GetWindowRect(&rect);
    return rect.PtInRect(pt) && ::WindowFromPoint(pt) == m_hWnd;
}

BOOL CQMXPMiniFrameWnd::IsRollUp() const {
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rect;
    GetWindowRect(&rect);
    return !rect.PtInRect(pt) && !m_bPinned;
}

void CQMXPMiniFrameWnd::SetRollUpTimer() {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr || !(pBar->GetBarStyle() & 0x10))
        return;
    m_nRollTimerID = SetTimer(QMXP_CHECK_ROLL_STATE, kRollUpPeriod);
    SetCaptionButtons(m_dwCaptionButtons | QMXP_CAPTION_BTN_PIN);
}

void CQMXPMiniFrameWnd::KillRollUpTimer() {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar != nullptr && (pBar->GetBarStyle() & 0x10))
        return;
    if (m_nRollTimerID != 0)
        KillTimer(m_nRollTimerID);
    m_nRollTimerID = 0;
    if (m_dwCaptionButtons & QMXP_CAPTION_BTN_PIN)
        SetCaptionButtons(m_dwCaptionButtons & ~QMXP_CAPTION_BTN_PIN);
}

void CQMXPMiniFrameWnd::CheckRollState() {
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager != nullptr && pDockManager->m_bRedrawLocked)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (m_bRolledUp && IsRollDown()) {
        SetWindowPos(nullptr, 0, 0, rectWindow.Width(), m_nHeightBeforeRollUp, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_bRolledUp = FALSE;
    } else if (!m_bRolledUp && IsRollUp()) {
        CRect rectClient;
        GetClientRect(&rectClient);
        m_nHeightBeforeRollUp = rectWindow.Height();
        SetWindowPos(nullptr, 0, 0, rectWindow.Width(), rectWindow.Height() - rectClient.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_bRolledUp = TRUE;
    }
}

void CQMXPMiniFrameWnd::SetDockingTimer(UINT nTimeOut) {
    if (m_nDockTimerID != 0)
        KillTimer(m_nDockTimerID);
    m_nDockTimerID = SetTimer(QMXP_DOCK_EVENT, nTimeOut);
}

void CQMXPMiniFrameWnd::KillDockingTimer() {
    if (m_nDockTimerID != 0)
        KillTimer(m_nDockTimerID);
    m_nDockTimerID = 0;
}

// Process-wide lists -------------------------------------------------------------------

BOOL CQMXPMiniFrameWnd::AddRemoveBarFromGlobalList(CQMXPBaseControlBar* pBar, BOOL bAdd) {
    auto enter = [bAdd](CWnd* pWnd) {
        const UINT nID = static_cast<UINT>(pWnd->GetDlgCtrlID());
        if (nID == static_cast<UINT>(-1))
            return;
        if (bAdd)
            FloatingBars().SetAt(nID, pWnd->GetSafeHwnd());
        else
            FloatingBars().RemoveKey(nID);
    };
    // The tabs of a floating group are found by their own ids.
    if (auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pBar)) {
        for (int i = 0; i < pTabbedBar->GetTabsNum(); ++i) {
            if (CWnd* pTab = pTabbedBar->GetTabWnd(i))
                enter(pTab);
        }
    }
    if (static_cast<UINT>(pBar->GetDlgCtrlID()) == static_cast<UINT>(-1))
        return FALSE;
    enter(pBar);
    return TRUE;
}

CQMXPBaseControlBar* CQMXPMiniFrameWnd::FindFloatingBarByID(UINT nID) {
    HWND hWnd = nullptr;
    if (!FloatingBars().Lookup(nID, hWnd) || !::IsWindow(hWnd))
        return nullptr;
    return DYNAMIC_DOWNCAST(CQMXPBaseControlBar, CWnd::FromHandlePermanent(hWnd));
}

void CQMXPMiniFrameWnd::RedrawAll() {
    for (POSITION pos = FloatingFrames().GetHeadPosition(); pos != nullptr;) {
        HWND hWnd = FloatingFrames().GetNext(pos);
        ::RedrawWindow(hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
}

const CList<HWND, HWND>& CQMXPMiniFrameWnd::GetFloatingFrames() { return FloatingFrames(); }

int CQMXPMiniFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    FloatingFrames().AddTail(m_hWnd);
    return 0;
}

void CQMXPMiniFrameWnd::OnDestroy() {
    if (m_bCaptured)
        ReleaseMove();
    KillDockingTimer();
    if (m_nRollTimerID != 0)
        KillTimer(m_nRollTimerID);
    m_nRollTimerID = 0;
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager != nullptr)
        pDockManager->UnregisterFloatingFrame(this);
    POSITION pos = FloatingFrames().Find(m_hWnd);
    if (pos != nullptr)
        FloatingFrames().RemoveAt(pos);
    CWnd::OnDestroy();
}

// Layout store ------------------------------------------------------------------------------

void CQMXPMiniFrameWnd::Serialize(CArchive& ar) {
    CWnd::Serialize(ar);
    if (ar.IsStoring()) {
        CRect rect;
        GetWindowRect(&rect);
        if (m_bRolledUp)
            rect.bottom = rect.top + m_nHeightBeforeRollUp;
        ar << static_cast<DWORD>(GetStyle());
        ar << rect.left << rect.top << rect.right << rect.bottom;
        ar << static_cast<BOOL>((GetStyle() & WS_VISIBLE) != 0);
        ar << static_cast<UINT>(::IsWindow(m_hEmbeddedBar) ? GetBarID() : 0);
        ar << m_dwCaptionButtons;
        ar << m_bPinned;
        return;
    }
    DWORD dwStyle = 0;
    CRect rect;
    BOOL bVisible = FALSE;
    ar >> dwStyle >> rect.left >> rect.top >> rect.right >> rect.bottom >> bVisible >> m_nRestoredEmbeddedBarID >> m_dwCaptionButtons >> m_bPinned;
    if (!CreateEx(0, L"", dwStyle, rect, m_pParentWndForSerialize))
        AfxThrowArchiveException(CArchiveException::genericException);
    m_hParentWnd = CWnd::SafeHwndOf(m_pParentWndForSerialize);
}

// Restoring ---------------------------------------------------------------------------------

void CQMXPMiniFrameWnd::TakeIntoFrame(CQMXPDockingControlBar* pPane) {
    pPane->LeaveTabGroup(GetParentFrame());
    if (pPane->IsAutoHideMode())
        pPane->SetAutoHideMode(FALSE, 0xF000, nullptr, FALSE);
    CQMXPMiniFrameWnd* pOther = pPane->GetParentMiniFrame(TRUE);
    if (pOther == this)
        return;
    CWnd* pOldParent = pPane->GetParent();
    // Out of its slider or its other floating frame first.
    pPane->OnBeforeChangeParent(this, FALSE);
    pPane->SetParent(this);
    pPane->OnAfterChangeParent(pOldParent);
    pPane->SetBarStyle(pPane->GetBarStyle() | QMXP_CBRS_FLOATING);
}

void CQMXPMiniFrameWnd::RestoreAfterLoad(CQMXPDockManager* pDockManager) {
    // The caption buttons stored with the frame, which embedding resets.
    const DWORD dwStoredButtons = m_dwCaptionButtons;
    CQMXPBaseControlBar* pFound =
        pDockManager != nullptr ? pDockManager->FindBarByID(m_nRestoredEmbeddedBarID, TRUE) : nullptr;
    if (auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pFound)) {
        TakeIntoFrame(pPane);
        AddControlBar(pPane);
        OnBarRecalcLayout();
        const BOOL bVisible = !pPane->IsRestoredFromRegistry() || pPane->GetRecentVisibleState();
        pPane->ShowWindow(bVisible ? SW_SHOW : SW_HIDE);
        ShowWindow(bVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
        SetCaptionButtons(dwStoredButtons);
        return;
    }
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pFound);
    if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || !pBar->CanFloat()) {
        if (GetControlBarCount() == 0)
            DestroyWindow();
        return;
    }
    // A tool bar docked by the code leaves its row; one without a floating
    // frame floats first, so that it leaves a frame like every floating bar.
    if (pBar->GetParentDockBar() != nullptr) {
        pBar->UndockControlBar(TRUE);
        pBar->ShowWindow(SW_SHOW);
    }
    CQMXPMiniFrameWnd* pOther = pBar->GetParentMiniFrame(TRUE);
    if (pOther == nullptr) {
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        pBar->FloatControlBar(rectBar, 0, false);
        pOther = pBar->GetParentMiniFrame(TRUE);
    }
    if (pOther != nullptr && pOther != this) {
        pOther->RemoveControlBar(pBar, FALSE, FALSE);
        pBar->OnBeforeChangeParent(this, FALSE);
        pBar->SetParent(this);
        pBar->OnAfterChangeParent(pOther);
        pBar->SetBarStyle(pBar->GetBarStyle() | QMXP_CBRS_FLOATING);
    }
    AddControlBar(pBar);
    pBar->CWnd::SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pBar->AdjustLayout();
    SizeToContent();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const BOOL bVisible = !pBar->IsRestoredFromRegistry() || pBar->GetRecentVisibleState();
    pBar->ShowWindow(bVisible ? SW_SHOW : SW_HIDE);
    ShowWindow(bVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
    SetCaptionButtons(dwStoredButtons);
}
