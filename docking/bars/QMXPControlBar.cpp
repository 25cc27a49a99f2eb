#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPBaseTabbedBar.h"

#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPTabbedToolbar.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNCREATE(CQMXPControlBar, CQMXPBaseControlBar)

namespace {

constexpr DWORD kGripperStyle = 0x400000;

const wchar_t kRegID[] = L"ID";
const wchar_t kRegRectRecentFloat[] = L"RectRecentFloat";
const wchar_t kRegRectRecentDocked[] = L"RectRecentDocked";
const wchar_t kRegRecentFrameAlignment[] = L"RecentFrameAlignment";
const wchar_t kRegRecentRowIndex[] = L"RecentRowIndex";
const wchar_t kRegIsFloating[] = L"IsFloating";
const wchar_t kRegMRUWidth[] = L"MRUWidth";
const wchar_t kRegPinState[] = L"PinState";

}  // namespace

CQMXPControlBar::CQMXPControlBar()
    : m_bMoving(FALSE),
      m_dwReserved{1, 1, 1},
      m_nCount(0),
      m_pData(nullptr),
      m_cxLeftBorder(6),
      m_cxRightBorder(6),
      m_cyTopBorder(2),
      m_cyBottomBorder(2),
      m_cxDefaultGap(2),
      m_nMRUWidth(32767),
      m_bCaptured(FALSE),
      m_nID(0),
      m_bIgnoreButtonUp(FALSE),
      m_bDragMode(FALSE),
      m_pMiniFrameRTC(RUNTIME_CLASS(CQMXPMiniFrameWnd)),
      m_hwndTempMiniFrame(nullptr),
      m_bExclusiveRow(FALSE),
      m_nPinState(0),
      m_recentDockInfo(this),
      m_bRestoredFloating(FALSE),
      m_bPassedToMiniFrame(FALSE) {}

CQMXPControlBar::~CQMXPControlBar() {
    // An object deleted before its window is forgotten by its dock bar and row
    // here: the window's own destruction comes later, when this class's
    // handlers no longer run, and a row keeping the pointer would lay out
    // freed memory. Nothing is laid out: the program may be ending.
    if (m_pParentDockBar != nullptr && ::IsWindow(m_hWnd))
        m_pParentDockBar->ForgetControlBar(this);
    m_pParentDockBar = nullptr;
    delete[] m_pData;
}

BOOL CQMXPControlBar::IsTabbed() const {
    CWnd* pParent = GetSafeHwnd() != nullptr ? GetParent() : nullptr;
    CWnd* pGrandParent = pParent != nullptr ? pParent->GetParent() : nullptr;
    if (pGrandParent == nullptr)
        return FALSE;
    if (pParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabWnd)))
        return pGrandParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabbedBar)) ||
               pGrandParent->IsKindOf(RUNTIME_CLASS(CQMXPTabbedToolbar));
    return pParent->IsKindOf(RUNTIME_CLASS(CQMXPDockingCBWrapper)) &&
           pGrandParent->IsKindOf(RUNTIME_CLASS(CQMXPBaseTabWnd));
}

BOOL CQMXPControlBar::DocksToFrameEdge() const { return FALSE; }

BOOL CQMXPControlBar::CanBeDocked(CQMXPBaseControlBar* pDockBar) const {
    return pDockBar != nullptr && (pDockBar->GetCurrentAlignment() & GetEnabledAlignment()) != 0;
}

BOOL CQMXPControlBar::Create(LPCWSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             DWORD dwControlBarStyle, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, dwStyle, rect, pParentWnd, nID, dwControlBarStyle, pContext);
}

