#include "docking/bars/QMXPDockBar.h"

#include "docking/bars/QMXPControlBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPReBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Dialog.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPDockBar, CQMXPBaseControlBar)

BEGIN_MESSAGE_MAP(CQMXPDockBar, CQMXPBaseControlBar)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CQMXPDockBar::CQMXPDockBar() : m_lstControlBars(10), m_lstDockBarRows(10), m_nDockBarID(0) {}

CQMXPDockBar::~CQMXPDockBar() {
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;)
        delete m_lstDockBarRows.GetNext(pos);
    m_lstDockBarRows.RemoveAll();
}

BOOL CQMXPDockBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, DWORD dwControlBarStyle,
                          CCreateContext* pContext) {
    return CreateEx(0, dwStyle, rect, pParentWnd, dwControlBarStyle, pContext);
}

BOOL CQMXPDockBar::CreateEx(DWORD dwStyleEx, DWORD dwStyle, const RECT&, CWnd* pParentWnd, DWORD dwControlBarStyle,
                            CCreateContext* pContext) {
    const DWORD dwAlignment = dwStyle & 0xF000;
    EnableDocking(GetEnabledAlignment() | dwStyle);
    SetCurrentAlignment(dwAlignment);
    const CString strClass = QMXPRegisterBarClass(L"QMXDockBar");
    // Zero-thick on its side until a bar docks.
    CRect rectInit;
    pParentWnd->GetClientRect(&rectInit);
    switch (dwAlignment) {
    case 0x2000:
        rectInit.bottom = rectInit.top;
        m_nDockBarID = AFX_IDW_DOCKBAR_TOP;
        break;
    case 0x1000:
        rectInit.right = 0;
        m_nDockBarID = AFX_IDW_DOCKBAR_LEFT;
        break;
    case 0x4000:
        rectInit.left = rectInit.right;
        m_nDockBarID = AFX_IDW_DOCKBAR_RIGHT;
        break;
    default:
        rectInit.top = rectInit.bottom;
        m_nDockBarID = AFX_IDW_DOCKBAR_BOTTOM;
        break;
    }
    m_dwControlBarStyle = dwControlBarStyle;
    if (pParentWnd->IsFrameWnd())
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
    return CQMXPBaseControlBar::CreateEx(dwStyleEx, strClass, nullptr, (dwStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) & ~WS_VISIBLE,
                                         rectInit, pParentWnd, m_nDockBarID, dwControlBarStyle, pContext);
}

// Rows ------------------------------------------------------------------

CQMXPDockBarRow* CQMXPDockBar::CreateRow(int nOffset, int nHeight) {
    auto* pRow = new CQMXPDockBarRow(this, nOffset, nHeight);
    if (!pRow->Create()) {
        delete pRow;
        return nullptr;
    }
    return pRow;
}

int CQMXPDockBar::RowsOffset(POSITION posStop) const {
    int nOffset = 0;
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr && pos != posStop;) {
        auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos));
        if (pRow->IsVisible())
            nOffset += pRow->GetRowHeight();
    }
    return nOffset;
}

CQMXPDockBarRow* CQMXPDockBar::AddRow(POSITION posRowBefore, int nHeight) {
    const int nOffset = RowsOffset(posRowBefore);
    ResizeDockBarWindow(nHeight, TRUE);
    CQMXPDockBarRow* pRow = CreateRow(nOffset, nHeight);
    if (pRow == nullptr)
        return nullptr;
    if (posRowBefore == nullptr) {
        m_lstDockBarRows.AddTail(pRow);
    } else {
        POSITION posNew = m_lstDockBarRows.InsertBefore(posRowBefore, pRow);
        OnInsertRow(posNew);
    }
    return pRow;
}

void CQMXPDockBar::RemoveRow(CQMXPDockBarRow* pRow) {
    POSITION pos = m_lstDockBarRows.Find(pRow);
    if (pos == nullptr)
        return;
    if (pRow->IsVisible())
        ResizeDockBarWindow(-pRow->GetRowHeight(), TRUE);
    OnRemoveRow(pos, FALSE);
    m_lstDockBarRows.RemoveAt(pos);
    delete pRow;
}

