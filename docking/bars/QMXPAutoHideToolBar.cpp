#include "docking/bars/QMXPAutoHideToolBar.h"

#include "docking/bars/QMXPAutoHideButton.h"
#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "platform/classlib/DC.h"

IMPLEMENT_DYNCREATE(CQMXPAutoHideToolBar, CQMXPControlBar)

UINT CQMXPAutoHideToolBar::m_nHoverDelay = 400;
CRuntimeClass* CQMXPAutoHideToolBar::m_pAutoHideButtonRTC = RUNTIME_CLASS(CQMXPAutoHideButton);

BEGIN_MESSAGE_MAP(CQMXPAutoHideToolBar, CQMXPControlBar)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_NCDESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CQMXPAutoHideToolBar::CQMXPAutoHideToolBar()
    : m_pActiveButton(nullptr), m_bHoverPending(FALSE), m_nHoverTimerID(0), m_clkHoverStart(0) {}

CQMXPAutoHideToolBar::~CQMXPAutoHideToolBar() {
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetNext(pos));
        // A pane whose strip goes first forgets it: its own end would call the strip back.
        CQMXPDockingControlBar* pPane = pButton->GetPane();
        if (pPane != nullptr && pPane->GetAutoHideToolBar() == this)
            pPane->SetAutoHideParents(nullptr, nullptr);
        delete pButton;
    }
    m_lstButtons.RemoveAll();
}

// Buttons ---------------------------------------------------------------------------------

CQMXPAutoHideButton* CQMXPAutoHideToolBar::AddPaneButton(CQMXPDockingControlBar* pPane, DWORD dwSide) {
    if (pPane == nullptr || !pPane->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)))
        return nullptr;
    CObject* pObject = m_pAutoHideButtonRTC != nullptr ? m_pAutoHideButtonRTC->CreateObject() : nullptr;
    auto* pButton = DYNAMIC_DOWNCAST(CQMXPAutoHideButton, pObject);
    if (pButton == nullptr) {
        delete pObject;
        return nullptr;
    }
    pButton->Create(this, pPane, dwSide);
    const BOOL bFirst = m_lstButtons.IsEmpty();
    m_lstButtons.AddTail(pButton);
    if (bFirst) {
        const CSize size = pButton->GetRect().Size();
        CWnd::SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    return pButton;
}

CQMXPAutoHideButton* CQMXPAutoHideToolBar::FindButton(const CQMXPDockingControlBar* pPane) const {
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetNext(pos));
        if (pButton->GetPane() == pPane)
            return pButton;
    }
    return nullptr;
}

BOOL CQMXPAutoHideToolBar::RemovePaneButton(CQMXPDockingControlBar* pPane) {
    KillHoverTimer();
    CQMXPAutoHideButton* pButton = FindButton(pPane);
    if (pButton == nullptr)
        return FALSE;
    m_lstButtons.RemoveAt(m_lstButtons.Find(pButton));
    if (m_pActiveButton == pButton)
        m_pActiveButton = nullptr;
    if (pPane->GetAutoHideButton() == pButton)
        pPane->SetAutoHideParents(nullptr, nullptr);
    delete pButton;
    if (!m_lstButtons.IsEmpty())
        return TRUE;
    // The last button takes the strip and its space in the dock bar with it.
    CQMXPDockBar* pDockBar = m_pParentDockBar;
    if (pDockBar != nullptr) {
        pDockBar->RemoveControlBar(this);
        CRect rectClient;
        pDockBar->GetClientRect(&rectClient);
        pDockBar->OnSizeChanged(rectClient);
    }
    DestroyWindow();
    return TRUE;
}

void CQMXPAutoHideToolBar::ShowPaneButton(CQMXPDockingControlBar* pPane, BOOL bShow, BOOL bDelay) {
    CQMXPAutoHideButton* pButton = FindButton(pPane);
    if (pButton != nullptr)
        pButton->SetShown(bShow);
    if (!bDelay)
        UpdateStripVisibility();
}

void CQMXPAutoHideToolBar::UpdateStripVisibility() {
    const int nShown = GetShownButtonCount();
    if (m_pParentDockBar == nullptr)
        return;
    if (nShown == 0)
        m_pParentDockBar->ShowControlBar(this, FALSE, FALSE, FALSE);
    else if (!(GetStyle() & WS_VISIBLE))
        m_pParentDockBar->ShowControlBar(this, TRUE, FALSE, FALSE);
}

int CQMXPAutoHideToolBar::GetShownButtonCount() const {
    int nCount = 0;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
        nCount += static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetNext(pos))->IsShown() ? 1 : 0;
    return nCount;
}

