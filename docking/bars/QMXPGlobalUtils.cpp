#include "docking/bars/QMXPGlobalUtils.h"

#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPRegistry.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/PropertySheet.h"

CQMXPGlobalUtils::CQMXPGlobalUtils() : m_bDialogApp(FALSE) {}

CQMXPGlobalUtils::~CQMXPGlobalUtils() = default;

CQMXPDockManager* CQMXPGlobalUtils::GetDockManager(CWnd* pWnd) {
    if (pWnd == nullptr)
        return nullptr;
    // Each kind of library frame keeps its own dock manager.
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMDIFrameWnd)))
        return static_cast<CQMXPMDIFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd)))
        return static_cast<CQMXPMDIChildWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPFrameWnd)))
        return static_cast<CQMXPFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPOleIPFrameWnd)))
        return static_cast<CQMXPOleIPFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPOleDocIPFrameWnd)))
        return static_cast<CQMXPOleDocIPFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPOleCntrFrameWnd)))
        return static_cast<CQMXPOleCntrFrameWnd*>(pWnd)->GetDockManager();
    if (pWnd->IsKindOf(RUNTIME_CLASS(CDialog)) || pWnd->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        m_bDialogApp = TRUE;
    return nullptr;
}

BOOL CQMXPGlobalUtils::CheckAlignment(CPoint point, CQMXPBaseControlBar* pBar, int nSensitivity, BOOL bOuterEdge,
                                      DWORD& dwAlignment, DWORD dwEnabledDockBars, LPCRECT lpRectBounds) const {
    CRect rect;
    if (pBar != nullptr)
        pBar->GetWindowRect(&rect);
    else if (lpRectBounds != nullptr)
        rect = *lpRectBounds;
    else
        return FALSE;
    const int s = nSensitivity;
    // The caption of a docking pane widens its top strip, its bottom tab
    // strip the bottom one.
    const int c = pBar != nullptr ? pBar->GetCaptionHeight() : 0;
    int h = 0;
    if (const auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pBar)) {
        CRect rectTabTop;
        CRect rectTabBottom;
        pPane->GetTabArea(rectTabTop, rectTabBottom);
        h = rectTabBottom.Height();
    }
    const struct {
        DWORD dwSide;
        CRect rectInner;
        CRect rectOuter;
    } strips[] = {
        {0x2000, CRect(rect.left - s, rect.top - s, rect.right + s, rect.top + c + s),
         CRect(rect.left - s, rect.top - s, rect.right + s, rect.top)},
        {0x1000, CRect(rect.left - s, rect.top - s, rect.left + s, rect.bottom + s),
         CRect(rect.left - s, rect.top - s, rect.left, rect.bottom + s)},
        {0x8000, CRect(rect.left - s, rect.bottom - h - s, rect.right + s, rect.bottom + s),
         CRect(rect.left - s, rect.bottom, rect.right + s, rect.bottom + s)},
        {0x4000, CRect(rect.right - s, rect.top - s, rect.right + s, rect.bottom + s),
         CRect(rect.right, rect.top - s, rect.right + s, rect.bottom + s)},
    };
    for (const auto& strip : strips) {
        const CRect& rectStrip = bOuterEdge ? strip.rectOuter : strip.rectInner;
        if (rectStrip.PtInRect(point) && (dwEnabledDockBars & strip.dwSide) != 0) {
            dwAlignment = strip.dwSide;
            return TRUE;
        }
    }
    return FALSE;
}

void CQMXPGlobalUtils::FlipRect(CRect& rect, int nAngle) const {
    const CRect rectOld = rect;
    switch (nAngle) {
    case 90:
        rect.SetRect(rectOld.bottom, rectOld.left, rectOld.top, rectOld.right);
        break;
    case 180:
        rect.SetRect(rectOld.left, rectOld.bottom, rectOld.right, rectOld.top);
        break;
    case -90:
        rect.SetRect(rectOld.top, rectOld.right, rectOld.bottom, rectOld.left);
        break;
    default:
        break;
    }
}

void CQMXPGlobalUtils::SetNewParent(CObList& lstControlBars, CWnd* pNewParent, BOOL bCheckVisibility) {
    for (POSITION pos = lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CWnd*>(lstControlBars.GetNext(pos));
        if (bCheckVisibility && !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPSlider))) {
            pBar->SetParent(pNewParent);
            continue;
        }
        CRect rect;
        pBar->GetWindowRect(&rect);
        pBar->ShowWindow(SW_HIDE);
        pBar->SetParent(pNewParent);
        pNewParent->ScreenToClient(&rect);
        pBar->CWnd::SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->ShowWindow(SW_SHOW);
    }
}

BOOL CQMXPGlobalUtils::CanBeDockedToMultiMiniFrame(CWnd* pWnd) const {
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd)))
        pWnd = static_cast<CQMXPMiniFrameWnd*>(pWnd)->GetControlBar();
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pWnd);
    if (pBar == nullptr)
        return FALSE;
    // A tabbed bar already floating among several panes may join another such frame.
    if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar)) &&
        DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pBar->GetParentMiniFrame(TRUE)) != nullptr)
        return TRUE;
    return (pBar->GetBarStyle() & QMXP_CBRS_FLOAT_MULTI) != 0;
}