void CQMXPDockBar::ShowRow(CQMXPDockBarRow* pRow, BOOL bShow, BOOL bAdjustLayout) {
    POSITION pos = m_lstDockBarRows.Find(pRow);
    if (pos == nullptr)
        return;
    OnShowRow(pos, bShow);
    ResizeDockBarWindow(bShow ? pRow->GetRowHeight() : -pRow->GetRowHeight(), bAdjustLayout);
}

int CQMXPDockBar::ResizeRow(CQMXPDockBarRow* pRow, int nNewSize, BOOL bAdjustLayout) {
    const int nDelta = nNewSize - pRow->GetRowHeight();
    if (nDelta < 0 && !pRow->IsEmpty()) {
        const CSize sizeNeeded = pRow->CalcFixedLayout(TRUE, IsHorizontal());
        if (nNewSize < (IsHorizontal() ? sizeNeeded.cy : sizeNeeded.cx))
            return 0;
    }
    const int nChange = ResizeRowBy(pRow, nDelta);
    if (pRow->IsVisible())
        ResizeDockBarWindow(nChange, bAdjustLayout);
    return nChange;
}

void CQMXPDockBar::SwapRows(CQMXPDockBarRow* pFirstRow, CQMXPDockBarRow* pSecondRow) {
    POSITION posFirst = m_lstDockBarRows.Find(pFirstRow);
    POSITION posSecond = m_lstDockBarRows.Find(pSecondRow);
    if (posFirst == nullptr || posSecond == nullptr)
        return;
    // Only neighbours among the visible rows change places.
    auto nearestVisible = [this](POSITION pos, bool bForward) -> CQMXPDockBarRow* {
        bForward ? m_lstDockBarRows.GetNext(pos) : m_lstDockBarRows.GetPrev(pos);
        while (pos != nullptr) {
            auto* pRow = static_cast<CQMXPDockBarRow*>(bForward ? m_lstDockBarRows.GetNext(pos) : m_lstDockBarRows.GetPrev(pos));
            if (pRow->IsVisible())
                return pRow;
        }
        return nullptr;
    };
    CQMXPDockBarRow* pEarlier;
    CQMXPDockBarRow* pLater;
    if (nearestVisible(posFirst, true) == pSecondRow) {
        pEarlier = pFirstRow;
        pLater = pSecondRow;
    } else if (nearestVisible(posFirst, false) == pSecondRow) {
        pEarlier = pSecondRow;
        pLater = pFirstRow;
    } else {
        return;
    }
    m_lstDockBarRows.SetAt(posFirst, pSecondRow);
    m_lstDockBarRows.SetAt(posSecond, pFirstRow);
    const int nEarlierExtent = pEarlier->GetRowHeight();
    pLater->Move(-nEarlierExtent);
    pEarlier->Move(pLater->GetRowHeight());
    UpdateBarRects();
}

void CQMXPDockBar::OnInsertRow(POSITION pos) {
    auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetAt(pos));
    const int nExtent = pRow->GetRowHeight();
    for (m_lstDockBarRows.GetNext(pos); pos != nullptr;)
        static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos))->Move(nExtent);
}

void CQMXPDockBar::OnRemoveRow(POSITION pos, BOOL bByShow) {
    auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetAt(pos));
    if (!pRow->IsVisible() && !bByShow)
        return;
    const int nExtent = pRow->GetRowHeight();
    for (m_lstDockBarRows.GetNext(pos); pos != nullptr;)
        static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos))->Move(-nExtent);
}

int CQMXPDockBar::ResizeRowBy(CQMXPDockBarRow* pRow, int nOffset) {
    POSITION pos = m_lstDockBarRows.Find(pRow);
    const int nChange = pRow->ChangeExtent(nOffset);
    if (pos != nullptr && pRow->IsVisible()) {
        for (m_lstDockBarRows.GetNext(pos); pos != nullptr;)
            static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos))->Move(nChange);
    }
    return nChange;
}

void CQMXPDockBar::OnShowRow(POSITION pos, BOOL bShow) {
    if (bShow)
        OnInsertRow(pos);
    else
        OnRemoveRow(pos, TRUE);
}

void CQMXPDockBar::ResizeDockBarWindow(int nOffset, BOOL bAdjustLayout) {
    CRect rect;
    GetWindowRect(&rect);
    GetParent()->ScreenToClient(&rect);
    switch (GetCurrentAlignment()) {
    case 0x8000:
        rect.top -= nOffset;
        break;
    case 0x4000:
        rect.left -= nOffset;
        break;
    case 0x1000:
        rect.right += nOffset;
        break;
    default:
        rect.bottom += nOffset;
        break;
    }
    CQMXPBaseControlBar::MoveWindow(rect, TRUE);
    if (bAdjustLayout)
        AdjustFrameLayout();
}

