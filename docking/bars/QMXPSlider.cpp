#include "docking/bars/QMXPSlider.h"

#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPDragFrameImpl.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CQMXPSlider, CQMXPBaseControlBar)

int CQMXPSlider::m_nNextSliderID = 1;
int CQMXPSlider::m_nDefaultWidth = 4;

namespace {

constexpr UINT kIdcStretchHorz = 30980;
constexpr UINT kIdcStretchVert = 30981;

void LoadCursorOnce(HCURSOR& hCursor, UINT nID) {
    if (hCursor == nullptr)
        hCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID));
}

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPSlider, CQMXPBaseControlBar)
    ON_WM_CREATE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CANCELMODE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CQMXPSlider::CQMXPSlider(BOOL bDefaultSlider, CWnd* pParent)
    : m_nID(static_cast<UINT>(-1)),
      m_dwSliderStyle(0),
      m_nWidth(0),
      m_bCaptured(FALSE),
      m_bDefaultSlider(bDefaultSlider),
      m_bAutoHideMode(FALSE),
      m_nMinOffset(0),
      m_nMaxOffset(0),
      m_nStep(-1),
      m_pContainerManager(nullptr),
      m_pParentWnd(pParent) {}

CQMXPSlider::~CQMXPSlider() {
    // A slider that never had a window still owns its manager.
    if (m_bDefaultSlider)
        delete m_pContainerManager;
}

BOOL CQMXPSlider::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, dwStyle, rect, pParentWnd, nID, pContext);
}

BOOL CQMXPSlider::CreateEx(DWORD dwStyleEx, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                           CCreateContext* pContext) {
    const CString strClass = QMXPRegisterBarClass(L"QMXSlider");
    m_nID = nID;
    m_dwSliderStyle = dwStyle;
    const CRect rectSlider(rect);
    if (dwStyle & QMXP_SS_VERT)
        m_nWidth = rectSlider.Width();
    else if (dwStyle & QMXP_SS_HORZ)
        m_nWidth = rectSlider.Height();
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    if (m_bDefaultSlider && m_pContainerManager == nullptr) {
        m_pContainerManager = new CQMXPBarContainerManager;
        m_pContainerManager->Create(pParentWnd, this, nullptr);
    }
    m_pDockSite = pParentWnd != nullptr && pParentWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pParentWnd)
                                                                     : QMXFindOwnerFrame(pParentWnd);
    m_bWindowMade = FALSE;
    if (!CWnd::CreateEx(dwStyleEx, strClass, nullptr, dwStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        rectSlider, pParentWnd, nID, pContext))
        return FALSE;
    m_bWindowMade = TRUE;
    return TRUE;
}

int CQMXPSlider::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPBaseControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    LoadCursorOnce(globalData.hcurStretchHorz, kIdcStretchHorz);
    LoadCursorOnce(globalData.hcurStretchVert, kIdcStretchVert);
    return 0;
}

void CQMXPSlider::OnNcDestroy() {
    if (m_pContainerManager != nullptr && !m_bDefaultSlider)
        m_pContainerManager->RemoveSlider(this);
    if (m_bDefaultSlider) {
        delete m_pContainerManager;
        m_pContainerManager = nullptr;
    }
    const BOOL bMade = m_bWindowMade;
    CQMXPBaseControlBar::OnNcDestroy();
    if (bMade)
        delete this;
}

BOOL CQMXPSlider::IsInsertTarget() const {
    return m_pContainerManager == nullptr || m_pContainerManager->AllowsInsertion();
}

CSize CQMXPSlider::CalcFixedLayout(BOOL, BOOL) {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CSize size = rectWindow.Size();
    if (m_pContainerManager != nullptr) {
        CRect rectTree;
        m_pContainerManager->GetWindowRect(rectTree);
        size += rectTree.Size();
    }
    return size;
}

// Panes -----------------------------------------------------------------------

