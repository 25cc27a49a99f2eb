// CWnd::RepositionBars: the layout of control bars around a left-over pane.
#include "platform/classlib/FrameWnd.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (lpLayout == nullptr || hWnd == nullptr || lpRect == nullptr)
        return;
    HWND hWndParent = ::GetParent(hWnd);
    // Only a real change is deferred, so an unchanged layout does not repaint.
    RECT rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    if (lpLayout->hDWP != nullptr) {
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    }
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    AFX_SIZEPARENTPARAMS layout = {};
    const bool bQuery = (nFlags & ~reposNoPosLeftOver) == reposQuery;
    if (!bQuery) {
        layout.hDWP = ::BeginDeferWindowPos(8);
        if (layout.hDWP == nullptr)
            return;
    }
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.bStretch = bStretch;

    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && CWnd::FromHandlePermanent(hWndChild) != nullptr)
            ::SendMessageW(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (bQuery) {
        // The caller learns the left-over rectangle (or, with bStretch off, the bars' total size).
        if (lpRectParam != nullptr) {
            if (bStretch)
                *lpRectParam = layout.rect;
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }

    if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
        if ((nFlags & ~reposNoPosLeftOver) == reposExtra && lpRectParam != nullptr) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if (layout.rect.right < layout.rect.left)
            layout.rect.right = layout.rect.left;
        if (layout.rect.bottom < layout.rect.top)
            layout.rect.bottom = layout.rect.top;
        if (!(nFlags & reposNoPosLeftOver)) {
            // The pane's border lies outside the area it is given.
            CWnd* pLeftOver = CWnd::FromHandle(hWndLeftOver);
            RECT rect = layout.rect;
            pLeftOver->CalcWindowRect(&rect);
            AfxRepositionWindow(&layout, hWndLeftOver, &rect);
        }
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
}
