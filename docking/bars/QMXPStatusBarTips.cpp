// CQMXPStatusBar: the tips of its panes. The bar's tip window follows the
// pointer: while it rests on a pane with a tip, that pane is the tool.
#include "docking/bars/QMXPStatusBar.h"

#include "docking/toolbars/QMXPGlobalData.h"

#include <cstdlib>
#include <cwchar>

namespace {
// The one tool of the tip window: the pane under the pointer.
constexpr UINT_PTR kPaneTool = 1;
}  // namespace

BOOL CQMXPStatusBar::SetTipText(int nIndex, LPCWSTR lpszTipText) {
    CQMXStatusBarPaneInfo* pPane = nIndex >= 0 && nIndex < m_nCount ? &Panes()[nIndex] : nullptr;
    if (pPane == nullptr)
        return FALSE;
    delete[] pPane->lpszToolTip;
    pPane->lpszToolTip = nullptr;
    if (lpszTipText != nullptr && *lpszTipText != L'\0') {
        const size_t nLength = std::wcslen(lpszTipText);
        pPane->lpszToolTip = new wchar_t[nLength + 1];
        std::wmemcpy(pPane->lpszToolTip, lpszTipText, nLength + 1);
        if (m_wndToolTip.GetSafeHwnd() == nullptr && GetSafeHwnd() != nullptr && m_wndToolTip.Create(this)) {
            m_wndToolTip.AddTool(this, L"", CRect(0, 0, 0, 0), kPaneTool);
            m_wndToolTip.Activate(TRUE);
        }
    }
    // A tip shown for the pane is taken again at the next move.
    m_nTipHit = -1;
    return TRUE;
}

CString CQMXPStatusBar::GetTipText(int nIndex) const {
    const CQMXStatusBarPaneInfo* pPane = nIndex >= 0 && nIndex < m_nCount ? &Panes()[nIndex] : nullptr;
    return pPane != nullptr && pPane->lpszToolTip != nullptr ? CString(pPane->lpszToolTip) : CString();
}

INT_PTR CQMXPStatusBar::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const {
    const INT_PTR nHit = CQMXPControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    const CQMXStatusBarPaneInfo* pPane = HitTest(point);
    if (pPane == nullptr || pPane->lpszToolTip == nullptr)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = pPane->nID;
        pTI->rect = pPane->rect;
        pTI->lpszText = ::_wcsdup(pPane->lpszToolTip);
    }
    if (m_wndToolTip.GetSafeHwnd() != nullptr)
        ::SendMessageW(m_wndToolTip.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(globalData.fontStatus.GetSafeHandle()),
                       FALSE);
    return pPane->nID;
}

BOOL CQMXPStatusBar::PreTranslateMessage(MSG* pMsg) {
    if (m_wndToolTip.GetSafeHwnd() != nullptr && pMsg->hwnd == m_hWnd && pMsg->message >= WM_MOUSEFIRST &&
        pMsg->message <= WM_MOUSELAST) {
        if (pMsg->message == WM_MOUSEMOVE) {
            TOOLINFOW ti{};
            ti.cbSize = sizeof(ti);
            const CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
            const INT_PTR nHit = OnToolHitTest(point, &ti);
            if (nHit != m_nTipHit) {
                m_wndToolTip.Pop();
                const CRect rectTool = nHit != -1 ? CRect(ti.rect) : CRect(0, 0, 0, 0);
                m_wndToolTip.SetToolRect(this, kPaneTool, &rectTool);
                m_wndToolTip.UpdateTipText(ti.lpszText != nullptr ? ti.lpszText : L"", this, kPaneTool);
                m_nTipHit = nHit;
            }
            std::free(ti.lpszText);
        }
        m_wndToolTip.RelayEvent(pMsg);
    }
    return CQMXPControlBar::PreTranslateMessage(pMsg);
}