BOOL CQMXPControlBar::CreateEx(DWORD dwStyleEx, LPCWSTR lpszClassName, DWORD dwStyle, const RECT& rect,
                               CWnd* pParentWnd, UINT nID, DWORD dwControlBarStyle, CCreateContext* pContext) {
    CString strClass = lpszClassName != nullptr ? CString(lpszClassName) : QMXPRegisterBarClass(L"QMXControlBar");
    m_nID = nID;
    if (!CQMXPBaseControlBar::CreateEx(dwStyleEx, strClass, nullptr, dwStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                       rect, pParentWnd, nID, dwControlBarStyle, pContext))
        return FALSE;
    CRect rectScreen = rect;
    if (pParentWnd != nullptr)
        pParentWnd->ClientToScreen(&rectScreen);
    if (m_recentDockInfo.m_recentMiniFrameInfo.m_rectDockedRect.IsRectEmpty())
        m_recentDockInfo.m_recentMiniFrameInfo.m_rectDockedRect = rectScreen;
    if (m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect.IsRectEmpty())
        m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect = rectScreen;
    if (!rectScreen.IsRectEmpty())
        m_recentDockInfo.m_rectRecentFloatingRect = rectScreen;
    SetOwner(pParentWnd);
    UpdateFullSizeRect();
    if (m_dwControlBarStyle & CanFloat() & QMXP_CBRS_FLOAT)
        m_dragFrame.Init(this);
    return TRUE;
}

// Geometry --------------------------------------------------------------

void CQMXPControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CQMXPControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    const DWORD dwStyle = GetBarStyle();
    if (!IsFloating() && !IsTabbed()) {
        if (dwStyle & 0x100)
            rect.left += globalData.borderSize;
        if (dwStyle & 0x200)
            rect.top += globalData.borderSize;
        if (dwStyle & 0x400)
            rect.right -= globalData.borderSize;
        if (dwStyle & 0x800)
            rect.bottom -= globalData.borderSize;
    }
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
    if ((dwStyle & kGripperStyle) && !(dwStyle & QMXP_CBRS_FLOATING)) {
        if (bHorz)
            rect.left += globalData.gripperSize;
        else
            rect.top += globalData.gripperSize;
    }
}

BOOL CQMXPControlBar::AllocElements(int nElements, int cbElement) {
    BYTE* pData = nullptr;
    if (nElements > 0) {
        const size_t cbTotal = static_cast<size_t>(nElements) * static_cast<size_t>(cbElement);
        pData = new (std::nothrow) BYTE[cbTotal];
        if (pData == nullptr)
            return FALSE;
        std::memset(pData, 0, cbTotal);
    }
    delete[] m_pData;
    m_pData = pData;
    m_nCount = nElements;
    return TRUE;
}

void CQMXPControlBar::UpdateFullSizeRect() { UpdateFullSizeRect(CalcFixedLayout(FALSE, IsHorizontal())); }

void CQMXPControlBar::UpdateFullSizeRect(CSize size) {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    GetWindowRect(&rect);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->ScreenToClient(&rect);
    m_rectVirtualFull = CRect(rect.TopLeft(), size);
}

void CQMXPControlBar::GetFullSizeRect(CRect& rect) const {
    rect = m_rectVirtualFull;
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->ClientToScreen(&rect);
}

int CQMXPControlBar::GetAvailableExpandSize() const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const int nDiff = IsHorizontal() ? m_rectVirtualFull.Width() - rectWindow.Width()
                                     : m_rectVirtualFull.Height() - rectWindow.Height();
    return std::max(nDiff, 0);
}

int CQMXPControlBar::GetAvailableStretchSize() const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CSize sizeMin;
    GetMinSize(sizeMin);
    return IsHorizontal() ? rectWindow.Width() - sizeMin.cx : rectWindow.Height() - sizeMin.cy;
}

int CQMXPControlBar::StretchBar(int nDelta, HDWP&) {
    const int nExpand = GetAvailableExpandSize();
    const int nStretch = std::max(GetAvailableStretchSize(), 0);
    if (nDelta > 0 && nExpand == 0)
        return 0;
    nDelta = nDelta > 0 ? std::min(nDelta, nExpand) : std::max(nDelta, -nStretch);
    OnBeforeStretch(nDelta);
    if (nDelta == 0)
        return 0;
    CRect rect;
    GetWindowRect(&rect);
    if (IsHorizontal())
        rect.right += nDelta;
    else
        rect.bottom += nDelta;
    GetParent()->ScreenToClient(&rect);
    CWnd::MoveWindow(&rect, TRUE);
    OnAfterStretch(nDelta);
    return nDelta;
}

