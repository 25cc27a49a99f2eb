#include "docking/frames/QMXPOleFrames.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameLayout.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "platform/classlib/MessageMap.h"

#include <vector>

CFrameWnd* qmxCommandTargetOverride = nullptr;

namespace {

// The direct children of the window, collected before any goes.
std::vector<HWND> ChildrenOf(HWND hWnd) {
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

void SendToMiniFrames(CQMXPDockManager& dockManager, UINT message, WPARAM wParam) {
    for (POSITION pos = dockManager.GetFloatingFrames().GetHeadPosition(); pos != nullptr;) {
        auto* pMiniFrame = static_cast<CWnd*>(dockManager.GetFloatingFrames().GetNext(pos));
        if (pMiniFrame->GetSafeHwnd() != nullptr)
            pMiniFrame->SendMessage(message, wParam, 0);
    }
}

void CloseOpenPopup() {
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->SendMessage(WM_CLOSE);
}

}  // namespace

// --- The container's frame -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CQMXPOleCntrFrameWnd, COleCntrFrameWnd)

BEGIN_MESSAGE_MAP(CQMXPOleCntrFrameWnd, COleCntrFrameWnd)
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CQMXPOleCntrFrameWnd::CQMXPOleCntrFrameWnd(COleIPFrameWnd* pInPlaceFrame) : COleCntrFrameWnd(pInPlaceFrame) {}

CQMXPOleCntrFrameWnd::~CQMXPOleCntrFrameWnd() {
    std::vector<HWND> miniFrames;
    for (POSITION pos = m_dockManager.GetFloatingFrames().GetHeadPosition(); pos != nullptr;)
        miniFrames.push_back(static_cast<CWnd*>(m_dockManager.GetFloatingFrames().GetNext(pos))->GetSafeHwnd());
    for (HWND hWnd : miniFrames) {
        if (::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
    // The container's window holds the container's own windows too: only
    // the bars the server docked there go with the wrapper.
    if (m_hWnd != nullptr) {
        for (HWND hWnd : ChildrenOf(m_hWnd)) {
            CWnd* pChild = CWnd::FromHandlePermanent(hWnd);
            if (::IsWindow(hWnd) && ::GetParent(hWnd) == m_hWnd && pChild != nullptr &&
                pChild->IsKindOf(RUNTIME_CLASS(CQMXPBaseControlBar)))
                ::DestroyWindow(hWnd);
        }
    }
    m_dockManager.m_pFrame = nullptr;
}

BOOL CQMXPOleCntrFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    m_dockManager.Create(this);
    return COleCntrFrameWnd::PreCreateWindow(cs);
}

void CQMXPOleCntrFrameWnd::RecalcLayout(BOOL bNotify) {
    COleCntrFrameWnd::RecalcLayout(bNotify);
    m_dockManager.RelayoutAllBars(bNotify);
    CView* pView = GetActiveView();
    if (m_dockManager.IsPrintPreviewValid() && pView != nullptr &&
        pView->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView))) {
        CRect rect;
        m_dockManager.GetClientAreaBounds(rect);
        pView->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CQMXPOleCntrFrameWnd::AdjustDockingLayout(HDWP hdwp) {
    m_dockManager.AdjustDockingLayout(hdwp);
    if (m_dockManager.m_bLayoutEnabled && m_hWnd != nullptr) {
        QMXPAdjustClientArea(this, m_dockManager);
        QMXPSetPaneClipStyles(this);
    }
}

BOOL CQMXPOleCntrFrameWnd::OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_dockManager.OnMoveMiniFrame(pFrame); }

BOOL CQMXPOleCntrFrameWnd::AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail) {
    return m_dockManager.AddControlBar(pControlBar, bTail, FALSE, FALSE);
}

void CQMXPOleCntrFrameWnd::DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    m_dockManager.DockControlBar(pBar, nDockBarID, lpRect);
}

void CQMXPOleCntrFrameWnd::OnSize(UINT nType, int cx, int cy) {
    COleCntrFrameWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        AdjustDockingLayout(nullptr);
}

void CQMXPOleCntrFrameWnd::OnSizing(UINT fwSide, LPRECT pRect) {
    COleCntrFrameWnd::OnSizing(fwSide, pRect);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (rectWindow.Size() != CRect(pRect).Size())
        AdjustDockingLayout(nullptr);
}

LRESULT CQMXPOleCntrFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    Default();
    SendToMiniFrames(m_dockManager, WM_IDLEUPDATECMDUI, wParam);
    for (POSITION pos = m_dockManager.GetBars().GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CWnd*>(m_dockManager.GetBars().GetNext(pos));
        if (pBar->GetSafeHwnd() != nullptr)
            pBar->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return 0;
}

