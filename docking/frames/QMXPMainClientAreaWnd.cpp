#include "docking/frames/QMXPMainClientAreaWnd.h"

#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/MessageMap.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQMXPMainClientAreaWnd, CWnd)

BEGIN_MESSAGE_MAP(CQMXPMainClientAreaWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
    ON_MESSAGE(WM_MDIREFRESHMENU, OnRefreshMenu)
    ON_MESSAGE(WM_MDIDESTROY, OnMDIDestroy)
    ON_MESSAGE(QMXPM_UPDATE_MDI_TABS, OnUpdateTabs)
END_MESSAGE_MAP()

namespace {
CQMXPMDIFrameWnd* LibraryFrameOf(const CWnd* pClient) {
    return DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pClient->GetParent());
}
}  // namespace

HICON QMXPGetSmallIcon(HWND hWnd) {
    auto hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (hIcon == nullptr)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
    return hIcon;
}

CQMXPMainClientAreaWnd::CQMXPMainClientAreaWnd() : m_mapIcons(10) { m_mapIcons.InitHashTable(17, FALSE); }

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
    const int nTabs = m_wndTab.GetSafeHwnd() != nullptr ? m_wndTab.GetTabsNum() : 0;
    const BOOL bLockRedraw = pFrame != nullptr && !pFrame->IsNoRedrawOnDestroy();
    if (bLockRedraw)
        pFrame->SendMessage(WM_SETREDRAW, FALSE);
    const auto hWndChild = reinterpret_cast<HWND>(wParam);
    const int iTab = nTabs > 0 ? m_wndTab.GetTabFromHwnd(hWndChild) : -1;
    if (iTab >= 0) {
        // A title or icon changed during the destruction adds no tab again.
        if (auto* pChild = DYNAMIC_DOWNCAST(CQMXPMDIChildWnd, CWnd::FromHandlePermanent(hWndChild)))
            pChild->SetDestroyPending();
        m_wndTab.RemoveTab(iTab);
    }
    const LRESULT lResult = DefWindowProc(WM_MDIDESTROY, wParam, lParam);
    if (pFrame != nullptr && m_wndTab.GetSafeHwnd() != nullptr && m_wndTab.GetTabsNum() != nTabs)
        pFrame->RecalcLayout(TRUE);
    if (bLockRedraw) {
        pFrame->SendMessage(WM_SETREDRAW, TRUE);
        ::RedrawWindow(pFrame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return lResult;
}

void CQMXPMainClientAreaWnd::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    if (!m_wndTab.Create(QMXP_STYLE_3D_SCROLLED, CRect(0, 0, 0, 0), GetParent(), static_cast<UINT>(-1),
                         m_nTabLocation, m_bTabCloseButton))
        return;
    m_wndTab.HideNoTabs(TRUE);
    m_wndTab.SetActiveTabBoldFont(TRUE);
    // Titles are shown as they are: an ampersand is no mnemonic.
    m_wndTab.SetDrawOption(TRUE, FALSE);
    m_wndTab.SetForeignTabWindows();
    if (!m_bTabIsEnabled)
        m_wndTab.ShowWindow(SW_HIDE);
}

void CQMXPMainClientAreaWnd::EnableMDITabs(BOOL bEnable) {
    m_bTabIsEnabled = bEnable;
    if (m_wndTab.GetSafeHwnd() == nullptr)
        return;
    if (bEnable)
        UpdateTabs();
    else
        m_wndTab.ShowWindow(SW_HIDE);
}

int CQMXPMainClientAreaWnd::TabIconIndex(HICON hIcon) {
    if (hIcon == nullptr)
        return -1;
    int iIcon = -1;
    if (m_mapIcons.Lookup(hIcon, iIcon))
        return iIcon;
    // Made with the first icon: its size asks the shell for its whole image list.
    if (m_TabIcons.GetSafeHandle() == nullptr) {
        const CSize sizeIcon = globalData.GetSmallIconSize();
        m_TabIcons.Create(sizeIcon.cx, sizeIcon.cy, ILC_COLOR8 | ILC_MASK, 0, 1);
    }
    iIcon = m_TabIcons.Add(hIcon);
    if (iIcon < 0)
        return -1;
    m_mapIcons.SetAt(hIcon, iIcon);
    if (m_TabIcons.GetImageCount() == 1)
        m_wndTab.SetImageList(m_TabIcons.GetSafeHandle());
    return iIcon;
}

