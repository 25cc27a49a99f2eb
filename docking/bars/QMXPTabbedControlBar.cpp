#include "docking/bars/QMXPTabbedControlBar.h"

#include "docking/bars/QMXPTabWnd.h"

IMPLEMENT_SERIAL(CQMXPTabbedControlBar, CQMXPBaseTabbedBar, VERSIONABLE_SCHEMA | 2)

namespace {
constexpr UINT kTabWndID = 101;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPTabbedControlBar, CQMXPBaseTabbedBar)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CQMXPTabbedControlBar::CQMXPTabbedControlBar(BOOL bAutoDestroy) : CQMXPBaseTabbedBar(bAutoDestroy) {}

CQMXPTabbedControlBar::~CQMXPTabbedControlBar() = default;

int CQMXPTabbedControlBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPBaseTabbedBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pTabWnd = new CQMXPTabWnd;
    m_pTabWnd = pTabWnd;
    if (!pTabWnd->Create(QMXP_STYLE_3D, CRect(0, 0, lpCreateStruct->cx, lpCreateStruct->cy), this, kTabWndID,
                         QMXP_LOCATION_BOTTOM, FALSE)) {
        m_pTabWnd = nullptr;
        delete pTabWnd;
        return -1;
    }
    pTabWnd->SetAutoDestroyWindow(FALSE);
    pTabWnd->HideSingleTab(TRUE);
    pTabWnd->EnableWrapper(TRUE);
    return 0;
}

void CQMXPTabbedControlBar::GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const {
    rectTabAreaTop.SetRectEmpty();
    rectTabAreaBottom.SetRectEmpty();
    auto* pTabWnd = DYNAMIC_DOWNCAST(CQMXPTabWnd, m_pTabWnd);
    if (pTabWnd == nullptr || pTabWnd->GetSafeHwnd() == nullptr)
        return;
    CRect rect = pTabWnd->GetTabsAreaRect();
    pTabWnd->ClientToScreen(&rect);
    (IsTabLocationBottom() ? rectTabAreaBottom : rectTabAreaTop) = rect;
}

BOOL CQMXPTabbedControlBar::IsTabLocationBottom() const {
    return m_pTabWnd == nullptr || m_pTabWnd->GetLocation() == QMXP_LOCATION_BOTTOM;
}

void CQMXPTabbedControlBar::OnPressCloseButton() {
    if (m_pTabWnd == nullptr)
        return;
    const int iActive = m_pTabWnd->GetActiveTab();
    if (m_pTabWnd->GetVisibleTabsNum() == 1)
        CQMXPDockingControlBar::OnPressCloseButton();
    m_pTabWnd->ShowTab(iActive, FALSE, TRUE, FALSE);
}

BOOL CQMXPTabbedControlBar::FloatTab(CWnd* pBar, int nTabID, int dockMethod, BOOL bHide) {
    if (GetTabsNum() < 2)
        return FALSE;
    return CQMXPBaseTabbedBar::FloatTab(pBar, nTabID, dockMethod, bHide);
}

BOOL CQMXPTabbedControlBar::DetachControlBar(CWnd* pBar, BOOL bHide) {
    if (GetTabsNum() == 0)
        return FALSE;
    return CQMXPBaseTabbedBar::DetachControlBar(pBar, bHide);
}