CSize CQMXPControlBar::ResizeBar(CRect rect, BOOL bNoMinimum) {
    CRect rectOld;
    GetWindowRect(&rectOld);
    CSize sizeMin;
    GetMinSize(sizeMin);
    if (!bNoMinimum) {
        if (rect.Width() < sizeMin.cx) {
            if (rect.right == rectOld.right && rect.left != rectOld.left)
                rect.left = rect.right - sizeMin.cx;
            else
                rect.right = rect.left + sizeMin.cx;
        }
        if (rect.Height() < sizeMin.cy) {
            if (rect.bottom == rectOld.bottom && rect.top != rectOld.top)
                rect.top = rect.bottom - sizeMin.cy;
            else
                rect.bottom = rect.top + sizeMin.cy;
        }
    }
    const CSize sizeChange(rect.Width() - rectOld.Width(), rect.Height() - rectOld.Height());
    GetParent()->ScreenToClient(&rect);
    CWnd::MoveWindow(&rect, TRUE);
    return sizeChange;
}

CSize CQMXPControlBar::AdjustSizeToMin(CRect& rect) {
    CSize sizeMin;
    GetMinSize(sizeMin);
    rect.right = rect.left + std::max<int>(rect.Width(), sizeMin.cx);
    rect.bottom = rect.top + std::max<int>(rect.Height(), sizeMin.cy);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    return CSize(rect.Width() - rectWindow.Width(), rect.Height() - rectWindow.Height());
}

void CQMXPControlBar::UpdateSize(BOOL bRecalcLayout) {
    const CSize size = CalcFixedLayout(FALSE, IsHorizontal());
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (rectWindow.Size() != size)
        CQMXPBaseControlBar::SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOACTIVATE);
    if (m_pParentDockBar == nullptr)
        return;
    UpdateFullSizeRect();
    if (bRecalcLayout) {
        if (m_pDockBarRow != nullptr)
            m_pDockBarRow->ArrangeBars(this);
        CFrameWnd* pFrame = QMXFindOwnerFrame(this);
        if (pFrame != nullptr)
            pFrame->RecalcLayout(TRUE);
    }
}

