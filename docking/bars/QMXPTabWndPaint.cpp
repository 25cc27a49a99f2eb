// CQMXPTabWnd: painting the row and the frame round the tab windows, the
// keyboard and mouse of the strip, the splitter of the shared scroll bar
// and scrolling the active window through it.
#include "docking/bars/QMXPTabWnd.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CQMXPTabWnd, CQMXPBaseTabWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_HSCROLL()
    ON_WM_CANCELMODE()
    ON_WM_SETFOCUS()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

// Painting --------------------------------------------------------------------------------

void CQMXPTabWnd::DrawTab(CDC* pDC, CQMXPTabInfo* pTab, BOOL bIsActive) {
    if (!pTab->m_bVisible)
        return;
    CQMXPVisualManager::GetInstance()->OnDrawTab(pDC, pTab->m_rect, m_iCurTab, bIsActive, this);
}

void CQMXPTabWnd::OnPaint() {
    CPaintDC dc(this);
    CPen penShadow(PS_SOLID, 1, globalData.clrBtnShadow);
    CPen penText(PS_SOLID, 1, globalData.clrBtnText);
    CPen penHilite(PS_SOLID, 1, globalData.clrBtnHilite);
    CRect rectClient;
    GetClientRect(&rectClient);
    const int B = GetTabBorderSize();
    const BOOL bTop = m_location == QMXP_LOCATION_TOP;
    CQMXPVisualManager* pVisualManager = CQMXPVisualManager::GetInstance();

    if (!m_bDrawFrame)
        dc.FillRect(&rectClient, &globalData.brBtnFace);
    CRect rectRowArea = rectClient;
    if (bTop)
        rectRowArea.bottom = m_rectTabsArea.bottom + B;
    else
        rectRowArea.top = m_rectTabsArea.top - B;
    pVisualManager->OnEraseTabsArea(&dc, rectRowArea, this);

    if (B == 0) {
        CRect rectFrame = rectClient;
        if (bTop)
            rectFrame.top = m_rectTabsArea.bottom - 1;
        else
            rectFrame.bottom = m_rectTabsArea.top + 1;
        dc.FrameRect(&rectFrame, m_bFlat ? &globalData.brDarkShadow : &globalData.brBtnFace);
    } else {
        CRect rectFrame = m_rectWndArea;
        rectFrame.InflateRect(1, 1);
        if (!m_bFlatFrame && m_bDrawFrame) {
            CRect rectOuter = rectFrame;
            rectOuter.InflateRect(B - 1, B - 1);
            dc.Draw3dRect(&rectOuter, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
            rectOuter.DeflateRect(1, 1);
            dc.Draw3dRect(&rectOuter, globalData.clrBtnShadow, globalData.clrBtnLight);
            if (B > 2) {
                rectOuter.DeflateRect(1, 1);
                dc.Draw3dRect(&rectOuter, globalData.clrBtnHilite, globalData.clrBtnDkShadow);
            }
        } else if (m_bFlatFrame) {
            dc.FrameRect(&rectClient, &globalData.brBtnFace);
            if (m_bDrawFrame) {
                const COLORREF clrLine = GetTabsHeight() > 0 ? globalData.clrBtnShadow : globalData.clrBtnFace;
                dc.Draw3dRect(&rectFrame, clrLine, clrLine);
            }
        }
    }
    if (m_bTopEdge && bTop) {
        CPen* pOldPen = dc.SelectObject(&penHilite);
        dc.MoveTo(rectClient.left, m_rectTabsArea.top);
        dc.LineTo(rectClient.right, m_rectTabsArea.top);
        dc.SelectObject(pOldPen);
    }

    CFont* pOldFont = dc.SelectObject(m_bFlat ? &m_fntTabs : &globalData.fontRegular);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = dc.SetTextColor(globalData.clrBtnText);
    CPen* pOldPen = dc.SelectObject(&penText);
    if (m_rectTabsArea.Width() > 2 * B + 1 && m_rectTabsArea.Height() > 2 * B + 1) {
        CRgn rgnClip;
        CRect rectClip = m_rectTabsArea;
        rectClip.InflateRect(0, 2);
        rgnClip.CreateRectRgnIndirect(&rectClip);
        dc.SelectClipRgn(&rgnClip);
        for (int i = 0; i < m_iTabsNum; ++i) {
            if (i == m_iActiveTab)
                continue;
            m_iCurTab = i;
            DrawTab(&dc, m_arTabs[i], FALSE);
        }
        if (m_iActiveTab != -1) {
            m_iCurTab = m_iActiveTab;
            CQMXPTabInfo* pActive = m_arTabs[m_iActiveTab];
            if (!m_bFlat) {
                CFont* pFont = m_bIsActiveTabBold ? dc.SelectObject(&globalData.fontBold) : nullptr;
                DrawTab(&dc, pActive, TRUE);
                if (pFont != nullptr)
                    dc.SelectObject(pFont);
            } else {
                CBrush* pOldBrush = dc.SelectObject(&m_brActiveTab);
                CFont* pFont = dc.SelectObject(&m_fntTabsBold);
                const COLORREF clrText = dc.SetTextColor(GetActiveTabTextColor());
                DrawTab(&dc, pActive, TRUE);
                dc.SetTextColor(clrText);
                dc.SelectObject(pFont);
                dc.SelectObject(pOldBrush);
                // The active tab's edge at the window area joins it to its window.
                CPen penJoin(PS_SOLID, 1, GetActiveTabColor());
                CPen* pPen = dc.SelectObject(&penJoin);
                const int y = bTop ? pActive->m_rect.bottom : pActive->m_rect.top;
                dc.MoveTo(pActive->m_rect.left + 1, y);
                dc.LineTo(pActive->m_rect.right, y);
                dc.SelectObject(pPen);
            }
        }
        m_iCurTab = -1;
        dc.SelectClipRgn(nullptr);
    }
    if (!m_rectTabSplitter.IsRectEmpty()) {
        dc.FillRect(&m_rectTabSplitter, &globalData.brBtnFace);
        dc.Draw3dRect(&m_rectTabSplitter, globalData.clrBtnHilite, globalData.clrBtnShadow);
    }
    if (m_bFlat && m_nTabsHorzOffset > 0) {
        CPen* pPen = dc.SelectObject(&penShadow);
        dc.MoveTo(m_rectTabsArea.left, m_rectTabsArea.top);
        dc.LineTo(m_rectTabsArea.left, m_rectTabsArea.bottom);
        dc.SelectObject(pPen);
    }
    dc.SelectObject(pOldPen);
    dc.SetTextColor(clrOldText);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

BOOL CQMXPTabWnd::OnEraseBkgnd(CDC* pDC) {
    if (m_iTabsNum == 0 && !m_bNoEraseBkgnd) {
        CRect rectClient;
        GetClientRect(&rectClient);
        pDC->FillRect(&rectClient, &globalData.brBtnFace);
    }
    return TRUE;
}

void CQMXPTabWnd::OnSysColorChange() {
    CQMXPBaseTabWnd::OnSysColorChange();
    if (m_bFlat && m_clrActiveTabBk == static_cast<COLORREF>(-1)) {
        m_brActiveTab.DeleteObject();
        m_brActiveTab.CreateSolidBrush(GetActiveTabColor());
        Invalidate();
    }
}

void CQMXPTabWnd::OnSettingChange(UINT uFlags, LPCWSTR lpszSection) {
    CQMXPBaseTabWnd::OnSettingChange(uFlags, lpszSection);
    if (m_bFlat) {
        SetTabsHeight();
        RecalcLayout();
        SynchronizeScrollBar();
    }
}

void CQMXPTabWnd::OnSize(UINT nType, int cx, int cy) {
    CQMXPBaseTabWnd::OnSize(nType, cx, cy);
    if (m_bSharedScroll) {
        const int nHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
        const int nWidth = cx - (GetTabBorderSize() + 2 * ::GetSystemMetrics(SM_CXVSCROLL)) * 2;
        if (nWidth / 2 > 2 * nHScroll)
            m_nHorzScrollWidth = nWidth / 2;
        else
            m_nHorzScrollWidth = nWidth > 2 * nHScroll ? nWidth : 0;
    }
    RecalcLayout();
    SynchronizeScrollBar();
}

// Keys and mouse -------------------------------------------------------------------------------

BOOL CQMXPTabWnd::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if ((pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT) && ::GetKeyState(VK_CONTROL) < 0 &&
            m_iActiveTab != -1) {
            const int iTab = NextVisibleTab(pMsg->wParam == VK_NEXT);
            if (iTab != -1) {
                SetActiveTab(iTab);
                CWnd* pWnd = GetActiveWnd();
                if (pWnd != nullptr)
                    pWnd->SetFocus();
                NotifyActiveTabChanged();
            }
            return TRUE;
        }
        KillTimer(1);
        KillTimer(2);
        break;
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
        KillTimer(1);
        KillTimer(2);
        break;
    default:
        break;
    }
    static const UINT kRelayed[] = {WM_KEYDOWN,       WM_SYSKEYDOWN,    WM_LBUTTONDOWN,   WM_MOUSEMOVE,
                                    WM_LBUTTONUP,     WM_RBUTTONDOWN,   WM_MBUTTONDOWN,   WM_RBUTTONUP,
                                    WM_MBUTTONUP,     WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN,
                                    WM_NCLBUTTONUP,   WM_NCRBUTTONUP,   WM_NCMBUTTONUP};
    if (m_ToolTip.GetSafeHwnd() != nullptr &&
        std::find(std::begin(kRelayed), std::end(kRelayed), pMsg->message) != std::end(kRelayed))
        m_ToolTip.RelayEvent(pMsg);
    return CQMXPBaseTabWnd::PreTranslateMessage(pMsg);
}

void CQMXPTabWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_rectTabSplitter.PtInRect(point)) {
        m_bTrackSplitter = TRUE;
        SetCapture();
        return;
    }
    CQMXPBaseTabWnd::OnLButtonDown(nFlags, point);
    if (m_bTabDragging || GetSafeHwnd() == nullptr)
        return;
    CWnd* pTarget = IsPtInTabsAreaGap(point);
    if (pTarget != nullptr) {
        CPoint pt = point;
        MapWindowPoints(pTarget, &pt, 1);
        pTarget->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
    }
}

void CQMXPTabWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CWnd* pTarget = IsPtInTabsAreaGap(point);
    if (pTarget != nullptr) {
        CPoint pt = point;
        MapWindowPoints(pTarget, &pt, 1);
        pTarget->SendMessage(WM_LBUTTONDBLCLK, nFlags, MAKELPARAM(pt.x, pt.y));
        return;
    }
    CQMXPBaseTabWnd::OnLButtonDblClk(nFlags, point);
}

void CQMXPTabWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bTrackSplitter) {
        StopSplitterTrack();
        return;
    }
    CQMXPBaseTabWnd::OnLButtonUp(nFlags, point);
}

void CQMXPTabWnd::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bTrackSplitter) {
        CQMXPBaseTabWnd::OnMouseMove(nFlags, point);
        return;
    }
    const int nMax = m_nScrollBarRight - m_rectTabsArea.left - 5;
    const int nWidth = std::max<int>(2 * ::GetSystemMetrics(SM_CXHSCROLL), std::min<int>(m_nScrollBarRight - point.x, nMax));
    if (nWidth == m_nHorzScrollWidth)
        return;
    CRect rectOld = m_rectTabSplitter;
    m_nHorzScrollWidth = nWidth;
    RecalcLayout();
    InvalidateRect(&rectOld);
    InvalidateRect(&m_rectTabSplitter);
}