CQMXPDockBarRow* CQMXPDockBar::FindRowByBar(const CQMXPBaseControlBar* pBar) const {
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;) {
        auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos));
        if (pRow->GetControlBars().Find(const_cast<CQMXPBaseControlBar*>(pBar)) != nullptr)
            return pRow;
    }
    return nullptr;
}

int CQMXPDockBar::GetRowIndex(const CQMXPDockBarRow* pRow) const {
    int nIndex = 0;
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr; ++nIndex) {
        if (m_lstDockBarRows.GetNext(pos) == pRow)
            return nIndex;
    }
    return 0;
}

CQMXPControlBar* CQMXPDockBar::FindBarByID(UINT nID) const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pWnd = static_cast<CWnd*>(m_lstControlBars.GetNext(pos));
        if (static_cast<UINT>(pWnd->GetDlgCtrlID()) == nID)
            return DYNAMIC_DOWNCAST(CQMXPControlBar, pWnd);
        // A re-bar holds its bars as child windows of its bands.
        if (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPReBar))) {
            if (auto* pBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pWnd->GetDlgItem(static_cast<int>(nID))))
                return pBar;
        }
    }
    return nullptr;
}

CQMXPDockBarRow* CQMXPDockBar::RowFromPoint(CPoint pt, BOOL& bOutBeforeFirst) const {
    bOutBeforeFirst = FALSE;
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;) {
        auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos));
        if (!pRow->IsVisible())
            continue;
        CRect rectRow;
        pRow->GetWindowRect(rectRow);
        if (rectRow.PtInRect(pt))
            return pRow;
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    bOutBeforeFirst = IsHorizontal() ? pt.y < rectWindow.top : pt.x < rectWindow.left;
    return nullptr;
}

CQMXPDockBarRow* CQMXPDockBar::RowFromClientRect(const CRect& rect) const {
    CPoint pt = rect.TopLeft();
    ClientToScreen(&pt);
    BOOL bBeforeFirst = FALSE;
    return RowFromPoint(pt, bBeforeFirst);
}

// Docking -------------------------------------------------------------------

CQMXPDockBarRow* CQMXPDockBar::RowForRestore(CQMXPControlBar* pBar, int dockMethod, LPCRECT lpRect, int nHeight) {
    CQMXPRecentDockInfo& recent = pBar->GetRecentDockInfo();
    const int nRows = static_cast<int>(m_lstDockBarRows.GetCount());
    int nIndex = recent.m_nRecentRowIndex;
    CQMXPDockBarRow* pRow = nullptr;
    if (qmxRestoringDockState) {
        // An index read from the registry may be anything: it makes at most
        // one row more than there are.
        if (pBar->IsRestoredFromRegistry())
            nIndex = std::min(std::max(nIndex, 0), nRows);
        nIndex = std::max(nIndex, 0);
        for (int nRow = nRows; nRow <= nIndex; ++nRow)
            AddRow(nullptr, nHeight);
        pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetAt(m_lstDockBarRows.FindIndex(nIndex)));
    } else if (nIndex >= 0 && nIndex < nRows) {
        if (dockMethod == QMXP_DM_DBL_CLICK)
            pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetAt(m_lstDockBarRows.FindIndex(nIndex)));
        else if (lpRect != nullptr)
            pRow = RowFromClientRect(CRect(lpRect));
    } else {
        const CRect& rectRecent = recent.m_recentSliderInfo.m_rectDockedRect;
        if (dockMethod == QMXP_DM_DBL_CLICK && !rectRecent.IsRectEmpty())
            pRow = RowFromClientRect(rectRecent);
        else if (dockMethod != QMXP_DM_DBL_CLICK && lpRect != nullptr)
            pRow = RowFromClientRect(CRect(lpRect));
    }
    if (pRow == nullptr)
        pRow = AddRow(nullptr, nHeight);
    return pRow;
}