CQMXPAutoHideButton* CQMXPAutoHideToolBar::ButtonFromPoint(CPoint pt) const {
    for (BOOL bTopOnly : {TRUE, FALSE}) {
        for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
            auto* pButton = static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetNext(pos));
            if ((bTopOnly && !pButton->IsOnTop()) || !pButton->IsShown())
                continue;
            if (pButton->GetRect().PtInRect(pt))
                return pButton;
        }
    }
    return nullptr;
}

CQMXPDockingControlBar* CQMXPAutoHideToolBar::GetFirstPane() const {
    if (m_lstButtons.IsEmpty())
        return nullptr;
    return static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetHead())->GetPane();
}

// Size and group ----------------------------------------------------------------------------

CSize CQMXPAutoHideToolBar::CalcFixedLayout(BOOL, BOOL) {
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

CSize CQMXPAutoHideToolBar::CalcLayoutSize(int, BOOL) {
    if (m_lstButtons.IsEmpty())
        return CalcFixedLayout(FALSE, TRUE);
    auto* pButton = static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetTail());
    const CSize size = pButton->CalcButtonSize();
    pButton->SetRect(CRect(CPoint(0, 0), size));
    CWnd::SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

void CQMXPAutoHideToolBar::SetActiveInGroup(BOOL bActive) {
    CQMXPControlBar::SetActiveInGroup(bActive);
    auto* pDockBar = DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, m_pParentDockBar);
    if (bActive && m_pDockBarRow != nullptr) {
        CObList lstGroup;
        m_pDockBarRow->GetGroupOfBar(this, lstGroup);
        for (POSITION pos = lstGroup.GetHeadPosition(); pos != nullptr;) {
            auto* pStrip = static_cast<CQMXPControlBar*>(lstGroup.GetNext(pos));
            if (pStrip != this)
                pStrip->CQMXPControlBar::SetActiveInGroup(FALSE);
        }
    }
    if (pDockBar != nullptr)
        pDockBar->LayoutStrips();
    Invalidate();
}

// Messages ------------------------------------------------------------------------------------

void CQMXPAutoHideToolBar::KillHoverTimer() {
    if (m_nHoverTimerID != 0 && GetSafeHwnd() != nullptr)
        KillTimer(m_nHoverTimerID);
    m_nHoverTimerID = 0;
}

void CQMXPAutoHideToolBar::OnPaint() {
    CPaintDC dc(this);
    // The buttons marked top are drawn last, over the others.
    CQMXPAutoHideButton* pTop = nullptr;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPAutoHideButton*>(m_lstButtons.GetNext(pos));
        if (pButton->IsOnTop())
            pTop = pButton;
        else if (pButton->IsShown())
            pButton->Draw(&dc);
    }
    if (pTop != nullptr && pTop->IsShown())
        pTop->Draw(&dc);
}

void CQMXPAutoHideToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    CQMXPControlBar::OnMouseMove(nFlags, point);
    CQMXPAutoHideButton* pButton = ButtonFromPoint(point);
    if (pButton == nullptr || m_bHoverPending || pButton->GetPane() == nullptr ||
        (pButton->GetPane()->GetStyle() & WS_VISIBLE))
        return;
    m_bHoverPending = TRUE;
    KillHoverTimer();
    m_clkHoverStart = CQMXPDockManager::m_pfnClock();
    m_nHoverTimerID = SetTimer(kHoverTimer, m_nHoverDelay, nullptr);
}

void CQMXPAutoHideToolBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kHoverTimer) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        CQMXPAutoHideButton* pButton = ButtonFromPoint(pt);
        // The rest is measured by the clock: a tick that comes early waits for the remainder.
        const long nRested = CQMXPDockManager::m_pfnClock() - m_clkHoverStart;
        KillHoverTimer();
        if (pButton != nullptr && m_bHoverPending && nRested < static_cast<long>(m_nHoverDelay)) {
            m_nHoverTimerID = SetTimer(kHoverTimer, static_cast<UINT>(m_nHoverDelay - nRested), nullptr);
            return;
        }
        if (pButton != nullptr && m_bHoverPending) {
            m_bHoverPending = FALSE;
            if (pButton->GetPane() != nullptr && !(pButton->GetPane()->GetStyle() & WS_VISIBLE))
                pButton->SlidePane(TRUE);
        } else {
            m_bHoverPending = FALSE;
        }
    }
    CQMXPControlBar::OnTimer(nIDEvent);
}

void CQMXPAutoHideToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    CQMXPAutoHideButton* pButton = ButtonFromPoint(point);
    if (pButton != nullptr && pButton->GetPane() != nullptr)
        pButton->GetPane()->SetFocus();
    CQMXPControlBar::OnLButtonDown(nFlags, point);
}

void CQMXPAutoHideToolBar::OnNcDestroy() {
    KillHoverTimer();
    const BOOL bMade = m_bWindowMade;
    CQMXPControlBar::OnNcDestroy();
    if (bMade)
        delete this;
}