// --- What the in-place frames share --------------------------------------------------------------

CQMXPInPlaceFrameCore::CQMXPInPlaceFrameCore(COleIPFrameWnd* pFrame) : m_pFrame(pFrame), m_Impl(pFrame) {
    m_dockManager.Create(pFrame);
}

void CQMXPInPlaceFrameCore::OnActivate(UINT nState) {
    if (nState == WA_ACTIVE || nState == WA_CLICKACTIVE) {
        if (nState == WA_CLICKACTIVE)
            m_pFrame->UpdateWindow();
        if (qmxCommandTargetOverride != m_pFrame) {
            m_hwndPrevTarget = qmxCommandTargetOverride != nullptr ? qmxCommandTargetOverride->GetSafeHwnd() : nullptr;
            qmxCommandTargetOverride = m_pFrame;
        }
        return;
    }
    if (!CQMXPToolBar::m_bCustomizeMode)
        m_Impl.DeactivateMenu();
    CloseOpenPopup();
    GiveBackCommandTarget();
}

void CQMXPInPlaceFrameCore::GiveBackCommandTarget() {
    if (qmxCommandTargetOverride != m_pFrame)
        return;
    CWnd* pPrev = m_hwndPrevTarget != nullptr ? CWnd::FromHandlePermanent(m_hwndPrevTarget) : nullptr;
    qmxCommandTargetOverride =
        pPrev != nullptr && pPrev->IsFrameWnd() && ::IsWindow(m_hwndPrevTarget) ? static_cast<CFrameWnd*>(pPrev)
                                                                                : nullptr;
}

BOOL CQMXPInPlaceFrameCore::OnCreateControlBars(CFrameWnd* pWndFrame) {
    COleCntrFrameWnd* pWrapper = m_pFrame->m_pMainFrame;
    if (pWrapper != nullptr && pWrapper->IsKindOf(RUNTIME_CLASS(CQMXPOleCntrFrameWnd)))
        return TRUE;
    HWND hWndContainer = pWrapper != nullptr ? pWrapper->GetSafeHwnd() : pWndFrame->GetSafeHwnd();
    if (hWndContainer == nullptr)
        return FALSE;
    // The class library's wrapper lets go of the container's window; the
    // library's takes it, so that the server's bars dock there.
    if (pWrapper != nullptr) {
        pWrapper->Detach();
        delete pWrapper;
    }
    auto* pLibraryWrapper = new CQMXPOleCntrFrameWnd(m_pFrame);
    pLibraryWrapper->Attach(hWndContainer);
    pLibraryWrapper->BindDockManager();
    m_pFrame->m_pMainFrame = pLibraryWrapper;
    return TRUE;
}

void CQMXPInPlaceFrameCore::OnDestroy() {
    CloseOpenPopup();
    GiveBackCommandTarget();
    m_Impl.DeactivateMenu();
    m_dockManager.m_pFrame = nullptr;
    for (HWND hWnd : ChildrenOf(m_pFrame->m_hWnd)) {
        if (::IsWindow(hWnd) && ::GetParent(hWnd) == m_pFrame->m_hWnd)
            ::DestroyWindow(hWnd);
    }
    m_Impl.m_pMenuBar = nullptr;
}

void CQMXPInPlaceFrameCore::RecalcLayout(BOOL bNotify) {
    m_dockManager.RelayoutAllBars(bNotify);
    CView* pView = m_pFrame->GetActiveView();
    if (m_dockManager.IsPrintPreviewValid() && pView != nullptr &&
        pView->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView))) {
        CRect rect;
        m_dockManager.GetClientAreaBounds(rect);
        pView->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CQMXPInPlaceFrameCore::OnIdleUpdateCmdUI() {
    SendToMiniFrames(m_dockManager, WM_IDLEUPDATECMDUI, 0);
    if (m_pFrame->m_pMainFrame != nullptr && m_pFrame->m_pMainFrame->IsKindOf(RUNTIME_CLASS(CQMXPOleCntrFrameWnd)))
        m_pFrame->m_pMainFrame->SendMessage(WM_IDLEUPDATECMDUI, 0, 0);
}

BOOL CQMXPInPlaceFrameCore::ShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
    m_Impl.OnShowPopupMenu(pMenuPopup);
    return pMenuPopup != nullptr && pMenuPopup->bShown;
}

void CQMXPInPlaceFrameCore::OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup) {
    if (CQMXPPopupMenu::activePopupMenu == pMenuPopup)
        CQMXPPopupMenu::activePopupMenu = nullptr;
}

// --- The in-place frames -------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CQMXPOleIPFrameWnd, COleIPFrameWnd)
IMPLEMENT_DYNCREATE(CQMXPOleDocIPFrameWnd, COleDocIPFrameWnd)