void CQMXPSlider::AddControlBar(CQMXPDockingControlBar* pBar) {
    if (m_pContainerManager == nullptr)
        return;
    m_pContainerManager->AddControlBar(pBar);
    CheckVisibility();
}

CQMXPDockingControlBar* CQMXPSlider::AddRecentControlBar(CQMXPDockingControlBar* pBar) {
    if (m_pContainerManager == nullptr)
        return nullptr;
    CQMXPDockingControlBar* pResult = nullptr;
    CQMXPBarContainer* pNode = pBar->GetRecentDockInfo().GetRecentContainer(TRUE);
    if (pNode != nullptr && CQMXPBarContainer::IsLive(pNode)) {
        pResult = m_pContainerManager->AddControlBarToRecentContainer(pBar, pNode);
    } else if (m_pContainerManager->GetRootContainer() == nullptr ||
               m_pContainerManager->GetRootContainer()->IsContainerEmpty()) {
        m_pContainerManager->AddControlBar(pBar);
        pResult = pBar;
    } else {
        // Its place is gone: the pane joins the group beside its first pane.
        const DWORD dwSide = IsHorizontal() ? 0x4000 : 0x8000;
        if (m_pContainerManager->InsertControlBar(pBar, m_pContainerManager->GetFirstBar(), dwSide))
            pResult = pBar;
    }
    CheckVisibility();
    return pResult;
}

BOOL CQMXPSlider::InsertControlBar(CQMXPDockingControlBar* pBar, CQMXPDockingControlBar* pTargetBar,
                                   DWORD dwAlignment, LPCRECT) {
    if (m_pContainerManager == nullptr)
        return FALSE;
    const BOOL bResult = m_pContainerManager->InsertControlBar(pBar, pTargetBar, dwAlignment);
    CheckVisibility();
    return bResult;
}

BOOL CQMXPSlider::AddContainerManager(CQMXPDockingControlBar* pTargetBar, DWORD dwAlignment,
                                      CQMXPBarContainerManager& other, BOOL bCopy) {
    if (m_pContainerManager == nullptr)
        return FALSE;
    const BOOL bResult = m_pContainerManager->AddContainerManager(pTargetBar, dwAlignment, other, bCopy);
    CheckVisibility();
    return bResult;
}

BOOL CQMXPSlider::AddContainerManager(CQMXPBarContainerManager& other, BOOL bCopy) {
    if (m_pContainerManager == nullptr)
        return FALSE;
    const BOOL bResult = m_pContainerManager->AddContainerManager(other, bCopy);
    CheckVisibility();
    return bResult;
}

void CQMXPSlider::RemoveControlBar(CQMXPDockingControlBar* pBar) {
    if (m_pContainerManager == nullptr)
        return;
    m_pContainerManager->RemoveControlBarFromContainer(pBar);
    RemoveControlBarFromDockManager(pBar, FALSE, FALSE, m_bAutoHideMode);
    // A slider that nothing refers to any more goes; one a pane will come
    // back to stays, hidden.
    if (m_pContainerManager->IsEmpty() && m_pContainerManager->GetTotalRefCount() == 0 &&
        pBar->GetRecentDockInfo().GetRecentDefaultSlider() != this) {
        RemoveIfEmpty();
        return;
    }
    if (CheckVisibility() == 0)
        ShowWindow(SW_HIDE);
}

void CQMXPSlider::RemoveIfEmpty() {
    if (m_pContainerManager == nullptr || !m_pContainerManager->IsEmpty() ||
        m_pContainerManager->GetTotalRefCount() != 0)
        return;
    CQMXPDockManager* pDockManager = DockManagerOfSite();
    if (pDockManager != nullptr)
        pDockManager->RemoveControlBarFromDockManager(this, FALSE, FALSE, m_bAutoHideMode);
    // The window takes the object and its manager with it.
    DestroyWindow();
}