CQMXPDockBarRow* CQMXPDockBar::RowForBar(CQMXPControlBar* pBar, CQMXPDockBarRow* pRow, BOOL bBeforeFirst,
                                         int nHeight) {
    if (pRow == nullptr)
        return AddRow(bBeforeFirst ? m_lstDockBarRows.GetHeadPosition() : nullptr, nHeight);
    if (pRow->HasSingleRowBar() || (!pBar->CanShareRow() && !pRow->IsEmpty())) {
        POSITION pos = m_lstDockBarRows.Find(pRow);
        m_lstDockBarRows.GetNext(pos);
        return AddRow(pos, nHeight);
    }
    return pRow;
}

BOOL CQMXPDockBar::DockControlBar(CQMXPControlBar* pWnd, int dockMethod, LPCRECT lpRect) {
    CRect rectPlace(0, 0, 0, 0);
    if (lpRect != nullptr)
        rectPlace = *lpRect;
    const BOOL bHorz = IsHorizontal();
    const CSize size = pWnd->CalcFixedLayout(FALSE, bHorz);
    const int nHeight = bHorz ? size.cy : size.cx;
    if (m_lstControlBars.Find(pWnd) != nullptr)
        return TRUE;

    CQMXPDockBarRow* pRow = nullptr;
    BOOL bBeforeFirst = FALSE;
    CQMXPRecentDockInfo& recent = pWnd->GetRecentDockInfo();
    switch (dockMethod) {
    case QMXP_DM_MOUSE: {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        pRow = RowFromPoint(ptCursor, bBeforeFirst);
        break;
    }
    case QMXP_DM_DBL_CLICK:
    case QMXP_DM_RECT:
        if (dockMethod == QMXP_DM_DBL_CLICK && recent.m_pRecentDockBarRow != nullptr &&
            m_lstDockBarRows.Find(recent.m_pRecentDockBarRow) != nullptr) {
            pRow = recent.m_pRecentDockBarRow;
            rectPlace = recent.m_recentSliderInfo.m_rectDockedRect;
        } else {
            pRow = RowForRestore(pWnd, dockMethod, lpRect, nHeight);
            rectPlace = recent.m_recentSliderInfo.m_rectDockedRect;
        }
        ClientToScreen(&rectPlace);
        break;
    default:
        pRow = AddRow(nullptr, nHeight);
        break;
    }
    if (dockMethod == QMXP_DM_MOUSE || dockMethod == QMXP_DM_DBL_CLICK || dockMethod == QMXP_DM_RECT)
        pRow = RowForBar(pWnd, pRow, bBeforeFirst, nHeight);
    if (pRow == nullptr)
        return FALSE;
    pRow->AddControlBar(pWnd, dockMethod, rectPlace, FALSE);
    const CSize sizeAfter = pWnd->CalcFixedLayout(FALSE, bHorz);
    if (sizeAfter != size)
        ResizeRow(pRow, bHorz ? sizeAfter.cy : sizeAfter.cx, TRUE);
    m_lstControlBars.AddTail(pWnd);
    AdjustFrameLayout();
    ShowWindow(SW_SHOW);
    return FALSE;
}

BOOL CQMXPDockBar::DockControlBarLeftOf(CQMXPControlBar* pBarToDock, CQMXPControlBar* pTargetBar) {
    CQMXPDockBarRow* pRow = FindRowByBar(pTargetBar);
    if (pRow == nullptr)
        return FALSE;
    CRect rectTarget;
    pTargetBar->GetWindowRect(&rectTarget);
    ScreenToClient(&rectTarget);
    const CSize size = pBarToDock->CalcFixedLayout(FALSE, IsHorizontal());
    constexpr int kGap = 10;
    CRect rect = rectTarget;
    if (IsHorizontal()) {
        rect.right = rectTarget.left - kGap;
        rect.left = rect.right - size.cx;
    } else {
        rect.bottom = rectTarget.top - kGap;
        rect.top = rect.bottom - size.cy;
    }
    pBarToDock->AttachToDockBar(this, QMXP_DM_RECT);
    ClientToScreen(&rect);
    pRow->m_bIgnoreBarVisibility = TRUE;
    pRow->AddControlBar(pBarToDock, QMXP_DM_RECT, rect, FALSE);
    m_lstControlBars.InsertBefore(m_lstControlBars.Find(pTargetBar), pBarToDock);
    AdjustFrameLayout();
    UpdateBarRects();
    pRow->m_bIgnoreBarVisibility = FALSE;
    return TRUE;
}

