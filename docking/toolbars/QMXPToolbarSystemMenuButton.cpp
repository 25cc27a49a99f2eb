#include "docking/toolbars/QMXPToolbarSystemMenuButton.h"

#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"

IMPLEMENT_SERIAL(CQMXPToolbarSystemMenuButton, CQMXPToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

CQMXPToolbarSystemMenuButton::CQMXPToolbarSystemMenuButton() : m_hSysMenuIcon(nullptr), m_hSystemMenu(nullptr) {}

CQMXPToolbarSystemMenuButton::CQMXPToolbarSystemMenuButton(HMENU hSystemMenu, HICON hSystemIcon)
    : CQMXPToolbarMenuButton(0, hSystemMenu, -1), m_hSysMenuIcon(hSystemIcon), m_hSystemMenu(hSystemMenu) {}

CQMXPToolbarSystemMenuButton::~CQMXPToolbarSystemMenuButton() = default;

void CQMXPToolbarSystemMenuButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarMenuButton::AssignFrom(src);
    if (const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPToolbarSystemMenuButton, const_cast<CQMXPToolbarButton*>(&src))) {
        m_hSysMenuIcon = pSrc->m_hSysMenuIcon;
        m_hSystemMenu = pSrc->m_hSystemMenu;
    }
}

void CQMXPToolbarSystemMenuButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL, BOOL, BOOL, BOOL,
                                          BOOL) {
    if (m_hSysMenuIcon == nullptr)
        return;
    const int cx = ::GetSystemMetrics(SM_CXMENUSIZE);
    const int cy = ::GetSystemMetrics(SM_CYMENUSIZE);
    ::DrawIconEx(pDC->m_hDC, rect.left, rect.top + (rect.Height() - cy) / 2, m_hSysMenuIcon, cx, cy, 0, nullptr,
                 DI_NORMAL);
}

SIZE CQMXPToolbarSystemMenuButton::OnCalcSize(CDC*, const CSize& sizeDefault, BOOL) {
    return CSize(::GetSystemMetrics(SM_CXMENUSIZE), sizeDefault.cy);
}

void CQMXPToolbarSystemMenuButton::OnCancelMode() {
    CQMXPPopupMenu* pPopup = m_pPopupMenu;
    if (pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd()) && !pPopup->IsBarKeepOpen()) {
        pPopup->bDestroying = TRUE;
        pPopup->CloseMenu();
    }
    m_pPopupMenu = nullptr;
    m_bToBeClosed = FALSE;
}

void CQMXPToolbarSystemMenuButton::BuildFromMenuHandle(HMENU hMenu) {
    // The constructor built the items; later calls only keep the menu.
    if (m_listCommands.IsEmpty() && m_hSystemMenu == nullptr)
        CQMXPToolbarMenuButton::BuildFromMenuHandle(hMenu);
    m_hSystemMenu = hMenu;
}

HMENU CQMXPToolbarSystemMenuButton::CreateMenuHandle() const {
    HMENU hMenu = CQMXPToolbarMenuButton::CreateMenuHandle();
    if (hMenu == nullptr || m_hSystemMenu == nullptr || !::IsMenu(m_hSystemMenu))
        return hMenu;
    const int nCount = ::GetMenuItemCount(m_hSystemMenu);
    for (int i = 0; i < nCount; ++i) {
        const UINT uiCmd = ::GetMenuItemID(m_hSystemMenu, i);
        const UINT uiState = ::GetMenuState(m_hSystemMenu, static_cast<UINT>(i), MF_BYPOSITION);
        ::CheckMenuItem(hMenu, uiCmd, MF_BYCOMMAND | (uiState & MF_CHECKED));
        ::EnableMenuItem(hMenu, uiCmd, MF_BYCOMMAND | (uiState & (MF_DISABLED | MF_GRAYED)));
    }
    return hMenu;
}

BOOL CQMXPToolbarSystemMenuButton::OnDblClick(CWnd* pWnd) {
    if (CQMXPToolBar::m_bCustomizeMode)
        return FALSE;
    OnCancelMode();
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPToolBar, pWnd);
    CWnd* pFrame = pBar != nullptr ? pBar->GetOwnerFrame() : nullptr;
    if (auto* pMiniFrame = DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, pFrame))
        pFrame = pMiniFrame->GetParent();
    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrame);
    if (pMDIFrame == nullptr)
        return TRUE;
    CMDIChildWnd* pChild = pMDIFrame->MDIGetActive();
    if (pChild == nullptr)
        return TRUE;
    HMENU hSysMenu = ::GetSystemMenu(pChild->GetSafeHwnd(), FALSE);
    const UINT uiState = hSysMenu != nullptr ? ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) : MF_GRAYED;
    if (uiState == static_cast<UINT>(-1) || (uiState & (MF_GRAYED | MF_DISABLED)))
        return TRUE;
    pChild->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    return TRUE;
}