BOOL CQMXPSlider::ReplaceControlBar(CQMXPDockingControlBar* pOld, CQMXPDockingControlBar* pNew) {
    if (m_pContainerManager == nullptr)
        return FALSE;
    const BOOL bResult = m_pContainerManager->ReplaceControlBar(pOld, pNew);
    CheckVisibility();
    return bResult;
}

int CQMXPSlider::CheckVisibility() {
    if (!m_bDefaultSlider || m_bAutoHideMode || m_pContainerManager == nullptr)
        return 0;
    const int nVisible = m_pContainerManager->GetVisibleBarCount();
    ShowWindow(nVisible > 0 ? SW_SHOW : SW_HIDE);
    return nVisible;
}

void CQMXPSlider::ShowControlBar(CQMXPDockingControlBar* pBar, BOOL bShow) {
    if (m_pContainerManager == nullptr || m_bAutoHideMode)
        return;
    if (bShow) {
        m_pContainerManager->OnShowControlBar(pBar, TRUE);
        ShowWindow(SW_SHOW);
        return;
    }
    const BOOL bAnyVisible = m_pContainerManager->OnShowControlBar(pBar, FALSE);
    ShowWindow(bAnyVisible ? SW_SHOW : SW_HIDE);
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = m_pContainerManager->FindContainer(pBar, bLeft);
    if (pNode != nullptr)
        pNode->FillNodeRect(pBar, FALSE);
}

BOOL CQMXPSlider::IsManagerEmpty() const { return m_pContainerManager != nullptr && m_pContainerManager->IsEmpty(); }

void CQMXPSlider::CalcExpectedDockedRect(CWnd* pWndToDock, CPoint ptMouse, CRect& rectResult, BOOL& bDrawTab,
                                         CQMXPDockingControlBar** ppTargetBar) {
    rectResult.SetRectEmpty();
    bDrawTab = FALSE;
    if (m_pContainerManager != nullptr)
        qmxGlobalUtils.CalcExpectedDockedRect(*m_pContainerManager, pWndToDock, ptMouse, rectResult, bDrawTab,
                                              ppTargetBar);
}

void CQMXPSlider::StoreRecentDockInfo(CQMXPDockingControlBar* pBar) {
    if (m_pContainerManager != nullptr)
        m_pContainerManager->StoreRecentDockInfo(pBar);
}

CQMXPDockingControlBar* CQMXPSlider::ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bExactBar,
                                                         BOOL& bIsTabArea, BOOL& bCaption) {
    bIsTabArea = bCaption = FALSE;
    return m_pContainerManager != nullptr
               ? m_pContainerManager->ControlBarFromPoint(point, nSensitivity, bExactBar, bIsTabArea, bCaption)
               : nullptr;
}

CQMXPDockingControlBar* CQMXPSlider::GetFirstBar() const {
    return m_pContainerManager != nullptr ? m_pContainerManager->GetFirstBar() : nullptr;
}

void CQMXPSlider::GetRootRect(CRect& rect) const {
    rect.SetRectEmpty();
    if (m_pContainerManager != nullptr)
        m_pContainerManager->GetWindowRect(rect);
}

// Placing and moving ----------------------------------------------------------------

void CQMXPSlider::RepositionPanes(CRect rect, HDWP& hdwp) {
    CRect rectSlider = rect;
    CRect rectRest = rect;
    switch (GetCurrentAlignment() & 0xF000) {
    case 0x8000:
        rectSlider.bottom = rectSlider.top + m_nWidth;
        rectRest.top = rectSlider.bottom;
        break;
    case 0x4000:
        rectSlider.right = rectSlider.left + m_nWidth;
        rectRest.left = rectSlider.right;
        break;
    case 0x1000:
        rectSlider.left = rectSlider.right - m_nWidth;
        rectRest.right = rectSlider.left;
        break;
    case 0x2000:
        rectSlider.top = rectSlider.bottom - m_nWidth;
        rectRest.bottom = rectSlider.top;
        break;
    default:
        break;
    }
    CWnd* pParent = GetParent();
    if (pParent != nullptr) {
        pParent->ScreenToClient(&rectSlider);
        pParent->ScreenToClient(&rectRest);
    }
    hdwp = MoveWindow(rectSlider, TRUE, hdwp);
    if (m_pContainerManager != nullptr)
        m_pContainerManager->ResizeBarContainers(rectRest, hdwp);
}