void CQMXPDockBar::ForgetControlBar(CQMXPBaseControlBar* pWnd) {
    POSITION pos = m_lstControlBars.Find(pWnd);
    if (pos != nullptr)
        m_lstControlBars.RemoveAt(pos);
    for (POSITION posRow = m_lstDockBarRows.GetHeadPosition(); posRow != nullptr;)
        static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(posRow))->ForgetControlBar(pWnd);
}

void CQMXPDockBar::RemoveControlBar(CQMXPBaseControlBar* pWnd) {
    POSITION pos = m_lstControlBars.IsEmpty() ? nullptr : m_lstControlBars.Find(pWnd);
    if (pos == nullptr)
        return;
    m_lstControlBars.RemoveAt(pos);
    CQMXPDockBarRow* pRow = pWnd->GetDockBarRow();
    if (pRow != nullptr)
        pRow->RemoveControlBar(pWnd);
}

BOOL CQMXPDockBar::MoveControlBar(CQMXPControlBar* pControlBar, CPoint, int dx, int dy) {
    CRect rectMoved;
    pControlBar->GetFullSizeRect(rectMoved);
    rectMoved.OffsetRect(dx, dy);
    CQMXPDockBarRow* pRow = pControlBar->GetDockBarRow();
    if (pRow == nullptr)
        return FALSE;
    CRect rectRow;
    pRow->GetWindowRect(rectRow);

    CQMXPBaseControlBar* pDockBarUnder = nullptr;
    if (pControlBar->IsChangeState(qmxDockSensitivity, &pDockBarUnder)) {
        CRect rectFloat;
        pControlBar->GetFullSizeRect(rectFloat);
        rectFloat.OffsetRect(dx, dy);
        pControlBar->FloatControlBar(rectFloat, QMXP_DM_MOUSE, true);
        return TRUE;
    }
    BOOL bBeforeFirst = FALSE;
    CQMXPDockBarRow* pTargetRow = RowFromPoint(rectMoved.CenterPoint(), bBeforeFirst);
    const BOOL bHorz = IsHorizontal();
    const int d = bHorz ? std::min(rectRow.bottom - rectMoved.bottom, rectRow.top - rectMoved.top)
                        : std::min(rectRow.right - rectMoved.right, rectRow.left - rectMoved.left);
    const CSize sizeBar = rectMoved.Size();
    const int nThickness = bHorz ? sizeBar.cy : sizeBar.cx;
    const int nThreshold = 2 * nThickness / 3;
    if (std::abs(d) > nThreshold) {
        if (pRow->GetControlBars().GetCount() >= 2 && d < pRow->GetRowHeight()) {
            // The bar leaves its row for one of its own, before or after it.
            POSITION posRow = m_lstDockBarRows.Find(pRow);
            POSITION posNew = posRow;
            if (d < 0) {
                m_lstDockBarRows.GetNext(posNew);
                while (posNew != nullptr &&
                       !static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetAt(posNew))->IsVisible())
                    m_lstDockBarRows.GetNext(posNew);
            }
            pRow->RemoveControlBar(pControlBar);
            CQMXPDockBarRow* pNewRow = AddRow(posNew, nThickness);
            if (pNewRow != nullptr)
                pNewRow->PlaceBarAtCursor(pControlBar, QMXP_DM_MOUSE);
            return FALSE;
        }
        if (pTargetRow != nullptr && pTargetRow != pRow) {
            if (!pRow->HasSingleRowBar() && !pTargetRow->HasSingleRowBar()) {
                pRow->RemoveControlBar(pControlBar);
                pTargetRow->PlaceBarAtCursor(pControlBar, QMXP_DM_MOUSE);
            } else if (pRow->HasSingleRowBar()) {
                SwapRows(pTargetRow, pRow);
            } else {
                SwapRows(pRow, pTargetRow);
            }
            pControlBar->m_bMoving = TRUE;
            return FALSE;
        }
    }
    CRect rectRowNow;
    pRow->GetWindowRect(rectRowNow);
    if (std::abs(d) >= rectRowNow.Height())
        return FALSE;
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(pRow->GetControlBars().GetCount()));
    pRow->MoveControlBar(pControlBar, CPoint(dx, dy), TRUE, hdwp);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    return FALSE;
}

