#include "docking/frames/QMXPMainClientAreaWnd.h"

#include "docking/frames/QMXPMDIFrameWnd.h"
#include "platform/classlib/MessageMap.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPMainClientAreaWnd, CWnd)

BEGIN_MESSAGE_MAP(CQMXPMainClientAreaWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
    ON_MESSAGE(WM_MDIREFRESHMENU, OnRefreshMenu)
    ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
END_MESSAGE_MAP()

namespace {
CQMXPMDIFrameWnd* LibraryFrameOf(const CWnd* pClient) {
    return DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pClient->GetParent());
}
}  // namespace

CQMXPMainClientAreaWnd::CQMXPMainClientAreaWnd() = default;

CQMXPMainClientAreaWnd::~CQMXPMainClientAreaWnd() = default;

BOOL CQMXPMainClientAreaWnd::OnEraseBkgnd(CDC* pDC) {
    CQMXPMDIFrameWnd* pFrame = LibraryFrameOf(this);
    if (pFrame != nullptr && pFrame->OnEraseMDIClientBackground(pDC))
        return TRUE;
    return static_cast<BOOL>(Default());
}

LRESULT CQMXPMainClientAreaWnd::OnSetMenu(WPARAM wParam, LPARAM lParam) {
    CQMXPMDIFrameWnd* pFrame = LibraryFrameOf(this);
    if (pFrame != nullptr && !pFrame->OnSetMenu(reinterpret_cast<HMENU>(wParam)))
        return DefWindowProc(WM_MDISETMENU, wParam, lParam);
    // The frame shows the menu in its menu bar; the client only keeps the window list.
    return DefWindowProc(WM_MDISETMENU, 0, lParam);
}

LRESULT CQMXPMainClientAreaWnd::OnRefreshMenu(WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = DefWindowProc(WM_MDIREFRESHMENU, wParam, lParam);
    if (CQMXPMDIFrameWnd* pFrame = LibraryFrameOf(this))
        pFrame->RefreshWindowMenu();
    return lResult;
}

LRESULT CQMXPMainClientAreaWnd::OnMDIDestroy(WPARAM wParam, LPARAM lParam) {
    CQMXPMDIFrameWnd* pFrame = LibraryFrameOf(this);
    const BOOL bLockRedraw = pFrame != nullptr && !pFrame->IsNoRedrawOnDestroy();
    if (bLockRedraw)
        pFrame->SendMessage(WM_SETREDRAW, FALSE);
    const LRESULT lResult = DefWindowProc(WM_MDIDESTROY, wParam, lParam);
    if (bLockRedraw) {
        pFrame->SendMessage(WM_SETREDRAW, TRUE);
        ::RedrawWindow(pFrame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return lResult;
}

void CQMXPMainClientAreaWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    CRect rectOld;
    GetClientRect(&rectOld);
    SetWindowPos(nullptr, lpClientRect->left, lpClientRect->top, lpClientRect->right - lpClientRect->left,
                 lpClientRect->bottom - lpClientRect->top, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rectNew;
    GetClientRect(&rectNew);
    const int nDeltaY = rectNew.Height() - rectOld.Height();
    if (nDeltaY != 0) {
        // Minimised children follow the bottom edge, up to the first maximised one.
        std::vector<HWND> children;
        for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
            children.push_back(hWnd);
        for (HWND hWnd : children) {
            if (::IsZoomed(hWnd))
                break;
            if (!::IsIconic(hWnd))
                continue;
            CRect rectChild;
            ::GetWindowRect(hWnd, &rectChild);
            ScreenToClient(&rectChild);
            const int nTop = rectChild.top + nDeltaY < rectOld.top ? rectOld.top : rectChild.top + nDeltaY;
            ::SetWindowPos(hWnd, nullptr, rectChild.left, nTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}