void CQMXPSlider::MoveSlider(CSize offset) {
    CRect rect;
    GetWindowRect(&rect);
    int nOffset = 0;
    if (m_dwSliderStyle & QMXP_SS_VERT) {
        nOffset = offset.cx;
        rect.OffsetRect(nOffset, 0);
    } else if (m_dwSliderStyle & QMXP_SS_HORZ) {
        nOffset = offset.cy;
        rect.OffsetRect(0, nOffset);
    } else {
        return;
    }
    HDWP hdwp = ::BeginDeferWindowPos(50);
    if (m_pContainerManager != nullptr)
        m_pContainerManager->OnMoveSlider(this, nOffset, hdwp);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    AdjustDockingLayout(nullptr);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->ScreenToClient(&rect);
    CWnd::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// Dragging -------------------------------------------------------------------------------

void CQMXPSlider::OnLButtonDown(UINT, CPoint) {
    if (!m_bCaptured) {
        m_bCaptured = TRUE;
        SetCapture();
        CRect rect;
        GetWindowRect(&rect);
        const int nHalf = m_nWidth / 2;
        CQMXPDragFrameImpl::DrawDragRect(nullptr, rect, TRUE, nHalf, nHalf);
        m_rectDragBounds = rect;
        if (m_pContainerManager != nullptr)
            m_pContainerManager->GetMinMaxOffset(this, m_nMinOffset, m_nMaxOffset, m_nStep);
        m_rectTrackBounds = rect;
        if (IsHorizontal()) {
            m_rectTrackBounds.top += m_nMinOffset;
            m_rectTrackBounds.bottom += m_nMaxOffset;
        } else {
            m_rectTrackBounds.left += m_nMinOffset;
            m_rectTrackBounds.right += m_nMaxOffset;
        }
    }
    Default();
}

void CQMXPSlider::OnMouseMove(UINT, CPoint) {
    if (!m_bCaptured) {
        Default();
        return;
    }
    const CPoint ptCursor = QMXPGetCursorPos();
    const int nHalf = m_nWidth / 2;
    CRect rect = m_rectDragBounds;
    // The outline keeps its thickness along the axis the slider moves on
    // (x for a vertical slider); at a limit it stops there.
    const BOOL bAlongX = (m_dwSliderStyle & QMXP_SS_VERT) != 0;
    LONG& nStart = bAlongX ? rect.left : rect.top;
    LONG& nEnd = bAlongX ? rect.right : rect.bottom;
    const LONG nLimitStart = bAlongX ? m_rectTrackBounds.left : m_rectTrackBounds.top;
    const LONG nLimitEnd = bAlongX ? m_rectTrackBounds.right : m_rectTrackBounds.bottom;
    const LONG nLength = nEnd - nStart;
    nStart = (bAlongX ? ptCursor.x : ptCursor.y) - nHalf;
    nEnd = nStart + m_nWidth;
    if (nStart < nLimitStart) {
        nStart = nLimitStart;
        nEnd = nStart + nLength;
    }
    if (nEnd > nLimitEnd) {
        nEnd = nLimitEnd;
        nStart = nEnd - nLength;
    }
    CQMXPDragFrameImpl::DrawDragRect(m_rectDragBounds, rect, FALSE, nHalf, nHalf);
    m_rectDragBounds = rect;
    Default();
}

void CQMXPSlider::OnLButtonUp(UINT, CPoint) {
    StopTracking(TRUE);
    Default();
}

void CQMXPSlider::OnCancelMode() {
    StopTracking(FALSE);
    Default();
}

void CQMXPSlider::StopTracking(BOOL bMove) {
    if (!m_bCaptured)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const CSize offset = m_rectDragBounds.TopLeft() - rectWindow.TopLeft();
    CQMXPDragFrameImpl::DrawDragRect(m_rectDragBounds, CRect(0, 0, 0, 0), FALSE, 0, m_nWidth / 2);
    m_rectDragBounds.SetRectEmpty();
    m_bCaptured = FALSE;
    ::ReleaseCapture();
    if (bMove)
        MoveSlider(offset);
}

BOOL CQMXPSlider::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest != HTCLIENT)
        return CQMXPBaseControlBar::OnSetCursor(pWnd, nHitTest, message);
    if (m_dwSliderStyle & QMXP_SS_HORZ)
        ::SetCursor(globalData.hcurStretchVert);
    else if (m_dwSliderStyle & QMXP_SS_VERT)
        ::SetCursor(globalData.hcurStretchHorz);
    return TRUE;
}