void CQMXPDockBar::OnSizeChanged(CRect rectNew) {
    CRect rectClient;
    GetClientRect(&rectClient);
    if (rectNew.Size() == rectClient.Size()) {
        for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;)
            static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos))->FitBars();
        return;
    }
    const int dw = rectNew.Width() - rectClient.Width();
    const int dh = rectNew.Height() - rectClient.Height();
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;) {
        auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos));
        if (dw != 0)
            pRow->RepositionBars(rectNew, QMXP_EDGE_RIGHT, dw >= 1, std::abs(dw));
        if (dh != 0)
            pRow->RepositionBars(rectNew, QMXP_EDGE_BOTTOM, dh >= 1, std::abs(dh));
    }
}

void CQMXPDockBar::UpdateBarRects() {
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos))->UpdateBarRects();
}

BOOL CQMXPDockBar::ShowControlBar(CQMXPBaseControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL) {
    CQMXPDockBarRow* pRow = FindRowByBar(pBar);
    if (pRow == nullptr || !pBar->IsKindOf(RUNTIME_CLASS(CQMXPControlBar)))
        return FALSE;
    return pRow->ShowControlBar(pBar, bShow, bDelay);
}

CQMXPControlBar* CQMXPDockBar::ControlBarFromPoint(CPoint pt) {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPControlBar*>(m_lstControlBars.GetNext(pos));
        CRect rect;
        pBar->GetWindowRect(&rect);
        if (rect.PtInRect(pt))
            return pBar;
    }
    return nullptr;
}

BOOL CQMXPDockBar::IsDragMode() const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pBar = m_lstControlBars.GetNext(pos);
        if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPControlBar)) && static_cast<CQMXPControlBar*>(pBar)->IsDragMode())
            return TRUE;
    }
    return FALSE;
}

void CQMXPDockBar::AdjustFrameLayout() {
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    if (pParent->IsKindOf(RUNTIME_CLASS(CDialog))) {
        qmxGlobalUtils.m_bDialogApp = TRUE;
        return;
    }
    // The library frames lay themselves out through their dock manager.
    if (qmxGlobalUtils.GetDockManager(pParent) != nullptr)
        static_cast<CFrameWnd*>(pParent)->RecalcLayout(FALSE);
}

HDWP CQMXPDockBar::MoveWindowNoActivate(HDWP hdwp, CRect rect, UINT nFlags) {
    return CQMXPBaseControlBar::SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                             nFlags | SWP_NOACTIVATE, hdwp);
}

void CQMXPDockBar::RefreshLayout() {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPBaseControlBar*>(m_lstControlBars.GetNext(pos))->RefreshLayout();
}

CSize CQMXPDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    for (POSITION pos = m_lstDockBarRows.GetHeadPosition(); pos != nullptr;) {
        auto* pRow = static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetNext(pos));
        if (!pRow->IsVisible())
            continue;
        const CSize size = pRow->CalcFixedLayout(bStretch, bHorz);
        const int nThickness = IsHorizontal() ? size.cy : size.cx;
        if (nThickness >= 1 && nThickness != pRow->GetRowHeight())
            ResizeRow(pRow, nThickness, FALSE);
    }
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

// Messages --------------------------------------------------------------------

void CQMXPDockBar::OnSize(UINT, int, int) { Default(); }

BOOL CQMXPDockBar::OnEraseBkgnd(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rectClient, rectClient, FALSE);
    return TRUE;
}

void CQMXPDockBar::OnPaint() { CPaintDC dc(this); }

void CQMXPDockBar::OnContextMenu(CWnd*, CPoint point) {
    if (CQMXPToolBar::m_bCustomizeMode || IsDragMode())
        return;
    CWnd* pTarget = QMXPGetPopupOwner();
    if (pTarget == nullptr)
        pTarget = GetTopLevelFrame();
    if (pTarget != nullptr)
        pTarget->SendMessage(QMXTOOLBAR_POPUPMENU, 0, MAKELPARAM(point.x, point.y));
}

void CQMXPDockBar::OnDestroy() {
    RemoveControlBarFromDockManager(this, FALSE, FALSE, FALSE);
    CQMXPBaseControlBar::OnDestroy();
}

void CQMXPDockBar::OnNcDestroy() {
    const BOOL bMade = m_bWindowMade;
    CQMXPBaseControlBar::OnNcDestroy();
    if (bMade)
        delete this;
}
