#include "docking/bars/QMXPDragFrameImpl.h"

#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinThread.h"

#include <cstdlib>

namespace {
// The control-bar style of the placeholder tab.
constexpr DWORD kPlaceholderBarStyle = 0x20;
}  // namespace

CQMXPDragFrameImpl::CQMXPDragFrameImpl()
    : m_pFinalTargetBar(nullptr),
      m_bDragStarted(FALSE),
      m_bShowTabOutline(FALSE),
      m_nInsertedTabIndex(-1),
      m_nOldThickness(globalData.dragFrameWidthSmall),
      m_pDockManager(nullptr),
      m_pDraggedWnd(nullptr),
      m_pTargetBar(nullptr),
      m_bTabOutlineDrawn(FALSE) {}

CQMXPDragFrameImpl::~CQMXPDragFrameImpl() = default;

void CQMXPDragFrameImpl::Init(CWnd* pDraggedWnd) {
    m_pDraggedWnd = pDraggedWnd;
    CWnd* pDockSite = nullptr;
    if (pDraggedWnd->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd))) {
        pDockSite = static_cast<CQMXPMiniFrameWnd*>(pDraggedWnd)->GetParentFrame();
    } else if (pDraggedWnd->IsKindOf(RUNTIME_CLASS(CQMXPControlBar))) {
        auto* pBar = static_cast<CQMXPControlBar*>(pDraggedWnd);
        CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame(TRUE);
        pDockSite = pMiniFrame != nullptr ? pMiniFrame->GetParentFrame() : pBar->GetDockSiteFrameWnd();
    }
    m_pDockManager = qmxGlobalUtils.GetDockManager(pDockSite);
}

CQMXPDragFrameImpl::OutlineObserver CQMXPDragFrameImpl::m_pfnOutlineObserver = nullptr;

void CQMXPDragFrameImpl::DrawDragRect(LPCRECT lpRectLast, LPCRECT lpRect, BOOL bFirstTime, int nThickness,
                                      int nLastThickness) {
    if (m_pfnOutlineObserver != nullptr)
        m_pfnOutlineObserver(lpRect != nullptr ? CRect(lpRect) : CRect(0, 0, 0, 0), nThickness);
    CWnd* pDesktop = CWnd::GetDesktopWindow();
    CDC* pDC = pDesktop->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (pDC == nullptr)
        return;
    pDC->DrawDragRect(lpRect, CSize(nThickness, nThickness), bFirstTime ? nullptr : lpRectLast,
                      CSize(nLastThickness, nLastThickness));
    pDesktop->ReleaseDC(pDC);
}

void CQMXPDragFrameImpl::RemoveTabPreDocking() {
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, m_pTargetBar);
    CQMXPBaseTabWnd* pTabWnd = pTabbedBar != nullptr ? pTabbedBar->GetUnderlinedWindow() : nullptr;
    if (m_nInsertedTabIndex != -1 && pTabWnd != nullptr && ::IsWindow(pTabWnd->GetSafeHwnd()) &&
        pTabWnd->GetTabWnd(m_nInsertedTabIndex) == &qmxDummyDockingBar) {
        // The placeholder goes on serving later drags: the strip lets go of
        // its window without destroying it.
        qmxDummyDockingBar.ShowWindow(SW_HIDE);
        const BOOL bAutoDestroy = pTabWnd->IsAutoDestroyWindow();
        pTabWnd->SetAutoDestroyWindow(FALSE);
        pTabWnd->RemoveTab(m_nInsertedTabIndex, TRUE);
        pTabWnd->SetAutoDestroyWindow(bAutoDestroy);
    }
    if (m_bTabOutlineDrawn && m_pTargetBar != nullptr)
        DrawFrameTab(m_pTargetBar, TRUE);
    m_nInsertedTabIndex = -1;
}

CString CQMXPDragFrameImpl::DraggedBarName() const {
    CWnd* pNamed = m_pDraggedWnd;
    if (m_pDraggedWnd->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd))) {
        CQMXPBaseControlBar* pBar = static_cast<CQMXPMiniFrameWnd*>(m_pDraggedWnd)->GetControlBar();
        if (pBar != nullptr)
            pNamed = pBar;
    }
    CString strName;
    pNamed->GetWindowText(strName);
    return strName;
}