void CQMXPMainClientAreaWnd::UpdateTabs() {
    if (!m_bTabIsEnabled || m_wndTab.GetSafeHwnd() == nullptr)
        return;
    // Listed first: activating a tab brings its window to the top.
    std::vector<HWND> children;
    for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        children.push_back(hWnd);
    BOOL bChanged = FALSE;
    for (HWND hWnd : children) {
        if (!::IsWindow(hWnd))
            continue;
        // A tab keeps its window's object: only windows of the class library get one.
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd == nullptr)
            continue;
        auto* pChild = DYNAMIC_DOWNCAST(CQMXPMDIChildWnd, pWnd);
        const BOOL bVisible = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
        const int iTab = m_wndTab.GetTabFromHwnd(hWnd);
        if (iTab >= 0 && !bVisible) {
            // Removed without a new active tab: a neighbour may be hidden too.
            m_wndTab.RemoveTab(iTab, FALSE);
            bChanged = TRUE;
            continue;
        }
        if (!bVisible || (pChild != nullptr && pChild->IsDestroyPending()))
            continue;
        const int iIcon =
            m_bTabIcons ? TabIconIndex(pChild != nullptr ? pChild->GetFrameIcon() : QMXPGetSmallIcon(hWnd)) : -1;
        CString strLabel;
        if (pChild != nullptr)
            strLabel = pChild->GetFrameText();
        else
            pWnd->GetWindowText(strLabel);
        if (iTab < 0) {
            m_wndTab.AddTab(pWnd, strLabel, static_cast<UINT>(iIcon), FALSE);
            m_wndTab.SetActiveTab(m_wndTab.GetTabsNum() - 1);
            bChanged = TRUE;
            continue;
        }
        CString strOld;
        m_wndTab.GetTabLabel(iTab, strOld);
        if (strOld != strLabel) {
            m_wndTab.SetTabLabel(iTab, strLabel);
            bChanged = TRUE;
        }
        if (m_wndTab.GetTabIcon(iTab) != static_cast<UINT>(iIcon)) {
            m_wndTab.SetTabIcon(iTab, static_cast<UINT>(iIcon));
            bChanged = TRUE;
        }
    }
    if (!bChanged)
        return;
    m_wndTab.RecalcLayout();
    if (m_wndTab.GetActiveTab() < 0) {
        auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, GetParent());
        CWnd* pActive = pFrame != nullptr ? pFrame->MDIGetActive() : nullptr;
        if (pActive != nullptr)
            SetActiveTab(pActive->m_hWnd);
    }
    m_wndTab.Invalidate();
    if (auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetParent()))
        pFrame->RecalcLayout(TRUE);
}

void CQMXPMainClientAreaWnd::SetActiveTab(HWND hWnd) {
    if (!m_bTabIsEnabled || m_wndTab.GetSafeHwnd() == nullptr)
        return;
    const int iTab = m_wndTab.GetTabFromHwnd(hWnd);
    if (iTab >= 0)
        m_wndTab.SetActiveTab(iTab);
}

LRESULT CQMXPMainClientAreaWnd::OnUpdateTabs(WPARAM, LPARAM) {
    UpdateTabs();
    return 0;
}

void CQMXPMainClientAreaWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    BOOL bRedraw = FALSE;
    if (m_bTabIsEnabled && m_wndTab.GetSafeHwnd() != nullptr) {
        const CRect rectTab(lpClientRect);
        CRect rectTabOld;
        m_wndTab.GetWindowRect(&rectTabOld);
        GetParent()->ScreenToClient(&rectTabOld);
        // Below the client, which paints its windows over the strip's content area.
        ::SetWindowPos(m_wndTab.m_hWnd, HWND_BOTTOM, rectTab.left, rectTab.top, rectTab.Width(), rectTab.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        CRect rectContent = m_wndTab.GetWndArea();
        rectContent.OffsetRect(rectTab.TopLeft());
        *lpClientRect = rectContent;
        bRedraw = rectTabOld != rectTab;
    } else if (m_wndTab.GetSafeHwnd() != nullptr && m_wndTab.IsWindowVisible()) {
        m_wndTab.ShowWindow(SW_HIDE);
    }
    CRect rectOld;
    GetClientRect(&rectOld);
    SetWindowPos(nullptr, lpClientRect->left, lpClientRect->top, lpClientRect->right - lpClientRect->left,
                 lpClientRect->bottom - lpClientRect->top, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rectNew;
    GetClientRect(&rectNew);
    const int nDeltaY = rectNew.Height() - rectOld.Height();
    if (nDeltaY != 0 && !m_bTabIsEnabled) {
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
    if (bRedraw)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}