void CQMXPSlider::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillRect(rect, &globalData.brBtnFace);
    if (!m_bAutoHideMode)
        return;
    // An auto-hide group's slider draws the edge it stands on.
    CRect rectLine = rect;
    COLORREF clrLine = globalData.clrBtnDkShadow;
    switch (GetCurrentAlignment() & 0xF000) {
    case 0x1000:
        rectLine.left = rectLine.right - 1;
        break;
    case 0x4000:
        rectLine.right = rectLine.left + 1;
        clrLine = globalData.clrBtnHilite;
        break;
    case 0x2000:
        rectLine.top = rectLine.bottom - 1;
        break;
    case 0x8000:
        rectLine.bottom = rectLine.top + 1;
        clrLine = globalData.clrBtnHilite;
        break;
    default:
        return;
    }
    dc.Draw3dRect(rectLine, clrLine, clrLine);
}

BOOL CQMXPSlider::OnEraseBkgnd(CDC*) { return TRUE; }

// The layout record ------------------------------------------------------------------------

void CQMXPSlider::Serialize(CArchive& ar) {
    CQMXPBaseControlBar::Serialize(ar);
    if (ar.IsStoring()) {
        CRect rect;
        GetWindowRect(&rect);
        CWnd* pParent = GetParent();
        if (pParent != nullptr)
            pParent->ScreenToClient(&rect);
        // The style carries the visibility as loading sets it.
        const BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
        ar << m_nID << m_nStep;
        ar << rect.left << rect.top << rect.right << rect.bottom;
        ar << static_cast<UINT>(bVisible ? 1 : 0);
        ar << ((m_dwSliderStyle & ~WS_VISIBLE) | (bVisible ? WS_VISIBLE : 0));
        ar << m_nWidth << m_bDefaultSlider << m_nMinOffset << m_nMaxOffset;
    } else {
        CRect rect;
        UINT nVisible = 0;
        ar >> m_nID >> m_nStep;
        ar >> rect.left >> rect.top >> rect.right >> rect.bottom;
        ar >> nVisible >> m_dwSliderStyle >> m_nWidth >> m_bDefaultSlider >> m_nMinOffset >> m_nMaxOffset;
        m_dwSliderStyle = nVisible != 0 ? (m_dwSliderStyle | WS_VISIBLE) : (m_dwSliderStyle & ~WS_VISIBLE);
        const int nWidth = m_nWidth;
        if (!CreateEx(0, m_dwSliderStyle, rect, m_pParentWnd, m_nID))
            AfxThrowArchiveException(CArchiveException::genericException);
        m_nWidth = nWidth;
    }
    if (m_bDefaultSlider && m_pContainerManager != nullptr)
        m_pContainerManager->Serialize(ar);
}