void CQMXPDragFrameImpl::MoveDragFrame(BOOL bForceMove) {
    m_pFinalTargetBar = nullptr;
    if (m_pDraggedWnd == nullptr || m_pDockManager == nullptr)
        return;
    // The placeholder's window dies with the main window it was made in.
    if (!::IsWindow(qmxDummyDockingBar.GetSafeHwnd())) {
        CWnd* pParent = AfxGetMainWnd();
        if (pParent == nullptr)
            pParent = m_pDraggedWnd->GetTopLevelFrame();
        if (pParent != nullptr)
            qmxDummyDockingBar.Create(L"", pParent, CRect(0, 0, 0, 0), FALSE, 0, WS_CHILD, 0, kPlaceholderBarStyle);
    }
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    const CSize offset = ptCursor - m_ptHot;
    if (m_rectDrag.IsRectEmpty() && !bForceMove && std::abs(offset.cx) < qmxDragThresholdX &&
        std::abs(offset.cy) < qmxDragThresholdY)
        return;
    m_bDragStarted = TRUE;
    m_pDockManager->LockRedraw(TRUE);
    const CRect rectLast = LastDrawnRect();
    if (m_rectDrag.IsRectEmpty()) {
        m_pDraggedWnd->GetWindowRect(&m_rectDrag);
        if (m_pDraggedWnd->IsKindOf(RUNTIME_CLASS(CQMXPControlBar))) {
            auto* pBar = static_cast<CQMXPControlBar*>(m_pDraggedWnd);
            if (!pBar->IsFloating()) {
                const CRect rectFloat = pBar->GetRecentFloatingRect();
                m_rectDrag.right = m_rectDrag.left + rectFloat.Width();
                m_rectDrag.bottom = m_rectDrag.top + rectFloat.Height();
                if (!m_rectDrag.PtInRect(m_ptHot))
                    m_rectDrag.OffsetRect(m_ptHot.x - m_rectDrag.left - 5, 0);
            }
        }
    }
    CRect rectDocked;
    BOOL bDrawTab = FALSE;
    CQMXPDockingControlBar* pTarget = nullptr;
    m_pDockManager->ExpectedDockRect(m_pDraggedWnd, ptCursor, rectDocked, bDrawTab, &pTarget);
    CQMXPBaseControlBar* pOldTarget = m_pTargetBar;
    if (pOldTarget != nullptr && m_nInsertedTabIndex != -1 && (pOldTarget != pTarget || !bDrawTab))
        RemoveTabPreDocking();
    m_pTargetBar = pTarget;
    BOOL bMayTab = TRUE;
    if (m_pDraggedWnd->IsKindOf(RUNTIME_CLASS(CQMXPBaseControlBar)))
        bMayTab = static_cast<CQMXPBaseControlBar*>(m_pDraggedWnd)->CanBeAttached();
    if (pTarget != nullptr && bMayTab && bDrawTab) {
        // A tabbed group shows where the window would go as a tab of its
        // own at the end of its strip; any other target gets the
        // tab-shaped outline.
        auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTarget);
        CQMXPBaseTabWnd* pTabWnd = pTabbedBar != nullptr ? pTabbedBar->GetUnderlinedWindow() : nullptr;
        const int nVisibleTabs = pTabbedBar != nullptr ? pTabbedBar->GetVisibleTabsNum() : 0;
        if (pTabWnd != nullptr && (nVisibleTabs > 1 || (nVisibleTabs == 1 && !pTabbedBar->IsHideSingleTab()))) {
            if (m_nInsertedTabIndex == -1 && ::IsWindow(qmxDummyDockingBar.GetSafeHwnd())) {
                if (!bForceMove)
                    EndDrawDragFrame(FALSE);
                pTabWnd->AddTab(&qmxDummyDockingBar, DraggedBarName(), static_cast<UINT>(-1), FALSE);
                m_nInsertedTabIndex = pTabWnd->GetTabsNum() - 1;
            }
            return;
        }
        if (m_nInsertedTabIndex == -1) {
            if (!bForceMove)
                EndDrawDragFrame(FALSE);
            DrawFrameTab(pTarget, FALSE);
            m_nInsertedTabIndex = 1;
        }
        return;
    }
    m_rectDrag.OffsetRect(offset);
    m_ptHot = ptCursor;
    m_rectExpectedDocked = rectDocked;
    const int nThickness = rectDocked.IsRectEmpty() ? globalData.dragFrameWidthSmall : globalData.dragFrameWidth;
    CRect rectNew = rectDocked;
    if (rectDocked.IsRectEmpty()) {
        if (!m_rectDrag.PtInRect(ptCursor)) {
            const int cx = m_rectDrag.Width();
            const int cy = m_rectDrag.Height();
            m_rectDrag.left = ptCursor.x - cx / 2;
            m_rectDrag.top = ptCursor.y - 5;
            m_rectDrag.right = m_rectDrag.left + cx;
            m_rectDrag.bottom = m_rectDrag.top + cy;
        }
        rectNew = m_rectDrag;
    }
    DrawDragRect(rectLast, rectNew, rectLast.IsRectEmpty(), nThickness, m_nOldThickness);
    m_nOldThickness = nThickness;
}

void CQMXPDragFrameImpl::EndDrawDragFrame(BOOL bClearInternalRects) {
    if (m_pDockManager == nullptr)
        return;
    const CRect rectLast = LastDrawnRect();
    if (m_nInsertedTabIndex == -1) {
        if (!rectLast.IsRectEmpty())
            DrawDragRect(rectLast, CRect(0, 0, 0, 0), FALSE, 0, m_nOldThickness);
    } else {
        m_bShowTabOutline = TRUE;
    }
    if (bClearInternalRects) {
        RemoveTabPreDocking();
        m_rectDrag.SetRectEmpty();
        m_rectExpectedDocked.SetRectEmpty();
        m_pFinalTargetBar = m_pTargetBar;
        m_pTargetBar = nullptr;
    }
    m_bDragStarted = FALSE;
    m_pDockManager->LockRedraw(FALSE);
}

void CQMXPDragFrameImpl::DrawFrameTab(CQMXPBaseControlBar* pTargetBar, BOOL bErase) {
    CRect rect;
    pTargetBar->GetWindowRect(&rect);
    const int h = globalData.textHeight;
    const int w = globalData.dragFrameWidth;
    const CRect rectBody(rect.left, rect.top, rect.right, rect.bottom - h);
    CRect rectTab(rect.left + 10, rect.bottom - h, rect.left + 50, rect.bottom);
    if (rectTab.right >= rect.right)
        rectTab.right = rect.right - w - 4;
    const CRect rectJoint(rectTab.left + w, rect.bottom - h - w, rectTab.right - w, rect.bottom - h + w);
    for (const CRect& part : {rectBody, rectTab, rectJoint})
        DrawDragRect(nullptr, part, TRUE, w, w);
    m_bTabOutlineDrawn = !bErase;
}