void CQMXPTabWnd::StopSplitterTrack() {
    m_bTrackSplitter = FALSE;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
}

void CQMXPTabWnd::OnCancelMode() {
    if (m_bTrackSplitter)
        StopSplitterTrack();
    CQMXPBaseTabWnd::OnCancelMode();
}

BOOL CQMXPTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (!m_rectTabSplitter.IsRectEmpty() && m_rectTabSplitter.PtInRect(pt) && globalData.hcurStretchHorz != nullptr) {
        ::SetCursor(globalData.hcurStretchHorz);
        return TRUE;
    }
    return CQMXPBaseTabWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CQMXPTabWnd::OnSetFocus(CWnd* pOldWnd) {
    CQMXPBaseTabWnd::OnSetFocus(pOldWnd);
    CWnd* pActive = GetActiveWnd();
    if (pActive != nullptr && pActive->GetSafeHwnd() != nullptr)
        pActive->SetFocus();
}

// The shared scroll bar ----------------------------------------------------------------------

void CQMXPTabWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    CWnd* pActive = GetActiveWnd();
    if (!m_bSharedScroll || pActive == nullptr || m_bInHScroll ||
        (pScrollBar != nullptr && pScrollBar->m_hWnd != m_wndScrollWnd.m_hWnd)) {
        CQMXPBaseTabWnd::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    m_bInHScroll = TRUE;
    if (m_arTabs[m_iActiveTab]->m_bIsListView && (nSBCode == SB_THUMBPOSITION || nSBCode == SB_THUMBTRACK)) {
        const int nCurrent = ::GetScrollPos(pActive->m_hWnd, SB_HORZ);
        pActive->SendMessage(LVM_SCROLL, static_cast<WPARAM>(static_cast<int>(nPos) - nCurrent), 0);
    }
    pActive->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
    m_wndScrollWnd.SetScrollPos(::GetScrollPos(pActive->m_hWnd, SB_HORZ));
    ::ShowScrollBar(pActive->m_hWnd, SB_HORZ, FALSE);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(QMXM_ON_HSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
    m_bInHScroll = FALSE;
}

BOOL CQMXPTabWnd::SynchronizeScrollBar(SCROLLINFO* pScrollInfo) {
    if (!m_bSharedScroll || m_wndScrollWnd.GetSafeHwnd() == nullptr)
        return FALSE;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    BOOL bHasInfo = FALSE;
    if (pScrollInfo != nullptr) {
        info = *pScrollInfo;
        bHasInfo = TRUE;
    } else {
        CWnd* pActive = GetActiveWnd();
        info.fMask = SIF_ALL;
        bHasInfo = pActive != nullptr && ::GetScrollInfo(pActive->m_hWnd, SB_HORZ, &info);
    }
    if (!bHasInfo || static_cast<int>(info.nPage) + info.nMin >= info.nMax) {
        m_wndScrollWnd.EnableScrollBar(ESB_DISABLE_BOTH);
        return TRUE;
    }
    m_wndScrollWnd.EnableScrollBar(ESB_ENABLE_BOTH);
    m_wndScrollWnd.SetScrollInfo(&info);
    return TRUE;
}

BOOL CQMXPTabWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    const BOOL bResult = CQMXPBaseTabWnd::OnNotify(wParam, lParam, pResult);
    if (pHeader != nullptr && (pHeader->code == HDN_ITEMCHANGEDW || pHeader->code == HDN_ITEMCHANGEDA))
        SynchronizeScrollBar();
    if (pHeader != nullptr && pHeader->code == TTN_SHOW && m_ToolTip.GetSafeHwnd() != nullptr)
        ::SetWindowPos(m_ToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return bResult;
}