BOOL CQMXPGlobalUtils::FindDockTarget(const CQMXPBarContainerManager& containerManager, CPoint point,
                                      CQMXPDockingControlBar*& pTargetBar, DWORD& dwAlignment, BOOL& bTabArea,
                                      BOOL& bCaption) const {
    const int s = qmxDockSensitivity;
    pTargetBar = nullptr;
    bTabArea = FALSE;
    bCaption = FALSE;
    // Where panes may not be attached as tabs, a caption is the pane's top edge.
    CQMXPDockingControlBar* pCaptionBar = nullptr;
    if (containerManager.IsPointInMiniFrameCaption(point, pCaptionBar) && pCaptionBar != nullptr) {
        pTargetBar = pCaptionBar;
        if (pCaptionBar->CanBeAttached())
            bCaption = TRUE;
        else
            dwAlignment = 0x2000;
        return TRUE;
    }
    pTargetBar = containerManager.ControlBarFromPoint(point, s, TRUE, bTabArea, bCaption);
    if (pTargetBar != nullptr && (bTabArea || bCaption) && pTargetBar->CanBeAttached())
        return TRUE;
    if (pTargetBar != nullptr) {
        bTabArea = bCaption = FALSE;
        if (!CheckAlignment(point, pTargetBar, s, FALSE, dwAlignment, 0xF000))
            pTargetBar = nullptr;
        return TRUE;
    }
    containerManager.ControlBarFromPoint(point, s, FALSE, bTabArea, bCaption);
    return TRUE;
}

void CQMXPGlobalUtils::CalcExpectedDockedRect(const CQMXPBarContainerManager& containerManager, CWnd* pWndToDock,
                                              CPoint point, CRect& rectResult, BOOL& bDrawTab,
                                              CQMXPDockingControlBar** ppTargetBar) const {
    bDrawTab = FALSE;
    if (ppTargetBar != nullptr)
        *ppTargetBar = nullptr;
    rectResult.SetRectEmpty();
    DWORD dwAlignment = 0x1000;
    if (::GetKeyState(VK_CONTROL) < 0 || pWndToDock == nullptr)
        return;
    CQMXPDockingControlBar* pTarget = nullptr;
    BOOL bTabArea = FALSE;
    BOOL bCaption = FALSE;
    FindDockTarget(containerManager, point, pTarget, dwAlignment, bTabArea, bCaption);
    if (pTarget == nullptr)
        return;
    CQMXPMiniFrameWnd* pTargetFrame = pTarget->GetParentMiniFrame(TRUE);
    const DWORD dwTargetAlignment = pTargetFrame != nullptr ? 0xF000 : pTarget->GetCurrentAlignment();
    // A floating frame stands for its bar.
    auto* pDraggedFrame = DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, pWndToDock);
    CQMXPBaseControlBar* pDraggedBar =
        pDraggedFrame != nullptr ? pDraggedFrame->GetControlBar() : DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pWndToDock);
    if (pDraggedFrame != nullptr && (pDraggedBar == nullptr || (pDraggedBar->GetEnabledAlignment() & dwTargetAlignment) == 0))
        return;
    bDrawTab = bTabArea || bCaption;
    const BOOL bAccepted = pTargetFrame != nullptr ? CanBeDockedToMultiMiniFrame(pWndToDock)
                                                   : pDraggedBar != nullptr && pTarget->CanAcceptBar(pDraggedBar);
    if (!bAccepted || pTarget == pWndToDock || (pDraggedFrame != nullptr && pTargetFrame == pDraggedFrame)) {
        bDrawTab = FALSE;
        return;
    }
    if (ppTargetBar != nullptr)
        *ppTargetBar = pTarget;
    if (bDrawTab)
        return;
    // The share of the target that the dragged window would take on that side.
    CRect rectNew;
    if (auto* pGroupFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pDraggedFrame))
        pGroupFrame->GetContainerManager().GetWindowRect(rectNew);
    else if (pDraggedBar != nullptr)
        pDraggedBar->GetWindowRect(&rectNew);
    if (auto* pDraggedControlBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pDraggedBar)) {
        CSize sizeMin;
        pDraggedControlBar->GetMinSize(sizeMin);
        CQMXPBarContainerManager::WidenToMinSize(rectNew, sizeMin);
    }
    CRect rectTarget;
    pTarget->GetWindowRect(&rectTarget);
    CRect rectSlider;
    DWORD dwSliderStyle = 0;
    CQMXPBarContainerManager::SplitRect(rectTarget, rectNew, rectSlider, dwAlignment, dwSliderStyle);
    rectResult = rectNew;
}

CPoint QMXPGetCursorPos() {
    CPoint pt;
    ::GetCursorPos(&pt);
    return pt;
}

CString QMXPRegisterBarClass(LPCWSTR lpszPrefix) {
    HINSTANCE hInst = AfxGetInstanceHandle();
    HCURSOR hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    const HBRUSH hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    CString strClass;
    strClass.Format(L"%s:%x:%x:%x:%x", lpszPrefix, static_cast<UINT>(reinterpret_cast<UINT_PTR>(hInst)), CS_DBLCLKS,
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(hCursor)),
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(hbrBackground)));
    WNDCLASSW wc;
    if (::GetClassInfoW(hInst, strClass, &wc))
        return strClass;
    wc = WNDCLASSW();
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = strClass;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
    return strClass;
}

CString QMXPBarStateKey(LPCWSTR lpszSection, LPCWSTR lpszClassName, LPCWSTR lpszProfileName, UINT uiID,
                        int nIndex) {
    const CString strSection = QMXPGetRegPath(lpszSection, lpszProfileName);
    CString strKey;
    if (nIndex == -1)
        strKey.Format(L"%s%s-%d", static_cast<LPCWSTR>(strSection), lpszClassName, uiID);
    else
        strKey.Format(L"%s%s-%d%x", static_cast<LPCWSTR>(strSection), lpszClassName, uiID, nIndex);
    return strKey;
}