void CQMXPControlBar::MoveByAlignment(DWORD dwAlignment, int nOffset) {
    CRect rect;
    GetWindowRect(&rect);
    GetParent()->ScreenToClient(&rect);
    if (dwAlignment & 0x5000) {
        rect.OffsetRect(nOffset, 0);
        m_rectVirtualFull.OffsetRect(nOffset, 0);
    } else {
        rect.OffsetRect(0, nOffset);
        m_rectVirtualFull.OffsetRect(0, nOffset);
    }
    CQMXPBaseControlBar::SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CQMXPControlBar::IsLeftOf(CPoint pt, BOOL bWindowRect) const {
    if (m_pParentDockBar == nullptr)
        return TRUE;
    CRect rect;
    GetWindowRect(&rect);
    if (!bWindowRect)
        m_pParentDockBar->ScreenToClient(&rect);
    return m_pParentDockBar->IsHorizontal() ? pt.x < rect.left : pt.y < rect.top;
}

void CQMXPControlBar::DoPaint(CDC* pDC) {
    CQMXPBaseControlBar::DoPaint(pDC);
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnDrawBarBorder(pDC, this, rectClient);
}

// Recent place and registry -----------------------------------------------

void CQMXPControlBar::StoreRecentDockInfo() {
    m_recentDockInfo.m_pRecentDockBar = m_pParentDockBar;
    m_recentDockInfo.m_pRecentDockBarRow = m_pDockBarRow;
    if (m_pParentDockBar != nullptr && m_pDockBarRow != nullptr)
        m_recentDockInfo.m_nRecentRowIndex = m_pParentDockBar->GetRowIndex(m_pDockBarRow);
    CRect rect;
    GetWindowRect(&rect);
    CWnd* pReference = m_pParentDockBar != nullptr ? static_cast<CWnd*>(m_pParentDockBar) : GetDockSiteFrameWnd();
    if (pReference != nullptr)
        pReference->ScreenToClient(&rect);
    m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect = rect;
}

BOOL CQMXPControlBar::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    const CString strKey =
        QMXPBarStateKey(qmxRegControlBarSection, L"QMXPControlBar", lpszProfileName, uiID, nIndex);

    // The recent place as it is now.
    if (IsFloating()) {
        CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame();
        if (pMiniFrame != nullptr)
            pMiniFrame->GetWindowRect(&m_recentDockInfo.m_rectRecentFloatingRect);
    } else {
        StoreRecentDockInfo();
        if (m_pParentDockBar != nullptr)
            m_recentDockInfo.m_dwRecentAlignmentToFrame = m_pParentDockBar->GetCurrentAlignment();
    }
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
        if (pReg->CreateKey(strKey)) {
            pReg->Write(kRegID, static_cast<DWORD>(m_nID));
            pReg->Write(kRegRectRecentFloat, m_recentDockInfo.m_rectRecentFloatingRect);
            pReg->Write(kRegRectRecentDocked, m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect);
            pReg->Write(kRegRecentFrameAlignment, m_recentDockInfo.m_dwRecentAlignmentToFrame);
            pReg->Write(kRegRecentRowIndex, m_recentDockInfo.m_nRecentRowIndex);
            pReg->Write(kRegIsFloating, static_cast<DWORD>(IsFloating()));
            pReg->Write(kRegMRUWidth, m_nMRUWidth);
            pReg->Write(kRegPinState, m_nPinState);
        }
    }
    return CQMXPBaseControlBar::SaveState(lpszProfileName, uiID, nIndex);
}

BOOL CQMXPControlBar::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    const CString strKey =
        QMXPBarStateKey(qmxRegControlBarSection, L"QMXPControlBar", lpszProfileName, uiID, nIndex);
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
        if (!pReg->Open(strKey))
            return FALSE;
        DWORD dwID = m_nID;
        pReg->Read(kRegID, dwID);
        m_nID = dwID;
        pReg->Read(kRegRectRecentFloat, m_recentDockInfo.m_rectRecentFloatingRect);
        pReg->Read(kRegRectRecentDocked, m_rectRestoredDocked);
        m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect = m_rectRestoredDocked;
        pReg->Read(kRegRecentFrameAlignment, m_recentDockInfo.m_dwRecentAlignmentToFrame);
        pReg->Read(kRegRecentRowIndex, m_recentDockInfo.m_nRecentRowIndex);
        pReg->Read(kRegIsFloating, m_bRestoredFloating);
        pReg->Read(kRegMRUWidth, m_nMRUWidth);
        pReg->Read(kRegPinState, m_nPinState);
    }
    return CQMXPBaseControlBar::LoadState(lpszProfileName, uiID, nIndex);
}

void CQMXPControlBar::RestoreDockState(CQMXPDockManager* pDockManager) {
    if (m_bRestoredFloating) {
        ShowControlBar(GetRecentVisibleState(), TRUE, FALSE);
        return;
    }
    CQMXPDockBar* pDockBar = pDockManager->DockBarForSide(m_recentDockInfo.m_dwRecentAlignmentToFrame, TRUE);
    if (pDockBar != nullptr)
        pDockManager->DockControlBar(this, pDockBar->GetDockBarID(), &m_rectRestoredDocked);
    if (m_pParentDockBar != nullptr) {
        m_pParentDockBar->ShowControlBar(this, GetRecentVisibleState(), TRUE, FALSE);
        if (m_pDockBarRow != nullptr)
            m_pDockBarRow->UpdateVisibleState(TRUE);
    }
}
